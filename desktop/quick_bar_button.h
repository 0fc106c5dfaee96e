#pragma once
// A webcam's button on the quick bar: 92 x 72, the raised blank button with the webcam's
// thumbnail stretched into it and, while the webcam has a picture nobody looked at, a lime frame.

#include <QPixmap>
#include <QToolButton>

namespace desktop {

class QuickBarHost;

inline constexpr int kQuickButtonWidth = 92;
inline constexpr int kQuickButtonHeight = 72;

// The 92 x 72 picture of an empty raised button (BlankButton).
QPixmap DrawBlankButton();

class TQuickBarButton : public QToolButton {
    Q_OBJECT
public:
    TQuickBarButton(int webcam, QuickBarHost& host, const QPixmap& blank, QWidget* parent);
    // The webcam's 1-based index in the manager (the button's Tag).
    int Tag() const { return FTag; }
    // The hint: name, description (when there is one) and picture URL, one a line. Made again
    // each time it is shown, so a renamed or edited webcam's shows what it is now.
    void UpdateHint();
    // What the button shows: blank, thumbnail, frame; null when its webcam does not exist.
    QImage Face() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int FTag;
    QuickBarHost& FHost;
    const QPixmap& FBlank;
};

}  // namespace desktop
