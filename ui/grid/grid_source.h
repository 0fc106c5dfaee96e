#pragma once
// What the thumbnail grid reads of the webcams and their display map, and the one thing it
// changes (the selection). The main window implements it over the webcam manager. Webcams are
// numbered from 1, cells from 0 (cell = row x ColCount + column).

#include <cstdint>
#include <optional>
#include <string>

#include "engine/bitmap.h"

namespace ui {

// One webcam as its cell shows it. Texts are record strings (Windows-1252 bytes).
struct GridWebcam {
    std::string name;
    std::string description;
    std::string pictureUrl;
    bool enabled = true;
    std::uint8_t status = 0;  // the webcam's status byte (engine::kStatus...)
    bool newPicture = false;  // FNewPicture
    bool favourite = false;
    bool resting = false;  // slowed down by the slow scan
    bool selected = false;  // FSelected
};

class ThumbnailGridSource {
public:
    virtual ~ThumbnailGridSource() = default;
    // The number of webcams, shown or not.
    virtual int Count() const = 0;
    // Cells 0 .. DisplayedCount - 1 are in use.
    virtual int DisplayedCount() const = 0;
    // The webcam shown in a cell, 0 for none.
    virtual int GetCellWebcam(int cell) const = 0;
    // The cell that shows a webcam, -1 for none.
    virtual int DisplayCell(int webcam) const = 0;
    // Nothing for a webcam number whose slot is empty.
    virtual std::optional<GridWebcam> Webcam(int webcam) const = 0;
    // Whether the webcam is selected, nothing for an empty slot: what the walks over every cell
    // ask, so it copies no record.
    virtual std::optional<bool> SelectedState(int webcam) const = 0;
    // The webcam's thumbnail, a fresh copy (empty when it has none).
    virtual engine::Bitmap Thumbnail(int webcam) const = 0;
    virtual void SetSelected(int webcam, bool selected) = 0;
};

}  // namespace ui
