// Where the wallpaper goes on each of several monitors. Monitors are given in
// virtual-screen pixels (physical ones): the primary monitor's top-left
// corner is (0, 0), monitors left of or above it have negative coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "styles/WallpaperLayout.h"

namespace seltane {

// The picture laid out on one monitor in the style, at that monitor's size.
struct MonitorPlacement {
  PixelRect monitor;       // virtual-screen pixels
  WallpaperLayout layout;  // in the monitor's own pixels, as on a screen of its size
  PixelRect picture;       // where the picture shows, virtual-screen pixels, clipped to the monitor
  bool operator==(const MonitorPlacement&) const = default;
};

// One placement per monitor, in the monitors' order. A tiled picture covers
// its whole monitor; a picture shrunk below a pixel, or on an empty monitor,
// shows nowhere (an empty rectangle).
std::vector<MonitorPlacement> LayOutOnMonitors(const std::vector<PixelRect>& monitors,
                                               int32_t pictureWidth, int32_t pictureHeight,
                                               uint8_t style);

// One bitmap for all monitors, shown tiled: the system repeats it from the
// primary monitor's top-left corner, so a virtual-screen pixel (x, y) shows
// the bitmap's pixel (x mod width, y mod height). The bitmap is as large as
// the rectangle around all monitors, so no two monitors share a pixel; a
// monitor left of or above the primary one lands at the bitmap's right or
// bottom, and one that reaches across the primary's left or top edge line is
// cut there into pieces that wrap around.
struct BitmapPiece {
  PixelRect inMonitor;  // the monitor's own pixels
  int32_t x = 0;        // where that part's top-left corner goes in the bitmap
  int32_t y = 0;
  bool operator==(const BitmapPiece&) const = default;
};
struct DesktopBitmapLayout {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<std::vector<BitmapPiece>> pieces;  // per monitor, in the monitors' order
  bool operator==(const DesktopBitmapLayout&) const = default;
};
DesktopBitmapLayout LayOutDesktopBitmap(const std::vector<PixelRect>& monitors);

// Monitor rectangles a program not aware of the screen's scaling was told,
// scaled to physical pixels by the primary monitor's factor (systems before
// Windows 10 scale every monitor alike for such a program). Edges are scaled
// one by one, so that monitors that touch still touch.
std::vector<PixelRect> ScaledMonitors(const std::vector<PixelRect>& logical, int32_t logicalWidth,
                                      int32_t physicalWidth);

}  // namespace seltane
