#pragma once
// Bases of the media components. A component is an object with an identity (a timer, a file, a
// dialog): it is never copied, and it is destroyed through its base.

namespace media {

class TMMComponent {
 public:
  TMMComponent() = default;
  TMMComponent(const TMMComponent&) = delete;
  TMMComponent& operator=(const TMMComponent&) = delete;
  virtual ~TMMComponent() = default;
};

// A component without a window of its own (timers, AVI files, compressors).
class TMMNonVisualComponent : public TMMComponent {};

// Base of the file dialogs: Execute shows the dialog and answers whether the user confirmed.
class TMMCommonDialog : public TMMComponent {
 public:
  virtual bool Execute() = 0;
};

}  // namespace media
