#include "engine/picture_rotate.h"

#include "engine/bitmap_draw.h"
#include "engine/fast_bitmap.h"

namespace engine {

void RotateJpegToPicture(JpegPicture& jpeg, Bitmap& dest, int mode) {
    if (mode == 0) {
        dest = jpeg.bitmap();
        return;
    }
    if (mode < 1 || mode > 3)
        return;
    Bitmap& source = jpeg.bitmap();
    tfastbm from;
    from.Attach(&source);
    const int w = source.width();
    const int h = source.height();
    Bitmap turned;
    if (mode == 2) {
        turned.Resize(w, h, 24);
        StretchDraw(turned, Rect{w - 1, h - 1, -1, -1}, source);
    } else {
        turned.Resize(h, w, 24);
        tfastbm to;
        to.Attach(&turned);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (mode == 1)
                    to.SetPixel(h - 1 - y, x, from.GetPixel(x, y));
                else
                    to.SetPixel(y, w - 1 - x, from.GetPixel(x, y));
            }
    }
    dest = std::move(turned);
}

}  // namespace engine
