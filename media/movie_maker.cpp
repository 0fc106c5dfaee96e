#include "media/movie_maker.h"

#include <exception>
#include <memory>
#include <optional>

#include "media/avi_file.h"
#include "media/avi_worker.h"
#include "media/bitmap_to_dib.h"
#include "media/jpeg_frame_check.h"
#include "media/rounding.h"
#include "media/text_cut.h"

namespace media {

namespace {

constexpr std::size_t kProgressTextMax = 255;

// Writes frame Index's picture as it is when it already is a Motion-JPEG frame of the movie.
bool WriteAsItIs(TMMAVIVideoWorker& worker, const MovieJPEGPictures& pictures, int index) {
  if (!pictures.GetJPEG || !worker.TakesJPEG()) return false;
  const std::span<const std::uint8_t> jpeg = pictures.GetJPEG(index);
  if (!JPEGFitsFrame(jpeg, pictures.Width, pictures.Height)) return false;
  worker.WriteJPEGFrame(index, pictures.Width, pictures.Height, jpeg);
  return true;
}

void WriteFrames(TMMAVIStream& stream, TMMAVICompressor& compressor, const MovieTexts& texts, int count,
                 const TMovieGetFrame& get_frame, const TMovieProgress& progress, const MovieJPEGPictures& pictures) {
  TMMAVIVideoWorker worker(stream, compressor.GetOptions(0));
  for (int i = 0; i < count; ++i) {
    bool abort = false;
    progress(static_cast<int>(RoundHalfEven(std::int64_t(i) * 100, count)), FrameProgressText(texts, i + 1, count),
             abort);
    if (abort) break;
    if (WriteAsItIs(worker, pictures, i)) continue;
    const std::optional<PackedDIB> dib = BitmapToDIB(get_frame(i), {}, 24, kBottomUp);
    if (!dib) Check(AVIERR_BADFORMAT);
    worker.WriteFrame(i, *dib);
  }
}

}  // namespace

std::string FrameProgressText(const MovieTexts& texts, int frame, int count) {
  return CutText(texts.Frame + std::to_string(frame) + texts.Of + std::to_string(count), kProgressTextMax);
}

bool MakeAVIFromFrames(const MovieMakerSetup& setup, int count, const TMovieGetFrame& get_frame,
                       const TMovieProgress& progress, int frame_rate, const MovieJPEGPictures& pictures) {
  std::string file_name;
  if (!setup.ChooseFileName(file_name)) return false;

  TMMAVIFile file;
  TMMAVICompressor compressor;
  compressor.SetChooser(setup.ChooseCompression);
  file.SetMaxFileSize(setup.MaxFileSize);
  file.SetFileName(file_name);
  file.CreateFile();
  AVIRef<TMMAVIStream> stream;
  try {
    stream = AVIRef<TMMAVIStream>::Adopt(file.CreateVideoStream(frame_rate, kMovieStreamName));
    compressor.AddStream(*stream);
    if (compressor.Choose())
      WriteFrames(*stream, compressor, setup.Texts, count, get_frame, progress, pictures);
    else
      file.SetTemporaryFileName(file_name);  // nothing to keep
  } catch (...) {
    // Close what is open; the first failure is the one the caller hears of.
    compressor.Close();
    stream.Reset();
    try {
      file.Close();
    } catch (const EMMAVIError&) {
    }
    throw;
  }
  compressor.Close();
  stream.Reset();
  file.Close();

  bool abort = false;
  progress(0, CutText(setup.Texts.Ready, kProgressTextMax), abort);
  return true;
}

}  // namespace media
