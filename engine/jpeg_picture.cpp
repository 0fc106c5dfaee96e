#include "engine/jpeg_picture.h"

#include "engine/bitmap_draw.h"
#include "engine/jpeg_decoder.h"
#include "engine/picture_folder.h"


namespace engine {
namespace {

const std::uint8_t* Data(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

}  // namespace

void JpegPicture::LoadFromBytes(std::string bytes) {
    bytes_ = std::move(bytes);
    Invalidate();
}

void JpegPicture::LoadFromFile(const std::string& path) {
    std::string bytes;
    if (!ReadPictureFile(path, bytes))
        throw JpegError("Cannot read " + path);
    LoadFromBytes(std::move(bytes));
}

void JpegPicture::SetScale(JpegScale scale) {
    if (scale != scale_) {
        scale_ = scale;
        Invalidate();
    }
}

void JpegPicture::SetGrayscale(bool grey) {
    if (grey == grey_) return;
    grey_ = grey;
    if (otherDecoded_) {
        std::swap(bitmap_, other_);
        std::swap(decoded_, otherDecoded_);
    } else {
        Invalidate();
    }
}

void JpegPicture::SetPerformance(JpegPerformance performance) {
    if (performance != performance_) {
        performance_ = performance;
        Invalidate();
    }
}

int JpegPicture::Width() const {
    return decoded_ ? bitmap_.width() : HeaderSize().width;
}

int JpegPicture::Height() const {
    return decoded_ ? bitmap_.height() : HeaderSize().height;
}

JpegSize JpegPicture::HeaderSize() const {
    try {
        return ReadJpegSize(Data(bytes_), bytes_.size(), Options());
    } catch (const JpegError&) {
        return {};
    }
}

JpegDecodeOptions JpegPicture::Options() const {
    return {static_cast<int>(scale_), grey_, performance_ == JpegPerformance::BestSpeed};
}

void JpegPicture::DIBNeeded() {
    if (decoded_)
        return;
    Bitmap decoded;
    prematureEnd_ = DecodeJpeg(Data(bytes_), bytes_.size(), Options(), decoded);
    bitmap_ = std::move(decoded);
    decoded_ = true;
}

void JpegPicture::DecodeColourAndGrey() {
    if (decoded_ && otherDecoded_)
        return;
    Bitmap colour, grey;
    const std::optional<bool> prematureEnd = DecodeJpegColourAndGrey(Data(bytes_), bytes_.size(), Options(), colour, grey);
    if (!prematureEnd) {
        DIBNeeded();
        return;
    }
    prematureEnd_ = *prematureEnd;
    bitmap_ = std::move(grey_ ? grey : colour);
    other_ = std::move(grey_ ? colour : grey);
    decoded_ = otherDecoded_ = true;
}

void JpegPicture::DecodeWhole() {
    DIBNeeded();
    if (prematureEnd_)
        throw JpegError("Premature end of JPEG file");
}

Bitmap& JpegPicture::bitmap() {
    DIBNeeded();
    return bitmap_;
}

void JpegPicture::SetFullColourDecoding() {
    SetGrayscale(false);
    SetScale(JpegScale::Full);
}

void JpegPicture::StretchDraw(Bitmap& target) {
    SetPerformance(JpegPerformance::BestSpeed);
    engine::StretchDraw(target, bitmap());
}

JpegScale JpegPicture::ThumbnailScale(int width, int height) const {
    const JpegSize full = ReadThumbnailSourceSize(Data(bytes_), bytes_.size());
    // The decoder's size at 1/d is the full size divided by d, rounded up.
    const auto covers = [&](int d) { return (full.width + d - 1) / d >= width && (full.height + d - 1) / d >= height; };
    for (const JpegScale scale : {JpegScale::Eighth, JpegScale::Quarter, JpegScale::Half})
        if (covers(static_cast<int>(scale)))
            return scale;
    return JpegScale::Full;
}

void JpegPicture::DrawThumbnail(Bitmap& target) {
    const JpegScale scale = ThumbnailScale(target.width(), target.height());  // refuses before any decode
    SetGrayscale(false);
    SetPerformance(JpegPerformance::BestSpeed);
    SetScale(scale);
    engine::StretchDraw(target, bitmap());
}

void JpegPicture::Invalidate() {
    bitmap_ = Bitmap();
    decoded_ = false;
    other_ = Bitmap();
    otherDecoded_ = false;
    prematureEnd_ = false;
}

std::unique_ptr<twebcampicture> MakeJpegPicture(std::string bytes) {
    return std::make_unique<JpegPicture>(std::move(bytes));
}

}  // namespace engine
