#include "mainwindow/PreviewPane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>

namespace seltane {
namespace {

constexpr PreviewOptions Both{true, true};
constexpr PreviewOptions CacheOnly{false, true};
constexpr PreviewOptions BufferOnly{true, false};
constexpr PreviewOptions Neither{false, false};

struct FakeScreen : PreviewScreen {
  void Show(std::shared_ptr<const Picture> picture) override { shown = std::move(picture); }
  void Redraw() override { ++redraws; }
  PictureSize Area() const override { return area; }

  std::shared_ptr<const Picture> shown;
  int redraws = 0;
  PictureSize area{100, 100};
};

// Decodes "pictures" named by their paths as a JPEG would be: reduced to
// the size wanted, or, not reduced, only the part wanted; or, for the paths
// in `wholeOnly`, whole with pixels that tell where they are, as a bitmap.
// Records every load.
struct FakeLoader : PreviewLoader {
  std::shared_ptr<const Picture> Load(const std::string& path, const DecodeOptions& wanted,
                                      PreviewLoad purpose) override {
    loads.emplace_back(path, purpose);
    if (unreadable.count(path) != 0) {
      return nullptr;
    }
    auto picture = std::make_shared<Picture>();
    const PictureSize stored = sizes.count(path) != 0 ? sizes[path] : PictureSize{40, 30};
    if (wholeOnly.count(path) != 0) {
      picture->stored = stored;
      picture->part = {0, 0, stored.width, stored.height};
      AllocatePixels(stored.width, stored.height, DefaultMaxPicturePixels, *picture);
      for (int32_t y = 0; y < stored.height; ++y) {
        for (int32_t x = 0; x < stored.width; ++x) {
          uint8_t* pixel = picture->pixels.get() + y * picture->Stride() + x * 4;
          pixel[0] = static_cast<uint8_t>(x);
          pixel[1] = static_cast<uint8_t>(y);
        }
      }
      names[picture.get()] = path;
      return picture;
    }
    const PictureSize drawn = wanted.drawnSize(stored);
    picture->stored = stored;
    picture->width = std::min(drawn.width, stored.width);
    picture->height = std::min(drawn.height, stored.height);
    picture->part = {0, 0, stored.width, stored.height};
    if (picture->width == stored.width && picture->height == stored.height && wanted.shownPart) {
      picture->part = wanted.shownPart(stored);
      picture->width = picture->part.width;
      picture->height = picture->part.height;
    }
    names[picture.get()] = path;
    return picture;
  }
  std::string Name(const std::shared_ptr<const Picture>& picture) {
    return picture ? names[picture.get()] : "";
  }
  int Count(PreviewLoad purpose) const {
    return static_cast<int>(std::count_if(
        loads.begin(), loads.end(), [&](const auto& load) { return load.second == purpose; }));
  }

  std::map<std::string, PictureSize> sizes;
  std::set<std::string> unreadable;
  std::set<std::string> wholeOnly;
  std::vector<std::pair<std::string, PreviewLoad>> loads;
  std::map<const Picture*, std::string> names;
};

struct Pane {
  explicit Pane(int rowCount = 5, uint64_t maxPixels = PreviewCopyPixels)
      : pane(screen, loader, maxPixels) {
    for (int row = 0; row < rowCount; ++row) {
      rows.push_back({"row" + std::to_string(row), "", 0, 0, 0, false});
    }
  }
  bool Select(int row) { return pane.Select(row, rows, options, nullptr); }
  std::string Shown() { return loader.Name(screen.shown); }

