// Which decoded picture the preview pane shows, buffers and caches.
//
// Besides the shown picture the pane may keep two more: the buffer, holding
// the row next in the direction of travel, loaded in advance (option
// BufferImages), and the cache, holding the picture shown before (option
// CasheImages). Stepping through a list then mostly shows a picture already
// decoded, and stepping back swaps the previous one in.
//
// The bookkeeping is planned here; the window only carries the plan out:
//   1. Fill the shown picture as `shownFrom` says. For LoadFile, decode into a
//      new picture first; when that fails, stop and keep the indexes as they
//      were (the shown, cached and buffered pictures are all untouched).
//   2. When `copyShownToCache` is set, copy the shown picture into the cache,
//      then put the new picture in place (from the file or the buffer).
//   3. Commit `after` as the new indexes.
//   4. When `rowToBuffer` is not NoRow, load that row's file into the buffer;
//      when that fails, call ForgetBufferedPicture.
#pragma once

namespace seltane {

inline constexpr int NoRow = -1;

// Rows of the list the three pictures belong to; NoRow when there is none.
struct PreviewIndexes {
  int ShownIndex = NoRow;
  int CachedIndex = NoRow;
  int BufferedIndex = NoRow;

  bool operator==(const PreviewIndexes&) const = default;
};

struct PreviewOptions {
  bool BufferImages = false;
  bool CasheImages = false;
};

enum class ShownPictureSource {
  LoadFile,        // decode the selected row's file
  SwapWithCache,   // exchange the shown and the cached picture
  CopyFromBuffer,  // take the buffered picture
};

struct PreviewPlan {
  ShownPictureSource shownFrom = ShownPictureSource::LoadFile;
  bool copyShownToCache = false;  // keep the picture shown so far as the cache
  int rowToBuffer = NoRow;        // load this row into the buffer afterwards
  PreviewIndexes after;           // the indexes once the shown picture is in place
};

// What selecting `row` (0 <= row < rowCount) does to the preview pictures.
PreviewPlan PlanPreviewSelection(const PreviewIndexes& current, int row, int rowCount,
                                 PreviewOptions options);

// The buffered row could not be loaded: there is no buffered picture.
void ForgetBufferedPicture(PreviewIndexes& indexes);

// Rows were deleted, moved or sorted, or another list was opened: the
// buffered and cached pictures no longer belong to the rows they were for.
// Also needed when the options change: with the cache off, CachedIndex still
// follows the previous row while the cached picture is left behind.
void ForgetBufferedAndCached(PreviewIndexes& indexes);

}  // namespace seltane
