#pragma once
// Answers the modal dialogs a call opens, one step per dialog, from the event loop that the
// dialog itself runs. A step that never gets its dialog fails the test after a few seconds and
// closes what is open, so nothing hangs.

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <ostream>
#include <vector>

// QStrings in test messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace avitest {

class ModalScript {
 public:
  // A step gets the newest modal dialog and answers it (accept, reject, type...).
  using Step = std::function<void(QWidget* dialog)>;

  explicit ModalScript(std::vector<Step> steps);
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // Every step ran.
  bool Done() const { return next_ == steps_.size(); }

 private:
  void Poll();

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  QPointer<QWidget> last_;
  int polls_ = 0;
  QTimer timer_;
};

// The child of Parent of type T and object name Name; fails the test when there is none.
template <typename T>
T* Child(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(name);
  if (child == nullptr) ADD_FAILURE() << "no child " << name;
  return child;
}

// Answers a dialog as its OK or Cancel button would; fails the test when Dialog is none.
void Accept(QWidget* dialog);
void Reject(QWidget* dialog);
// Types Name into a file dialog's name box and confirms it.
void TypeFileName(QWidget* dialog, const QString& name);

}  // namespace avitest
