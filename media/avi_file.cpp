#include "media/avi_file.h"

#include <unistd.h>

#include "media/text_cut.h"

namespace media {

TMMCustomAVIFile::~TMMCustomAVIFile() {
  try {
    Close();
  } catch (const EMMAVIError&) {
  }
}

AVIFileHandle& TMMCustomAVIFile::Handle() const {
  if (!handle_) throw EMMAVIError(kFileNotOpened);
  return *handle_;
}

void TMMCustomAVIFile::SetHandle(std::shared_ptr<AVIFileHandle> handle) {
  Close();
  handle_ = std::move(handle);
}

void TMMCustomAVIFile::Close() {
  streams_.clear();
  std::shared_ptr<AVIFileHandle> handle = std::move(handle_);
  // Streams still held elsewhere keep the file open; it is finished when the last one goes.
  const AVIResult result = handle && handle.use_count() == 1 ? handle->Finish() : AVIERR_OK;
  handle.reset();
  if (!temporary_file_name_.empty()) {
    ::unlink(temporary_file_name_.c_str());
    temporary_file_name_.clear();
  }
  Check(result);
}

void TMMAVIFile::SetFileName(const std::string& name) {
  if (name == file_name_) return;
  Close();
  file_name_ = name;
}

unsigned TMMAVIFile::OpenMode() const {
  static constexpr unsigned kAccess[] = {OF_READ, OF_WRITE, OF_READWRITE};
  static constexpr unsigned kShare[] = {OF_SHARE_EXCLUSIVE, OF_SHARE_DENY_WRITE, OF_SHARE_DENY_READ,
                                        OF_SHARE_DENY_NONE};
  return kAccess[access_mode_] | kShare[share_mode_];
}

void TMMAVIFile::CreateFile() {
  std::shared_ptr<AVIFileHandle> handle;
  Check(AVIFileHandle::Open(file_name_, OpenMode() | OF_CREATE, handle, max_file_size_));
  SetHandle(std::move(handle));
}

void TMMAVIFile::Open() {
  std::shared_ptr<AVIFileHandle> handle;
  Check(AVIFileHandle::Open(file_name_, OpenMode() & ~OF_CREATE, handle));
  SetHandle(handle);
  for (int i = 0;; ++i) {
    std::shared_ptr<AVIStreamHandle> stream;
    const AVIResult r = handle->GetStream(i, stream);
    if (r == AVIERR_NODATA || r == AVIERR_BADPARAM || r == AVIERR_UNSUPPORTED) break;
    Check(r);
    AddStream(AVIRef<TMMAVIStream>::Adopt(new TMMAVIStream(std::move(stream), handle->SuggestedBufferSize())));
  }
}

TMMAVIStream* TMMAVIFile::CreateVideoStream(int frame_rate, const std::string& name) {
  if (frame_rate < 1) Check(AVIERR_BADPARAM);
  AVIStreamInfo info;
  info.fccType = streamtypeVIDEO;
  info.dwScale = 1;
  info.dwRate = static_cast<std::uint32_t>(frame_rate);
  info.szName = CutText(name, kStreamNameMax);
  std::shared_ptr<AVIStreamHandle> handle;
  Check(Handle().CreateStream(info, handle));
  auto* stream = new TMMAVIStream(std::move(handle));
  AddStream(AVIRef<TMMAVIStream>::Share(stream));
  return stream;
}

}  // namespace media
