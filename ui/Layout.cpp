#include "ui/Layout.h"

#include <algorithm>

namespace seltane {
namespace {

// Places one axis: the start and length of the control along it.
void PlaceAxis(int& start, int& length, bool nearAnchor, bool farAnchor, int designParent,
               int parent) {
  const int farGap = designParent - (start + length);
  if (nearAnchor && farAnchor) {
    length = std::max(0, parent - start - farGap);
  } else if (farAnchor) {
    start = parent - farGap - length;
  } else if (!nearAnchor && designParent > 0) {
    const int centre = start + length / 2;
    start = static_cast<int>(static_cast<long long>(centre) * parent / designParent) - length / 2;
  }
}

}  // namespace

int ScaleToDpi(int length, int dpi) {
  if (dpi == DesignDpi) {
    return length;
  }
  const long long scaled = static_cast<long long>(length) * dpi;
  const long long half = DesignDpi / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / DesignDpi : (scaled - half) / DesignDpi);
}

LayoutRect ScaleToDpi(const LayoutRect& rect, int dpi) {
  // The edges are scaled, not the sizes, so that controls that meet at 96
  // DPI still meet.
  const int left = ScaleToDpi(rect.left, dpi);
  const int top = ScaleToDpi(rect.top, dpi);
  return {left, top, ScaleToDpi(rect.Right(), dpi) - left, ScaleToDpi(rect.Bottom(), dpi) - top};
}

LayoutSize ScaleToDpi(LayoutSize size, int dpi) {
  return {ScaleToDpi(size.width, dpi), ScaleToDpi(size.height, dpi)};
}

LayoutRect RadioItemRect(const LayoutRect& group, int index, int count) {
  // The caption's text is 13 pixels high at 96 DPI; the items start below
  // it and take what is left, less the frame, in equal rows, the remainder
  // split above and below them.
  constexpr int CaptionHeight = 13;
  constexpr int ItemIndent = 8;
  count = std::max(count, 1);
  const int room = std::max(0, group.height - CaptionHeight - 5);
  const int itemHeight = room / count;
  const int top = CaptionHeight + 1 + (room % count) / 2;
  return {group.left + ItemIndent, group.top + top + index * itemHeight,
          std::max(0, group.width - 2 * ItemIndent), itemHeight};
}

LayoutRect AnchoredRect(const ControlPlacement& control, LayoutSize design, LayoutSize parent) {
  LayoutRect rect = control.rect;
  PlaceAxis(rect.left, rect.width, control.anchors & akLeft, control.anchors & akRight,
            design.width, parent.width);
  PlaceAxis(rect.top, rect.height, control.anchors & akTop, control.anchors & akBottom,
            design.height, parent.height);
  return rect;
}

PlacedControls PlaceControls(std::span<const ControlPlacement> controls, LayoutSize design,
                             LayoutSize parent, int dpi) {
  const LayoutSize scaledDesign = ScaleToDpi(design, dpi);
  PlacedControls placed;
  placed.reserve(controls.size());
  for (const ControlPlacement& control : controls) {
    const ControlPlacement scaled{control.id, ScaleToDpi(control.rect, dpi), control.anchors};
    placed.emplace_back(control.id, AnchoredRect(scaled, scaledDesign, parent));
  }
  return placed;
}

ScreenRect KeepOnMonitor(ScreenRect window, const ScreenRect& monitor) {
  auto shift = [](int& low, int& high, int monitorLow, int monitorHigh) {
    if (high > monitorHigh) {
      low -= high - monitorHigh;
      high = monitorHigh;
    }
    if (low < monitorLow) {
      high += monitorLow - low;
      low = monitorLow;
    }
  };
  shift(window.left, window.right, monitor.left, monitor.right);
  shift(window.top, window.bottom, monitor.top, monitor.bottom);
  return window;
}

ScreenRect CentredOver(LayoutSize window, const ScreenRect& owner, const ScreenRect& monitor) {
  const int left = (owner.left + owner.right - window.width) / 2;
  const int top = (owner.top + owner.bottom - window.height) / 2;
  return KeepOnMonitor({left, top, left + window.width, top + window.height}, monitor);
}

ScreenRect WorkAreaToScreen(ScreenRect normal, const ScreenRect& monitor, const ScreenRect& work) {
  const int dx = work.left - monitor.left;
  const int dy = work.top - monitor.top;
  return {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
}

}  // namespace seltane
