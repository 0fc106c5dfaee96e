#include "desktop/tray_icon.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include <algorithm>

namespace desktop {

namespace {

QWidget* WindowOwner(QObject* owner) {
    auto* window = qobject_cast<QWidget*>(owner);
    if (!window || !window->isWindow()) throw EInvalidOperation("SystemTrays must be owned by a Form !");
    return window;
}

}  // namespace

TPGTrayIcon95::TPGTrayIcon95(QObject* owner, TickClock clock)
    : QObject(owner),
      owner_(WindowOwner(owner)),
      timers_(nullptr, std::move(clock)),
      animation_(timers_,
                 [this] {
                     if (OnAnimation) OnAnimation(*this);
                     UpdateIcon();
                 }),
      icon_(new QSystemTrayIcon(this)) {
    clickTimer_.SetInterval(kClickDelayMs);
    clickTimer_.OnTimer = [this](TPGTimerItem&) { DeliverClick(); };
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger: ButtonDown(TrayButton::Left); break;
        case QSystemTrayIcon::Context: ButtonDown(TrayButton::Right); break;
        case QSystemTrayIcon::MiddleClick: ButtonDown(TrayButton::Middle); break;
        case QSystemTrayIcon::DoubleClick: ButtonDoubleClick(TrayButton::Left); break;
        default: break;
        }
    });
}

TPGTrayIcon95::~TPGTrayIcon95() {
    timers_.SetEnabled(false);
    RemoveIcon();
    while (lockCount_ > 0) LockUpdate(false);
}

void TPGTrayIcon95::SetActive(bool on) {
    if (on)
        AddIcon();
    else
        RemoveIcon();
}

void TPGTrayIcon95::AddIcon() {
    if (active_) return;
    UpdateIcon();
    active_ = true;
    icon_->show();
    if (state_ == tsAnimated) animation_.Start();
}

void TPGTrayIcon95::RemoveIcon() {
    if (!active_) return;
    active_ = false;
    animation_.Stop();
    icon_->hide();
}

void TPGTrayIcon95::SetIcon(const QIcon& icon) {
    enabledIcon_ = icon;
    UpdateIcon();
}

void TPGTrayIcon95::SetDisabledIcon(const QIcon& icon) {
    disabledIcon_ = icon;
    UpdateIcon();
}

QIcon TPGTrayIcon95::CurrentIcon() const { return icon_->icon(); }

QIcon TPGTrayIcon95::StateIcon() const {
    if (state_ == tsDisabled) return disabledIcon_;
    // An animation without frames shows the enabled picture rather than none.
    if (state_ == tsAnimated && !animation_.Icons().isEmpty()) return animation_.FrameIcon();
    return enabledIcon_;
}

void TPGTrayIcon95::UpdateIcon() { icon_->setIcon(StateIcon()); }

void TPGTrayIcon95::SetHint(const QString& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (showHint_) UpdateTip();
}

void TPGTrayIcon95::SetShowHint(bool on) {
    showHint_ = on;
    UpdateTip();
}

void TPGTrayIcon95::UpdateTip() {
    tip_ = showHint_ ? hint_.left(kMaxTipLength) : QString();
    icon_->setToolTip(tip_);
}

void TPGTrayIcon95::SetState(TPGTrayIconState state) {
    if (inStateChanging_) {
        inStateChanging_ = false;
        throw EInvalidOperation("You cannot modify the state property in the OnStateChanging event !!!");
    }
    if (!active_) {
        state_ = state;
        return;
    }
    if (state != state_ && OnStateChanging) {
        inStateChanging_ = true;
        try {
            OnStateChanging(*this, state);
        } catch (...) {
            inStateChanging_ = false;
            throw;
        }
        inStateChanging_ = false;
    }
    if (state == state_) return;
    animation_.Stop();
    state_ = state;
    UpdateIcon();
    if (state_ == tsAnimated) animation_.Start();
}

void TPGTrayIcon95::SetAutoPopup(bool on) {
    autoPopup_ = on;
    icon_->setContextMenu(autoPopup_ ? popupMenu_.data() : nullptr);
}

void TPGTrayIcon95::SetPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    icon_->setContextMenu(autoPopup_ ? menu : nullptr);
}

void TPGTrayIcon95::ButtonDown(TrayButton button) {
    // The notification area pops the menu up itself for the right button.
    if (button == TrayButton::Right && autoPopup_ && popupMenu_) return;
    if (OnDblClick) {
        doubleClicked_ = false;
        clickTimer_.SetEnabled(false);  // a press during the wait starts the wait again
        clickTimer_.SetEnabled(true);
    } else {
        PostDeferredCall([this] { DeliverClick(); });
    }
}

void TPGTrayIcon95::ButtonDoubleClick(TrayButton) {
    doubleClicked_ = true;
    DeliverClick();
}

void TPGTrayIcon95::DeliverClick() {
    clickTimer_.SetEnabled(false);
    const TNotifyEvent& handler = doubleClicked_ ? OnDblClick : OnClick;
    if (handler) handler(*this);
}

void TPGTrayIcon95::HideApplication() {
    if (options_ & toCloseFormsOnHideApp) {
        LockUpdate(true);
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            QWidget* window = *it;
            if (!window->isVisible()) continue;
            if (window == owner_)
                window->hide();
            else
                window->close();
        }
        LockUpdate(false);
        return;
    }
    PostDeferredCall([this] {
        LockUpdate(true);
        if (OnAppMinimize) OnAppMinimize(*this);
        owner_->hide();
        LockUpdate(false);
    });
}

void TPGTrayIcon95::ShowApplication() {
    PostDeferredCall([this] {
        LockUpdate(true);
        QWidget* window = owner_;
        if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        if (!window->isVisible()) window->show();
        window->raise();
        window->activateWindow();
        LockUpdate(false);
    });
}

void TPGTrayIcon95::LockUpdate(bool lock) {
    if (lock) {
        if (++lockCount_ != 1) return;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || !window->updatesEnabled()) continue;
            window->setUpdatesEnabled(false);
            lockedWindows_.emplace_back(window);
        }
        return;
    }
    if (lockCount_ == 0 || --lockCount_ != 0) return;
    for (const QPointer<QWidget>& window : lockedWindows_)
        if (window) window->setUpdatesEnabled(true);
    lockedWindows_.clear();
}

void TPGTrayIcon95::PostDeferredCall(std::function<void()> method) {
    deferred_ = std::move(method);
    QMetaObject::invokeMethod(this, [this] { RunDeferredCall(); }, Qt::QueuedConnection);
}

void TPGTrayIcon95::RunDeferredCall() {
    if (!deferred_) return;
    const std::function<void()> call = std::move(deferred_);
    deferred_ = nullptr;
    try {
        call();
    } catch (...) {
        // A deferred call has no caller left to tell.
    }
}

}  // namespace desktop
