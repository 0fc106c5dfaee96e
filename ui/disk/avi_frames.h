#pragma once
// The frames of the AVI export, from the selected picture files: each file is read once, decoded
// with the program's JPEG decoder, and a picture of another size than the first is drawn
// stretched over the movie's frame. For a Motion-JPEG movie the files' own bytes are offered as
// well, so a picture that already is a frame of the movie is written as it is, undecoded.
// No Qt; one export at a time on the main thread.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/bitmap.h"
#include "media/movie_maker.h"

namespace ui {

// A picture of the movie that cannot be read or does not decode; what() is its path.
class UnreadablePicture : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AviFrames {
public:
    // Reads and decodes the first picture, whose size becomes the movie's: UnreadablePicture when
    // it cannot be read or does not decode. Paths is not empty.
    explicit AviFrames(std::vector<std::string> paths);

    int Count() const { return static_cast<int>(FPaths.size()); }
    int Width() const { return FFrame.width(); }
    int Height() const { return FFrame.height(); }

    // Picture Index's file, valid until another picture is read; UnreadablePicture when the file
    // cannot be read.
    std::span<const std::uint8_t> Bytes(int index);
    // Frame Index at the movie's size (24 bits), valid until the next call; UnreadablePicture
    // when the picture does not decode.
    media::BitmapRows Frame(int index);
    // The files' bytes as the movie maker takes them (valid while this object lives).
    media::MovieJPEGPictures JpegPictures();

private:
    void Decode(int index);

    std::vector<std::string> FPaths;
    std::string FBytes;
    int FBytesIndex = -1;
    engine::Bitmap FDecoded;
    int FDecodedIndex = -1;
    engine::Bitmap FFrame;  // the movie's size; holds the stretched picture when the sizes differ
};

}  // namespace ui
