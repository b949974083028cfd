#include "mainwindow/PreviewBuffer.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace seltane {
namespace {

using Source = ShownPictureSource;

constexpr PreviewOptions Both{true, true};
constexpr PreviewOptions CacheOnly{false, true};
constexpr PreviewOptions BufferOnly{true, false};
constexpr PreviewOptions Neither{false, false};

// The preview pane as the window keeps it, with a "picture" being the name of
// the row it was decoded from. It carries out the plans the way the window
// does, so the tests can check which picture ends up where.
struct Pane {
  int rowCount = 5;
  PreviewOptions options = Both;
  std::set<int> unreadableRows;

  PreviewIndexes indexes;
  std::string shown, cache, buffer;
  int fileLoads = 0;

  bool Load(int row, std::string& into) {
    ++fileLoads;
    if (unreadableRows.count(row) != 0) {
      return false;
    }
    into = "row" + std::to_string(row);
    return true;
  }

  // Returns the plan it carried out, or the failure to show the row.
  PreviewPlan Select(int row, bool* shownLoaded = nullptr) {
    const PreviewPlan plan = PlanPreviewSelection(indexes, row, rowCount, options);
    std::string next;
    switch (plan.shownFrom) {
      case Source::LoadFile:
        if (!Load(row, next)) {
          if (shownLoaded != nullptr) {
            *shownLoaded = false;
          }
          return plan;
        }
        break;
      case Source::SwapWithCache:
        next = cache;
        break;
      case Source::CopyFromBuffer:
        next = buffer;
        break;
    }
    if (plan.shownFrom == Source::SwapWithCache || plan.copyShownToCache) {
      cache = shown;
    }
    shown = next;
    indexes = plan.after;
    if (plan.rowToBuffer != NoRow && !Load(plan.rowToBuffer, buffer)) {
      ForgetBufferedPicture(indexes);
    }
    if (shownLoaded != nullptr) {
      *shownLoaded = true;
    }
    return plan;
  }

  // Every index that names a row names the picture actually kept for it.
  void ExpectConsistent() const {
    ASSERT_NE(indexes.ShownIndex, NoRow);
    EXPECT_EQ(shown, "row" + std::to_string(indexes.ShownIndex));
    if (options.CasheImages && indexes.CachedIndex != NoRow) {
      EXPECT_EQ(cache, "row" + std::to_string(indexes.CachedIndex));
    }
    if (options.BufferImages && indexes.BufferedIndex != NoRow) {
      EXPECT_EQ(buffer, "row" + std::to_string(indexes.BufferedIndex));
    }
  }
};

TEST(PreviewBuffer, SteppingDownShowsTheBufferedPictureAndSteppingBackSwapsTheCache) {
  Pane pane;
  const PreviewPlan first = pane.Select(0);
  EXPECT_EQ(first.shownFrom, Source::LoadFile);
  EXPECT_FALSE(first.copyShownToCache);  // nothing shown before start-up
  // The first selection counts as moving down: i = 0 > CachedIndex = -1.
  EXPECT_EQ(first.rowToBuffer, 1);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{0, NoRow, 1}));

  for (int row : {1, 2}) {
    const PreviewPlan plan = pane.Select(row);
    EXPECT_EQ(plan.shownFrom, Source::CopyFromBuffer) << row;
    EXPECT_TRUE(plan.copyShownToCache) << row;
    EXPECT_EQ(plan.rowToBuffer, row + 1) << row;
    pane.ExpectConsistent();
  }
  EXPECT_EQ(pane.indexes, (PreviewIndexes{2, 1, 3}));

  const PreviewPlan back = pane.Select(1);
  EXPECT_EQ(back.shownFrom, Source::SwapWithCache);
  EXPECT_EQ(pane.indexes.CachedIndex, 2);
  EXPECT_EQ(pane.indexes.ShownIndex, 1);
  EXPECT_EQ(pane.indexes.BufferedIndex, 0);
  pane.ExpectConsistent();
  // Row 0 came from the file once and was buffered again; rows 1-3 once each.
  EXPECT_EQ(pane.fileLoads, 5);
}

TEST(PreviewBuffer, NoRowIsBufferedPastEitherEndOfTheList) {
  Pane pane;
  pane.rowCount = 3;
  pane.Select(1);
  const PreviewPlan last = pane.Select(2);
  EXPECT_EQ(last.rowToBuffer, NoRow);
  EXPECT_EQ(pane.indexes.BufferedIndex, NoRow);

  // Moving up from the last row buffers the one above, down to the first.
  EXPECT_EQ(pane.Select(1).shownFrom, Source::SwapWithCache);
  EXPECT_EQ(pane.indexes.BufferedIndex, 0);
  EXPECT_EQ(pane.Select(0).shownFrom, Source::CopyFromBuffer);
  EXPECT_EQ(pane.indexes.BufferedIndex, NoRow);
  pane.ExpectConsistent();

  Pane single;
  single.rowCount = 1;
  single.Select(0);
  EXPECT_EQ(single.indexes, (PreviewIndexes{0, NoRow, NoRow}));
}

TEST(PreviewBuffer, JumpingBackwardsBuffersThePreviousRow) {
  Pane pane;
  pane.rowCount = 10;
  pane.Select(7);
  const PreviewPlan jump = pane.Select(3);
  EXPECT_EQ(jump.shownFrom, Source::LoadFile);
  EXPECT_EQ(jump.rowToBuffer, 2);
  EXPECT_EQ(pane.Select(2).shownFrom, Source::CopyFromBuffer);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{2, 3, 1}));
  pane.ExpectConsistent();
}

