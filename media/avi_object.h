#pragma once
// The reference-counted AVI objects: an object starts with one reference, AddRef adds one and
// Release drops one, freeing the object at 0. AVIRef holds one reference for a scope or a list.

#include <memory>
#include <utility>

#include "media/avi_handles.h"
#include "media/mm_object.h"

namespace media {

class TMMAVIObject : public TMMObject {
 public:
  void AddRef() { ++ref_count_; }
  void Release() {
    if (--ref_count_ == 0) delete this;
  }
  int RefCount() const { return ref_count_; }

 protected:
  ~TMMAVIObject() override = default;

 private:
  int ref_count_ = 1;
};

template <typename T>
class AVIRef {
 public:
  AVIRef() = default;
  // Takes over a reference the caller holds.
  static AVIRef Adopt(T* object) { return AVIRef(object); }
  // Takes a reference of its own.
  static AVIRef Share(T* object) {
    if (object) object->AddRef();
    return AVIRef(object);
  }
  AVIRef(AVIRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  AVIRef& operator=(AVIRef&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ~AVIRef() { Reset(); }

  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  explicit AVIRef(T* object) : object_(object) {}
  T* object_ = nullptr;
};

// A stream of an AVI file, or a compressed stream over one. It holds its file open.
class TMMAVIStream : public TMMAVIObject {
 public:
  // FileBufferSize: the suggested buffer size of the file the stream was opened from.
  explicit TMMAVIStream(std::shared_ptr<AVIStreamHandle> handle = {}, std::uint32_t file_buffer_size = 0)
      : handle_(std::move(handle)), file_buffer_size_(file_buffer_size) {}

  bool Opened() const { return handle_ != nullptr; }
  // Raises EMMAVIError "Stream not opened" without a handle.
  AVIStreamHandle& Handle() const {
    if (!handle_) throw EMMAVIError(kStreamNotOpened);
    return *handle_;
  }
  const std::shared_ptr<AVIStreamHandle>& SharedHandle() const {
    Handle();
    return handle_;
  }
  void SetHandle(std::shared_ptr<AVIStreamHandle> handle) { handle_ = std::move(handle); }

  AVIStreamInfo Info() const { return Handle().Info(); }
  std::vector<std::uint8_t> Format() const { return Handle().Format(); }
  std::uint32_t FileBufferSize() const { return file_buffer_size_; }

 private:
  std::shared_ptr<AVIStreamHandle> handle_;
  std::uint32_t file_buffer_size_;
};

}  // namespace media
