#pragma once
// Where the screen saver draws a picture, how long it shows each one, and when mouse travel
// ends it.

#include <QPoint>
#include <QRect>

#include <cstdint>

namespace saver {

// SaverDisplay: 0 full screen (always fitted, also enlarged), 1 normal size (shrunk only when
// too big), 2 double size (shrunk when the double does not fit); other values act as 1.
// The rectangle is centred in an area of areaWidth x areaHeight.
QRect PictureRect(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight, std::int32_t display);

// The picture timer's period for the stored SaverInterval (seconds): 0 is 10 s, other values
// are kept within the settings dialog's 1..6000 first.
int PictureIntervalMs(std::int32_t savedInterval);

// Mouse travel since the last event (or the position at start): more than 4 pixels ends the
// saver. A move reported at x = 0 or y = 0 is ignored.
class MouseTravel {
public:
    void Reset(QPoint position) { last_ = position; }
    // Records the move; true when it ends the saver.
    bool Moved(QPoint position);

private:
    QPoint last_;
};

}  // namespace saver
