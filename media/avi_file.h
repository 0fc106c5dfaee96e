#pragma once
// An AVI file and its streams: created for writing (CreateFile, CreateVideoStream) or opened for
// reading (Open, Streams). Closing a file created for writing finishes it: index and headers.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/avi_object.h"
#include "media/mm_component.h"

namespace media {

class TMMCustomAVIFile : public TMMNonVisualComponent {
 public:
  // Closes; an error finishing the file is lost here (call Close to hear it).
  ~TMMCustomAVIFile() override;

  bool Opened() const { return handle_ != nullptr; }
  int StreamCount() const { return static_cast<int>(streams_.size()); }
  // Stream Index of the file; the file keeps its own reference.
  TMMAVIStream& Streams(int index) const { return *streams_.at(std::size_t(index)); }

  // A file deleted as soon as the handle is released (and the name then cleared).
  const std::string& TemporaryFileName() const { return temporary_file_name_; }
  void SetTemporaryFileName(std::string name) { temporary_file_name_ = std::move(name); }

  // Releases the streams and the file handle. When that finishes a written file, an error doing
  // so raises EMMAVIError (the file is released all the same).
  void Close();

 protected:
  // Raises EMMAVIError "File not opened" without a handle.
  AVIFileHandle& Handle() const;
  // Closes the present file, then keeps Handle.
  void SetHandle(std::shared_ptr<AVIFileHandle> handle);
  void AddStream(AVIRef<TMMAVIStream> stream) { streams_.push_back(std::move(stream)); }

 private:
  std::shared_ptr<AVIFileHandle> handle_;
  std::vector<AVIRef<TMMAVIStream>> streams_;
  std::string temporary_file_name_;
};

enum TMMAccessMode { amRead, amWrite, amReadWrite };
enum TMMShareMode { smNone, smRead, smWrite, smReadWrite };

class TMMAVIFile : public TMMCustomAVIFile {
 public:
  const std::string& FileName() const { return file_name_; }
  // A different name closes the file first.
  void SetFileName(const std::string& name);

  TMMAccessMode AccessMode() const { return access_mode_; }
  void SetAccessMode(TMMAccessMode mode) { access_mode_ = mode; }
  TMMShareMode ShareMode() const { return share_mode_; }
  void SetShareMode(TMMShareMode mode) { share_mode_ = mode; }
  // The open mode of the access and share modes (OF_ values).
  unsigned OpenMode() const;

  // The size a written file may not outgrow (frames past it are refused with "Error writing file").
  std::uint64_t MaxFileSize() const { return max_file_size_; }
  void SetMaxFileSize(std::uint64_t bytes) { max_file_size_ = bytes; }

  // A new empty file for writing, replacing the handle held so far.
  void CreateFile();
  // Opens an existing file for reading and lists its streams.
  void Open();

  // A new video stream of FrameRate frames a second named Name (cut to 63 bytes). The caller
  // holds one reference of it and releases it; the file holds another.
  TMMAVIStream* CreateVideoStream(int frame_rate, const std::string& name);

 private:
  std::string file_name_;
  TMMAccessMode access_mode_ = amRead;
  TMMShareMode share_mode_ = smNone;
  std::uint64_t max_file_size_ = kAVIMaxFileSize;
};

}  // namespace media
