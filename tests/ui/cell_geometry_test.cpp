#include "ui/grid/cell_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ThumbnailCellSize, CellsAndNameFontsByThumbnailSize) {
    struct Case {
        int thumbWidth, thumbHeight;
        QSize cell;
        int points;
    };
    for (const Case& c : {Case{86, 80, {98, 106}, 7}, Case{36, 24, {48, 50}, 5}, Case{320, 240, {332, 266}, 8},
                          Case{37, 24, {49, 50}, 7}, Case{87, 80, {99, 106}, 7}, Case{88, 80, {100, 106}, 8}}) {
        const QSize cell = ui::ThumbnailCellSize(c.thumbWidth, c.thumbHeight);
        EXPECT_EQ(cell, c.cell) << c.thumbWidth << "x" << c.thumbHeight;
        EXPECT_EQ(ui::NameFontPoints(cell.width()), c.points) << cell.width();
        EXPECT_EQ(ui::ThumbnailSizeOfCell(cell), QSize(c.thumbWidth, c.thumbHeight));
    }
}

TEST(GridColumns, LeavesRoomForTheScrollBarOnlyWhenNotEveryWebcamFits) {
    struct Case {
        int width, height, webcams, columns, displayed, rows;
    };
    const QSize cell{98, 106};
    for (const Case& c : {Case{500, 300, 10, 5, 10, 2}, Case{500, 300, 11, 4, 11, 3}, Case{500, 300, 0, 5, 0, 0},
                          Case{60, 300, 5, 1, 5, 5}, Case{10, 10, 1, 1, 1, 1}, Case{117, 300, 3, 1, 3, 3}}) {
        const int columns = ui::GridColumns(c.width, c.height, cell, c.webcams);
        EXPECT_EQ(columns, c.columns) << c.width << "x" << c.height << " " << c.webcams;
        EXPECT_EQ(ui::GridRows(c.displayed, columns), c.rows) << c.displayed;
    }
}

}  // namespace
