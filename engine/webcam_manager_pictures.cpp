// The manager's picture side: thumbnails, and the new-picture callbacks of still and streaming
// webcams. Main thread only. A thumbnail is drawn from the smallest decode that covers it, or
// taken as the picture's worker drew it ahead.

#include "engine/picture_folder.h"
#include "engine/settings_limits.h"
#include "engine/webcam.h"
#include "engine/webcam_manager.h"

#include <stdexcept>

namespace engine {

Bitmap twebcammanager::BlankThumbnail() const { return Bitmap(FThumbWidth, FThumbHeight, 24); }

void twebcammanager::SetThumbnailSize(int width, int height) {
    const ThumbnailSize size = DrawableThumbnailSize(width, height);  // every webcam gets a bitmap of it
    FThumbWidth = size.width;
    FThumbHeight = size.height;
}

Bitmap twebcammanager::GetThumbnail(int i) const {
    const auto& stored = FThumbnails.at(static_cast<std::size_t>(i - 1));
    return stored ? *stored : BlankThumbnail();
}

// Into the stored bitmap's own storage when it has room: thumbnails replaced many times a
// second do not churn the heap.
void twebcammanager::SetThumbnail(int position, const Bitmap& bitmap) {
    auto& stored = FThumbnails.at(static_cast<std::size_t>(position));
    if (stored) *stored = bitmap;
    else stored = std::make_unique<Bitmap>(bitmap);
}

void twebcammanager::MakeThumbnail(const std::string& FileName, Bitmap& bitmap) const {
    std::string bytes;
    if (!ReadPictureFile(FileName, bytes)) throw std::runtime_error("cannot read " + FileName);
    DecodePicture(std::move(bytes))->DrawThumbnail(bitmap);
}

void twebcammanager::OfferThumbnail(std::optional<Bitmap> thumbnail) { FOfferedThumbnail = std::move(thumbnail); }

Bitmap twebcammanager::NewThumbnail(const std::function<void(Bitmap&)>& draw) {
    std::optional<Bitmap> offered = std::move(FOfferedThumbnail);
    FOfferedThumbnail.reset();
    if (offered && offered->width() == FThumbWidth && offered->height() == FThumbHeight &&
        offered->bitsPerPixel() == 24)
        return std::move(*offered);
    Bitmap thumbnail = BlankThumbnail();
    draw(thumbnail);
    return thumbnail;
}

// Remembers an unsaved picture: its bytes, its thumbnail, and whether it is news for the grid.
// The picture is then set to full-size colour again, as the receivers of the event show it.
void twebcammanager::KeepPicture(int Index, twebcam& webcam, twebcampicture& picture, std::uint8_t Kind) {
    webcam.FPicture = picture.Bytes();
    SetThumbnail(Index, NewThumbnail([&picture](Bitmap& thumbnail) { picture.DrawThumbnail(thumbnail); }));
    picture.SetFullColourDecoding();
    if (Kind == kPictureMotion || Kind == kPictureNoTest) webcam.FNewPicture = true;
}

void twebcammanager::PictureArrived(int Index, const std::string& FileName, const std::string* Stream,
                                    std::uint8_t Kind, twebcampicture* Picture, int Score) {
    twebcam* webcam = FList.Get(Index);
    if (!webcam) return;
    webcam->FPicture.reset();
    if (Picture) Picture->SetFullColourDecoding();
    if (!FileName.empty()) {
        SetThumbnail(Index, NewThumbnail([&](Bitmap& thumbnail) { MakeThumbnail(FileName, thumbnail); }));
        if (Kind == kPictureMotion || Kind == kPictureNoTest) webcam->FNewPicture = true;
        if (OnNewPicture) OnNewPicture(Index, FileName, nullptr, Kind, Picture, Score);
    } else if (Stream) {
        const std::unique_ptr<twebcampicture> decoded = DecodePicture(*Stream);
        KeepPicture(Index, *webcam, *decoded, Kind);
        if (OnNewPicture) OnNewPicture(Index, std::string(), nullptr, Kind, decoded.get(), Score);
    } else if (Picture) {
        KeepPicture(Index, *webcam, *Picture, Kind);
        if (OnNewPicture) OnNewPicture(Index, std::string(), nullptr, Kind, Picture, Score);
    }
}

void twebcammanager::StreamPictureArrived(int Index, const std::string& FileName, const std::string*,
                                          std::uint8_t Kind, twebcampicture* Picture, int Score) {
    twebcam* webcam = FList.Get(Index);
    if (!webcam) return;
    webcam->FPicture.reset();
    if (!Picture) return;
    KeepPicture(Index, *webcam, *Picture, Kind);
    if (OnStreamPicture) OnStreamPicture(Index, FileName, nullptr, Kind, Picture, Score);
}

}  // namespace engine
