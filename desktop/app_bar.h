#pragma once
// TAppBar: a window that docks to a screen edge, where the desktop keeps the space free for it,
// or auto-hides there (almost all of it off screen, sliding out when the mouse touches the strip
// that is left), or floats as a small tool window. The user drags it between those states: the
// whole bar drags, a drag that ends near an edge docks it there, Ctrl floats it. A docked bar is
// sized only by its side facing the screen centre, in steps. Its settings are one
// TAppBarSettings record, stored as "DOROZADATA".
//
// The desktop's bar service (AppBarService) reserves the edges; without one every bar floats.
// Slides run on a timer, so the window stays responsive. Main thread only.

#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <vector>

#include "desktop/app_bar_geometry.h"
#include "desktop/app_bar_service.h"
#include "desktop/app_bar_settings.h"

class QTimer;

namespace desktop {

class TAppBar : public QWidget {
    Q_OBJECT
public:
    // The bar registers with the service at once; its window is not shown yet.
    explicit TAppBar(std::shared_ptr<AppBarService> service, QWidget* parent = nullptr);
    ~TAppBar() override;

    // Properties. Edge: the edge a move under way would take, else the stored edge.
    int Edge() const { return EdgeWhileMoving != abeUnknown ? EdgeWhileMoving : FSettings.Edge; }
    void SetEdge(int edge);
    void SetSlideTime(int ms);
    TAppBarSettings& Settings() { return FSettings; }
    const TAppBarSettings& Settings() const { return FSettings; }
    bool AutoHideShown() const { return FAutoHideShown; }
    bool FullScreenAppOpen() const { return FFullScreenAppOpen; }
    AppBarId BarId() const { return FBarId; }
    AppBarService& Service() { return *FService; }

    // The docked rectangle of an edge: the screen, moved clear of other bars by the service
    // unless the bar auto-hides, cut to the dock size. Floating gives rect unchanged.
    AppBarRect GetDockRect(int edge, AppBarRect rect = {});
    // Where an auto-hidden bar of rect's size lies shown or hidden; false when the bar floats,
    // is not registered or does not auto-hide.
    bool GetAutoHideRect(bool show, AppBarRect& rect) const;
    void SlideAutoHide(bool show);
    // Moves the window to target, in steps over SlideTime when the slide effect is on.
    void SlideWindow(const AppBarRect& target);
    TAppBarEdge EdgeFromPoint(std::uint8_t flags, AppBarPoint p) const;
    bool Sliding() const;
    // The window's client area on screen (a floating bar's frame is the window manager's); where
    // it is going while it slides.
    AppBarRect WindowRect() const;
    AppBarScreen Metrics() const;

    // The user's move and size, as the window messages give them (also driven by tests).
    void EnterSizeMove();
    void Moving(QPoint cursor);
    void Sizing(QPoint cursor);
    void ExitSizeMove();
    // Whether the user is moving or sizing the bar by its client area.
    bool Dragging() const { return FDrag != Drag::None; }
    // The size that the user's sizing to width x height gives (steps, then tracking limits).
    QSize SnappedSize(int width, int height) const;

    virtual void UpdateStyle(bool moving, int edge);
    virtual void AutoHideRefused();
    virtual void FullScreenAppChanged(bool open);
    virtual void PosChanged();
    virtual void WindowArrange(bool hiding);
    virtual void UpdateBar();
    virtual bool LoadSettings();
    virtual bool SaveSettings();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    TAppBarSettings FSettings;
    int EdgeWhileMoving = abeUnknown;

private:
    enum class Drag { None, Move, Size };
    std::vector<AppBarRect> Screens() const;
    void AutoHideTimerTick();
    void SlideTick();
    void SetWindowRect(const AppBarRect& rect);
    void KeepWindowManagersPlace();
    // The window manager's move of a floating bar has ended when no button is held any more.
    void WindowManagersMoveTick();
    // The window's kind for the edge (dock or tool window with a caption) and its stacking; a
    // change makes the window again, hidden.
    void ApplyWindowFlags(int edge);
    void ApplyTrackingLimits(int edge);
    void Reregister();
    // Whether a press at this client point sizes the docked bar (the side facing the centre).
    bool OnSizingSide(QPoint local) const;
    void Register();

    std::shared_ptr<AppBarService> FService;
    AppBarId FBarId = 0;
    bool FRegistered = false;
    bool FFullScreenAppOpen = false;
    bool FAutoHideShown = false;
    bool FPlacing = false;  // the bar itself moves its window
    bool FDockKind = false;
    Qt::WindowFlags FAppliedFlags;  // the flags ApplyWindowFlags set last
    QTimer* AutoHideTimer;
    // The slide under way.
    QTimer* FSlideTimer;
    QElapsedTimer FSlideClock;
    QTimer* FWindowManagersMove;
    AppBarRect FSlideStart, FSlideTarget;
    // The user's drag.
    Drag FDrag = Drag::None;
    QPoint FGrabOffset;  // cursor less the window's top-left corner
    AppBarRect FDragRect;
};

// The message of a refused auto-hide place.
QString AutoHideRefusedText();

}  // namespace desktop
