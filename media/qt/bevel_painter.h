#pragma once
// Paints a bevel's rings with a QPainter.

#include <QPainter>
#include <QRect>

#include "media/bevel.h"

namespace media {

// Paints Bevel inside R and returns what remains inside it.
QRect PaintBevel(QPainter& painter, const TMMBevel& bevel, const QRect& r, bool draw_border);

}  // namespace media
