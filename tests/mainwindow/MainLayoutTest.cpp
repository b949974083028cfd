#include "mainwindow/MainLayout.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

LayoutRect Find(const MainLayout& layout, int id) {
  for (const auto& [controlId, rect] : layout.rightPanel) {
    if (controlId == id) {
      return rect;
    }
  }
  ADD_FAILURE() << "no control " << id;
  return {};
}

TEST(MainLayout, NoPartOverlapsAnotherAndEverythingIsInsideAtEveryDpi) {
  // The default window (832 wide) at 96 and 144 DPI, and one made as
  // narrow as it may be.
  struct Case {
    LayoutSize client;
    int dpi;
    int statusHeight;
  };
  for (const Case& c :
       {Case{{816, 530}, 96, 22}, Case{{816, 530}, 144, 31}, Case{{1240, 800}, 144, 31}}) {
    const MainLayout layout = ComputeMainLayout({c.client, 265, c.statusHeight, {40, 52}, c.dpi});
    std::vector<LayoutRect> parts = {layout.list};
    for (const auto& [id, rect] : layout.rightPanel) {
      // The style box's height is its drop-down list; its closed height is
      // set by its font.
      parts.push_back(id == idStyleComboBox
                          ? LayoutRect{rect.left, rect.top, rect.width, ScaleToDpi(21, c.dpi)}
                          : rect);
    }
    for (std::size_t a = 0; a < parts.size(); ++a) {
      EXPECT_GE(parts[a].left, 0);
      EXPECT_LE(parts[a].Right(), c.client.width) << a;
      EXPECT_LE(parts[a].Bottom(), c.client.height - c.statusHeight) << a;
      for (std::size_t b = a + 1; b < parts.size(); ++b) {
        EXPECT_FALSE(Overlap(parts[a], parts[b])) << a << " " << b << " at " << c.dpi;
      }
    }
    EXPECT_EQ(Find(layout, idAddBtn).height, ScaleToDpi(25, c.dpi));
    EXPECT_EQ(layout.list.Right() + layout.splitterWidth,
              Find(layout, idAddBtn).left - ScaleToDpi(8, c.dpi));
    // The progress bar lies over "Set as wallpaper".
    EXPECT_EQ(layout.progressBar, Find(layout, idSetBtn));
  }
}

TEST(MainLayout, AMinimisedOrNarrowWindowOnlyClampsTheLeftPanel) {
  // Minimised: a client area of 0 x 0 places nothing below zero size.
  const MainLayout minimised = ComputeMainLayout({{0, 0}, 265, 22, {}, 96});
  EXPECT_EQ(minimised.list.height, 0);
  for (const auto& [id, rect] : minimised.rightPanel) {
    EXPECT_GE(rect.width, 0) << id;
    EXPECT_GE(rect.height, 0) << id;
  }
  // Narrow: each side keeps its 50 pixels (75 at 144 DPI).
  EXPECT_EQ(ComputeMainLayout({{300, 300}, 265, 22, {}, 96}).list.width, 300 - 4 - 50);
  EXPECT_EQ(ComputeMainLayout({{300, 300}, 10, 22, {}, 96}).list.width, 50);
  EXPECT_EQ(ClampLeftPanelWidth(10, 1000, 144), 75);
  EXPECT_EQ(ComputeMainLayout({{1000, 300}, 265, 22, {}, 96}).list.width, 265);
}

TEST(MainLayout, StatusPanelsAreAsWideAsTheirTextsAndAtLeastTheirDesign) {
  const int margin = StatusTextMargin;
  // Short texts: 60 and 60; the path panel takes the rest of the bar.
  EXPECT_EQ(ComputeMainLayout({{800, 500}, 265, 22, {20, 30}, 96}).statusEdges,
            (std::array<int, 3>{60, 120, -1}));
  // "65535/65535" and "1600x1200" wider than 60 get their own widths.
  EXPECT_EQ(ComputeMainLayout({{800, 500}, 265, 22, {70, 55}, 96}).statusEdges,
            (std::array<int, 3>{70 + margin, 70 + 55 + 2 * margin, -1}));
  EXPECT_EQ(ComputeMainLayout({{800, 500}, 265, 22, {20, 30}, 144}).statusEdges[0], 90);
}

}  // namespace
}  // namespace seltane
