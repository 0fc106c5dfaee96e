#include "desktop/app_bar.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace desktop {

namespace {

constexpr int kSlideStepMs = 10;
// How often the end of the window manager's move of a floating bar is looked for.
constexpr int kWindowManagersMovePollMs = 50;
// Windows fires a 0 ms timer at about this pace; a busy timer would hold the event loop.
constexpr int kShortestTimerMs = 10;
// The band along the side facing the centre that sizes a docked bar.
constexpr int kSizingBand = 4;

AppBarRect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

}  // namespace

QString AutoHideRefusedText() {
    return QStringLiteral("There is already an auto hidden window on this edge.\n\r"
                          "Only one auto hidden window is allowed on each edge.");
}

TAppBar::TAppBar(std::shared_ptr<AppBarService> service, QWidget* parent)
    : QWidget(parent, Qt::Tool), FService(std::move(service)) {
    const std::vector<AppBarRect> screens = Screens();
    FSettings = DefaultAppBarSettings(screens.front());
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);

    AutoHideTimer = new QTimer(this);
    AutoHideTimer->setInterval(std::max(FSettings.SlideTime, kShortestTimerMs));
    connect(AutoHideTimer, &QTimer::timeout, this, &TAppBar::AutoHideTimerTick);
    AutoHideTimer->start();
    FSlideTimer = new QTimer(this);
    FSlideTimer->setInterval(kSlideStepMs);
    connect(FSlideTimer, &QTimer::timeout, this, &TAppBar::SlideTick);
    FWindowManagersMove = new QTimer(this);
    FWindowManagersMove->setInterval(kWindowManagersMovePollMs);
    connect(FWindowManagersMove, &QTimer::timeout, this, &TAppBar::WindowManagersMoveTick);

    // What the window's creation does: the floating corner where the window is, registration,
    // the first placement, and a move with no motion so it runs through the end-of-move rules.
    ApplyWindowFlags(FSettings.Edge);
    FSettings.FloatLeft = x();
    FSettings.FloatTop = y();
    Register();
    UpdateBar();
    QTimer::singleShot(0, this, [this] {
        EnterSizeMove();
        ExitSizeMove();
    });
}

TAppBar::~TAppBar() {
    AutoHideTimer->stop();
    FSlideTimer->stop();
    FWindowManagersMove->stop();
    if (FService->AutoHideBar(Edge()) == FBarId) FService->SetAutoHideBar(FBarId, Edge(), false);
    FSettings.Edge = abeUnknown;
    if (FRegistered) FService->Remove(FBarId);
}

void TAppBar::Register() {
    FBarId = static_cast<AppBarId>(winId());
    AppBarNotifications notifications;
    QPointer<TAppBar> self(this);
    notifications.posChanged = [self] {
        if (self) self->PosChanged();
    };
    notifications.fullScreenApp = [self](bool open) {
        if (self) self->FullScreenAppChanged(open);
    };
    FRegistered = FService->Register(FBarId, std::move(notifications));
    FService->SetDocked(FBarId, FDockKind);  // the window's kind, before it is first shown
}

void TAppBar::Reregister() {
    if (static_cast<AppBarId>(winId()) == FBarId) return;
    const int edge = FSettings.Edge;
    const bool autoHide = FService->AutoHideBar(edge) == FBarId;
    if (FRegistered) FService->Remove(FBarId);
    Register();
    if (autoHide) FService->SetAutoHideBar(FBarId, edge, true);
}

std::vector<AppBarRect> TAppBar::Screens() const {
    std::vector<AppBarRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen()) screens.push_back(ToRect(primary->geometry()));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) screens.push_back(ToRect(screen->geometry()));
    }
    if (screens.empty()) screens.push_back(FService->Screen());
    return screens;
}

AppBarScreen TAppBar::Metrics() const {
    AppBarScreen m;
    m.screen = FService->Screen();
    m.workArea = FService->WorkArea();
    return m;
}

void TAppBar::SetSlideTime(int ms) {
    FSettings.SlideTime = ms;
    AutoHideTimer->setInterval(std::max(ms, kShortestTimerMs));
}

