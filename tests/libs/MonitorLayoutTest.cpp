#include "libs/common/MonitorLayout.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

const PixelRect Primary{0, 0, 1920, 1080};
const PixelRect LeftLower{-1280, 200, 0, 1224};   // 1280 x 1024, left of the primary
const PixelRect AboveAcross{-500, -768, 524, 0};  // 1024 x 768, above, across its left edge

// Each monitor gets the picture at its own size, inside its own rectangle:
// never one layout stretched over the gap between monitors.
TEST(MonitorLayout, PictureFillsEachMonitorInItsStyle) {
  struct Case {
    const char* name;
    std::vector<PixelRect> monitors;
    int32_t width, height;
    uint8_t style;
    std::vector<PixelRect> shown;
  };
  for (const Case& c : {
           Case{"one monitor, stretch", {Primary}, 10, 10, wsStretch, {Primary}},
           Case{"centred on each",
                {Primary, LeftLower},
                1000,
                500,
                wsCenter,
                {{460, 290, 1460, 790}, {-1140, 462, -140, 962}}},
           Case{"fit screen at each size",
                {Primary, LeftLower},
                4000,
                1000,
                wsFitScreen,
                {{0, 300, 1920, 780}, {-1280, 552, 0, 872}}},
           Case{"larger than a monitor: cut at its edges",
                {Primary, AboveAcross},
                3000,
                2000,
                wsCenter,
                {Primary, AboveAcross}},
           Case{"tiled over each whole monitor",
                {LeftLower, Primary},
                7,
                3,
                wsTile,
                {LeftLower, Primary}},
           Case{"no pixels: shown nowhere", {Primary}, 0, 0, wsFitWidth, {{}}},
       }) {
    const std::vector<MonitorPlacement> placements =
        LayOutOnMonitors(c.monitors, c.width, c.height, c.style);
    ASSERT_EQ(placements.size(), c.monitors.size()) << c.name;
    for (std::size_t i = 0; i < placements.size(); ++i) {
      EXPECT_EQ(placements[i].monitor, c.monitors[i]) << c.name << " " << i;
      EXPECT_EQ(placements[i].picture, c.shown[i]) << c.name << " " << i;
      EXPECT_EQ(placements[i].layout, LayOutWallpaper(c.monitors[i].Width(), c.monitors[i].Height(),
                                                      c.width, c.height, c.style))
          << c.name << " " << i;
    }
  }
}

// The bitmap shown tiled from the primary's corner: every monitor's pixels
// land once, inside the bitmap, on no other monitor's.
TEST(MonitorLayout, DesktopBitmapWrapsMonitorsLeftOfAndAboveThePrimary) {
  using Pieces = std::vector<BitmapPiece>;
  struct Case {
    std::vector<PixelRect> monitors;
    DesktopBitmapLayout expected;
  };
  for (const Case& c : {
           Case{{Primary}, {1920, 1080, {Pieces{{{0, 0, 1920, 1080}, 0, 0}}}}},
           Case{{Primary, {1920, 0, 3200, 1024}},
                {3200, 1080, {Pieces{{Primary, 0, 0}}, Pieces{{{0, 0, 1280, 1024}, 1920, 0}}}}},
           Case{{Primary, LeftLower},
                {3200, 1224, {Pieces{{Primary, 0, 0}}, Pieces{{{0, 0, 1280, 1024}, 1920, 200}}}}},
           Case{{AboveAcross, Primary},
                {2420,
                 1848,
                 {Pieces{{{0, 0, 500, 768}, 1920, 1080}, {{500, 0, 1024, 768}, 0, 1080}},
                  Pieces{{Primary, 0, 0}}}}},
           Case{{Primary, LeftLower, AboveAcross, {1920, -300, 2720, 300}}, {}},
       }) {
    const DesktopBitmapLayout bitmap = LayOutDesktopBitmap(c.monitors);
    if (!c.expected.pieces.empty()) {
      EXPECT_EQ(bitmap, c.expected) << c.monitors.size();
    }
    ASSERT_EQ(bitmap.pieces.size(), c.monitors.size());
    std::vector<std::vector<bool>> taken(static_cast<std::size_t>(bitmap.height),
                                         std::vector<bool>(static_cast<std::size_t>(bitmap.width)));
    for (std::size_t m = 0; m < c.monitors.size(); ++m) {
      int64_t area = 0;
      for (const BitmapPiece& p : bitmap.pieces[m]) {
        area += int64_t{p.inMonitor.Width()} * p.inMonitor.Height();
        ASSERT_TRUE(p.x >= 0 && p.y >= 0 && p.x + p.inMonitor.Width() <= bitmap.width &&
                    p.y + p.inMonitor.Height() <= bitmap.height);
        // Where the system shows this bitmap pixel is where the monitor has it.
        EXPECT_EQ((c.monitors[m].left + p.inMonitor.left - p.x) % bitmap.width, 0);
        EXPECT_EQ((c.monitors[m].top + p.inMonitor.top - p.y) % bitmap.height, 0);
        for (int32_t y = p.y; y < p.y + p.inMonitor.Height(); y += 4) {
          for (int32_t x = p.x; x < p.x + p.inMonitor.Width(); x += 4) {
            EXPECT_FALSE(taken[y][x]) << m << " at " << x << "," << y;
            taken[y][x] = true;
          }
        }
      }
      EXPECT_EQ(area, int64_t{c.monitors[m].Width()} * c.monitors[m].Height()) << m;
    }
  }
}

// Rectangles a program unaware of the scaling was told (150 %), also left of
// and above the primary, come back at their physical size and still touch.
TEST(MonitorLayout, LogicalMonitorsAreScaledEdgeByEdge) {
  EXPECT_EQ(
      ScaledMonitors({{0, 0, 1280, 720}, {-853, -480, 0, 0}, {1280, 0, 2133, 480}}, 1280, 1920),
      (std::vector<PixelRect>{{0, 0, 1920, 1080}, {-1280, -720, 0, 0}, {1920, 0, 3200, 720}}));
  EXPECT_EQ(ScaledMonitors({Primary}, 0, 1920), std::vector<PixelRect>{Primary});
}

}  // namespace
}  // namespace seltane
