#include "ui/viewer/zoom.h"

#include <algorithm>

#include "engine/messages.h"

namespace ui {

bool IsZoomMode(int mode) { return mode == kZoomStretch || mode == kZoomFit || (mode >= 1 && mode <= 7); }

QString ZoomLabel(int mode) {
    switch (mode) {
        case kZoomStretch: return QString::fromStdString(engine::LoadMessage(65232));
        case kZoomFit: return QString::fromStdString(engine::LoadMessage(65263));
        case 1: return QStringLiteral(" (25%)");
        case 2: return QStringLiteral(" (50%) ");
        case 3: return QStringLiteral(" (75%)");
        case 4: return QStringLiteral(" (100%)");
        case 5: return QStringLiteral(" (150%) ");
        case 6: return QStringLiteral(" (200%) ");
        case 7: return QStringLiteral(" (300%) ");
        default: return {};
    }
}

int ZoomIn(int mode) { return mode < 1 ? 5 : mode + 1; }
int ZoomOut(int mode) { return mode < 2 ? 3 : mode - 1; }
bool ZoomOutEnabled(int mode) { return mode != kZoomSmallest; }
bool ZoomInEnabled(int mode) { return mode != kZoomLargest; }

PictureSize ZoomedSize(int mode, PictureSize picture, PictureSize box) {
    const int w = picture.width, h = picture.height;
    PictureSize out{w, h};
    switch (mode) {
        case 1: out = {w / 4, h / 4}; break;
        case 2: out = {w / 2, h / 2}; break;
        case 3: out = {(w / 4) * 3, (h / 4) * 3}; break;
        case 5: out = {(w / 2) * 3, (h / 2) * 3}; break;
        case 6: out = {w * 2, h * 2}; break;
        case 7: out = {w * 3, h * 3}; break;
        case kZoomStretch:
        case kZoomFit: {
            // The view area is the box less 8 pixels each way, at least 1 x 1.
            const int areaW = std::max(1, box.width - 8), areaH = std::max(1, box.height - 8);
            const double area = static_cast<double>(areaW) / areaH;
            const double ratio = static_cast<double>(std::max(1, w)) / std::max(1, h);
            if (ratio == area) out = {areaW, areaH};
            else if (ratio < area) out = {static_cast<int>(box.width * ratio / area) - 8, areaH};
            else out = {areaW, static_cast<int>(box.height * area / ratio) - 8};
            if (mode == kZoomFit && w < out.width && h < out.height) out = {w, h};
            break;
        }
        default: break;
    }
    return {std::max(1, out.width), std::max(1, out.height)};
}

PictureSize CentredOrigin(PictureSize size, PictureSize box) {
    return {std::max(0, (box.width - size.width) / 2), std::max(0, (box.height - size.height) / 2)};
}

}  // namespace ui
