#pragma once
// The screen saver's picture area (Image1): black, with the current picture stretched into its
// rectangle.

#include <QImage>
#include <QRect>
#include <QWidget>

namespace saver {

class SaverCanvas : public QWidget {
    Q_OBJECT
public:
    explicit SaverCanvas(QWidget* parent = nullptr);

    // Shows picture stretched into rect; a null picture leaves the area black.
    void ShowPicture(const QImage& picture, const QRect& rect);
    void ClearPicture();

    const QRect& drawRect() const { return rect_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QRect rect_;
};

}  // namespace saver
