#pragma once
// Tquickbar ("Doroza"): the program's desktop bar with one button per chosen webcam. A click
// brings the main window forward with that webcam; the menus start and stop the bar's webcams;
// buttons are reordered by dragging them, webcams are put on the bar by dragging them from the
// grid, and dropped web addresses, Internet shortcuts (".url") and desktop link files become new
// webcams. Its buttons and settings live under the "QuickBar" settings key; they are saved each
// time the bar goes away.
//
// Main thread only.

#include <QPixmap>

#include <memory>
#include <string>
#include <vector>

#include "desktop/app_bar.h"
#include "desktop/quick_bar_host.h"

class QLabel;
class QMenu;
class QDropEvent;
class QMimeData;

namespace desktop {

class TQuickBarButton;

// The drag formats the bar understands besides text and files: webcams from the main window's
// grid (the 1-based index, 0 for the selected ones) and one of its own buttons (its position).
inline constexpr const char* kWebcamDragFormat = "application/x-orvello-webcams";
inline constexpr const char* kButtonDragFormat = "application/x-orvello-quickbar-button";

class Tquickbar : public TAppBar {
    Q_OBJECT
public:
    // Builds the bar, loads its settings and buttons, docks it and shows it.
    Tquickbar(QuickBarHost& host, std::shared_ptr<AppBarService> service, QWidget* parent = nullptr);
    // Saves the buttons and the settings.
    ~Tquickbar() override;

    void Reload();
    void UpdateWebcamButton(int index);
    void ClearRegistry();
    void ClearButtons();
    // Each "http:" line of a dropped text (UTF-8) becomes a webcam with a button.
    void AddURLs(const std::string& text);
    // url: Windows-1252 bytes.
    void AddWebcamFromURL(const std::string& url);
    void AddURLFile(const std::string& path);
    // What a drop brings: grid webcams, a button, files, a browser's link or text. target: the
    // button dropped on, or null for the free area. False when nothing could be taken.
    bool DropMimeData(const QMimeData& data, TQuickBarButton* target);

    bool LoadSettings() override;
    bool SaveSettings() override;

    // The buttons' webcams, in button order.
    std::vector<int> ButtonWebcams() const;
    const std::vector<TQuickBarButton*>& Buttons() const { return FButtons; }
    QMenu& BarMenu() { return *popMenu; }
    QMenu& ButtonMenu() { return *butpopup; }
    int PressedWebcam() const { return FPressedWebcam; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void AddButton(int index);  // a new button at position 0
    void AppendButton(int index);
    void MoveButton(int from, int to);
    void RemoveButton(TQuickBarButton* button);
    void LayoutButtons();
    static bool OwnDrag(const QMimeData& data);
    // Accepts a drag or drop over the bar with the action it takes (see the definition).
    static void AcceptDrag(QDropEvent* event);
    void DropWebcams(int webcamIndex, TQuickBarButton* target);
    void RunButtonWebcams(bool start);
    void ButtonMouse(TQuickBarButton* button, QEvent* event);
    void MenuPictureMouse(QEvent* event);
    int PositionOf(const TQuickBarButton* button) const;
    TQuickBarButton* ButtonAt(QPoint barPoint) const;

    QuickBarHost& FHost;
    QPixmap BlankButton;
    QLabel* imgmenu;
    QWidget* tbrQuickBar;
    QMenu* popMenu;
    QMenu* butpopup;
    std::vector<TQuickBarButton*> FButtons;
    bool ButtonDragged = false;
    int FPressedWebcam = 0;
    TQuickBarButton* PressedButton = nullptr;
};

}  // namespace desktop
