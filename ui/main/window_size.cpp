#include "ui/main/window_size.h"

namespace ui {

QSize ClampWindowSize(QSize stored, QSize screen) {
    auto fit = [](int value, int limit) { return value <= 0 || value > limit ? limit : value; };
    return {fit(stored.width(), screen.width()), fit(stored.height(), screen.height())};
}

}  // namespace ui