void TAppBar::SetEdge(int newEdge) {
    // Without a bar service nothing docks.
    if (IsDockedEdge(newEdge) && !FRegistered) newEdge = abeFloat;
    const int held = [this] {
        for (int e = abeLeft; e <= abeBottom; ++e) {
            if (FService->AutoHideBar(e) == FBarId) return e;
        }
        return int(abeUnknown);
    }();
    if (held != abeUnknown) FService->SetAutoHideBar(FBarId, held, false);
    FSettings.Edge = static_cast<std::uint8_t>(newEdge);
    if (newEdge == abeUnknown) {
        if (FRegistered) FService->Remove(FBarId);
        FRegistered = false;
        return;
    }

    AppBarRect target;
    if (newEdge == abeFloat) {
        FService->SetPos(FBarId, abeFloat, {});
        target = SaneFloatRect(FSettings, Screens());
    } else {
        if (FSettings.AutoHide && !FService->SetAutoHideBar(FBarId, newEdge, true)) {
            FSettings.AutoHide = 0;
            AutoHideRefused();
        }
        target = GetDockRect(newEdge);
        if (FSettings.AutoHide) {
            FService->SetPos(FBarId, abeLeft, {});  // an auto-hidden bar reserves nothing
        } else {
            target = FService->SetPos(FBarId, newEdge, target);
        }
        GetAutoHideRect(FAutoHideShown, target);
    }
    // The window's kind and stacking, then its place: at once when the window was made again.
    const bool wasVisible = isVisible();
    UpdateStyle(false, newEdge);
    ApplyTrackingLimits(newEdge);
    if (wasVisible && !isVisible()) {
        SetWindowRect(target);
        show();
    } else {
        SlideWindow(target);
    }
}

AppBarRect TAppBar::GetDockRect(int edge, AppBarRect rect) {
    if (!IsDockedEdge(edge)) return rect;
    rect = FService->Screen();
    if (!FSettings.AutoHide) rect = FService->QueryPos(FBarId, edge, rect);
    return DockRect(edge, rect, FSettings.VertDockSize, FSettings.HorzDockSize);
}

bool TAppBar::GetAutoHideRect(bool show, AppBarRect& rect) const {
    const std::optional<AppBarRect> r = AutoHideRect(Edge(), FSettings.AutoHide != 0, show, rect, Metrics());
    if (!r) return false;
    rect = *r;
    return true;
}

void TAppBar::SlideAutoHide(bool show) {
    AppBarRect rect = WindowRect();
    FAutoHideShown = true;
    if (GetAutoHideRect(show, rect)) {
        FAutoHideShown = show;
        SlideWindow(rect);
    }
}

void TAppBar::SlideWindow(const AppBarRect& target) {
    const AppBarRect current = WindowRect();
    FSlideTimer->stop();
    if (FSettings.SlideEffect && FSettings.SlideTime > 0 && isVisible() && !(target == current)) {
        FSlideStart = ToRect(geometry());
        FSlideTarget = target;
        FSlideClock.start();
        FSlideTimer->start();
        return;
    }
    SetWindowRect(target);
}

void TAppBar::SlideTick() {
    const int elapsed = static_cast<int>(FSlideClock.elapsed());
    if (elapsed >= FSettings.SlideTime) FSlideTimer->stop();
    SetWindowRect(SlideStep(FSlideStart, FSlideTarget, elapsed, FSettings.SlideTime));
}

bool TAppBar::Sliding() const { return FSlideTimer->isActive(); }

AppBarRect TAppBar::WindowRect() const { return Sliding() ? FSlideTarget : ToRect(geometry()); }

void TAppBar::SetWindowRect(const AppBarRect& r) {
    // The client area is placed, also for a floating bar with the window manager's frame: its
    // corner is known before the window is mapped, the frame's only after, so storing and
    // restoring the frame's would move the bar by the frame at each opening.
    FPlacing = true;
    setGeometry(r.left, r.top, std::max(r.Width(), 1), std::max(r.Height(), 1));
    FPlacing = false;
}

TAppBarEdge TAppBar::EdgeFromPoint(std::uint8_t flags, AppBarPoint p) const {
    const bool ctrl = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    return desktop::EdgeFromPoint(flags, p, ctrl, Metrics(), static_cast<TAppBarEdge>(FSettings.Edge));
}

void TAppBar::AutoHideTimerTick() {
    // Only an auto-hidden bar that is out has anything to do (and no need to ask the desktop).
    if (!FSettings.AutoHide || !FAutoHideShown || isActiveWindow() || !isVisible()) return;
    const int margin = 2 * AppBarScreen().doubleClick;
    const AppBarRect r = WindowRect();
    const AppBarRect around{r.left - margin, r.top - margin, r.right + margin, r.bottom + margin};
    const QPoint cursor = QCursor::pos();
    if (!around.Contains(cursor.x(), cursor.y())) SlideAutoHide(false);
}

void TAppBar::UpdateStyle(bool moving, int edge) {
    // The window's frame changes only when the move ends: remaking the window under the mouse
    // would end the drag, as Windows does when it drags outlines.
    if (moving) return;
    ApplyWindowFlags(edge);
}

