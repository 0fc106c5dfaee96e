#pragma once
// The sizes of the thumbnail grid: a cell is the thumbnail plus a 6-pixel frame at the sides
// and the top and a 20-pixel strip for the name below it.

#include <QSize>

namespace ui {

// DefaultColWidth x DefaultRowHeight for a thumbnail of ThumbWidth x ThumbHeight.
QSize ThumbnailCellSize(int thumbWidth, int thumbHeight);

// The thumbnail size (ThumbWidth x ThumbHeight) that gives cells of CellSize.
QSize ThumbnailSizeOfCell(QSize cellSize);

// The point size of the name in a cell of this width: 5 up to 48 pixels, 7 up to 99, else 8.
int NameFontPoints(int cellWidth);

// The column count for a grid of Width x Height with cells of CellSize showing WebcamCount
// webcams: all columns that fit when every webcam fits without scrolling, else room is left
// for the vertical scroll bar (20 pixels); never below 1.
int GridColumns(int width, int height, QSize cellSize, int webcamCount);

// The least width of a grid that shows one whole column of cells CellWidth wide beside its
// vertical scroll bar (ScrollBar wide, at least the 20 pixels the column count leaves for it),
// inside a frame of FrameWidth on each side.
int GridLeastWidth(int cellWidth, int frameWidth, int scrollBar);

// Rows for DisplayedCount cells in ColCount columns (the last one partly filled).
int GridRows(int displayedCount, int colCount);

}  // namespace ui
