#include "mainwindow/PreviewBuffer.h"

namespace seltane {

PreviewPlan PlanPreviewSelection(const PreviewIndexes& current, int row, int rowCount,
                                 PreviewOptions options) {
  PreviewPlan plan;
  plan.after = current;
  plan.after.ShownIndex = row;
  if (!options.BufferImages && !options.CasheImages) {
    return plan;  // a plain load; the other pictures are not kept up
  }

  if (options.CasheImages && row == current.CachedIndex) {
    plan.shownFrom = ShownPictureSource::SwapWithCache;
  } else {
    plan.copyShownToCache = options.CasheImages && current.ShownIndex != NoRow;
    if (options.BufferImages && row == current.BufferedIndex) {
      plan.shownFrom = ShownPictureSource::CopyFromBuffer;
    }
  }
  // Also without the cache: the previous row tells the direction of travel.
  plan.after.CachedIndex = current.ShownIndex;

  if (options.BufferImages) {
    // Moving down buffers the next row; moving up, or jumping back to the
    // row shown before, buffers the previous one.
    const int next = row > plan.after.CachedIndex ? row + 1 : row - 1;
    plan.rowToBuffer = next >= 0 && next < rowCount ? next : NoRow;
    plan.after.BufferedIndex = plan.rowToBuffer;
  }
  return plan;
}

void ForgetBufferedPicture(PreviewIndexes& indexes) {
  indexes.BufferedIndex = NoRow;
}

void ForgetBufferedAndCached(PreviewIndexes& indexes) {
  indexes.BufferedIndex = NoRow;
  indexes.CachedIndex = NoRow;
}

}  // namespace seltane