void TAppBar::ApplyWindowFlags(int edge) {
    Qt::WindowFlags flags = Qt::Tool;
    if (edge == abeFloat) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    if (FSettings.AlwaysOnTop) flags |= FFullScreenAppOpen ? Qt::WindowStaysOnBottomHint : Qt::WindowStaysOnTopHint;
    const bool dock = IsDockedEdge(edge);
    // Compared with what was asked for last, not with windowFlags(): Qt adds hints of its own
    // (the system menu of a window with a close button), and a window made again for nothing
    // is hidden and mapped anew, which the window manager may not follow.
    if (FAppliedFlags == flags && FDockKind == dock) return;
    FAppliedFlags = flags;
    FPlacing = true;
    setWindowFlags(flags);  // hides the window
    winId();
    FPlacing = false;
    if (FBarId) {
        Reregister();
        FService->SetDocked(FBarId, dock);
    }
    FDockKind = dock;
}

void TAppBar::ApplyTrackingLimits(int edge) {
    const TrackingLimits t = TrackingLimitsFor(edge, FSettings, FService->Screen());
    setMinimumSize(std::max(t.minWidth, 1), std::max(t.minHeight, 1));
    setMaximumSize(std::max(t.maxWidth, 1), std::max(t.maxHeight, 1));
    // A floating bar is sized by the window manager, in the steps of the settings.
    if (edge == abeFloat) {
        setBaseSize(FSettings.MinWidth, FSettings.MinHeight);
        setSizeIncrement(FSettings.HorzSizeInc, FSettings.VertSizeInc);
    } else {
        setSizeIncrement(0, 0);
    }
}

QSize TAppBar::SnappedSize(int width, int height) const {
    const int edge = Edge();
    const bool floating = !IsDockedEdge(edge);
    const int baseW = floating ? FSettings.MinWidth : FSettings.MinVertDockSize;
    const int baseH = floating ? FSettings.MinHeight : FSettings.MinHorzDockSize;
    const TrackingLimits t = TrackingLimitsFor(edge, FSettings, FService->Screen());
    const int w = std::clamp(SnapSize(width, baseW, FSettings.HorzSizeInc), t.minWidth, std::max(t.minWidth, t.maxWidth));
    const int h = std::clamp(SnapSize(height, baseH, FSettings.VertSizeInc), t.minHeight, std::max(t.minHeight, t.maxHeight));
    return {w, h};
}

void TAppBar::AutoHideRefused() {
    QMessageBox box(QMessageBox::Information, windowTitle(), AutoHideRefusedText(), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("AutoHideRefused"));
    box.exec();
}

void TAppBar::FullScreenAppChanged(bool open) {
    FFullScreenAppOpen = open;
    UpdateBar();
}

void TAppBar::PosChanged() {
    if (FSettings.Edge != abeFloat && !FSettings.AutoHide) UpdateBar();
}

void TAppBar::WindowArrange(bool) {}

void TAppBar::UpdateBar() { SetEdge(Edge()); }

bool TAppBar::LoadSettings() {
    TAppBarSettings stored = FSettings;
    if (!ReadAppBarSettings(stored)) return false;
    SanitizeAppBarSettings(stored, Screens());
    FSettings = stored;
    SetSlideTime(FSettings.SlideTime);
    return true;
}

bool TAppBar::SaveSettings() { return WriteAppBarSettings(FSettings); }

// --- the user's move and size -------------------------------------------------------------

void TAppBar::EnterSizeMove() {
    EdgeWhileMoving = FSettings.Edge;
    FDragRect = WindowRect();
}

void TAppBar::Moving(QPoint cursor) {
    AppBarRect proposed = FDragRect.MovedTo(cursor.x() - FGrabOffset.x(), cursor.y() - FGrabOffset.y());
    const TAppBarEdge newEdge = EdgeFromPoint(FSettings.Flags, {cursor.x(), cursor.y()});
    if (EdgeWhileMoving != abeFloat && newEdge == abeFloat) {
        // Pulled off its edge: the floating size, hanging from the cursor.
        const AppBarRect f = SaneFloatRect(FSettings, Screens());
        proposed = f.MovedTo(cursor.x() - f.Width() / 2, cursor.y());
        FGrabOffset = QPoint(f.Width() / 2, 0);
    }
    EdgeWhileMoving = newEdge;
    if (IsDockedEdge(newEdge)) {
        proposed = GetDockRect(newEdge);
    } else {
        FDragRect = proposed;
    }
    UpdateStyle(true, newEdge);
    ApplyTrackingLimits(newEdge);  // the outline takes the edge's size, not the old edge's limits
    SetWindowRect(proposed);
}

