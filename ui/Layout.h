// Where a window's controls go: each control keeps the distances to the
// edges it is anchored to, and every length is designed at 96 dots per inch
// and scaled to the window's DPI.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
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
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
  int width = 0;
  int height = 0;
  bool operator==(const LayoutSize&) const = default;
};

// One control as designed: its id, its rectangle in a parent of the design
// size at 96 DPI, and the edges it follows.
struct ControlPlacement {
  int id = 0;
  LayoutRect rect;
  uint8_t anchors = akLeft | akTop;
};

// The DPI the windows are designed at.
inline constexpr int DesignDpi = 96;

// A length designed at 96 DPI, at the given DPI (rounded to the nearest
// pixel).
int ScaleToDpi(int length, int dpi);
LayoutRect ScaleToDpi(const LayoutRect& rect, int dpi);
LayoutSize ScaleToDpi(LayoutSize size, int dpi);

// The control's rectangle in a parent of the given size. Anchored to both
// opposite edges it stretches; to the far edge only it moves; to neither it
// keeps its centre at the same proportion. Sizes never go below zero.
LayoutRect AnchoredRect(const ControlPlacement& control, LayoutSize design, LayoutSize parent);

using PlacedControls = std::vector<std::pair<int, LayoutRect>>;

// Every control of a table in a parent of the given size (in pixels at
// `dpi`): the table and its design size are scaled to the DPI first, then
// each control follows its anchors.
PlacedControls PlaceControls(std::span<const ControlPlacement> controls, LayoutSize design,
                             LayoutSize parent, int dpi);

// The place of item `index` of `count` in a radio group (a group box with
// its caption on the top edge) at `group`: one column, the items sharing the
// height below the caption evenly, 8 pixels in from the left.
LayoutRect RadioItemRect(const LayoutRect& group, int index, int count);

// A rectangle on the screen by its edges.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

// Moves a window so that it lies on its monitor: a right or bottom edge past
// the monitor's is brought back to it, then a left or top edge before the
// monitor's.
ScreenRect KeepOnMonitor(ScreenRect window, const ScreenRect& monitor);

// A window of the given size centred over another, then kept on the monitor.
ScreenRect CentredOver(LayoutSize window, const ScreenRect& owner, const ScreenRect& monitor);

// A window's normal position as the system keeps it (relative to the work
// area of its monitor, which a taskbar at the top or left shifts) on the
// screen.
ScreenRect WorkAreaToScreen(ScreenRect normal, const ScreenRect& monitor, const ScreenRect& work);

}  // namespace seltane
