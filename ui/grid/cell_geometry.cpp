#include "ui/grid/cell_geometry.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int kFrameWidth = 12;
constexpr int kFrameAndNameHeight = 26;
constexpr int kScrollBarRoom = 20;

}  // namespace

QSize ThumbnailCellSize(int thumbWidth, int thumbHeight) {
    return {thumbWidth + kFrameWidth, thumbHeight + kFrameAndNameHeight};
}

QSize ThumbnailSizeOfCell(QSize cellSize) {
    return {cellSize.width() - kFrameWidth, cellSize.height() - kFrameAndNameHeight};
}

int NameFontPoints(int cellWidth) {
    if (cellWidth <= 48) return 5;
    if (cellWidth <= 99) return 7;
    return 8;
}

int GridColumns(int width, int height, QSize cellSize, int webcamCount) {
    const int cellWidth = std::max(1, cellSize.width()), cellHeight = std::max(1, cellSize.height());
    const long long visible = static_cast<long long>(width / cellWidth) * (height / cellHeight);
    const int columns = visible >= webcamCount ? width / cellWidth : (width - kScrollBarRoom) / cellWidth;
    return std::max(1, columns);
}

int GridLeastWidth(int cellWidth, int frameWidth, int scrollBar) {
    return cellWidth + 2 * frameWidth + std::max(kScrollBarRoom, scrollBar);
}

int GridRows(int displayedCount, int colCount) {
    if (displayedCount <= 0 || colCount <= 0) return 0;
    return displayedCount / colCount + (displayedCount % colCount != 0 ? 1 : 0);
}

}  // namespace ui
