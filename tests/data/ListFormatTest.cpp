#include "data/ListFormat.h"

#include <gtest/gtest.h>

#include <random>

#include "data/ListState.h"
#include "data/PathText.h"

namespace seltane {
namespace {

kelWide Picture(std::string path, uint8_t style = 0, uint16_t width = 0, uint16_t height = 0,
                bool used = false) {
  ListState state;
  state.AddPictureEntry(std::move(path), style, width, height, used);
  return state.PictureList.front();
}

std::string Format(const std::vector<kelWide>& pictures, ListWriteSettings settings = {},
                   const std::vector<std::string>& autoFolders = {}) {
  return FormatListFile(pictures, autoFolders, settings, CompareLowerAZ);
}

ListState Load(std::string_view listText, std::optional<std::string_view> randomText,
               ListLoadResult* result = nullptr) {
  ListState state;
  state.ListPath = "C:\\lists\\my.pics.lst";
  const ListLoadResult loaded = LoadListText(state, listText, randomText);
  EXPECT_EQ(loaded.status, ListLoadStatus::Loaded);
  if (result != nullptr) {
    *result = loaded;
  } else {
    EXPECT_FALSE(loaded.stoppedAtLine) << loaded.stopReason;
  }
  return state;
}

std::vector<std::string> Paths(const ListState& state) {
  std::vector<std::string> paths;
  for (const kelWide& picture : state.PictureList) {
    paths.push_back(picture.FullPath);
  }
  return paths;
}

constexpr std::string_view Header = ";kel list file\r\n;Don't modify this file\r\n";

TEST(ListFileWriting, EmptyListIsTheTwoHeaderLinesOfEachFile) {
  EXPECT_EQ(Format({}, {true, true}, {"C:\\watched"}), Header);
  EXPECT_EQ(FormatRandomFile("", false), ";kel random file\r\n;Don't modify this file\r\n");

  ListState state = Load(Format({}), FormatRandomFile("", false));
  EXPECT_TRUE(state.PictureList.empty());
  EXPECT_EQ(state.ListTitle, "[my.pics]");
}

TEST(ListFileWriting, FoldersDifferingInCaseShareOneLineInTheFirstSpelling) {
  const std::string text = Format({Picture("C:\\Pics\\A.JPG"), Picture("C:\\pics\\b.jpg")});
  EXPECT_EQ(text, std::string(Header) +
                      "[Folders]\r\nC:\\Pics\r\n[Extensions]\r\njpg\r\n[Files]\r\n"
                      "0 0 0 A\r\n0 0 0 b\r\n");
  EXPECT_EQ(Paths(Load(text, std::nullopt)),
            (std::vector<std::string>{"C:\\Pics\\A.jpg", "C:\\Pics\\b.jpg"}));
}

// Pictures in a drive's root keep their path through any number of saves:
// the folder line "D:\" joins its names without a second backslash.
TEST(ListFileWriting, RootFolderPathsSurviveRepeatedSaves) {
  std::vector<kelWide> pictures = {Picture("D:\\sky.bmp"), Picture("\\x.jpg"),
                                   Picture("C:\\a\\b\\c\\d\\deep.jpg")};
  std::vector<std::string> rounds;
  for (int round = 0; round < 3; ++round) {
    rounds.push_back(Format(pictures));
    pictures = Load(rounds.back(), std::nullopt).PictureList;
  }
  EXPECT_NE(rounds[0].find("[Folders]\r\n\r\nC:\\a\\b\\c\\d\r\nD:\\\r\n"), std::string::npos)
      << rounds[0];
  EXPECT_EQ(rounds[2], rounds[0]);
  EXPECT_EQ(Paths(Load(rounds[2], std::nullopt)),
            (std::vector<std::string>{"D:\\sky.bmp", "\\x.jpg", "C:\\a\\b\\c\\d\\deep.jpg"}));
}

TEST(ListFileWriting, NamesWithSpacesAndDotsReadBackUnchanged) {
  const std::string text = Format({Picture("C:\\a b\\my.best pic.jpg", 3)});
  EXPECT_NE(text.find("\r\n3 0 0 my.best pic\r\n"), std::string::npos);
  EXPECT_EQ(Load(text, std::nullopt).PictureList[0].FullPath, "C:\\a b\\my.best pic.jpg");
}

TEST(ListFileWriting, FoldersAndExtensionsAreSortedAndIndexed) {
  const std::string text = Format({Picture("C:\\zoo\\1.PNG"), Picture("c:\\Apple\\2.jpg"),
                                   Picture("C:\\zoo\\3.bmp"), Picture("C:\\apple\\4.png")});
  EXPECT_EQ(text, std::string(Header) +
                      "[Folders]\r\nc:\\Apple\r\nC:\\zoo\r\n"
                      "[Extensions]\r\nbmp\r\njpg\r\npng\r\n[Files]\r\n"
                      "0 1 2 1\r\n0 0 1 2\r\n0 1 0 3\r\n0 0 2 4\r\n");
}

TEST(ListFileWriting, SectionsFollowTheSettings) {
  const std::vector<kelWide> pictures = {Picture("C:\\p\\a.jpg", 2, 1024, 768)};
  const std::vector<std::string> watched = {"C:\\p", "D:\\more"};

  const std::string all = Format(pictures, {true, true}, watched);
  EXPECT_EQ(all, std::string(Header) +
                     "[Folders]\r\nC:\\p\r\n[Auto folders]\r\nC:\\p\r\nD:\\more\r\n"
                     "[Extensions]\r\njpg\r\n[Sizes stored]\r\n[Files]\r\n2 0 0 1024 768 a\r\n");
  const std::string none = Format(pictures, {false, false}, watched);
  EXPECT_EQ(none, std::string(Header) +
                      "[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n[Files]\r\n2 0 0 a\r\n");
  // Watched folders without pictures are not written: an empty list is two lines.
  EXPECT_EQ(Format({}, {true, false}, watched), Header);

  // Sizes read from a file with sizes are dropped when written without, and
  // entries without sizes are written as 0 0.
  // Opening a list replaces the watched folders of the list before it.
  ListState withSizes;
  withSizes.AutoFolders = {"C:\\other list's"};
  ASSERT_EQ(LoadListText(withSizes, all, std::nullopt).status, ListLoadStatus::Loaded);
  EXPECT_EQ(withSizes.PictureList[0].Width, 1024);
  EXPECT_EQ(withSizes.AutoFolders, watched);
  ListState unwatched;
  unwatched.AutoFolders = watched;
  ASSERT_EQ(LoadListText(unwatched, none, std::nullopt).status, ListLoadStatus::Loaded);
  EXPECT_TRUE(unwatched.AutoFolders.empty());
  EXPECT_EQ(Format(withSizes.PictureList, {false, false}), none);
  ListState withoutSizes = Load(none, std::nullopt);
  EXPECT_NE(Format(withoutSizes.PictureList, {false, true}).find("\r\n2 0 0 0 0 a\r\n"),
            std::string::npos);
}

TEST(RandomFile, FlagsFollowTheCountWithoutALineEnd) {
  const std::vector<kelWide> pictures = {Picture("C:\\a.jpg", 0, 0, 0, true), Picture("C:\\b.jpg"),
                                         Picture("C:\\c.jpg", 0, 0, 0, true)};
  EXPECT_EQ(FormatRandomFile(UsedFlags(pictures), false),
            ";kel random file\r\n;Don't modify this file\r\n3\r\n101");
  EXPECT_EQ(FormatRandomFile("", true), ";kel random file\r\n;Don't modify this file\r\n0\r\n");
}

TEST(ListFileReading, RandomFlagsGiveUsedAndMissingOnesCountAsUsed) {
  const std::string list = Format({Picture("C:\\p\\a.jpg"), Picture("C:\\p\\b.jpg"),
                                   Picture("C:\\p\\c.jpg"), Picture("C:\\p\\d.jpg")});
  // Anything but "0" is used, and so is a picture past the last flag.
  ListState state = Load(list, ";kel random file\r\n;x\r\n4\r\n0x");
  ASSERT_EQ(state.PictureList.size(), 4u);
  EXPECT_FALSE(state.PictureList[0].Used);
  EXPECT_TRUE(state.PictureList[1].Used);
  EXPECT_TRUE(state.PictureList[2].Used);
  EXPECT_TRUE(state.PictureList[3].Used);
  EXPECT_FALSE(state.RandomChanged);
}

TEST(ListFileReading, CountLineThatIsNoNumberKeepsTheMarks) {
  const std::string list = Format({Picture("C:\\p\\a.jpg"), Picture("C:\\p\\b.jpg")});
  for (std::string_view count : {"many", "", "18446744073709551616", "-1"}) {
    const std::string random = ";kel random file\r\n;x\r\n" + std::string(count) + "\r\n10";
    const ListState state = Load(list, random);
    ASSERT_EQ(state.PictureList.size(), 2u);
    EXPECT_TRUE(state.PictureList[0].Used) << count;
    EXPECT_FALSE(state.PictureList[1].Used) << count;
    EXPECT_FALSE(state.RandomChanged) << count;
  }
}

TEST(ListFileReading, UnusableRandomFileGivesUnusedPicturesAndARewrite) {
  const std::string list = Format({Picture("C:\\p\\a.jpg")});
  for (std::optional<std::string_view> random :
       {std::optional<std::string_view>{}, std::optional<std::string_view>{""},
        std::optional<std::string_view>{";kel list file\r\n;x\r\n1\r\n1"},
        std::optional<std::string_view>{";kel random file\r\n;x\r\n"}}) {
    ListState state = Load(list, random);
    ASSERT_EQ(state.PictureList.size(), 1u);
    EXPECT_FALSE(state.PictureList[0].Used);
    EXPECT_TRUE(state.RandomChanged);
  }
}

TEST(ListFileReading, HeaderProblemsLoadNothing) {
  ListState state;
  EXPECT_EQ(LoadListText(state, "", std::nullopt).status, ListLoadStatus::Empty);
  EXPECT_EQ(LoadListText(state, ";kel random file\r\n", std::nullopt).status,
            ListLoadStatus::WrongHeader);
  EXPECT_EQ(LoadListText(state, " ;kel list file\r\n", std::nullopt).status,
            ListLoadStatus::WrongHeader);
  EXPECT_TRUE(state.PictureList.empty());
}

TEST(ListFileReading, FilesEndingBeforeThePictureLinesGiveAnEmptyList) {
  for (std::string_view text :
       {";kel list file", ";kel list file\r\n;x\r\n", ";kel list file\r\n;x\r\n[Files]\r\n0 0 0 a",
        ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n",
        ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n",
        ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n[Sizes stored]"}) {
    const ListState state = Load(text, std::nullopt);
    EXPECT_TRUE(state.PictureList.empty()) << text;
  }
}

TEST(ListFileReading, AcceptsLineFeedsAloneAndALastLineWithoutEnd) {
  const ListState state =
      Load(";kel list file\n;x\n[Folders]\nC:\\p\n[Extensions]\njpg\n[Files]\n1 0 0 a\n4 0 0 b",
           std::nullopt);
  EXPECT_EQ(Paths(state), (std::vector<std::string>{"C:\\p\\a.jpg", "C:\\p\\b.jpg"}));
  EXPECT_EQ(state.PictureList[1].Style, 4);
}

TEST(ListFileReading, BadPictureLineStopsReadingAndKeepsTheLinesBefore) {
  const std::string start =
      ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n[Files]\r\n"
      "0 0 0 good\r\n";
  struct Case {
    std::string line;
    std::string reason;
  };
  for (const Case& bad :
       {Case{"6 0 0 bad style", "style"}, Case{"0 1 0 no folder", "folder"},
        Case{"0 0 1 no extension", "extension"}, Case{"", "not a picture"},
        Case{"zero 0 0 word", "not a picture"}, Case{"0 0", "not a picture"},
        Case{"0x1 0 0 hex", "not a picture"}, Case{"0 99999999999999999999 0 huge", "folder"},
        // 2^64 would wrap to 0 in a 64-bit sum, which names a folder.
        Case{"0 18446744073709551616 0 wraps", "folder"},
        Case{"0 0 0 " + std::string(MaxListPathBytes, 'n'), "longer"}}) {
    ListLoadResult result;
    const ListState state = Load(start + bad.line + "\r\n0 0 0 after\r\n", std::nullopt, &result);
    EXPECT_EQ(Paths(state), std::vector<std::string>{"C:\\p\\good.jpg"}) << bad.line;
    ASSERT_TRUE(result.stoppedAtLine) << bad.line;
    EXPECT_EQ(*result.stoppedAtLine, 9u) << bad.line;
    EXPECT_NE(result.stopReason.find(bad.reason), std::string::npos) << result.stopReason;
  }
}

TEST(ListFileReading, SizesOutOfRangeStopReading) {
  ListLoadResult result;
  const ListState state = Load(
      ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n"
      "[Sizes stored]\r\n[Files]\r\n0 0 0 65535 1 ok\r\n0 0 0 65536 1 wide\r\n",
      std::nullopt, &result);
  EXPECT_EQ(state.PictureList.size(), 1u);
  EXPECT_EQ(state.PictureList[0].Width, 65535);
  EXPECT_EQ(result.stoppedAtLine, 10u);
}

TEST(ListFileRoundTrip, MoreThan256FoldersAndExtensionsReadBackWhole) {
  std::vector<kelWide> pictures;
  for (int i = 0; i < 300; ++i) {
    pictures.push_back(Picture("C:\\f" + std::to_string(i) + "\\p." + "e" + std::to_string(i)));
  }
  const ListState state = Load(Format(pictures), std::nullopt);
  ASSERT_EQ(state.PictureList.size(), pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    EXPECT_EQ(state.PictureList[i].FullPath, pictures[i].FullPath);
  }
}

// A huge file of section lines fills no more than the 16-bit indexes reach.
TEST(ListFileReading, SectionTablesStopAtTheMostAnIndexNames) {
  std::string text = ";kel list file\r\n;x\r\n";
  for (const std::string_view section : {FoldersSection, AutoFoldersSection, ExtensionsSection}) {
    text += std::string(section) + "\r\n";
    for (std::size_t i = 0; i < MaxSectionLines + 3; ++i) {
      text += "x\r\n";
    }
  }
  text += "[Files]\r\n0 65535 65535 last\r\n";
  LineCursor cursor(text);
  ListSections sections;
  ASSERT_EQ(ReadListSections(cursor, sections), ListHeaderStatus::Ok);
  EXPECT_EQ(sections.folders.size(), MaxSectionLines);
  EXPECT_EQ(sections.autoFolders.size(), MaxSectionLines);
  EXPECT_EQ(sections.extensions.size(), MaxSectionLines);
  EXPECT_EQ(Paths(Load(text, std::nullopt)), std::vector<std::string>{"x\\last.x"});
}

TEST(ListFileRoundTrip, ListsStopAtTheMostPicturesAListHolds) {
  std::string text(
      ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n[Files]\r\n");
  for (std::size_t i = 0; i < MaxPictures + 2; ++i) {
    text += "0 0 0 n\r\n";
  }
  ListLoadResult result;
  const ListState state = Load(text, std::nullopt, &result);
  EXPECT_EQ(state.PictureList.size(), MaxPictures);
  EXPECT_EQ(result.stoppedAtLine, 8 + MaxPictures);
}

// Any list that kel can hold comes back from its files as it was written,
// but for the extension's letter case.
TEST(ListFileRoundTrip, RandomListsReadBackAsWritten) {
  std::mt19937 random(20261208);
  const std::vector<std::string> folders = {"C:\\Pics", "C:\\pics\\Sub dir", "E:\\a.b",
                                            "\\\\server\\share", "C:\\x y"};
  const std::vector<std::string> names = {"a", "b c", "my.best pic", "UPPER", "x.y.z", " lead"};
  const std::vector<std::string> extensions = {"jpg", "JPG", "bmp", "Jpeg", "emf"};
  for (int round = 0; round < 50; ++round) {
    std::vector<kelWide> pictures;
    const int count = std::uniform_int_distribution<int>(0, 40)(random);
    for (int i = 0; i < count; ++i) {
      auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
      };
      std::string folder = pick(folders);
      std::string path = folder + "\\" + pick(names) + "." + pick(extensions);
      pictures.push_back(Picture(path, static_cast<uint8_t>(random() % 6),
                                 static_cast<uint16_t>(random()), static_cast<uint16_t>(random()),
                                 random() % 2 == 0));
    }
    const ListWriteSettings settings{round % 2 == 0, round % 3 != 0};
    const std::string list = Format(pictures, settings, {"C:\\w"});
    const std::string flags = FormatRandomFile(UsedFlags(pictures), false);
    const ListState state = Load(list, flags);
    ASSERT_EQ(state.PictureList.size(), pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      const kelWide& written = pictures[i];
      const kelWide& read = state.PictureList[i];
      // The first spelling of a folder wins, so compare folders ignoring case.
      EXPECT_EQ(LowerAZ(read.FullPath), LowerAZ(written.FullPath));
      EXPECT_EQ(NameWithoutExtension(read.FileName), NameWithoutExtension(written.FileName));
      EXPECT_EQ(ExtensionPart(read.FileName), LowerAZ(ExtensionPart(written.FileName)));
      EXPECT_EQ(read.Style, written.Style);
      EXPECT_EQ(read.Used, written.Used);
      EXPECT_EQ(read.Width, settings.storeSizes ? written.Width : 0);
    }
    // Written again, the list gives the same text.
    EXPECT_EQ(Format(state.PictureList, settings, state.AutoFolders), list);
  }
}

}  // namespace
}  // namespace seltane
