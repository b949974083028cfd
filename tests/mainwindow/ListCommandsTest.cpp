#include "mainwindow/ListCommands.h"

#include <gtest/gtest.h>

#include "data/ListState.h"

namespace seltane {
namespace {

std::vector<kelWide> Pictures(std::vector<std::pair<std::string, uint8_t>> paths) {
  ListState state;
  for (auto& [path, style] : paths) {
    state.AddPictureEntry(path, style, 0, 0, style % 2 == 0);
  }
  return state.PictureList;
}

std::vector<std::string> Paths(const std::vector<kelWide>& pictures) {
  std::vector<std::string> paths;
  for (const kelWide& picture : pictures) {
    paths.push_back(picture.FullPath);
  }
  return paths;
}

TEST(ListCommands, HeaderMarkersFollowTheClicks) {
  std::array<std::string, ListColumnCount> headers = {"File name", "Style", "Full path"};
  SortState sort;
  ApplyColumnClick(sort, headers, lcStyle);
  EXPECT_EQ(headers[1], "Style +");
  ApplyColumnClick(sort, headers, lcStyle);
  EXPECT_EQ(headers[1], "Style -");
  EXPECT_FALSE(sort.SortAscending);
  ApplyColumnClick(sort, headers, lcFullPath);
  EXPECT_EQ(headers, (std::array<std::string, 3>{"File name", "Style", "Full path +"}));
  EXPECT_TRUE(sort.SortAscending);
  EXPECT_EQ(sort.SortColumn, lcFullPath);
}

TEST(ListCommands, SortingKeepsEachPictureWholeAndEqualKeysInOrder) {
  auto pictures = Pictures({{"C:\\b\\Zed.jpg", 3},
                            {"C:\\a\\apple.jpg", 0},
                            {"D:\\Apple.jpg", 3},
                            {"C:\\c\\mid.jpg", 1}});
  EXPECT_EQ(SortPictures(pictures, {lcFileName, true}), (std::vector<uint32_t>{1, 2, 3, 0}));
  EXPECT_EQ(Paths(pictures), (std::vector<std::string>{"C:\\a\\apple.jpg", "D:\\Apple.jpg",
                                                       "C:\\c\\mid.jpg", "C:\\b\\Zed.jpg"}));
  EXPECT_EQ(pictures[3].Style, 3);
  EXPECT_FALSE(pictures[3].Used);
  SortPictures(pictures, {lcStyle, false});
  EXPECT_EQ(Paths(pictures), (std::vector<std::string>{"D:\\Apple.jpg", "C:\\b\\Zed.jpg",
                                                       "C:\\c\\mid.jpg", "C:\\a\\apple.jpg"}));
  SortPictures(pictures, {lcFullPath, true});
  EXPECT_EQ(pictures.front().FullPath, "C:\\a\\apple.jpg");
  EXPECT_EQ(pictures.back().FullPath, "D:\\Apple.jpg");
}

TEST(ListCommands, DeletingSelectsTheRowThatTookThePlace) {
  auto pictures = Pictures({{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}, {"e", 0}});
  EXPECT_EQ(DeleteRows(pictures, {3, 1}), 1);
  EXPECT_EQ(Paths(pictures), (std::vector<std::string>{"a", "c", "e"}));
  EXPECT_EQ(DeleteRows(pictures, {2}), 1);  // the last row: the new last one
  EXPECT_EQ(DeleteRows(pictures, {}), -1);
  EXPECT_EQ(DeleteRows(pictures, {7, -1}), -1);
  EXPECT_EQ(pictures.size(), 2u);
  EXPECT_EQ(DeleteRows(pictures, {0, 1, 1}), -1);
  EXPECT_TRUE(pictures.empty());
  // Where the other rows go: rows 1 and 3 of five removed.
  std::vector<int> places;
  for (int row = -1; row < 5; ++row) {
    places.push_back(RowAfterRemoving({1, 3}, row));
  }
  EXPECT_EQ(places, (std::vector<int>{-1, 0, -1, 1, -1, 2}));
}

TEST(ListCommands, MovingStopsAtTheEnds) {
  auto pictures = Pictures({{"a", 0}, {"b", 1}, {"c", 2}});
  EXPECT_EQ(MoveRowUp(pictures, 0), -1);
  EXPECT_EQ(MoveRowDown(pictures, 2), -1);
  EXPECT_EQ(MoveRowDown(pictures, 0), 1);
  EXPECT_EQ(MoveRowUp(pictures, 2), 1);
  EXPECT_EQ(Paths(pictures), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(pictures[2].Style, 0);
  EXPECT_EQ(MoveRowUp(pictures, 9), -1);
}

TEST(ListCommands, SeveralRowsMoveTogetherAndStopAtTheEnds) {
  struct Case {
    std::vector<int> rows;
    bool up;
    std::vector<std::string> paths;  // empty: nothing moved
  };
  for (const Case& c : {
           Case{{1, 2}, true, {"b", "c", "a", "d", "e"}},
           Case{{1, 2}, false, {"a", "d", "b", "c", "e"}},
           Case{{0, 2, 4}, true, {"a", "c", "b", "e", "d"}},   // the first stays, gaps close
           Case{{0, 1, 4}, false, {"c", "a", "b", "d", "e"}},  // the last stays
           Case{{0, 1}, true, {}},
           Case{{3, 4, 9, -1}, false, {}},
       }) {
    auto pictures = Pictures({{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}, {"e", 0}});
    const std::vector<uint32_t> order = MoveRows(pictures, c.rows, c.up);
    if (c.paths.empty()) {
      EXPECT_TRUE(order.empty());
      EXPECT_EQ(Paths(pictures), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
      continue;
    }
    EXPECT_EQ(Paths(pictures), c.paths);
    ASSERT_EQ(order.size(), 5u);
    for (std::size_t row = 0; row < order.size(); ++row) {
      EXPECT_EQ(pictures[row].FullPath, std::string(1, static_cast<char>('a' + order[row])));
    }
  }
}

TEST(ListCommands, TextsOfTheWindow) {
  const auto pictures = Pictures({{"C:\\p\\sun.set.jpg", 5}});
  EXPECT_EQ(RowCaption(pictures[0], true), "sun.set.jpg");
  EXPECT_EQ(RowCaption(pictures[0], false), "sun.set");
  EXPECT_EQ(StyleText(pictures[0].Style), "fit screen");
  EXPECT_EQ(StyleText(9), "");
  EXPECT_EQ(PreviewCaption("sunset.jpg", "[default]"), "Seltane - sunset.jpg - [default]");
  EXPECT_NE(MissingListQuestion("C:\\a.lst", "D:\\kel\\a.lst").find("But file D:\\kel\\a.lst"),
            std::string::npos);
}

}  // namespace
}  // namespace seltane
