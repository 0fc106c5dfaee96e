#include "tests/media_qt/avi_modal_driver.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace avitest {

namespace {
constexpr int kPollMs = 10;
constexpr int kMaxPolls = 500;  // five seconds
}  // namespace

ModalScript::ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
  timer_.setInterval(kPollMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalScript::~ModalScript() { EXPECT_TRUE(Done()) << "steps left: " << steps_.size() - next_; }

void ModalScript::Poll() {
  if (Done()) {
    timer_.stop();
    return;
  }
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != last_.data()) {
    last_ = modal;
    // Run from the event loop, not from here: a step that opens a dialog of its own (an accept
    // that asks a question) must leave this timer free to answer it.
    QTimer::singleShot(0, modal, [step = steps_[next_++], modal] { step(modal); });
    return;
  }
  if (++polls_ < kMaxPolls) return;
  ADD_FAILURE() << "no dialog came for step " << next_;
  next_ = steps_.size();
  while (QWidget* open = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(open)) {
      dialog->reject();
    } else {
      open->close();
    }
    if (QApplication::activeModalWidget() == open) break;
  }
}

namespace {
QDialog* AsDialog(QWidget* widget) {
  auto* dialog = qobject_cast<QDialog*>(widget);
  if (dialog == nullptr) ADD_FAILURE() << "not a dialog";
  return dialog;
}
}  // namespace

void Accept(QWidget* dialog) {
  if (QDialog* d = AsDialog(dialog)) d->accept();
}

void Reject(QWidget* dialog) {
  if (QDialog* d = AsDialog(dialog)) d->reject();
}

void TypeFileName(QWidget* dialog, const QString& name) {
  if (auto* edit = Child<QLineEdit>(dialog, "fileNameEdit")) edit->setText(name);
  Accept(dialog);
}

}  // namespace avitest
