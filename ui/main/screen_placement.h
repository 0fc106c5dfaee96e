#pragma once
// Where the program's windows open. Every dialog opens centred on the window it was opened from
// (the modal dialog the user is in, else its parent's window, else the main window) and wholly
// inside the work area of that window's screen; with the main window hidden (in the tray) it is
// centred on the screen. One filter on the application places each dialog as it is shown, at
// the size it settles on in its show, and makes it wide enough for its title, so every dialog
// gets this without code of its own; a window its code has placed already (global saving and
// the enhancement window open below SpeedButton2) is left where it was put, fitted to the
// screen. Main thread only.

#include <QDialog>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace ui {

// The top-left corner nearest to wanted at which a window of size (its frame included) lies
// within area; a window larger than area starts at area's top-left corner.
QPoint FitOnScreen(QPoint wanted, QSize size, const QRect& area);

// Where window (not shown yet, or shown) should be moved to open at wanted: fitted to the
// available area of reference's screen. A window not shown yet is taken at the size it will
// get, with the frame the window manager gave reference (at least a few pixels a side).
QPoint PlaceOnScreenOf(const QWidget& reference, const QWidget& window, QPoint wanted);

// Where window should be moved to open centred on anchor (on anchor's screen when anchor is not
// on show), within that screen's available area.
QPoint CentredOn(const QWidget& anchor, const QWidget& window);

class DialogPlacement : public QObject {
public:
    // Places the application's dialogs from now on; those without a parent on mainWindow.
    explicit DialogPlacement(QWidget& mainWindow);
    ~DialogPlacement() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A dialog placed here from its show until the events that its show posted have run, and
    // the window it was opened from.
    struct Settling {
        QPointer<QDialog> dialog;
        QPointer<QWidget> opener;
    };
    void Settled(const QDialog* dialog);

    QWidget& mainWindow_;
    std::vector<Settling> settling_;
};

}  // namespace ui
