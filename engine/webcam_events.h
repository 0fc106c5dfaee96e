#pragma once
// What a webcam reports to its manager and the manager to the main window: status changes and
// new pictures. Indices of events are 0-based list positions.

#include "engine/bitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace engine {

// A received JPEG picture as the events carry it: the compressed bytes exactly as received and
// a decoder behind them. The JPEG layer's picture class implements it.
class twebcampicture {
public:
    virtual ~twebcampicture() = default;
    virtual const std::string& Bytes() const = 0;
    // Colour output at full scale, the form in which the main window shows a picture.
    virtual void SetFullColourDecoding() = 0;
    // Draws the picture stretched over the whole bitmap with the fastest decoding; throws when
    // the bytes do not decode.
    virtual void StretchDraw(Bitmap& target) = 0;
    // Draws the picture as a thumbnail over the whole bitmap, from as small a decode as still
    // covers it; a decoder that cannot scale draws as StretchDraw does.
    virtual void DrawThumbnail(Bitmap& target) { StretchDraw(target); }
};

// Makes a picture from JPEG bytes; decoding happens when the picture is drawn.
using PictureDecoder = std::function<std::unique_ptr<twebcampicture>(std::string bytes)>;

// Kind of a new picture: the motion test found a change, found none, or was not made.
inline constexpr std::uint8_t kPictureMotion = 0;
inline constexpr std::uint8_t kPictureNoChange = 1;
inline constexpr std::uint8_t kPictureNoTest = 2;

// (Index, Status)
using TWebcamStatusEvent = std::function<void(int, int)>;
// (Index, FileName: empty when not saved, Stream: bytes or null, Kind, Picture: owned by the
// caller or null, Score)
using TWebcamPictureEvent =
    std::function<void(int, const std::string&, const std::string*, std::uint8_t, twebcampicture*, int)>;

// Webcam status values.
inline constexpr std::uint8_t kStatusStarted = 0;
inline constexpr std::uint8_t kStatusQueued = 1;
inline constexpr std::uint8_t kStatusHeader = 2;
inline constexpr std::uint8_t kStatusIdentical = 3;
inline constexpr std::uint8_t kStatusPicture = 4;  // also a running streaming webcam
inline constexpr std::uint8_t kStatusWaiting = 5;
inline constexpr std::uint8_t kStatusStopped = 6;
inline constexpr std::uint8_t kStatusError = 7;

}  // namespace engine
