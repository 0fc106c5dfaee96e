#pragma once
// TPGTrayIcon95: the program's icon in the desktop's notification area (QSystemTrayIcon) and
// the hiding of the application into it. It tells a click from a double click (a click is
// reported 400 ms after the button went down unless a double click came first), pops its
// menu up on the right button, shows a tip of at most 63 characters, shows one of two
// pictures by its state or, animated, the frames of its Animation in turn, and hides and shows
// the application's windows. The notification area reports clicks only: there is no pointer
// entering, moving over or leaving the icon to report. Work that must not
// run inside the event that asked for it (hiding, showing) is deferred to the event loop.
//
// The component belongs to a window (its owner) and lives on the main thread.

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "desktop/tray_icon_animation.h"
#include "desktop/tray_timer_manager.h"

class QSystemTrayIcon;
class QWidget;

namespace desktop {

class EInvalidOperation : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

enum TPGTrayIconState { tsEnabled, tsDisabled, tsAnimated };

// TPGTrayIconOptions: a set of these bits.
enum TPGTrayIconOption : unsigned {
    toMinimizeToTray = 1u << 0,
    toUnclutterTaskBar = 1u << 1,
    toCloseFormsOnHideApp = 1u << 2,
    toHideTaskBarIconOnShowApp = 1u << 3,
};

// The buttons of the icon's mouse messages.
enum class TrayButton { Left = 0, Right = 1, Middle = 2 };

class TPGTrayIcon95 : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxTipLength = 63;
    static constexpr int kClickDelayMs = 400;

    using TNotifyEvent = std::function<void(TPGTrayIcon95& Sender)>;
    using TStateChangingEvent = std::function<void(TPGTrayIcon95& Sender, TPGTrayIconState& NewState)>;

    // owner must be a window: otherwise EInvalidOperation "SystemTrays must be owned by a Form !".
    explicit TPGTrayIcon95(QObject* owner, TickClock clock = SteadyTickClock());
    ~TPGTrayIcon95() override;

    bool Active() const { return active_; }
    void SetActive(bool on);
    // Puts the icon into the notification area (when not active) and takes it out (when active).
    void AddIcon();
    void RemoveIcon();

    // The pictures for tsEnabled (and tsAnimated) and for tsDisabled.
    void SetIcon(const QIcon& icon);
    void SetDisabledIcon(const QIcon& icon);
    // The picture shown now: the state's, or the animation's frame while animated.
    QIcon CurrentIcon() const;
    TPGTrayIconAnimation& Animation() { return animation_; }

    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);
    // What the notification area shows as the tip: the hint cut to 63 characters, or nothing.
    const QString& Tip() const { return tip_; }

    TPGTrayIconState State() const { return state_; }
    // Raises EInvalidOperation "You cannot modify the state property in the OnStateChanging
    // event !!!" when called from inside OnStateChanging. tsAnimated runs the animation while
    // the icon is in the notification area.
    void SetState(TPGTrayIconState state);

    unsigned Options() const { return options_; }
    void SetOptions(unsigned options) { options_ = options; }

    // With AutoPopup the right button pops PopupMenu up (and is no click).
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool on);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnAppMinimize;
    TNotifyEvent OnAnimation;  // each frame, before it is shown
    TStateChangingEvent OnStateChanging;

    // Shows the owner window again, restored and in front (deferred).
    virtual void ShowApplication();
    // Hides the owner window into the notification area (deferred, or at once with
    // toCloseFormsOnHideApp, which also closes the other windows).
    virtual void HideApplication();
    // Nested: the first lock stops the application's windows from repainting, the last unlock
    // lets them repaint again.
    virtual void LockUpdate(bool lock);
    int LockCount() const { return lockCount_; }

    // Runs method from the event loop later; one call waits at a time (a second replaces the
    // first); an exception of the call is swallowed.
    void PostDeferredCall(std::function<void()> method);

    // The icon's mouse messages, as the notification area reports them.
    void ButtonDown(TrayButton button);
    void ButtonDoubleClick(TrayButton button);

    TPGTimerManager& TimerManager() { return timers_; }
    QSystemTrayIcon& SystemTrayIcon() { return *icon_; }

private:
    // What the state shows: its picture, or the animation's current frame.
    QIcon StateIcon() const;
    void UpdateIcon();
    void UpdateTip();
    void DeliverClick();
    void RunDeferredCall();

    QWidget* owner_;
    TPGTimerManager timers_;
    TPGTimerItem clickTimer_{timers_};
    TPGTrayIconAnimation animation_;
    QSystemTrayIcon* icon_;
    QIcon enabledIcon_, disabledIcon_;
    QString hint_, tip_;
    QPointer<QMenu> popupMenu_;
    TPGTrayIconState state_ = tsEnabled;
    unsigned options_ = toMinimizeToTray | toUnclutterTaskBar | toCloseFormsOnHideApp;
    bool active_ = false;
    bool autoPopup_ = false;
    bool showHint_ = true;
    bool inStateChanging_ = false;
    bool doubleClicked_ = false;
    int lockCount_ = 0;
    std::vector<QPointer<QWidget>> lockedWindows_;
    std::function<void()> deferred_;
};

}  // namespace desktop
