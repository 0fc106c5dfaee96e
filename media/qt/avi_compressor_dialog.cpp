#include "media/qt/avi_compressor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "media/mjpeg_encoder.h"

namespace media {

namespace {
// The dialog's quality is in percent; the option records count to 10000.
constexpr int kQualityScale = ICQUALITY_HIGH / 100;
}  // namespace

TMMAVICompressorDialog::TMMAVICompressorDialog(QWidget* parent)
    : QDialog(parent), compressor_(new QComboBox(this)), quality_(new QSpinBox(this)) {
  setWindowTitle("Compression vidéo");
  setObjectName("AVICompressorDialog");
  compressor_->setObjectName("Compressor");
  compressor_->addItem("Images pleines (non compressées)", QVariant::fromValue(0u));
  compressor_->addItem("Motion JPEG", QVariant::fromValue(static_cast<unsigned>(kMotionJPEG)));
  quality_->setObjectName("Quality");
  quality_->setRange(1, 100);
  quality_->setValue(kDefaultJPEGQuality);

  auto* form = new QFormLayout;
  form->addRow("Compresseur :", compressor_);
  form->addRow("Qualité de compression :", quality_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  connect(compressor_, &QComboBox::currentIndexChanged, this, &TMMAVICompressorDialog::UpdateQuality);
  UpdateQuality();
}

void TMMAVICompressorDialog::UpdateQuality() { quality_->setEnabled(compressor_->currentIndex() == 1); }

void TMMAVICompressorDialog::Load(const AVICompressOptions& options) {
  const int index = compressor_->findData(QVariant::fromValue(static_cast<unsigned>(options.fccHandler)));
  compressor_->setCurrentIndex(index < 0 ? 0 : index);
  quality_->setValue(options.dwQuality == ICQUALITY_DEFAULT ? kDefaultJPEGQuality : options.dwQuality / kQualityScale);
}

void TMMAVICompressorDialog::Store(AVICompressOptions& options) const {
  options.fccHandler = compressor_->currentData().toUInt();
  options.dwQuality = quality_->value() * kQualityScale;
}

bool ChooseAVICompression(QWidget* parent, std::vector<AVICompressOptions>& options, unsigned) {
  TMMAVICompressorDialog dialog(parent);
  auto video = std::find_if(options.begin(), options.end(),
                            [](const AVICompressOptions& o) { return o.fccType == streamtypeVIDEO; });
  if (video != options.end()) dialog.Load(*video);
  if (dialog.exec() != QDialog::Accepted) return false;
  for (AVICompressOptions& o : options)
    if (o.fccType == streamtypeVIDEO) dialog.Store(o);
  return true;
}

TAVIChooseOptions AVICompressionChooser(QWidget* parent) {
  return [parent](std::vector<AVICompressOptions>& options, unsigned flags) {
    return ChooseAVICompression(parent, options, flags);
  };
}

}  // namespace media
