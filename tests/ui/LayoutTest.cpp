#include "ui/Layout.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

constexpr LayoutSize Design{400, 300};

LayoutRect Place(uint8_t anchors, LayoutSize parent) {
  return AnchoredRect({1, {10, 20, 100, 50}, anchors}, Design, parent);
}

TEST(Layout, AnchorsDecideWhetherAControlMovesOrStretches) {
  const LayoutSize bigger{500, 360};
  EXPECT_EQ(Place(akLeft | akTop, bigger), (LayoutRect{10, 20, 100, 50}));
  EXPECT_EQ(Place(akLeft | akTop | akRight | akBottom, bigger), (LayoutRect{10, 20, 200, 110}));
  EXPECT_EQ(Place(akRight | akBottom, bigger), (LayoutRect{110, 80, 100, 50}));
  EXPECT_EQ(Place(akLeft | akRight | akTop, bigger), (LayoutRect{10, 20, 200, 50}));
  // Centred: the middle keeps its proportion (60 of 400 -> 75 of 500).
  EXPECT_EQ(Place(0, bigger).left, 75 - 50);
}

TEST(Layout, ShrinkingBelowTheDesignNeverGivesNegativeSizes) {
  const LayoutRect rect = Place(akLeft | akTop | akRight | akBottom, {50, 40});
  EXPECT_EQ(rect.width, 0);
  EXPECT_EQ(rect.height, 0);
  EXPECT_EQ(Place(akRight, {0, 0}).left, -390);
  EXPECT_EQ(AnchoredRect({1, {0, 0, 10, 10}, 0}, {0, 0}, {100, 100}).left, 0);
}

TEST(Layout, AtAHigherDpiTheTableIsScaledBeforeItIsAnchored) {
  // Two buttons that meet at 96 DPI still meet at 144 (edges are scaled, not
  // sizes), and a control anchored right keeps its scaled gap to the edge.
  const ControlPlacement table[] = {{1, {8, 8, 75, 25}, akLeft | akTop},
                                    {2, {83, 8, 75, 25}, akLeft | akTop},
                                    {3, {300, 8, 92, 25}, akRight | akTop}};
  const PlacedControls placed = PlaceControls(table, Design, {700, 500}, 144);
  EXPECT_EQ(placed[0].second, (LayoutRect{12, 12, 113, 38}));
  EXPECT_EQ(placed[1].second.left, placed[0].second.Right());
  EXPECT_EQ(placed[2].second.Right(), 700 - ScaleToDpi(8, 144));
  EXPECT_EQ(PlaceControls(table, Design, {400, 300}, DesignDpi)[2].second, table[2].rect);
  EXPECT_EQ(ScaleToDpi(-3, 144), -5);
}

TEST(Layout, WindowsAreKeptOnTheirMonitor) {
  const ScreenRect monitor{0, 0, 1024, 768};
  EXPECT_EQ(KeepOnMonitor({900, 700, 1732, 1161}, monitor).left, 192);
  EXPECT_EQ(KeepOnMonitor({-100, -50, 732, 411}, monitor), (ScreenRect{0, 0, 832, 461}));
  // Larger than the monitor: the left and top edges win.
  EXPECT_EQ(KeepOnMonitor({100, 100, 1300, 900}, monitor), (ScreenRect{0, 0, 1200, 800}));
  // A dialog centred over a window near the right edge stays on the screen.
  EXPECT_EQ(CentredOver({200, 100}, {100, 100, 300, 300}, monitor),
            (ScreenRect{100, 150, 300, 250}));
  EXPECT_EQ(CentredOver({200, 100}, {900, 0, 1100, 100}, monitor).right, 1024);
}

TEST(Layout, ANormalPositionNextToATaskbarComesBackWhereItWas) {
  // The system keeps a window's normal position relative to the work area:
  // with the taskbar at the top (40 high) or left (60 wide), a window at the
  // screen's (100, 100) is kept at (100 - 60, 100 - 40).
  const ScreenRect monitor{0, 0, 1024, 768};
  const ScreenRect work{60, 40, 1024, 768};
  EXPECT_EQ(WorkAreaToScreen({40, 60, 440, 360}, monitor, work), (ScreenRect{100, 100, 500, 400}));
  EXPECT_EQ(WorkAreaToScreen({40, 60, 440, 360}, monitor, monitor), (ScreenRect{40, 60, 440, 360}));
}

TEST(Layout, RadioItemsShareTheGroupBelowItsCaptionWithoutLeavingIt) {
  for (const auto& [group, count] :
       {std::pair{LayoutRect{8, 78, 212, 81}, 3}, std::pair{LayoutRect{8, 80, 210, 49}, 2}}) {
    for (int item = 0; item < count; ++item) {
      const LayoutRect rect = RadioItemRect(group, item, count);
      EXPECT_GE(rect.top, group.top + 13) << item;  // below the caption
      EXPECT_LE(rect.Bottom(), group.Bottom() - 2) << item;
      EXPECT_GE(rect.height, 15) << item;  // a check mark and a line of text
      EXPECT_EQ(rect.left, group.left + 8);
      if (item > 0) {
        EXPECT_EQ(rect.top, RadioItemRect(group, item - 1, count).Bottom());
      }
    }
  }
}

}  // namespace
}  // namespace seltane
