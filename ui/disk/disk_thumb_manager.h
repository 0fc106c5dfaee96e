#pragma once
// tdiskthumbmanager: the disk-picture browser behind the grid DrawGrid12. It lists one folder
// (timagecollection), draws each entry as an 80 x 80 cell with its name, keeps the current
// entry and the selection, builds the thumbnails of the pictures between the window's events
// (so a click, a page change or the shutdown can stop it) and tells the main window through
// callbacks. Entries are numbered from 1; 0 is "none".
// Main thread only.

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls/shift_state.h"
#include "ui/disk/image_collection.h"

namespace ui {

class TDrawGrid1;

class tdiskthumbmanager {
public:
    // Takes over the grid's events (click, double click, drawing, mouse, keys).
    tdiskthumbmanager(TDrawGrid1& grid, std::uint8_t flags);
    ~tdiskthumbmanager();
    tdiskthumbmanager(const tdiskthumbmanager&) = delete;
    tdiskthumbmanager& operator=(const tdiskthumbmanager&) = delete;

    // Callbacks; each may be left empty.
    std::function<void()> OnSelectionChanged;
    std::function<void()> OnPictureOpened;
    std::function<void()> OnDeleteSelected;
    std::function<void()> OnFolderOpened;
    std::function<void()> OnBuildingStarted;
    std::function<void()> OnBuildingEnded;
    std::function<void(int entry)> OnProgress;
    std::function<void(const QPoint& screenPoint)> OnPopup;  // the grid's pop-up menu
    // Runs the window's pending events between two thumbnails.
    std::function<void()> ProcessMessages;

    // The browser reacts to its grid and builds thumbnails only once active (the window shown).
    void SetActive(bool active) { FActive = active; }
    bool Active() const { return FActive; }

    // Every operation below first folds in the pictures counted as pending.
    // Opens a folder (empty: none). std::runtime_error (folder + " : répertoire inexistant")
    // when it is no folder.
    void SetFolder(const std::string& folder);
    void Refresh();  // lists the folder again
    void SetFilter(std::uint8_t flags);
    std::uint8_t Filter() const { return FFlags; }
    void SetShowThumbnails(bool on);
    bool ShowThumbnails() const { return FShowThumbnails; }
    void BuildThumbnails();
    void CancelThumbnails() { FIdle = true; }
    bool Idle() const { return FIdle; }
    void UpdateLayout();
    void OpenCurrent();
    void SelectItem(int i);
    void SelectAll();
    // The paths of the selected entries whose type is one of types, in entry order.
    void ForEachSelected(std::vector<std::string>& list, std::initializer_list<int> types);
    // A picture arrived in the listed folder; it is listed at the next operation.
    void AddPending() { ++FPending; }
    int Pending() const { return FPending; }

    int Count() const { return FCollection.Count(); }
    int Current() const { return FCurrent; }
    const std::string& CurrentPath() const { return FCurrentPath; }
    const std::string& Folder() const { return FFolder; }
    std::string GetPath(int i) const { return FCollection.GetPath(i); }
    int ItemType(int i) const { return FCollection.ItemType(i); }
    bool Selected(int i) const;
    // The entry's thumbnail (null until built), its kind and the picture's full size.
    const QImage* Thumbnail(int i) const;
    int ThumbnailKind(int i) const;
    QSize FullSize(int i) const;

    // What the grid's events do, for the grid and for tests: a click on entry e (0 or past the
    // last: beyond the entries), with the shift state of the last mouse or key event.
    void ClickEntry(int e);
    void SetShiftState(TShiftState shift) { FShiftState = shift; }

private:
    struct Entry {
        std::optional<QImage> thumbnail;
        bool selected = false;
        std::uint8_t kind = 0;
        int fullWidth = 0;
        int fullHeight = 0;
    };

    void FlushPending();
    void ReadFolder();
    Entry* EntryAt(int i);
    int EntryAtCell(int col, int row) const;
    void CellOf(int i, int& col, int& row) const;
    void CursorTo(int i);
    void Repaint();
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect);
    void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void KeyDown(int& key, TShiftState shift);
    void KeyUp(int& key, TShiftState shift);
    void Fire(const std::function<void()>& callback) const {
        if (callback) callback();
    }

    int FLastKey = 0;
    TDrawGrid1& FGrid;
    std::uint8_t FFlags;
    bool FShowThumbnails = false;
    std::string FFolder;
    std::vector<Entry> FEntries;
    std::string FCurrentPath;
    bool FIdle = true;
    TShiftState FShiftState = 0;
    int FCurrent = 0;
    bool FActive = false;
    timagecollection FCollection;
    int FPending = 0;
    int FPressedEntry = 0;       // the entry under the last left press, 0 beyond the entries
    unsigned FListing = 0;       // counts listings, so a build notices a new folder
    std::vector<QImage> FFrames;  // B1..B6 as images
};

}  // namespace ui