  FakeScreen screen;
  FakeLoader loader;
  PreviewPane pane;
  std::vector<kelWide> rows;
  PreviewOptions options = Both;
};

TEST(PreviewPane, SteppingDownShowsTheBufferedPictureAndSteppingBackSwapsTheCache) {
  Pane p;
  for (int row : {0, 1, 2}) {
    ASSERT_TRUE(p.Select(row));
    EXPECT_EQ(p.Shown(), "row" + std::to_string(row));
  }
  ASSERT_TRUE(p.Select(1));
  EXPECT_EQ(p.Shown(), "row1");
  EXPECT_EQ(p.pane.Indexes(), (PreviewIndexes{1, 2, 0}));
  // Only row 0 was decoded for the screen; each step buffered the next row,
  // and stepping back buffered the one above.
  EXPECT_EQ(p.loader.loads,
            (std::vector<std::pair<std::string, PreviewLoad>>{{"row0", PreviewLoad::Shown},
                                                              {"row1", PreviewLoad::Buffered},
                                                              {"row2", PreviewLoad::Buffered},
                                                              {"row3", PreviewLoad::Buffered},
                                                              {"row0", PreviewLoad::Buffered}}));
}

TEST(PreviewPane, NoRowIsBufferedPastTheEndsAndAJumpBackBuffersThePreviousRow) {
  Pane p(3);
  p.Select(1);
  p.Select(2);
  EXPECT_EQ(p.pane.Indexes().BufferedIndex, NoRow);
  p.Select(1);  // swapped back from the cache; moving up buffers row 0
  p.Select(0);
  EXPECT_EQ(p.Shown(), "row0");
  EXPECT_EQ(p.pane.Indexes().BufferedIndex, NoRow);
  EXPECT_EQ(p.loader.Count(PreviewLoad::Shown), 1);

  Pane jump(10);
  jump.Select(7);
  jump.Select(3);
  EXPECT_EQ(jump.loader.loads.back(),
            (std::pair<std::string, PreviewLoad>{"row2", PreviewLoad::Buffered}));
}

TEST(PreviewPane, TheOptionsDecideWhatIsKept) {
  struct Case {
    PreviewOptions options;
    int shownLoads;
    int bufferedLoads;
  };
  for (const Case& c :
       {Case{Both, 1, 2}, Case{CacheOnly, 2, 0}, Case{BufferOnly, 2, 2}, Case{Neither, 3, 0}}) {
    Pane p;
    p.options = c.options;
    for (int row : {0, 1, 0}) {
      p.Select(row);
    }
    EXPECT_EQ(p.Shown(), "row0");
    EXPECT_EQ(p.loader.Count(PreviewLoad::Shown), c.shownLoads);
    EXPECT_EQ(p.loader.Count(PreviewLoad::Buffered), c.bufferedLoads);
  }
}

TEST(PreviewPane, AFailedDecodeLeavesThePreviousPictureWholeAndChangesNothing) {
  Pane p;
  p.loader.unreadable = {"row2", "row4"};
  p.Select(0);
  p.Select(1);  // buffering row 2 fails quietly
  EXPECT_EQ(p.pane.Indexes().BufferedIndex, NoRow);
  const PreviewIndexes before = p.pane.Indexes();

  EXPECT_FALSE(p.Select(4));
  EXPECT_EQ(p.Shown(), "row1");
  EXPECT_EQ(p.screen.redraws, 1);  // over the rows drawn while it decoded
  EXPECT_EQ(p.pane.Indexes(), before);
  ASSERT_TRUE(p.Select(0));  // the cache is still there
  EXPECT_EQ(p.loader.Count(PreviewLoad::Shown), 2);
}

TEST(PreviewPane, AfterTheRowsChangeNoPictureIsTakenForAnotherRow) {
  Pane p;
  p.Select(0);
  p.Select(1);
  // Sorted: rows 1 and 2 traded places. The shown picture is row 2's now;
  // selecting row 1 shows that row's own picture, not the one shown at row
  // 1 before the sort.
  std::swap(p.rows[1], p.rows[2]);
  p.pane.RowsChanged(2);
  EXPECT_EQ(p.pane.Indexes(), (PreviewIndexes{2, NoRow, NoRow}));
  EXPECT_EQ(p.Shown(), "row1");
  p.Select(1);
  EXPECT_EQ(p.Shown(), "row2");
  // Nothing shown belongs to no row.
  Pane empty;
  empty.pane.RowsChanged(3);
  EXPECT_EQ(empty.pane.Indexes().ShownIndex, NoRow);
}

// Long random walks with the rows reordered and the options switched now
// and then: whatever is shown is the selected row's own picture.
TEST(PreviewPane, RandomWalksAlwaysShowTheSelectedRowsPicture) {
  std::mt19937 random(12345);
  Pane p(8);
  p.loader.unreadable = {"row3", "row6"};
  const PreviewOptions options[] = {Both, CacheOnly, BufferOnly, Neither};
  for (int step = 0; step < 4000; ++step) {
    const int event = static_cast<int>(random() % 20);
    if (event == 0) {
      std::shuffle(p.rows.begin(), p.rows.end(), random);
      const auto shown = std::find_if(p.rows.begin(), p.rows.end(), [&](const kelWide& row) {
        return row.FullPath == p.Shown();
      });
      p.pane.RowsChanged(shown != p.rows.end() ? static_cast<int>(shown - p.rows.begin()) : NoRow);
    } else if (event == 1) {
      p.options = options[random() % 4];
    }
    const int current = p.pane.Indexes().ShownIndex;
    int row = static_cast<int>(random() % 8);  // a jump
    if (current != NoRow && event < 10) {
      row = std::clamp(current + (event % 2 == 0 ? 1 : -1), 0, 7);
    }
    if (p.Select(row)) {
      ASSERT_EQ(p.Shown(), p.rows[row].FullPath) << "step " << step;
    }
    if (const int shown = p.pane.Indexes().ShownIndex; shown != NoRow) {
      ASSERT_EQ(p.Shown(), p.rows[shown].FullPath) << "step " << step;
    }
  }
}

TEST(PreviewPane, AGrownPaneDecodesTheShownPictureAgain) {
  Pane p(2);
  p.loader.sizes = {{"row0", {4000, 3000}}, {"row1", {50, 50}}};
  p.Select(0);
  EXPECT_EQ(p.screen.shown->width, 100);  // decoded for a 100 x 100 pane
  p.screen.area = {400, 400};
  p.pane.AreaChanged();
  EXPECT_EQ(p.loader.loads.back(),
            (std::pair<std::string, PreviewLoad>{"row0", PreviewLoad::Larger}));
  EXPECT_EQ(p.screen.shown->width, 400);
  EXPECT_EQ(p.screen.shown, p.pane.Shown());
  // Smaller again: nothing to decode.
  const std::size_t loads = p.loader.loads.size();
  p.screen.area = {200, 200};
  p.pane.AreaChanged();
  EXPECT_EQ(p.loader.loads.size(), loads);
  // The fullscreen preview asks for more without changing the pane.
  EXPECT_EQ(p.pane.ShownCovering(FittingIn({1024, 768}))->width, 1024);
  EXPECT_EQ(p.screen.shown->width, 400);
  // A picture shown whole is never decoded again.
  p.Select(1);
  p.screen.area = {800, 800};
  const std::size_t before = p.loader.loads.size();
  p.pane.AreaChanged();
  EXPECT_EQ(p.loader.loads.size(), before);
}

TEST(PreviewPane, APictureCoversWhatItWasDecodedForOrMore) {
  const DecodeOptions fit = FittingIn({100, 100});  // 4000 x 3000: 100 x 75
  DecodeOptions ownSize;
  ownSize.drawnSize = [](PictureSize stored) { return stored; };
  ownSize.shownPart = [](PictureSize) { return PicturePart{100, 100, 50, 50}; };
  const PicturePart whole{0, 0, 4000, 3000};
  struct Case {
    const char* name;
    PictureSize decoded;
    PicturePart part;
    const DecodeOptions& wanted;
    bool covers;
  };
  for (const Case& c : {
           Case{"reduced, large enough", {100, 75}, whole, fit, true},
           Case{"reduced, too small", {50, 38}, whole, fit, false},
           Case{"whole at its own size", {4000, 3000}, whole, ownSize, true},
           Case{"reduced, its own size wanted", {2000, 1500}, whole, ownSize, false},
           Case{"the part wanted", {50, 50}, {100, 100, 50, 50}, ownSize, true},
           Case{"a part beside it", {50, 50}, {120, 100, 50, 50}, ownSize, false},
           Case{"a part, the whole wanted", {50, 50}, {100, 100, 50, 50}, fit, false},
       }) {
    Picture picture;
    picture.stored = {4000, 3000};
    picture.width = c.decoded.width;
    picture.height = c.decoded.height;
    picture.part = c.part;
    EXPECT_EQ(Covers(picture, c.wanted), c.covers) << c.name;
  }
}

// Wants pictures 1000 wide, and notes how many loads there were each time it
// is told of a shown picture.
struct FakeFollower : PreviewFollower {
  explicit FakeFollower(const FakeLoader& loader) : loader(loader) {}
  PictureSize SizeFor(PictureSize, uint8_t) const override { return {1000, 750}; }
  void PictureShown() override { loadsWhenShown.push_back(loader.loads.size()); }

