#pragma once
// Writes a series of frames, obtained one by one from the caller, into a one-stream AVI file:
// asks for the file name, lets the user choose the compressor, reports progress and stops when
// the progress callback asks. The dialogs come in as functions (Qt ones in media/qt), so this
// runs and is tested without a display.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "media/avi_compressor.h"
#include "media/avi_riff_writer.h"
#include "media/bitmap.h"

namespace media {

// Draws frame Index (0-based) into the caller's frame bitmap and returns that bitmap's rows (24 or
// 32 bits), valid until the next call.
using TMovieGetFrame = std::function<BitmapRows(int index)>;
// Frame Index's picture as the bytes of a JPEG file, valid until the next call; empty when none.
using TMovieGetJPEG = std::function<std::span<const std::uint8_t>(int index)>;
// Shows the progress; Abort set to true stops before the frame is written.
using TMovieProgress = std::function<void(int percent, const std::string& text, bool& abort)>;

// The texts of the progress reports: "Enregistrement de l'image", "de" and "Prêt" of the message
// table (65168, 65267, 65249), which the caller supplies.
struct MovieTexts {
  std::string Frame;
  std::string Of;
  std::string Ready;
};

struct MovieMakerSetup {
  // The save dialog: true with the chosen file name, false when cancelled.
  std::function<bool(std::string& file_name)> ChooseFileName;
  // The compressor's options dialog; none takes the defaults (uncompressed frames).
  TAVIChooseOptions ChooseCompression;
  MovieTexts Texts;
  std::uint64_t MaxFileSize = kAVIMaxFileSize;
};

// Frames that come from JPEG pictures. In a Motion-JPEG movie, a picture of the frame size that
// decodes cleanly is written as its bytes are, and only the others are drawn and encoded.
struct MovieJPEGPictures {
  int Width = 0;  // the movie's frame size
  int Height = 0;
  TMovieGetJPEG GetJPEG;
};

// The name of the movie's one stream.
inline constexpr char kMovieStreamName[] = "Morvane Stream";

// "Enregistrement de l'image" 3 "de" 10 as one text, "Enregistrement de l'image3de10", cut to 255
// bytes.
std::string FrameProgressText(const MovieTexts& texts, int frame, int count);

// True when the user confirmed the file name, also when the compressor choice was then refused
// (the file just created is removed) or the writing stopped. A failure (an EMMAVIError of the
// file, or what GetFrame raises) leaves the file closed and valid with the frames written before
// it, and reaches the caller without the closing report. With Pictures, GetFrame is asked only for
// the frames whose picture cannot be written as it is.
bool MakeAVIFromFrames(const MovieMakerSetup& setup, int count, const TMovieGetFrame& get_frame,
                       const TMovieProgress& progress, int frame_rate, const MovieJPEGPictures& pictures = {});

}  // namespace media
