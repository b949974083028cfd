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

LayoutRect AnchoredRect(const ControlPlacement& control, LayoutSize design, LayoutSize parent) {
  LayoutRect rect = control.rect;
  PlaceAxis(rect.left, rect.width, control.anchors & akLeft, control.anchors & akRight,
            design.width, parent.width);
  PlaceAxis(rect.top, rect.height, control.anchors & akTop, control.anchors & akBottom,
            design.height, parent.height);
  return rect;
}

}  // namespace seltane
