#pragma once
// The compression options dialog of the AVI compressor: no compressor (uncompressed frames) or
// Motion-JPEG with its quality. It sets the option records of the video streams; every frame is a
// key frame and neither compressor has a data rate, so those choices are not offered.

#include <QDialog>
#include <vector>

#include "media/avi_compressor.h"

class QComboBox;
class QSpinBox;

namespace media {

class TMMAVICompressorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TMMAVICompressorDialog(QWidget* parent = nullptr);

  // Shows the choice of Options; Store writes the shown choice into Options.
  void Load(const AVICompressOptions& options);
  void Store(AVICompressOptions& options) const;

  QComboBox* Compressor() const { return compressor_; }
  QSpinBox* Quality() const { return quality_; }

 private:
  void UpdateQuality();

  QComboBox* compressor_;
  QSpinBox* quality_;
};

// Runs the dialog over the video streams' records; true when confirmed (then the records hold
// the choice, else they are left as they were).
bool ChooseAVICompression(QWidget* parent, std::vector<AVICompressOptions>& options, unsigned flags);

// The dialog as the compressor's chooser, with Parent as its parent window.
TAVIChooseOptions AVICompressionChooser(QWidget* parent);

}  // namespace media
