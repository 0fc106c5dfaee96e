#include "saver/picture_layout.h"

#include <algorithm>
#include <cstdlib>

namespace saver {

QRect PictureRect(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight, std::int32_t display) {
    int w = pictureWidth;
    int h = pictureHeight;
    if (display == 2) {
        w *= 2;
        h *= 2;
    }
    if ((w > areaWidth || h > areaHeight || display == 0) && pictureHeight > 0 && areaHeight > 0) {
        const double rp = static_cast<double>(pictureWidth) / pictureHeight;
        const double ra = static_cast<double>(areaWidth) / areaHeight;
        if (rp > ra) {
            w = areaWidth;
            h = static_cast<int>(areaHeight * ra / rp);
        } else if (rp < ra) {
            w = static_cast<int>(areaWidth * rp / ra);
            h = areaHeight;
        } else {
            w = areaWidth;
            h = areaHeight;
        }
    }
    return QRect((areaWidth - w) / 2, (areaHeight - h) / 2, w, h);
}

int PictureIntervalMs(std::int32_t savedInterval) {
    if (savedInterval == 0) return 10000;
    return std::clamp<std::int32_t>(savedInterval, 1, 6000) * 1000;
}

bool MouseTravel::Moved(QPoint position) {
    if (position.x() == 0 || position.y() == 0) return false;
    const int travel = std::abs(position.x() - last_.x()) + std::abs(position.y() - last_.y());
    last_ = position;
    return travel > 4;
}

}  // namespace saver
