#pragma once
// Small rules of the disk page: the name shown under an entry, the grid's shape, and the
// companion file that travels with a saved picture.

#include <QString>

#include <string>

namespace ui {

// The entry's name as shown: lower case, its last 18 characters when longer, without ".jpg"
// when it ends so, the first character in upper case.
QString EntryCaption(const QString& name);

struct DiskGridShape {
    int cols = 1;
    int rows = 0;
};
// Columns of 80 pixels in width (at least one) and the rows that entries need.
DiskGridShape DiskGridLayout(int width, int entries);

// "x.jpg" -> "x.QVJ", "x.cam" -> "x.QVC" (by the last four characters, any case);
// std::invalid_argument "File is not a JPG or CAM" for any other path.
std::string CompanionFileName(const std::string& path);

}  // namespace ui
