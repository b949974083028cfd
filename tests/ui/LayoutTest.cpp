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

}  // namespace
}  // namespace seltane
