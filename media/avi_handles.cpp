#include "media/avi_handles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace media {

class AVIFileHandle::WrittenStream : public AVIStreamHandle {
 public:
  WrittenStream(std::shared_ptr<AVIFileHandle> file, int index) : file_(std::move(file)), index_(index) {}

  AVIStreamInfo Info() const override { return file_->writer_->Info(index_); }
  std::vector<std::uint8_t> Format() const override { return file_->writer_->Format(index_); }
  AVIResult SetFormat(std::int32_t position, std::span<const std::uint8_t> format) override {
    return file_->writer_->SetFormat(index_, position, format);
  }
  AVIResult Write(std::int32_t start, std::int32_t samples, std::span<const std::uint8_t> data,
                  std::uint32_t flags) override {
    // One chunk holds one sample of a video stream; several make sense only for fixed-size samples.
    if (samples != 1 && Info().dwSampleSize == 0) return AVIERR_BADPARAM;
    return file_->writer_->Write(index_, start, data, flags);
  }

 private:
  std::shared_ptr<AVIFileHandle> file_;
  int index_;
};

class AVIFileHandle::ReadStream : public AVIStreamHandle {
 public:
  ReadStream(std::shared_ptr<AVIFileHandle> file, int index) : file_(std::move(file)), index_(index) {}

  AVIStreamInfo Info() const override { return Headers().info; }
  std::vector<std::uint8_t> Format() const override { return Headers().format; }
  AVIResult SetFormat(std::int32_t, std::span<const std::uint8_t>) override { return AVIERR_READONLY; }
  AVIResult Write(std::int32_t, std::int32_t, std::span<const std::uint8_t>, std::uint32_t) override {
    return AVIERR_READONLY;
  }

 private:
  const AVIStreamHeaders& Headers() const { return file_->headers_.streams[std::size_t(index_)]; }
  std::shared_ptr<AVIFileHandle> file_;
  int index_;
};

AVIResult AVIFileHandle::Open(const std::string& path, unsigned mode, std::shared_ptr<AVIFileHandle>& out,
                              std::uint64_t max_file_size) {
  const bool create = (mode & OF_CREATE) != 0;
  // Emptied only once locked, so a file another writer holds is left alone.
  const int fd = create ? ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644)
                        : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return AVIERR_FILEOPEN;
  const unsigned share = mode & 0x70;
  const int lock = share == OF_SHARE_DENY_NONE ? 0 : share == OF_SHARE_DENY_WRITE ? LOCK_SH : LOCK_EX;
  if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
    ::close(fd);
    return AVIERR_FILEOPEN;
  }
  if (create && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return AVIERR_FILEOPEN;
  }
  std::shared_ptr<AVIFileHandle> file(new AVIFileHandle);
  if (create) {
    file->writer_ = std::make_unique<AVIRiffWriter>(fd, max_file_size);
  } else {
    file->read_fd_ = fd;
    const AVIResult r = ReadAVIHeaders(fd, file->headers_);
    if (r != AVIERR_OK) return r;  // the handle closes the file
  }
  out = std::move(file);
  return AVIERR_OK;
}

AVIFileHandle::~AVIFileHandle() {
  if (writer_) writer_->Finish();  // a result nobody is left to hear
  if (read_fd_ >= 0) ::close(read_fd_);
}

AVIResult AVIFileHandle::GetStream(int index, std::shared_ptr<AVIStreamHandle>& out) {
  const int count = writer_ ? writer_->StreamCount() : static_cast<int>(headers_.streams.size());
  if (index < 0 || index >= count) return AVIERR_NODATA;
  if (writer_)
    out = std::make_shared<WrittenStream>(shared_from_this(), index);
  else
    out = std::make_shared<ReadStream>(shared_from_this(), index);
  return AVIERR_OK;
}

AVIResult AVIFileHandle::CreateStream(const AVIStreamInfo& info, std::shared_ptr<AVIStreamHandle>& out) {
  if (!writer_) return AVIERR_READONLY;
  int index = 0;
  const AVIResult r = writer_->AddStream(info, index);
  if (r == AVIERR_OK) out = std::make_shared<WrittenStream>(shared_from_this(), index);
  return r;
}

AVIResult AVIFileHandle::Finish() { return writer_ ? writer_->Finish() : AVIERR_OK; }

}  // namespace media
