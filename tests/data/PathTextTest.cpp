#include "data/PathText.h"

#include <gtest/gtest.h>

#include "data/ListFormat.h"

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

// Shift-JIS writes \u8868 as 0x95 0x5C and \u30bd as 0x83 0x5C: the second
// byte is a backslash. \u30a2 is 0x83 0x41, whose second byte is an "A".
TEST(PathText, TwoByteCharactersAreNeverSplit) {
  const LeadBytes sjis = LeadBytes::ForCodePage(932);
  const std::string folder = "C:\\\x95\x5C";  // C:\ and the two-byte character
  const std::string path = folder + "\\\x83\x5C.JPG";
  EXPECT_EQ(FolderPart(path, sjis), folder);
  EXPECT_EQ(FileNamePart(path, sjis), "\x83\x5C.JPG");
  EXPECT_EQ(JoinPath(folder, "a.jpg", sjis), folder + "\\a.jpg");
  EXPECT_FALSE(EndsInBackslash(folder, sjis));
  EXPECT_TRUE(EndsInBackslash("C:\\\x95\x5C\\", sjis));
  EXPECT_EQ(ChangeExtension("C:\\x.\x95\x5Cy", ".rnd", sjis), "C:\\x.rnd");
  EXPECT_EQ(LowerAZ("\x83\x41X\\\x83\x41", sjis), "\x83\x41x\\\x83\x41");
  // A lead byte at the very end starts no character.
  EXPECT_EQ(LastBackslash("a\\\x95", sjis), 1u);
  EXPECT_EQ(LastSeparator("C:/\x95\x5C", sjis), 2u);
  EXPECT_EQ(LastSeparator("C:/\x95\x5C", LeadBytes{}), 4u);
  // Single-byte code pages: the same bytes are two characters.
  EXPECT_EQ(FolderPart(path, LeadBytes::ForCodePage(1252)), "C:\\\x95\x5C\\\x83");
  EXPECT_EQ(LowerAZ("\x83\x41", LeadBytes{}), "\x83\x61");

  // The comparison that merges folders differing in case keeps apart two
  // characters whose second bytes differ only as "A" and "a" do.
  SetAnsiLeadBytes(sjis);
  EXPECT_NE(CompareLowerAZ("C:\\\x83\x41", "C:\\\x83\x61"), 0);
  EXPECT_EQ(CompareLowerAZ("C:\\\x83\x41X", "c:\\\x83\x41x"), 0);
  SetAnsiLeadBytes({});
  EXPECT_EQ(CompareLowerAZ("C:\\\x83\x41", "C:\\\x83\x61"), 0);
}

TEST(PathText, LeadBytesOfTheTwoByteCodePages) {
  struct Case {
    unsigned codePage;
    unsigned char lead, notLead;
  };
  for (const Case& c : {Case{932, 0x81, 0xA0}, Case{932, 0xFC, 0x80}, Case{936, 0xFE, 0x80},
                        Case{949, 0x81, 0xFF}, Case{950, 0xA4, 0x5C}, Case{1361, 0xD8, 0xD4}}) {
    const LeadBytes lead = LeadBytes::ForCodePage(c.codePage);
    EXPECT_TRUE(lead(static_cast<char>(c.lead))) << c.codePage;
    EXPECT_FALSE(lead(static_cast<char>(c.notLead))) << c.codePage;
  }
  EXPECT_FALSE(LeadBytes::ForCodePage(1252).Any());
}

}  // namespace
}  // namespace seltane
