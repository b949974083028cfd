// Where a window's controls go when it is resized: each control keeps the
// distances to the edges it is anchored to.
#pragma once

#include <cstdint>
#include <vector>

namespace seltane {

enum Anchor : uint8_t {
  akLeft = 1,
  akTop = 2,
  akRight = 4,
  akBottom = 8,
};

struct LayoutRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
  int width = 0;
  int height = 0;
};

// One control as designed: its id, its rectangle in a parent of the design
// size, and the edges it follows.
struct ControlPlacement {
  int id = 0;
  LayoutRect rect;
  uint8_t anchors = akLeft | akTop;
};

// The control's rectangle in a parent of the given size. Anchored to both
// opposite edges it stretches; to the far edge only it moves; to neither it
// keeps its centre at the same proportion. Sizes never go below zero.
LayoutRect AnchoredRect(const ControlPlacement& control, LayoutSize design, LayoutSize parent);

}  // namespace seltane