TEST(PreviewBuffer, CacheOnlySwapsBackAndForthWithoutBuffering) {
  Pane pane;
  pane.options = CacheOnly;
  EXPECT_EQ(pane.Select(0).rowToBuffer, NoRow);
  EXPECT_EQ(pane.Select(1).shownFrom, Source::LoadFile);
  for (int row : {0, 1, 0}) {
    const PreviewPlan plan = pane.Select(row);
    EXPECT_EQ(plan.shownFrom, Source::SwapWithCache);
    EXPECT_FALSE(plan.copyShownToCache);
    pane.ExpectConsistent();
  }
  EXPECT_EQ(pane.indexes, (PreviewIndexes{0, 1, NoRow}));
  EXPECT_EQ(pane.fileLoads, 2);

  const PreviewPlan other = pane.Select(3);
  EXPECT_EQ(other.shownFrom, Source::LoadFile);
  EXPECT_TRUE(other.copyShownToCache);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{3, 0, NoRow}));
  pane.ExpectConsistent();
}

TEST(PreviewBuffer, BufferOnlyNeverTouchesTheCacheButTracksThePreviousRow) {
  Pane pane;
  pane.options = BufferOnly;
  pane.Select(2);
  const PreviewPlan down = pane.Select(3);
  EXPECT_EQ(down.shownFrom, Source::CopyFromBuffer);
  EXPECT_FALSE(down.copyShownToCache);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{3, 2, 4}));

  // Back to the previous row: no cache to swap with, so it is read again,
  // and the direction of travel is now upwards.
  const PreviewPlan back = pane.Select(2);
  EXPECT_EQ(back.shownFrom, Source::LoadFile);
  EXPECT_FALSE(back.copyShownToCache);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{2, 3, 1}));
  EXPECT_TRUE(pane.cache.empty());
  pane.ExpectConsistent();
}

TEST(PreviewBuffer, WithNeitherOptionOnlyTheShownRowChanges) {
  Pane pane;
  pane.options = Neither;
  for (int row : {0, 1, 0, 1}) {
    const PreviewPlan plan = pane.Select(row);
    EXPECT_EQ(plan.shownFrom, Source::LoadFile);
    EXPECT_FALSE(plan.copyShownToCache);
    EXPECT_EQ(plan.rowToBuffer, NoRow);
    EXPECT_EQ(pane.indexes, (PreviewIndexes{row, NoRow, NoRow}));
  }
  EXPECT_EQ(pane.fileLoads, 4);
}

TEST(PreviewBuffer, AFailedLoadOfTheShownPictureKeepsEverythingAsItWas) {
  Pane pane;
  pane.unreadableRows = {4};
  pane.Select(0);
  pane.Select(1);
  const PreviewIndexes before = pane.indexes;
  const std::string cacheBefore = pane.cache;

  bool loaded = true;
  pane.Select(4, &loaded);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(pane.indexes, before);
  EXPECT_EQ(pane.shown, "row1");
  EXPECT_EQ(pane.cache, cacheBefore);

  // The kept pictures are still used.
  EXPECT_EQ(pane.Select(0).shownFrom, Source::SwapWithCache);
  pane.ExpectConsistent();
}

TEST(PreviewBuffer, AFailedBufferLoadLeavesNoBufferedRow) {
  Pane pane;
  pane.unreadableRows = {2};
  pane.Select(1);
  EXPECT_EQ(pane.indexes.BufferedIndex, NoRow);

  bool loaded = true;
  pane.Select(2, &loaded);  // loaded from the file, which fails again
  EXPECT_FALSE(loaded);
  pane.unreadableRows.clear();
  EXPECT_EQ(pane.Select(2).shownFrom, Source::LoadFile);
  EXPECT_EQ(pane.indexes.BufferedIndex, 3);
  pane.ExpectConsistent();
}

TEST(PreviewBuffer, ForgettingAfterRowsChangeLoadsFromTheFileAgain) {
  Pane pane;
  pane.Select(0);
  pane.Select(1);
  ForgetBufferedAndCached(pane.indexes);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{1, NoRow, NoRow}));

  // The cached and buffered pictures are of rows that have moved: both rows
  // next to the shown one are read from their files now.
  EXPECT_EQ(pane.Select(0).shownFrom, Source::LoadFile);
  ForgetBufferedAndCached(pane.indexes);
  EXPECT_EQ(pane.Select(1).shownFrom, Source::LoadFile);
  EXPECT_EQ(pane.indexes, (PreviewIndexes{1, 0, 2}));
}

// A long random walk under every combination of options, with a few
// unreadable files: the indexes never name a picture that is not there.
TEST(PreviewBuffer, RandomWalksKeepIndexesAndPicturesTogether) {
  std::mt19937 random(12345);
  for (const PreviewOptions options : {Both, CacheOnly, BufferOnly, Neither}) {
    Pane pane;
    pane.options = options;
    pane.rowCount = 8;
    pane.unreadableRows = {3, 6};
    for (int step = 0; step < 2000; ++step) {
      const int move = static_cast<int>(random() % 5);
      const int current = pane.indexes.ShownIndex;
      int row = static_cast<int>(random() % 8);  // a jump
      if (current != NoRow && move < 2) {
        row = current == 7 ? 6 : current + 1;
      } else if (current != NoRow && move < 4) {
        row = current == 0 ? 1 : current - 1;
      }
      pane.Select(row);
      if (pane.indexes.ShownIndex != NoRow) {
        pane.ExpectConsistent();
      }
      if (testing::Test::HasFailure()) {
        FAIL() << "step " << step << " row " << row;
      }
    }
  }
}

}  // namespace
}  // namespace seltane
