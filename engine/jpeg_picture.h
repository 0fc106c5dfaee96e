#pragma once
// A JPEG picture that keeps its compressed bytes and decodes them on demand with libjpeg-turbo.
// Saving a picture always writes the bytes it was given, unchanged; the decoded bitmap is only a
// view of them at the chosen scale (1, 1/2, 1/4, 1/8), in colour (24 bits) or grey (8 bits).
// Decoder errors are thrown as JpegError; the library never ends the program.
// Not for sharing between threads: it decodes into its own cache.

#include "engine/bitmap.h"
#include "engine/jpeg_decoder.h"
#include "engine/webcam_events.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace engine {

class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class JpegScale { Full = 1, Half = 2, Quarter = 4, Eighth = 8 };

// BestSpeed decodes with the fast integer DCT and without smooth upsampling.
enum class JpegPerformance { BestQuality, BestSpeed };

class JpegPicture : public twebcampicture {
public:
    JpegPicture() = default;
    explicit JpegPicture(std::string bytes) : bytes_(std::move(bytes)) {}

    void LoadFromBytes(std::string bytes);
    // Reads a whole file; JpegError when it cannot be read.
    void LoadFromFile(const std::string& path);
    const std::string& Bytes() const override { return bytes_; }
    bool Empty() const { return bytes_.empty(); }

    // Changing a decoding option drops the decoded bitmap.
    void SetScale(JpegScale scale);
    void SetGrayscale(bool grey);
    void SetPerformance(JpegPerformance performance);
    JpegScale Scale() const { return scale_; }
    bool Grayscale() const { return grey_; }
    JpegPerformance Performance() const { return performance_; }

    // Size at the current scale, from the decoded bitmap or else from the header; 0 x 0 for an
    // empty or unreadable picture.
    int Width() const;
    int Height() const;

    // Decodes now unless already decoded. A picture whose data ends early decodes as far as it
    // goes (the rest grey) and reports PrematureEnd().
    void DIBNeeded();
    // As DIBNeeded, and a premature end of the data is an error too: a picture about to be
    // saved must be whole.
    void DecodeWhole();
    bool PrematureEnd() const { return prematureEnd_; }
    // As DIBNeeded, and for a YCbCr picture the decode in the other of colour and grey at the
    // same scale comes from the same pass (DecodeJpegColourAndGrey): switching SetGrayscale then
    // decodes nothing. Any other picture gets only the decode of its current options.
    void DecodeColourAndGrey();
    // Whether the decode in grey (or colour) at the current scale is at hand, with no decode.
    bool Holds(bool grey) const { return grey == grey_ ? decoded_ : otherDecoded_; }

    // The decoded bitmap, decoding first when needed.
    Bitmap& bitmap();

    // How the events' receivers show a picture: full size in colour, drawn over a bitmap with
    // the fastest decoding (JpegError when the bytes do not decode).
    void SetFullColourDecoding() override;
    void StretchDraw(Bitmap& target) override;
    // In colour, with the fastest decoding, at ThumbnailScale of the target's size; JpegError
    // for a picture past kMaxThumbnailPixels.
    void DrawThumbnail(Bitmap& target) override;

    // The smallest of the reduced scales (1/8, 1/4, 1/2) whose decode is at least width x
    // height, full size only when even half size is smaller; JpegError, as for DrawThumbnail,
    // when the header does not read or claims more than kMaxThumbnailPixels.
    JpegScale ThumbnailScale(int width, int height) const;

private:
    void Invalidate();
    JpegSize HeaderSize() const;
    JpegDecodeOptions Options() const;

    std::string bytes_;
    JpegScale scale_ = JpegScale::Full;
    bool grey_ = false;
    JpegPerformance performance_ = JpegPerformance::BestQuality;
    Bitmap bitmap_;
    bool decoded_ = false;
    Bitmap other_;               // the decode in the other of colour and grey, when made with bitmap_'s
    bool otherDecoded_ = false;
    bool prematureEnd_ = false;
};

// The webcam manager's picture decoder (WebcamManagerServices::decodePicture).
std::unique_ptr<twebcampicture> MakeJpegPicture(std::string bytes);

}  // namespace engine
