#include "ui/main/loading_list_view.h"

#include <QApplication>

#include "ui/forms/loadingwc.h"
#include "ui/grid/thumbnail_grid.h"

namespace ui {

void LoadingListView::LoadStarted() {
    loadingwc().SetProgress(0, 100);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void LoadingListView::LoadProgress(int position, int count) { loadingwc().SetProgress(position, count); }

void LoadingListView::LoadFinished() {
    loadingwc().hide();
    QApplication::restoreOverrideCursor();
    grid_.Repaint();
}

void LoadingListView::RedrawWebcamCell(int i) { grid_.RedrawWebcamCell(i); }

}  // namespace ui
