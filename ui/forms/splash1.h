#pragma once
// "Ecran 1": the splash window shown while the program starts. It shows "splash.jpg" of the
// program folder when there is one, with a 16-pixel margin all round.

#include <QWidget>

class QFrame;
class QLabel;

namespace ui {

class Tsplash1 : public QWidget {
    Q_OBJECT
public:
    explicit Tsplash1(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFrame* panel_;
    QLabel* image_;
};

Tsplash1& splash1();

}  // namespace ui
