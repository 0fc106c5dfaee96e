#include "media/led_spots.h"

#include <algorithm>

namespace media {

LEDSpotLayout LEDSpotLayout::Compute(TMMGaugeKind kind, TMMDirection direction, int bar_width,
                                     int bar_height, int spot_width, int spot_space, int point1,
                                     int point2) {
  LEDSpotLayout l;
  l.Kind = kind;
  l.Direction = direction;
  l.BarWidth = bar_width;
  l.BarHeight = bar_height;
  l.SpotWidth = std::max(1, spot_width);
  l.SpotSpace = std::max(0, spot_space);
  const int length = l.BarLength();
  const int step = l.SpotWidth + l.SpotSpace;
  l.SpotCount = std::max(1, (length + l.SpotSpace) / step);
  l.FirstSpot = (length - (step * l.SpotCount - l.SpotSpace)) / 2;
  l.Zone1End = point1 * l.SpotCount / 100;
  l.Zone2End = point2 * l.SpotCount / 100;
  return l;
}

TRect LEDSpotLayout::Spot(int i) const {
  const int offset = FirstSpot + (i - 1) * (SpotWidth + SpotSpace);
  const bool from_start = (Kind == gkHorizontal) == (Direction == dirNormal);
  const int near = from_start ? offset : BarLength() - offset - SpotWidth;
  if (Kind == gkHorizontal) return {near, 0, near + SpotWidth, BarHeight};
  return {0, near, BarWidth, near + SpotWidth};
}

void DrawLEDSpots(TMMDIBCanvas& dib, const LEDSpotLayout& layout, int n,
                  const std::array<TColor, 3>& zone_colors, bool dotted) {
  for (int i = 1; i <= n; ++i) {
    dib.SetColor(zone_colors[std::size_t(layout.Zone(i))]);
    if (dotted) {
      dib.FillRectDoted(layout.Spot(i));
    } else {
      dib.FillRect(layout.Spot(i));
    }
  }
}

}  // namespace media