void TAppBar::Sizing(QPoint c) {
    AppBarRect r = FDragRect;
    const int edge = Edge();
    const QSize s = SnappedSize(edge == abeLeft ? c.x() - r.left : edge == abeRight ? r.right - c.x() : r.Width(),
                                edge == abeTop ? c.y() - r.top : edge == abeBottom ? r.bottom - c.y() : r.Height());
    switch (edge) {
        case abeLeft: r.right = r.left + s.width(); break;
        case abeRight: r.left = r.right - s.width(); break;
        case abeTop: r.bottom = r.top + s.height(); break;
        case abeBottom: r.top = r.bottom - s.height(); break;
        default: break;
    }
    SetWindowRect(r);
}

void TAppBar::ExitSizeMove() {
    const int e = EdgeWhileMoving;
    EdgeWhileMoving = abeUnknown;
    if (e == abeUnknown) return;
    const AppBarRect r = WindowRect();
    if (e == FSettings.Edge) {
        if (IsVerticalEdge(e)) FSettings.VertDockSize = r.Width();
        if (e == abeTop || e == abeBottom) FSettings.HorzDockSize = r.Height();
    }
    if (e == abeFloat) {
        FSettings.SetFloatRect(
            FloatRectAfterMove(r, FSettings.Edge == abeFloat, FSettings.FloatRect(), FService->WorkArea()));
    }
    SetEdge(e);
}

bool TAppBar::OnSizingSide(QPoint p) const {
    switch (FSettings.Edge) {
        case abeLeft: return FSettings.HorzSizeInc != 0 && p.x() >= width() - kSizingBand;
        case abeRight: return FSettings.HorzSizeInc != 0 && p.x() < kSizingBand;
        case abeTop: return FSettings.VertSizeInc != 0 && p.y() >= height() - kSizingBand;
        case abeBottom: return FSettings.VertSizeInc != 0 && p.y() < kSizingBand;
        default: return false;
    }
}

void TAppBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint cursor = event->globalPosition().toPoint();
    FDrag = OnSizingSide(event->position().toPoint()) ? Drag::Size : Drag::Move;
    // The whole gesture is the bar's: a button that comes under the pointer as the outline snaps
    // to another edge must not take it.
    grabMouse();
    EnterSizeMove();
    FGrabOffset = cursor - QPoint(FDragRect.left, FDragRect.top);
    event->accept();
}

void TAppBar::mouseMoveEvent(QMouseEvent* event) {
    if (FDrag == Drag::Move) return Moving(event->globalPosition().toPoint());
    if (FDrag == Drag::Size) return Sizing(event->globalPosition().toPoint());
    const bool sizing = OnSizingSide(event->position().toPoint());
    if (sizing) {
        setCursor(IsVerticalEdge(FSettings.Edge) ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    } else {
        unsetCursor();
    }
}

void TAppBar::mouseReleaseEvent(QMouseEvent* event) {
    if (FDrag == Drag::None || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    FDrag = Drag::None;
    releaseMouse();
    ExitSizeMove();
}

void TAppBar::enterEvent(QEnterEvent* event) {
    // The strip a hidden bar leaves on screen: touching it slides the bar out.
    SlideAutoHide(true);
    QWidget::enterEvent(event);
}

void TAppBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) SlideAutoHide(false);
    // A bar has no task-bar button to come back from: one minimised all the same (by a window
    // manager that offers it whatever the window's kind) is shown again.
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            show();
        });
    }
}

void TAppBar::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    KeepWindowManagersPlace();
}

void TAppBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    KeepWindowManagersPlace();
}

void TAppBar::KeepWindowManagersPlace() {
    // A floating bar moved or sized by its frame (the window manager's move) keeps its new place.
    // Not before the window is mapped: the window manager's first fitting of a new window is no
    // move of the user's.
    if (!FPlacing && FDrag == Drag::None && !Sliding() && FSettings.Edge == abeFloat && isVisible() &&
        testAttribute(Qt::WA_Mapped)) {
        FSettings.SetFloatRect(ToRect(geometry()));
        // Perhaps moved by its title bar: where the pointer lets go decides, as for a drag of the
        // bar. The window manager may tell only once the move is over.
        FWindowManagersMove->start();
    }
}

void TAppBar::WindowManagersMoveTick() {
    if (FService->PointerButtonDown()) return;
    FWindowManagersMove->stop();
    if (FSettings.Edge != abeFloat || FDrag != Drag::None) return;
    // The pointer on the window's frame: the user moved it (not the window manager placing it).
    const QPoint cursor = QCursor::pos();
    if (!frameGeometry().adjusted(-kSizingBand, -kSizingBand, kSizingBand, kSizingBand).contains(cursor)) return;
    const TAppBarEdge edge = EdgeFromPoint(FSettings.Flags, {cursor.x(), cursor.y()});
    if (!IsDockedEdge(edge)) return;
    EnterSizeMove();
    EdgeWhileMoving = edge;
    ExitSizeMove();
}

}  // namespace desktop
