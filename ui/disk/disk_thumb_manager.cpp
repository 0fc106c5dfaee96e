#include "ui/disk/disk_thumb_manager.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "media/color.h"
#include "media/qt/qt_convert.h"
#include "ui/controls/draw_grid1.h"
#include "ui/disk/disk_entry_text.h"
#include "ui/disk/disk_thumbnail.h"
#include "ui/disk/frame_bitmaps.h"
#include "ui/disk/thumbnail_pipeline.h"
#include "ui/grid/bitmap_image.h"

namespace ui {
namespace {

using media::ToQColor;

// The name under an entry: Arial 7 points of a 96-dpi screen.
constexpr int kNamePixels = (7 * 96 + 36) / 72;

// The system's spelling of an existing folder, without a trailing '/' except at the root.
std::string FolderSpelling(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::canonical(folder, error);
    if (error || !std::filesystem::is_directory(path, error))
        throw std::runtime_error(folder + " : répertoire inexistant");
    return path.string();
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

tdiskthumbmanager::tdiskthumbmanager(TDrawGrid1& grid, std::uint8_t flags) : FGrid(grid), FFlags(flags) {
    for (const engine::Bitmap& frame : DiskFrameBitmaps().B) FFrames.push_back(ImageOfBitmap(frame));
    ProcessMessages = [] { QCoreApplication::processEvents(); };
    FGrid.SetDefaultColWidth(kDiskThumbSize);
    FGrid.SetDefaultRowHeight(kDiskThumbSize);
    FGrid.SetRowCount(0);
    FGrid.OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect) {
        DrawCell(painter, col, row, rect);
    };
    FGrid.OnMouseDown = [this](Qt::MouseButton button, TShiftState shift, int x, int y) {
        MouseDown(button, shift, x, y);
    };
    FGrid.OnMouseUp = [this](Qt::MouseButton, TShiftState shift, int, int) { FShiftState = shift; };
    FGrid.OnClick = [this] { ClickEntry(FPressedEntry); };
    FGrid.OnDblClick = [this] { OpenCurrent(); };
    FGrid.OnKeyDown = [this](int& key, TShiftState shift) { KeyDown(key, shift); };
    FGrid.OnKeyUp = [this](int& key, TShiftState shift) { KeyUp(key, shift); };
    FGrid.OnKeyPress = [this](QChar& key) {
        if (key == QChar(1)) SelectAll();  // Ctrl+A
    };
}

tdiskthumbmanager::~tdiskthumbmanager() {
    FIdle = true;
    FGrid.OnDrawCell = nullptr;
    FGrid.OnMouseDown = nullptr;
    FGrid.OnMouseUp = nullptr;
    FGrid.OnClick = nullptr;
    FGrid.OnDblClick = nullptr;
    FGrid.OnKeyDown = nullptr;
    FGrid.OnKeyUp = nullptr;
    FGrid.OnKeyPress = nullptr;
}

void tdiskthumbmanager::FlushPending() {
    if (FPending <= 0) return;
    FPending = 0;
    Refresh();
}

void tdiskthumbmanager::SetFolder(const std::string& folder) {
    FlushPending();
    if (folder.empty()) {
        FIdle = true;
        FCollection.Clear();
        FEntries.clear();
        FFolder.clear();
        ++FListing;
    } else {
        const std::string spelling = FolderSpelling(folder);
        if (spelling == FFolder) return;
        FFolder = spelling;
        FIdle = true;
        ReadFolder();
    }
    FCurrent = 0;
    FCurrentPath.clear();
    if (Count() > 0) {
        FCurrent = 1;
        FGrid.SetCurrentCell(0, 0);
        FEntries[0].selected = true;
        FCurrentPath = FCollection.GetPath(1);
    }
    Fire(OnSelectionChanged);
    UpdateLayout();
    Repaint();
    if (FShowThumbnails) BuildThumbnails();
}

void tdiskthumbmanager::ReadFolder() {
    ++FListing;
    FEntries.clear();
    FCollection.Clear();
    {
        const WaitCursor wait;
        FCollection.Load(FFolder, FFlags);
    }
    FEntries.resize(static_cast<std::size_t>(FCollection.Count()));
}

void tdiskthumbmanager::Refresh() {
    FlushPending();
    if (!FActive) return;
    FIdle = true;
    if (!FFolder.empty()) {
        const std::string folder = FFolder;
        FFolder.clear();
        SetFolder(folder);
    } else {
        Repaint();
    }
}

void tdiskthumbmanager::SetFilter(std::uint8_t flags) {
    FlushPending();
    if (flags == FFlags) return;
    FFlags = flags;
    Refresh();
}

void tdiskthumbmanager::SetShowThumbnails(bool on) {
    FlushPending();
    if (on == FShowThumbnails) return;
    FShowThumbnails = on;
    if (on) BuildThumbnails();
}

void tdiskthumbmanager::BuildThumbnails() {
    FlushPending();
    // One build at a time: a build asked for while one runs is that build.
    if (!FActive || !FIdle) return;
    FIdle = false;
    Fire(OnBuildingStarted);
    const unsigned listing = FListing;
    // The pictures are decoded a few ahead on other threads; this thread places them in entry
    // order, with the window's events handled before each, as if it decoded them itself.
    const ThumbnailFrames frames = DiskFrameBitmaps().Frames();
    std::vector<std::string> pending;
    for (int i = 1; i <= Count(); ++i)
        if (FCollection.ItemType(i) == kEntryJpeg && !FEntries[static_cast<std::size_t>(i - 1)].thumbnail)
            pending.push_back(FCollection.GetPath(i));
    ThumbnailPipeline pipeline(std::move(pending), frames, ThumbnailPipeline::DefaultAhead());
    std::size_t taken = 0;
    for (int i = 1; i <= Count(); ++i) {
        if (ProcessMessages) ProcessMessages();
        // Stopped, or another folder opened meanwhile (by a click handled just now).
        if (FIdle || listing != FListing) break;
        const int type = FCollection.ItemType(i);
        Entry& entry = FEntries[static_cast<std::size_t>(i - 1)];
        if ((type != kEntryJpeg && type != kEntryCam) || entry.thumbnail) continue;
        if (type == kEntryJpeg) {
            const DiskThumbnail made = pipeline.Take(taken++);
            entry.thumbnail = ImageOfBitmap(made.bitmap);
            entry.kind = made.kind;
            entry.fullWidth = made.fullWidth;
            entry.fullHeight = made.fullHeight;
        } else {
            entry.thumbnail = FFrames[0];
        }
        int col = 0, row = 0;
        CellOf(i, col, row);
        FGrid.InvalidateCell(col, row);
        FGrid.Update();
        if (OnProgress) OnProgress(i);
    }
    Fire(OnBuildingEnded);
    FIdle = true;
}

void tdiskthumbmanager::UpdateLayout() {
    FlushPending();
    const DiskGridShape shape = DiskGridLayout(FGrid.viewport()->width(), Count());
    if (shape.cols == FGrid.ColCount() && shape.rows == FGrid.RowCount()) return;
    FGrid.SetColCount(shape.cols);
    FGrid.SetRowCount(shape.rows);
    Repaint();
}

void tdiskthumbmanager::OpenCurrent() {
    FlushPending();
    const int e = EntryAtCell(FGrid.Col(), FGrid.Row());
    if (e < 1 || e > Count()) return;
    FCurrent = e;
    FEntries[static_cast<std::size_t>(e - 1)].selected = true;
    Repaint();
    const std::string path = FCollection.GetPath(e);
    switch (FCollection.ItemType(e)) {
        case kEntryFolder:
            SetFolder(path);
            Fire(OnFolderOpened);
            break;
        case kEntryJpeg:
        case kEntryCam:
            FCurrentPath = path;
            Fire(OnSelectionChanged);
            Fire(OnPictureOpened);
            break;
        default: break;
    }
}

// The entry becomes current and selected; without Shift or Ctrl held the previous one is
// deselected, so walking through pictures moves the selection with them.
void tdiskthumbmanager::SelectItem(int i) {
    FlushPending();
    if (i == FCurrent || i < 1 || i > Count()) return;
    if (!(FShiftState & (ssShift | ssCtrl)) && FCurrent >= 1 && FCurrent <= Count())
        FEntries[static_cast<std::size_t>(FCurrent - 1)].selected = false;
    FCurrent = i;
    FEntries[static_cast<std::size_t>(i - 1)].selected = true;
    FCurrentPath = FCollection.GetPath(i);
    Fire(OnSelectionChanged);
    CursorTo(i);
    Repaint();
}

void tdiskthumbmanager::SelectAll() {
    FlushPending();
    for (Entry& entry : FEntries) entry.selected = true;
    Repaint();
}

void tdiskthumbmanager::ForEachSelected(std::vector<std::string>& list, std::initializer_list<int> types) {
    FlushPending();
    list.clear();
    for (int i = 1; i <= Count(); ++i)
        if (FEntries[static_cast<std::size_t>(i - 1)].selected &&
            std::find(types.begin(), types.end(), FCollection.ItemType(i)) != types.end())
            list.push_back(FCollection.GetPath(i));
}

bool tdiskthumbmanager::Selected(int i) const {
    return i >= 1 && i <= Count() && FEntries[static_cast<std::size_t>(i - 1)].selected;
}

const QImage* tdiskthumbmanager::Thumbnail(int i) const {
    if (i < 1 || i > Count()) return nullptr;
    const auto& thumbnail = FEntries[static_cast<std::size_t>(i - 1)].thumbnail;
    return thumbnail ? &*thumbnail : nullptr;
}

int tdiskthumbmanager::ThumbnailKind(int i) const {
    return i >= 1 && i <= Count() ? FEntries[static_cast<std::size_t>(i - 1)].kind : 0;
}

QSize tdiskthumbmanager::FullSize(int i) const {
    if (i < 1 || i > Count()) return {};
    const Entry& entry = FEntries[static_cast<std::size_t>(i - 1)];
    return {entry.fullWidth, entry.fullHeight};
}

void tdiskthumbmanager::ClickEntry(int e) {
    FlushPending();
    if (e < 1 || e > Count()) {
        // Beyond the entries: the current one loses its selection, the cursor goes back to it.
        if (FCurrent >= 1 && FCurrent <= Count()) {
            FEntries[static_cast<std::size_t>(FCurrent - 1)].selected = false;
            CursorTo(FCurrent);
        }
        Repaint();
        return;
    }
    Entry& clicked = FEntries[static_cast<std::size_t>(e - 1)];
    if (FShiftState & ssCtrl) {
        clicked.selected = !clicked.selected;
    } else if (FShiftState & ssShift) {
        if (FCurrent == 0) FCurrent = e;
        const int low = std::min(FCurrent, e), high = std::max(FCurrent, e);
        for (int i = 1; i <= Count(); ++i) FEntries[static_cast<std::size_t>(i - 1)].selected = i >= low && i <= high;
    } else {
        const bool was = clicked.selected;
        for (Entry& entry : FEntries) entry.selected = false;
        clicked.selected = !was;
        FCurrent = e;
        FCurrentPath = FCollection.GetPath(e);
        Fire(OnSelectionChanged);
    }
    Repaint();
}

tdiskthumbmanager::Entry* tdiskthumbmanager::EntryAt(int i) {
    return i >= 1 && i <= Count() ? &FEntries[static_cast<std::size_t>(i - 1)] : nullptr;
}

int tdiskthumbmanager::EntryAtCell(int col, int row) const { return FGrid.ColCount() * row + col + 1; }

void tdiskthumbmanager::CellOf(int i, int& col, int& row) const {
    col = (i - 1) % FGrid.ColCount();
    row = (i - 1) / FGrid.ColCount();
}

void tdiskthumbmanager::CursorTo(int i) {
    int col = 0, row = 0;
    CellOf(i, col, row);
    if (row < FGrid.RowCount()) FGrid.SetCurrentCell(col, row);
}

void tdiskthumbmanager::Repaint() { FGrid.viewport()->update(); }

void tdiskthumbmanager::DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
    const int i = EntryAtCell(col, row);
    const Entry* entry = EntryAt(i);
    if (!entry) {
        painter.fillRect(rect, ToQColor(media::clWindow));
        return;
    }
    const QImage* picture = nullptr;
    switch (FCollection.ItemType(i)) {
        case kEntryFolder: picture = FCollection.GetName(i) == ".." ? &FFrames[5] : &FFrames[2]; break;
        case kEntryJpeg: picture = entry->thumbnail ? &*entry->thumbnail : &FFrames[4]; break;
        case kEntryCam: picture = entry->thumbnail ? &*entry->thumbnail : &FFrames[0]; break;
        default: picture = &FFrames[3]; break;
    }
    painter.drawImage(rect, *picture);

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kNamePixels);
    painter.setFont(font);
    const QRect text(rect.left() + 4, rect.top() + 64, 72, 12);
    if (entry->selected) {
        painter.fillRect(text, ToQColor(media::clHighlight));
        painter.setPen(ToQColor(media::clHighlightText));
    } else {
        painter.setPen(ToQColor(media::clBtnText));
    }
    const QString name = QString::fromStdString(FCollection.GetName(i));
    painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, EntryCaption(name));
}

void tdiskthumbmanager::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) {
    FShiftState = shift;
    int col = 0, row = 0;
    const bool onCell = FGrid.MouseToCell(QPoint(x, y), col, row);
    FPressedEntry = onCell && col < FGrid.ColCount() ? EntryAtCell(col, row) : 0;
    if (FPressedEntry > Count()) FPressedEntry = 0;
    if (button == Qt::RightButton && OnPopup) OnPopup(FGrid.viewport()->mapToGlobal(QPoint(x, y)));
}

void tdiskthumbmanager::KeyDown(int& key, TShiftState shift) {
    FShiftState = shift;
    FLastKey = key;
}

void tdiskthumbmanager::KeyUp(int& key, TShiftState shift) {
    FShiftState = shift;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool lastEnter = FLastKey == Qt::Key_Return || FLastKey == Qt::Key_Enter;
    if (enter && lastEnter) OpenCurrent();
    else if (key == Qt::Key_Delete && FLastKey == Qt::Key_Delete) Fire(OnDeleteSelected);
}

}  // namespace ui
