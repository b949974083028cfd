#include "data/PathText.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

TEST(PathText, FolderPartKeepsTheBackslashOfARootOnly) {
  EXPECT_EQ(FolderPart("C:\\Pics\\A.JPG"), "C:\\Pics");
  EXPECT_EQ(FolderPart("D:\\sky.bmp"), "D:\\");
  EXPECT_EQ(FolderPart("\\\\server\\share\\x.jpg"), "\\\\server\\share");
  EXPECT_EQ(FolderPart("\\x.jpg"), "");
  EXPECT_EQ(FolderPart("x.jpg"), "");
}

TEST(PathText, PathRootIsTheDriveOrTheShare) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\x\\y.jpg", "D:\\"},
      {"D:x.jpg", "D:"},
      {"\\\\host\\share\\y.jpg", "\\\\host\\share"},
      {"\\\\host\\share", "\\\\host\\share"},
      {"//host/share/y.jpg", "//host/share"},
      {"\\\\host", "\\\\host"},
      {"x\\y.jpg", ""},
      {"\\y.jpg", ""}};
  for (const auto& [path, root] : cases) {
    EXPECT_EQ(PathRoot(path), root) << path;
  }
}

TEST(PathText, SplitAndJoinGiveThePathBack) {
  for (const char* path :
       {"C:\\Pics\\A.JPG", "D:\\sky.bmp", "\\x.jpg", "\\\\server\\share\\x.jpg"}) {
    EXPECT_EQ(JoinPath(FolderPart(path), FileNamePart(path)), path);
  }
  EXPECT_EQ(JoinPath("C:\\", "a.jpg"), "C:\\a.jpg");
}

TEST(PathText, NamesAndExtensionsSplitAtTheLastDot) {
  EXPECT_EQ(FileNamePart("C:\\a.b\\my.best pic.jpg"), "my.best pic.jpg");
  EXPECT_EQ(ExtensionPart("my.best pic.jpg"), "jpg");
  EXPECT_EQ(NameWithoutExtension("my.best pic.jpg"), "my.best pic");
  EXPECT_EQ(ExtensionPart("README"), "");
  EXPECT_EQ(NameWithoutExtension("README"), "README");
}

TEST(PathText, ChangeExtensionLooksOnlyAtTheFileName) {
  EXPECT_EQ(ChangeExtension("C:\\lists\\my.pics.lst", ".rnd"), "C:\\lists\\my.pics.rnd");
  EXPECT_EQ(ChangeExtension("C:\\dir.d\\list", ".rnd"), "C:\\dir.d\\list.rnd");
}

TEST(PathText, LowerAZChangesOnlyAsciiCapitals) {
  EXPECT_EQ(LowerAZ("C:\\\xC4pfel\\ABC.JPG"), "c:\\\xC4pfel\\abc.jpg");
  EXPECT_EQ(LowerAZ("@AZ["), "@az[");  // both ends of the range, and their neighbours
}

}  // namespace
}  // namespace seltane