  const FakeLoader& loader;
  std::vector<std::size_t> loadsWhenShown;
};

TEST(PreviewPane, AFollowerGetsLargePicturesAndSeesEachBeforeTheNextRowIsBuffered) {
  Pane p(3);
  for (const char* row : {"row0", "row1", "row2"}) {
    p.loader.sizes[row] = {4000, 3000};
  }
  p.Select(0);  // for the pane alone, and row 1 buffered for it
  FakeFollower follower(p.loader);
  p.pane.Follow(&follower);
  // The buffered copy is too small now: decoded again, shown, then row 2
  // buffered large enough.
  p.Select(1);
  EXPECT_EQ(p.screen.shown->width, 1000);
  EXPECT_EQ(p.loader.loads[2], (std::pair<std::string, PreviewLoad>{"row1", PreviewLoad::Larger}));
  p.Select(2);
  EXPECT_EQ(p.screen.shown->width, 1000);
  EXPECT_EQ(follower.loadsWhenShown, (std::vector<std::size_t>{3, 4}));
  EXPECT_EQ(p.loader.Count(PreviewLoad::Shown), 1);

  // Asked for the shown part at its own size, the pane decodes that part
  // for the follower and keeps its own picture.
  DecodeOptions ownSize;
  ownSize.drawnSize = [](PictureSize stored) { return stored; };
  ownSize.shownPart = [](PictureSize) { return PicturePart{1488, 1116, 1024, 768}; };
  const auto part = p.pane.ShownCovering(ownSize);
  EXPECT_EQ(part->part, (PicturePart{1488, 1116, 1024, 768}));
  EXPECT_EQ(p.pane.Shown()->width, 1000);
  p.pane.Follow(nullptr);
  p.Select(1);  // from the cache, as it is
  EXPECT_EQ(follower.loadsWhenShown.size(), 2u);

  // Decoded for the screen while the follower covers the pane, nothing is
  // drawn in the pane as it decodes.
  p.options = Neither;
  p.pane.Follow(&follower);
  p.Select(0);
  EXPECT_EQ(p.loader.loads.back(),
            (std::pair<std::string, PreviewLoad>{"row0", PreviewLoad::ShownCovered}));
}

TEST(PreviewPane, ABufferedCopyIsReducedInProportionToCoverWhatIsDrawn) {
  auto picture = std::make_shared<Picture>();
  picture->stored = {3000, 2000};
  picture->part = {0, 0, 3000, 2000};
  ASSERT_EQ(AllocatePixels(150, 100, DefaultMaxPicturePixels, *picture), PictureError::None);
  const struct {
    PictureSize drawn;
    PictureSize expected;
  } cases[] = {
      {{96, 64}, {96, 64}},      // the drawn size itself: copied, not scaled, when drawn
      {{120, 40}, {120, 80}},    // the wider side decides; the height still covers
      {{200, 100}, {150, 100}},  // drawn larger: kept as decoded
  };
  for (const auto& c : cases) {
    DecodeOptions wanted;
    wanted.drawnSize = [drawn = c.drawn](PictureSize) { return drawn; };
    const auto reduced = ReducedToDrawn(picture, wanted);
    EXPECT_EQ(std::make_pair(reduced->width, reduced->height),
              std::make_pair(c.expected.width, c.expected.height));
    EXPECT_EQ(reduced->stored.width, 3000);
  }
  DecodeOptions small;
  small.drawnSize = [](PictureSize) { return PictureSize{10, 10}; };
  picture->part = {0, 0, 1500, 1000};  // a part is drawn at its own size
  EXPECT_EQ(ReducedToDrawn(picture, small), picture);
}

TEST(PreviewPane, NoCopyIsLargerThanTheLimit) {
  // 10,000 pixels a copy, a 100 x 100 pane, a follower that wants 1000 x 750.
  Pane p(2, 10000);
  p.loader.sizes = {{"row0", {4000, 3000}}, {"row1", {200, 150}}};
  p.loader.wholeOnly = {"row1"};
  FakeFollower follower(p.loader);
  p.pane.Follow(&follower);
  // Too large for the follower's size: decoded for the pane alone.
  p.Select(0);
  EXPECT_EQ(p.screen.shown->width, 100);
  // Decoded whole, over the limit: reduced to the pane's size.
  p.Select(1);
  EXPECT_EQ(p.screen.shown->width, 100);
  EXPECT_EQ(p.screen.shown->height, 75);

  // Centred at its own size, the follower gets the part it shows cut out.
  DecodeOptions centred;
  centred.drawnSize = [](PictureSize stored) { return stored; };
  centred.shownPart = [](PictureSize) { return PicturePart{50, 40, 80, 60}; };
  const auto part = p.pane.ShownCovering(centred);
  EXPECT_EQ(part->part, (PicturePart{50, 40, 80, 60}));
  ASSERT_EQ(part->width, 80);
  const uint8_t* last = part->pixels.get() + 59 * part->Stride() + 79 * 4;
  EXPECT_EQ(std::make_pair(int{last[0]}, int{last[1]}), std::make_pair(129, 99));
  // Stretched over a large screen it gets a copy reduced to the limit.
  const auto stretched = p.pane.ShownCovering(FittingIn({1000, 1000}));
  EXPECT_TRUE(stretched->Whole());
  EXPECT_GT(stretched->width, 100);
  EXPECT_LE(stretched->width * stretched->height, 10000);
}

}  // namespace
}  // namespace seltane
