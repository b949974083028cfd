// The folder search over a real file system with a loop of links.
#include "platform/FolderListing.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace seltane {
namespace {

// Wine cannot make links itself: the test command makes the tree beside the
// build, with two links back to its top (sub\up and sub\top) and one to a
// folder beside it (sub\beside), and names it in SELTANE_LINK_LOOP.
TEST(FolderListing, LinksToAParentFolderAreSearchedOnce) {
  const char* tree = std::getenv("SELTANE_LINK_LOOP");
  if (tree == nullptr) {
    GTEST_SKIP() << "SELTANE_LINK_LOOP names no tree; the test command makes one";
  }
  std::string root = std::string("Z:") + tree;  // Wine's drive for the Linux root
  for (char& c : root) {
    c = c == '/' ? '\\' : c;
  }
  ASSERT_TRUE(FolderExists(root + "\\sub\\up"));
  EXPECT_EQ(IdentifyFolder(root + "\\sub\\up"), IdentifyFolder(root));
  EXPECT_NE(IdentifyFolder(root + "\\sub"), IdentifyFolder(root));

  // Links are followed, but without the check each round would double the
  // queue.
  FolderScanEvents events;
  UseFileSystem(events);
  events.folderNotFound = [](const std::string& missing) { ADD_FAILURE() << missing; };
  events.progress = [](std::size_t, std::size_t) {};
  EXPECT_EQ(ScanFolderTrees({root}, events),
            (std::vector<std::string>{root + "\\a.jpg", root + "\\sub\\b.jpg",
                                      root + "\\sub\\beside\\c.jpg"}));
}

}  // namespace
}  // namespace seltane
