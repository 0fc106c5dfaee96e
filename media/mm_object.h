#pragma once
// Base of the media components' settings objects: announces changes to its owner, with
// BeginUpdate/EndUpdate folding a batch of changes into one announcement.

#include <functional>

namespace media {

class TMMObject {
 public:
  using TNotifyEvent = std::function<void(TMMObject& sender)>;

  TMMObject() = default;
  TMMObject(const TMMObject&) = delete;
  TMMObject& operator=(const TMMObject&) = delete;
  virtual ~TMMObject() = default;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  void BeginUpdate();
  void EndUpdate();

 protected:
  // Each fires its event only while no update is open.
  void Changed();
  void Changing();

 private:
  int update_count_ = 0;
};

}  // namespace media
