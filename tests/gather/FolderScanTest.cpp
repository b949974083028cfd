#include "gather/FolderScan.h"

#include <gtest/gtest.h>

#include <map>

#include "data/ListState.h"

namespace seltane {
namespace {

// A folder tree in memory: folder path -> entries in listing order.
struct Tree {
  std::map<std::string, std::vector<FolderEntry>> folders;
  std::vector<std::string> notFound;
  std::vector<std::pair<std::size_t, std::size_t>> progress;

  FolderScanEvents Events() {
    return {
        [this](const std::string& folder) { return folders.count(folder) != 0; },
        [this](const std::string& folder) -> std::optional<std::vector<FolderEntry>> {
          const auto found = folders.find(folder);
          if (found == folders.end()) {
            return std::nullopt;
          }
          return found->second;
        },
        [this](const std::string& folder) { notFound.push_back(folder); },
        [this](std::size_t queued, std::size_t count) { progress.emplace_back(queued, count); }};
  }
};

TEST(FolderScan, OnlyTheThreeExtensionsAreTakenAndFoldersAreSearched) {
  Tree tree;
  tree.folders["C:\\R"] = {{".", true},          {"..", true},     {"A.JPG", false},
                           {"b.Jpeg", false},    {"c.bmp", false}, {"d.gif", false},
                           {"e.jpg.txt", false}, {"x.jpg", true}};
  tree.folders["C:\\R\\x.jpg"] = {{"inner.jpg", false}};
  EXPECT_EQ(ScanFolderTrees({"C:\\R"}, tree.Events()),
            (std::vector<std::string>{"C:\\R\\A.JPG", "C:\\R\\b.Jpeg", "C:\\R\\c.bmp",
                                      "C:\\R\\x.jpg\\inner.jpg"}));
}

TEST(FolderScan, TreesAreSearchedBreadthFirstOneGivenFolderAfterTheOther) {
  Tree tree;
  tree.folders["R"] = {{"1", true}, {"r.jpg", false}, {"9", true}};
  tree.folders["R\\1"] = {{"2", true}, {"one.jpg", false}};
  tree.folders["R\\1\\2"] = {{"two.jpg", false}};
  tree.folders["R\\9"] = {{"nine.jpg", false}};
  tree.folders["S"] = {{"s.bmp", false}};
  EXPECT_EQ(
      ScanFolderTrees({"R", "missing", "S", "R\\1"}, tree.Events()),
      (std::vector<std::string>{"R\\r.jpg", "R\\1\\one.jpg", "R\\9\\nine.jpg", "R\\1\\2\\two.jpg",
                                "S\\s.bmp", "R\\1\\one.jpg", "R\\1\\2\\two.jpg"}));
  EXPECT_EQ(tree.notFound, std::vector<std::string>{"missing"});
  // After R: its two subfolders wait, besides the four given folders.
  EXPECT_EQ(tree.progress.front(), (std::pair<std::size_t, std::size_t>{6, 1}));
  EXPECT_EQ(ScanProgressText(6, 1), "Scanning folders... 6 in queue, 1 pictures founded");
}

TEST(FolderScan, UnreadableFoldersGiveNothing) {
  Tree tree;
  tree.folders["R"] = {{"locked", true}, {"a.jpg", false}};
  EXPECT_EQ(ScanFolderTrees({"R"}, tree.Events()), std::vector<std::string>{"R\\a.jpg"});
  EXPECT_TRUE(ScanFolderTrees({}, tree.Events()).empty());
}

TEST(FolderScan, FilteringDropsListedPathsIgnoringCaseButKeepsRepeatsOfTheSearch) {
  ListState list;
  list.AddPictureEntry("C:\\Pics\\A.jpg", 0, 0, 0, false);
  EXPECT_EQ(
      FilterOldPaths({"c:\\pics\\a.JPG", "C:\\Pics\\b.jpg", "C:\\Pics\\b.jpg"}, list.PictureList),
      (std::vector<std::string>{"C:\\Pics\\b.jpg", "C:\\Pics\\b.jpg"}));
}

}  // namespace
}  // namespace seltane
