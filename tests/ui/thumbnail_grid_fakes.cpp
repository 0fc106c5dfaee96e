#include "tests/ui/thumbnail_grid_fakes.h"

#include <algorithm>

namespace gridtest {

FakeSource::FakeSource(int count) : freed(count, false) {
    for (int i = 1; i <= count; ++i) {
        ui::GridWebcam webcam;
        webcam.name = "Cam " + std::to_string(i);
        webcam.pictureUrl = "http://127.0.0.1/cam" + std::to_string(i) + ".jpg";
        webcams.push_back(webcam);
        cells.push_back(i);
    }
}

int FakeSource::GetCellWebcam(int cell) const {
    return cell >= 0 && cell < DisplayedCount() ? cells[cell] : 0;
}

int FakeSource::DisplayCell(int webcam) const {
    const auto it = std::find(cells.begin(), cells.end(), webcam);
    return it == cells.end() ? -1 : static_cast<int>(it - cells.begin());
}

std::optional<ui::GridWebcam> FakeSource::Webcam(int webcam) const {
    if (webcam < 1 || webcam > Count() || freed[webcam - 1]) return std::nullopt;
    return webcams[webcam - 1];
}

std::optional<bool> FakeSource::SelectedState(int webcam) const {
    const std::optional<ui::GridWebcam> cam = Webcam(webcam);
    return cam ? std::optional<bool>(cam->selected) : std::nullopt;
}

engine::Bitmap FakeSource::Thumbnail(int webcam) const {
    thumbnailsAsked.push_back(webcam);
    engine::Bitmap bitmap(86, 80, 24);
    // Blue, green and red bytes that differ per webcam.
    for (std::size_t i = 0; i < bitmap.size(); i += 3) {
        bitmap.data()[i] = static_cast<std::uint8_t>(40 * (webcam % 6));
        bitmap.data()[i + 1] = 0x66;
        bitmap.data()[i + 2] = 0x33;
    }
    return bitmap;
}

std::vector<int> FakeSource::Selected() const {
    std::vector<int> selected;
    for (int i = 1; i <= Count(); ++i)
        if (webcams[i - 1].selected) selected.push_back(i);
    return selected;
}

void FakeHost::ShowWebcam(int webcam) {
    calls << QStringLiteral("show %1").arg(webcam);
    current = webcam;
}

void FakeHost::PopupGridMenu(const QPoint& screenPoint) {
    calls << QStringLiteral("popup");
    popupPoint = screenPoint;
}

}  // namespace gridtest
