#pragma once
// "Ecran 1": the splash window shown while the program starts. It shows "splash.jpg" of the
// program folder when there is one, else the program's own picture, with a 16-pixel margin
// all round.

#include <QWidget>

class QFrame;
class QImage;
class QLabel;

namespace ui {

class Tsplash1 : public QWidget {
    Q_OBJECT
public:
    explicit Tsplash1(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPicture(const QImage& picture);

    QFrame* panel_;
    QLabel* image_;
};

Tsplash1& splash1();

}  // namespace ui
