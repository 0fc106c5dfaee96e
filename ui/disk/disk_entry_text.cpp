#include "ui/disk/disk_entry_text.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "ui/disk/disk_thumbnail.h"

namespace ui {

QString EntryCaption(const QString& name) {
    QString text = name.toLower();
    if (text.size() > 18) text = text.right(18);
    if (text.endsWith(QStringLiteral(".jpg"))) text.chop(4);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

DiskGridShape DiskGridLayout(int width, int entries) {
    DiskGridShape shape;
    shape.cols = std::max(1, width / kDiskThumbSize);
    shape.rows = entries / shape.cols + (entries % shape.cols ? 1 : 0);
    return shape;
}

std::string CompanionFileName(const std::string& path) {
    std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string stem = path.substr(0, path.size() - std::min<std::size_t>(4, path.size()));
    if (ending == ".JPG") return stem + ".QVJ";
    if (ending == ".CAM") return stem + ".QVC";
    throw std::invalid_argument("File is not a JPG or CAM");
}

}  // namespace ui
