#pragma once
// The choice of compression for the streams of a file about to be written: one option record per
// added stream, with the defaults of its type, which the options dialog may change.

#include <functional>
#include <vector>

#include "media/avi_object.h"
#include "media/mm_component.h"

namespace media {

// Flags of the options dialog: which extra choices it offers.
constexpr unsigned ICMF_CHOOSE_KEYFRAME = 0x1;
constexpr unsigned ICMF_CHOOSE_DATARATE = 0x2;
constexpr unsigned ICMF_CHOOSE_PREVIEW = 0x4;

// The options dialog: may change the records (one per stream, in order); true when confirmed.
using TAVIChooseOptions = std::function<bool(std::vector<AVICompressOptions>& options, unsigned flags)>;

class TMMAVICompressor : public TMMNonVisualComponent {
 public:
  ~TMMAVICompressor() override { Close(); }

  bool ChooseKeyFrame() const { return choose_key_frame_; }
  bool ChooseDataRate() const { return choose_data_rate_; }
  bool ChoosePreview() const { return choose_preview_; }
  void SetChooseKeyFrame(bool on) { choose_key_frame_ = on; }
  void SetChooseDataRate(bool on) { choose_data_rate_ = on; }
  void SetChoosePreview(bool on) { choose_preview_ = on; }

  // The dialog Choose runs (a Qt dialog in the program); without one the defaults are taken.
  void SetChooser(TAVIChooseOptions chooser) { chooser_ = std::move(chooser); }

  // Appends Stream (holding a reference) with a new option record for its type.
  void AddStream(TMMAVIStream& stream);
  int StreamCount() const { return static_cast<int>(streams_.size()); }

  // Runs the options dialog for all added streams; true when the user confirmed.
  bool Choose();

  // The option record of stream Index; nullptr when out of range.
  AVICompressOptions* GetOptions(int index);

  // Releases the streams and drops the option records.
  void Close();

 private:
  TAVIChooseOptions chooser_;
  std::vector<AVIRef<TMMAVIStream>> streams_;
  std::vector<AVICompressOptions> options_;
  bool choose_key_frame_ = false;
  bool choose_data_rate_ = false;
  bool choose_preview_ = false;
};

// The option record a stream of Type starts with; an audio stream's record holds its Format.
AVICompressOptions DefaultCompressOptions(FourCC type, const std::vector<std::uint8_t>& format);

}  // namespace media
