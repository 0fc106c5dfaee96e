#pragma once
// Where the spots of an LED bar gauge lie and how they are drawn into a DIB canvas. The spots are
// centred along the bar; zone 1 runs up to Zone1End, zone 2 up to Zone2End, zone 3 to the end.

#include <array>

#include "media/color.h"
#include "media/dib_canvas.h"
#include "media/rect.h"

namespace media {

enum TMMGaugeKind { gkHorizontal, gkVertical };
enum TMMDirection { dirNormal, dirReversed };

struct LEDSpotLayout {
  TMMGaugeKind Kind = gkHorizontal;
  TMMDirection Direction = dirNormal;
  int BarWidth = 1;
  int BarHeight = 1;
  int SpotWidth = 1;
  int SpotSpace = 1;
  int SpotCount = 1;
  int FirstSpot = 0;
  int Zone1End = 0;
  int Zone2End = 0;

  // Spot count, first spot and zone ends for a bar of BarWidth × BarHeight (at least 1 spot; the
  // spot width taken as at least 1, the space as at least 0). Point1 and Point2 are the percentages where zones 2 and 3 begin.
  static LEDSpotLayout Compute(TMMGaugeKind kind, TMMDirection direction, int bar_width, int bar_height,
                               int spot_width, int spot_space, int point1, int point2);

  int BarLength() const { return Kind == gkHorizontal ? BarWidth : BarHeight; }
  // Spot I (1-based) in bar coordinates. Normal horizontal bars grow to the right, normal vertical
  // ones upward; reversed ones the other way.
  TRect Spot(int i) const;
  // 0, 1 or 2: the zone of spot I.
  int Zone(int i) const { return i > Zone2End ? 2 : i > Zone1End ? 1 : 0; }

  friend bool operator==(const LEDSpotLayout&, const LEDSpotLayout&) = default;
};

// Draws spots 1..N in the colours of their zones, dotted or solid, into an open drawing pass.
void DrawLEDSpots(TMMDIBCanvas& dib, const LEDSpotLayout& layout, int n,
                  const std::array<TColor, 3>& zone_colors, bool dotted);

}  // namespace media
