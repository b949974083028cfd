#include "libs/common/MonitorLayout.h"

#include <algorithm>

namespace seltane {
namespace {

// x mod n, never negative; n > 0.
int32_t Wrapped(int64_t x, int32_t n) {
  const int64_t r = x % n;
  return static_cast<int32_t>(r < 0 ? r + n : r);
}

// The runs of [from, to) that stay unbroken in a bitmap of `length` repeated
// from 0: each as its start and where it lands.
struct Run {
  int32_t start;
  int32_t length;
  int32_t landing;
};
std::vector<Run> Runs(int32_t from, int32_t to, int32_t length) {
  std::vector<Run> runs;
  for (int32_t at = from; at < to;) {
    const int32_t landing = Wrapped(at, length);
    const int32_t run = std::min(to - at, length - landing);
    runs.push_back({at, run, landing});
    at += run;
  }
  return runs;
}

int32_t Scaled(int32_t value, int32_t from, int32_t to) {
  const int64_t p = int64_t{value} * to;
  // Rounded to the nearest, halves away from zero.
  return static_cast<int32_t>(p >= 0 ? (p + from / 2) / from : -((-p + from / 2) / from));
}

}  // namespace

std::vector<MonitorPlacement> LayOutOnMonitors(const std::vector<PixelRect>& monitors,
                                               int32_t pictureWidth, int32_t pictureHeight,
                                               uint8_t style) {
  std::vector<MonitorPlacement> placements;
  placements.reserve(monitors.size());
  for (const PixelRect& monitor : monitors) {
    MonitorPlacement placement;
    placement.monitor = monitor;
    placement.layout =
        LayOutWallpaper(monitor.Width(), monitor.Height(), pictureWidth, pictureHeight, style);
    PixelRect shown;
    switch (placement.layout.kind) {
      case WallpaperLayout::Kind::Tiled:
        shown = {0, 0, monitor.Width(), monitor.Height()};
        break;
      case WallpaperLayout::Kind::Single:
        shown = placement.layout.target;
        break;
      case WallpaperLayout::Kind::Nothing:
        break;
    }
    const PixelRect clipped{std::max(shown.left, 0), std::max(shown.top, 0),
                            std::min(shown.right, monitor.Width()),
                            std::min(shown.bottom, monitor.Height())};
    if (!clipped.Empty()) {
      placement.picture = {monitor.left + clipped.left, monitor.top + clipped.top,
                           monitor.left + clipped.right, monitor.top + clipped.bottom};
    }
    placements.push_back(placement);
  }
  return placements;
}

DesktopBitmapLayout LayOutDesktopBitmap(const std::vector<PixelRect>& monitors) {
  DesktopBitmapLayout bitmap;
  PixelRect around;
  bool first = true;
  for (const PixelRect& m : monitors) {
    if (m.Empty()) {
      continue;
    }
    around = first ? m
                   : PixelRect{std::min(around.left, m.left), std::min(around.top, m.top),
                               std::max(around.right, m.right), std::max(around.bottom, m.bottom)};
    first = false;
  }
  bitmap.width = around.Width();
  bitmap.height = around.Height();
  for (const PixelRect& m : monitors) {
    std::vector<BitmapPiece>& pieces = bitmap.pieces.emplace_back();
    if (m.Empty()) {
      continue;
    }
    for (const Run& row : Runs(m.top, m.bottom, bitmap.height)) {
      for (const Run& column : Runs(m.left, m.right, bitmap.width)) {
        pieces.push_back({{column.start - m.left, row.start - m.top,
                           column.start - m.left + column.length, row.start - m.top + row.length},
                          column.landing,
                          row.landing});
      }
    }
  }
  return bitmap;
}

std::vector<PixelRect> ScaledMonitors(const std::vector<PixelRect>& logical, int32_t logicalWidth,
                                      int32_t physicalWidth) {
  if (logicalWidth <= 0 || physicalWidth <= 0) {
    return logical;
  }
  std::vector<PixelRect> physical;
  physical.reserve(logical.size());
  for (const PixelRect& m : logical) {
    physical.push_back({Scaled(m.left, logicalWidth, physicalWidth),
                        Scaled(m.top, logicalWidth, physicalWidth),
                        Scaled(m.right, logicalWidth, physicalWidth),
                        Scaled(m.bottom, logicalWidth, physicalWidth)});
  }
  return physical;
}

}  // namespace seltane
