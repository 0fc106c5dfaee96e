#pragma once
// The screen saver's window: full screen and black, the picture area above a 41-pixel caption
// panel. Every interval it shows the next webcam of its list, live (fetched on a thread of its
// own) or one of the pictures the main program saved; a key, a click or mouse travel of more
// than 4 pixels ends it. Full screen it takes the keyboard and the pointer; drawing into a
// window the screen-saver daemon made, it leaves both and ending to the daemon, and when it
// may not run there it stands idle and black rather than end: a daemon takes a hack that ends
// for a crashed one and starts it again.

#include "engine/webcam_records.h"
#include "platform/lock_file.h"
#include "platform/qt/prompts.h"
#include "saver/fetch/live_fetch_thread.h"
#include "saver/picture_layout.h"
#include "saver/picture_rotation.h"
#include "saver/saver_settings.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QTimer;

namespace saver {

class InputGrab;
class SaverCanvas;

inline constexpr int kCaptionPanelHeight = 41;

class Tssform : public QWidget {
    Q_OBJECT
public:
    // hostWindow: the X window to draw into (the daemon's), or 0 for a full-screen window.
    explicit Tssform(WId hostWindow = 0, QWidget* parent = nullptr);
    // Cancels a running fetch and lets its thread go without waiting: a transfer stalled in
    // a name look-up must not hold the saver (and its lock) up.
    ~Tssform() override;

    // Reads the settings and the list of webcams. False when the saver is not to run: no
    // webcams (after its message), an empty list (after its message), or the main program
    // running while the saver may not run beside it (silently). Inside a daemon's window the
    // message is kept for StandIdle instead of shown in a box nobody would see.
    bool FormCreate();
    // Shows the window (full screen, or inside the host window) and the first picture.
    void Start();
    // Inside the host window: black, with the reason the saver does not run (if any) as the
    // caption; no timer, no fetch, until the daemon ends it.
    void StandIdle();

    bool Closing() const { return FClosing; }
    const std::vector<engine::tsdo>& webcams() const { return FList; }
    int index() const { return rotation_.index(); }
    QString caption() const;
    QRect drawRect() const;
    const QTimer& timer() const { return *Timer1; }

    // Timer1Timer: the next webcam's picture.
    void NextPicture();

signals:
    // The saver has ended (a key, a click, mouse travel) and asked the application to quit.
    void ended();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectNextWebcam(bool savedOnly);
    void ShowSavedPicture();
    void DrawPicture(bool live);
    void PlacePicture();
    void ShowDownloadedPicture(const LiveReply& reply);
    void FallBackToSaved();
    void UserActivity();
    void EndSaver();
    void SetCaption(const QString& text);
    // A start-up message: a box, or inside a daemon's window the caption of StandIdle.
    void Report(const QString& text, platform::Prompts::Icon icon = platform::Prompts::Icon::None);
    void ShowWindow();
    bool SavedOnly() const { return FSettings.extra1.SaverSavedOnly != 0; }

    const WId FHostWindow;
    SaverSettings FSettings{};
    std::string FDataDir;
    std::vector<engine::tsdo> FList;
    PictureRotation rotation_{false};
    std::unique_ptr<LiveFetchThread> FThread;
    bool FClosing = false;
    QImage FPicture;
    QString FCaption;
    QString FReason;  // why a saver in a daemon's window stands idle
    platform::LockFile FSemaphore{"OVL"};
    MouseTravel FTravel;

    SaverCanvas* Image1;
    QLabel* Panel1;
    QTimer* Timer1;
    InputGrab* FGrab;
};

}  // namespace saver
