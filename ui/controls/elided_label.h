#pragma once
// A one-line label that never asks for more width than it is given: a text too long for it
// (a webcam name or address may have 255 characters) is shown cut with "…" where the mode
// says, so the window keeps its size and everything beside the label stays in view. text()
// keeps the whole text. Main thread only.

#include <QLabel>

namespace ui {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

    // The label keeps room for its whole text up to this width (0: no room of its own), so that
    // a short text is never cut to give its neighbours more.
    void SetReadableWidth(int pixels);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode mode_;
    int readableWidth_ = 0;
};

}  // namespace ui
