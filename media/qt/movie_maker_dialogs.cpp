#include "media/qt/movie_maker_dialogs.h"

#include <memory>

#include <QFile>

#include "media/qt/avi_compressor_dialog.h"
#include "media/qt/avi_dialogs.h"
#include "media/qt/qt_convert.h"

namespace media {

MovieMakerSetup DialogMovieSetup(QWidget* parent, const MovieTexts& texts) {
  auto dialog = std::make_shared<TMMAVISaveDialog>();
  dialog->SetParent(parent);
  dialog->SetDefaultExt("avi");
  dialog->SetFilter("Microsoft AVI Files|*.AVI");
  dialog->SetFilterIndex(1);

  MovieMakerSetup setup;
  setup.ChooseFileName = [dialog](std::string& name) {
    if (!dialog->Execute()) return false;
    name = QFile::encodeName(dialog->FileName()).toStdString();
    return true;
  };
  setup.ChooseCompression = AVICompressionChooser(parent);
  setup.Texts = texts;
  return setup;
}

bool MakeAVIFromFrames(QWidget* parent, int count, const TMovieDrawFrame& get_frame, const TMovieProgress& progress,
                       int frame_rate, QImage& bitmap, const MovieTexts& texts) {
  const MovieMakerSetup setup = DialogMovieSetup(parent, texts);
  QImage readable;  // the frame in a layout the DIB routines read, when the caller's is another
  return MakeAVIFromFrames(
      setup, count,
      [&](int index) {
        get_frame(index, bitmap);
        if (RowsOf(bitmap).BitsPerPixel != 0) return RowsOf(bitmap);
        readable = bitmap.convertToFormat(QImage::Format_RGB32);
        return RowsOf(readable);
      },
      progress, frame_rate);
}

}  // namespace media
