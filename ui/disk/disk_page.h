#pragma once
// The "Disque" page of the main window (TabSheet12): the folder label, the grid DrawGrid12 of
// the disk-picture browser, its switches and buttons, and the page's handlers. What the page
// needs of the rest of the window goes through DiskPageHost.
// Main thread only.

#include <QWidget>

#include <memory>
#include <string>

#include "ui/disk/disk_thumb_manager.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace ui {

class TDrawGrid1;

class DiskPageHost {
public:
    virtual ~DiskPageHost() = default;
    // The data folder in use, with its trailing '/'.
    virtual std::string DataFolder() const = 0;
    virtual void SetRunState(int code) = 0;
    // Label1 := " " + text.
    virtual void SetStatusText(const QString& text) = 0;
    // Shows a picture file with its caption on the viewer page, and that page.
    virtual void ShowDiskPicture(const std::string& path) = 0;
    // PageControl2 shows this page.
    virtual bool DiskPageShown() const = 0;
    // The selection or the current entry changed (the picture walk's buttons follow it).
    virtual void DiskSelectionChanged() = 0;
    // Delete pressed on the grid.
    virtual void DeleteSelectedDiskPictures() = 0;
    virtual void PopupDiskMenu(const QPoint& screenPoint) = 0;
};

class DiskPage : public QWidget {
    Q_OBJECT
public:
    DiskPage(DiskPageHost& host, QWidget* parent);
    ~DiskPage() override;

    tdiskthumbmanager& DiskThumbs() { return *FDiskThumbs; }

    // Label27 := two blanks + the folder with its first letter in upper case.
    void SetFolderLabel(const std::string& folder);
    // The page came into view (or went): its layout, focus and thumbnail switch.
    void PageControl2Change(bool shown);
    void BitBtn2Click();
    void CheckBox22Click();
    void CheckBox25Click();
    void BitBtn19Click();
    // Opens a webcam's folder with its newest entry current; a folder not made yet lists
    // nothing. The label follows.
    void OpenWebcamFolder(const std::string& folder);
    // After a thumbnail build (run state 13): thumbnails on while the page shows and CheckBox25
    // is checked.
    void ApplyThumbnailSwitch();

    QLabel* Label27;
    QCheckBox* CheckBox22;  // JPEG pictures only (no folders)
    QCheckBox* CheckBox25;  // build thumbnails when a folder opens
    QPushButton* BitBtn2;   // "Afficher" / "Stop"
    QPushButton* BitBtn19;  // the data folder, then "Actualiser"
    TDrawGrid1* DrawGrid12;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DiskPageHost& FHost;
    std::unique_ptr<tdiskthumbmanager> FDiskThumbs;
};

}  // namespace ui
