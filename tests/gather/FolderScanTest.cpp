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
    return {[this](const std::string& folder) { return folders.count(folder) != 0; },
            [this](const std::string& folder) -> std::optional<std::vector<FolderEntry>> {
              const auto found = folders.find(folder);
              if (found == folders.end()) {
                return std::nullopt;
              }
              return found->second;
            },
            [this](const std::string& folder) { notFound.push_back(folder); },
            [this](std::size_t queued, std::size_t count) { progress.emplace_back(queued, count); },
            nullptr};
  }
};

TEST(FolderScan, OnlyPictureExtensionsAreTakenAndFoldersAreSearched) {
  Tree tree;
  tree.folders["C:\\R"] = {{".", true},          {"..", true},     {"A.JPG", false},
                           {"b.Jpeg", false},    {"c.bmp", false}, {"d.gif", false},
                           {"e.jpg.txt", false}, {"f.PNG", false}, {"g.Tif", false},
                           {"h.tiff", false},    {"i.ico", false}, {"j.png.bak", false},
                           {"x.jpg", true}};
  tree.folders["C:\\R\\x.jpg"] = {{"inner.jpg", false}};
  EXPECT_EQ(ScanFolderTrees({"C:\\R"}, tree.Events()),
            (std::vector<std::string>{"C:\\R\\A.JPG", "C:\\R\\b.Jpeg", "C:\\R\\c.bmp",
                                      "C:\\R\\d.gif", "C:\\R\\f.PNG", "C:\\R\\g.Tif",
                                      "C:\\R\\h.tiff", "C:\\R\\x.jpg\\inner.jpg"}));
}

// A picture that overlapping given folders both reach is found once, where
// it was found first.
TEST(FolderScan, TreesAreSearchedBreadthFirstOneGivenFolderAfterTheOther) {
  Tree tree;
  tree.folders["R"] = {{"1", true}, {"r.jpg", false}, {"9", true}};
  tree.folders["R\\1"] = {{"2", true}, {"one.jpg", false}};
  tree.folders["R\\1\\2"] = {{"two.jpg", false}};
  tree.folders["R\\9"] = {{"nine.jpg", false}};
  tree.folders["S"] = {{"s.bmp", false}};
  EXPECT_EQ(ScanFolderTrees({"R", "missing", "S", "R\\1"}, tree.Events()),
            (std::vector<std::string>{"R\\r.jpg", "R\\1\\one.jpg", "R\\9\\nine.jpg",
                                      "R\\1\\2\\two.jpg", "S\\s.bmp"}));
  EXPECT_EQ(tree.notFound, std::vector<std::string>{"missing"});
  // After R: its two subfolders wait, besides the three given folders after
  // it; at the end none.
  EXPECT_EQ(tree.progress.front(), (std::pair<std::size_t, std::size_t>{5, 1}));
  EXPECT_EQ(tree.progress.back(), (std::pair<std::size_t, std::size_t>{0, 5}));
  tree.folders["r\\1"] = tree.folders["R\\1"];
  tree.folders["r\\1\\2"] = tree.folders["R\\1\\2"];
  EXPECT_EQ(ScanFolderTrees({"R\\1", "r\\1"}, tree.Events()),
            (std::vector<std::string>{"R\\1\\one.jpg", "R\\1\\2\\two.jpg"}));
  EXPECT_EQ(ScanProgressText(6, 1), "Scanning folders... 6 in queue, 1 pictures founded");
}

TEST(FolderScan, ADriveRootJoinsItsNamesWithOneBackslash) {
  Tree tree;
  tree.folders["C:\\"] = {{"a.jpg", false}, {"sub", true}};
  tree.folders["C:\\sub"] = {{"b.jpg", false}};
  EXPECT_EQ(ScanFolderTrees({"C:\\"}, tree.Events()),
            (std::vector<std::string>{"C:\\a.jpg", "C:\\sub\\b.jpg"}));
}

// Links and junctions are followed, but a folder is searched once: a link to
// a parent neither repeats its pictures nor makes the search go round.
TEST(FolderScan, LinksNeverLeadIntoAFolderSearchedAlready) {
  Tree tree;
  tree.folders["R"] = {{"a.jpg", false}, {"up", true, true}, {"S", true}, {"again", true, true}};
  tree.folders["R\\S"] = {{"b.jpg", false}, {"top", true, true}, {"other", true, true}};
  tree.folders["R\\up"] = tree.folders["R"];
  tree.folders["R\\again"] = tree.folders["R"];
  tree.folders["R\\S\\top"] = tree.folders["R"];
  tree.folders["R\\S\\other"] = {{"c.jpg", false}};  // elsewhere on the disk
  std::map<std::string, FolderIdentity> identities = {
      {"R", {7, 1}},    {"R\\up", {7, 1}},     {"R\\again", {7, 1}},
      {"R\\S", {7, 2}}, {"R\\S\\top", {7, 1}}, {"R\\S\\other", {9, 2}}};
  FolderScanEvents events = tree.Events();
  int identified = 0;
  events.folderIdentity = [&](const std::string& folder) -> std::optional<FolderIdentity> {
    ++identified;
    return identities.at(folder);
  };
  EXPECT_EQ(ScanFolderTrees({"R"}, events),
            (std::vector<std::string>{"R\\a.jpg", "R\\S\\b.jpg", "R\\S\\other\\c.jpg"}));
  // A given folder reached already is not searched again.
  identified = 0;
  EXPECT_EQ(ScanFolderTrees({"R", "R\\up"}, events).size(), 3u);
  EXPECT_EQ(identified, 7);

  // A tree without links costs no identities.
  identified = 0;
  EXPECT_EQ(ScanFolderTrees({"R\\S\\other"}, events).size(), 1u);
  EXPECT_EQ(identified, 0);

  // Without identities, links are not followed at all.
  events.folderIdentity = nullptr;
  EXPECT_EQ(ScanFolderTrees({"R"}, events), (std::vector<std::string>{"R\\a.jpg", "R\\S\\b.jpg"}));
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
