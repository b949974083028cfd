#include "startup/KelrunRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>

#include "data/RegistryOptions.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

namespace messages = kelrun_messages;
constexpr RegistryRoot HKCU = RegistryRoot::CurrentUser;

// Files in memory and a scripted common library.
class FakeSystem : public KelrunSystem {
 public:
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  std::optional<std::string_view> OpenText(const std::string& path) override {
    if (outOfMemory) {
      throw std::bad_alloc();
    }
    const auto found = files.find(path);
    if (found == files.end() || unreadable.count(path) != 0) {
      return std::nullopt;
    }
    return std::string_view(found->second);
  }
  bool ReplaceFile(const std::string& path, const std::string& text, std::string& error) override {
    if (!writable) {
      error = "disk full";
      return false;
    }
    replaced[path] = text;
    return true;
  }
  double Now() override { return now; }
  uint16_t FindNextPicture(uint8_t* marks, int32_t highIndex, uint16_t count,
                           uint8_t mode) override {
    ++findCalls;
    seenMarks.assign(marks, marks + count);
    seenMarkTexts.emplace_back();
    for (uint16_t i = 0; i < count; ++i) {
      seenMarkTexts.back() += marks[i] != 0 ? '1' : '0';
    }
    seenHighIndex = highIndex;
    seenMode = mode;
    if (!answers.empty()) {
      nextIndex = answers[std::min<std::size_t>(findCalls, answers.size()) - 1];
    }
    if (nextIndex < count) {
      marks[nextIndex] = 1;
    }
    return nextIndex;
  }
  bool SetWallpaper(const std::string& path, uint8_t style) override {
    if (!setSucceeds) {
      return false;
    }
    wallpapers.push_back({path, style});
    return true;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, int> unreadable;
  std::map<std::string, std::string> replaced;
  bool writable = true;
  bool outOfMemory = false;
  double now = 46000.5;
  uint16_t nextIndex = 0;
  std::vector<uint16_t> answers;  // one per call, the last repeated; nextIndex when empty
  bool setSucceeds = true;
  int findCalls = 0;
  std::vector<uint8_t> seenMarks;
  std::vector<std::string> seenMarkTexts;
  int32_t seenHighIndex = -1;
  uint8_t seenMode = 255;
  std::vector<std::pair<std::string, uint8_t>> wallpapers;
};

constexpr const char* ListPath = "C:\\lists\\pics.lst";
constexpr const char* RandomPath = "C:\\lists\\pics.rnd";

class KelrunRun : public ::testing::Test {
 protected:
  KelrunRun() {
    Store("LastChangeTime", EncodeDouble(0.0));
    Store("ChangeDays", EncodeDWord(1));
    Store("RandomType", EncodeDWord(2));
    Store("WallpaperList", EncodeString(ListPath));
    system.files[ListPath] =
        ";kel list file\r\n;x\r\n[Folders]\r\nC:\\Pics\r\nD:\\\r\n[Auto folders]\r\nC:\\w\r\n"
        "[Extensions]\r\nJpg\r\nbmp\r\n[Sizes stored]\r\n[Files]\r\n"
        "3 0 0 800 600 beach at noon\r\n1 1 1 0 0 sky\r\n5 0 1 1 1 my.best pic\r\n";
    system.files[RandomPath] = ";kel random file\r\n;x\r\n3\r\n100";
    for (const char* picture :
         {"C:\\Pics\\beach at noon.Jpg", "D:\\sky.bmp", "C:\\Pics\\my.best pic.bmp"}) {
      system.files[picture] = "picture";
    }
  }
  void Store(const char* name, RegistryValue value) {
    registry.Set(HKCU, RegistryKeyNames.Key, name, std::move(value));
  }
  int Run(std::vector<std::string> arguments = {"C:\\kel\\kelrun.exe"}) {
    return RunKelrun(arguments, registry, prompter, system);
  }
  // Runs expecting one error box with this text and no change.
  void ExpectError(const std::string& text, PromptIcon icon = PromptIcon::None,
                   const std::string& caption = "Error") {
    const int writesBefore = registry.writes;
    EXPECT_EQ(Run(), 1);
    ASSERT_EQ(prompter.records.size(), 1u);
    EXPECT_EQ(prompter.records[0].text, text);
    EXPECT_EQ(prompter.records[0].caption, caption);
    EXPECT_EQ(prompter.records[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(prompter.records[0].icon, icon);
    EXPECT_TRUE(system.wallpapers.empty());
    EXPECT_EQ(registry.writes, writesBefore);
  }

  testing::FakeRegistry registry;
  testing::ScriptedPrompter prompter;
  FakeSystem system;
};

TEST_F(KelrunRun, DueRunChoosesRewritesSetsAndRecords) {
  system.nextIndex = 2;
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(system.seenMarks, (std::vector<uint8_t>{1, 0, 0}));
  EXPECT_EQ(system.seenHighIndex, 2);
  EXPECT_EQ(system.seenMode, 2);
  EXPECT_EQ(system.replaced[RandomPath], ";kel random file\r\n;Don't modify this file\r\n3\r\n101");
  ASSERT_EQ(system.wallpapers.size(), 1u);
  // The extension as the list spells it; the name whole, dots and spaces too.
  EXPECT_EQ(system.wallpapers[0].first, "C:\\Pics\\my.best pic.bmp");
  EXPECT_EQ(system.wallpapers[0].second, 5);
  EXPECT_EQ(DecodeString(registry.ReadValue(HKCU, RegistryKeyNames.Key, "LastWallpaper")),
            "C:\\Pics\\my.best pic.bmp");
  EXPECT_EQ(DecodeDouble(registry.ReadValue(HKCU, RegistryKeyNames.Key, "LastChangeTime")),
            46000.5);
}

TEST_F(KelrunRun, RootFolderJoinsWithOneBackslash) {
  system.nextIndex = 1;
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(system.wallpapers.size(), 1u);
  EXPECT_EQ(system.wallpapers[0].first, "D:\\sky.bmp");
}

TEST_F(KelrunRun, DueTestOnTheDayScale) {
  struct Case {
    double last;
    uint32_t days;
    bool due;
  };
  const double now = system.now;
  for (const Case& c :
       {Case{now - 23.0 / 24, 1, false}, Case{now - 25.0 / 24, 1, true}, Case{now - 1.0, 1, false},
        Case{now - 0.0001, 0, true}, Case{now, 0, false}, Case{now + 3, 1, false},
        Case{0.0, 1, true}, Case{now - 2.5, 0x10002, true}}) {
    system.wallpapers.clear();
    system.findCalls = 0;
    Store("LastChangeTime", EncodeDouble(c.last));
    Store("ChangeDays", EncodeDWord(c.days));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(system.wallpapers.size(), c.due ? 1u : 0u) << c.last << " " << c.days;
    EXPECT_TRUE(prompter.records.empty());
  }
}

TEST_F(KelrunRun, NotDueReadsNothingMore) {
  Store("LastChangeTime", EncodeDouble(system.now));
  system.files.clear();
  registry.DeleteValue(HKCU, RegistryKeyNames.Key, "WallpaperList");
  registry.DeleteValue(HKCU, RegistryKeyNames.Key, "RandomType");
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(prompter.records.empty());
}

TEST_F(KelrunRun, ForcedInAnyCaseChangesWhenNotDue) {
  Store("LastChangeTime", EncodeDouble(system.now));
  EXPECT_EQ(Run({"kelrun.exe", "/FORCEtime"}), 0);
  EXPECT_EQ(system.wallpapers.size(), 1u);
  EXPECT_TRUE(IsForcedRun({"-forcetime"}));
  EXPECT_FALSE(IsForcedRun({"kelrun.exe", "/force", "forcetime"}));
}

TEST_F(KelrunRun, RegistryProblemsNameTheValue) {
  registry.DeleteValue(HKCU, RegistryKeyNames.Key, "ChangeDays");
  ExpectError("Failed to get data for 'ChangeDays'", PromptIcon::Error);
}

TEST_F(KelrunRun, MistypedRegistryValuesNameTheValue) {
  Store("LastChangeTime", EncodeDWord(0));
  ExpectError("Invalid data type for 'LastChangeTime'", PromptIcon::Error);
  prompter.records.clear();
  Store("LastChangeTime", EncodeDouble(0));
  Store("RandomType", EncodeString("0"));
  ExpectError("Invalid data type for 'RandomType'", PromptIcon::Error);
  EXPECT_TRUE(system.replaced.empty());
}

// Nothing stored: one box says how to set Seltane up. A key that lacks only
// some values names the first one missing.
TEST_F(KelrunRun, MissingKeyTellsHowToSetUp) {
  registry.DeleteKey(HKCU, RegistryKeyNames.Key);
  ExpectError(messages::NotSetUp, PromptIcon::Information, "Seltane");
  prompter.records.clear();
  Store("WallpaperList", EncodeString(ListPath));
  ExpectError("Failed to get data for 'LastChangeTime'", PromptIcon::Error);
}

TEST_F(KelrunRun, FileProblemsHaveTheirMessages) {
  struct Case {
    std::string list;
    std::string random;
    const char* message;
  };
  const std::string list = system.files[ListPath];
  const std::string random = system.files[RandomPath];
  for (const Case& c :
       {Case{"", random, messages::ListEmpty},
        Case{";KEL LIST FILE\r\n", random, messages::ListWrongFormat},
        Case{list, "", messages::RandomEmpty},
        Case{list, ";kel Random file\r\n", messages::RandomWrongFormat},
        Case{list, ";kel random file\r\n;x\r\nthree\r\n100", messages::RandomWrongFormat},
        Case{list, ";kel random file\r\n;x\r\n70000\r\n100", messages::RandomWrongFormat},
        Case{list, ";kel random file\r\n;x\r\n0\r\n", messages::RandomCountsNone},
        Case{list, ";kel random file\r\n;x\r\n5\r\n10000", messages::ListTooShort},
        Case{";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n", random, messages::ListEndsEarly},
        Case{";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n", random,
             messages::ListEndsEarly}}) {
    system.files[ListPath] = c.list;
    system.files[RandomPath] = c.random;
    system.nextIndex = 4;  // past the three picture lines of the list
    system.replaced.clear();
    prompter.records.clear();
    ExpectError(c.message);
  }
}

TEST_F(KelrunRun, MissingFilesHaveTheirMessages) {
  system.files.erase(RandomPath);
  ExpectError(messages::RandomNotFound);
  prompter.records.clear();
  system.files.erase(ListPath);
  ExpectError(messages::ListNotFound);
  prompter.records.clear();
  Store("WallpaperList", EncodeString(""));
  ExpectError(messages::ListNotFound);
}

// A picture whose file is gone is passed over unmarked: the library chooses
// again with it counted as shown, or, when it chooses it again regardless,
// the next picture in list order not shown yet is taken.
TEST_F(KelrunRun, MissingPicturesAreSkippedUnmarked) {
  struct Case {
    std::string flags;
    std::vector<const char*> gone;
    std::vector<uint16_t> answers;
    std::vector<std::string> marksSeen;
    const char* wallpaper;
    std::string flagsWritten;
  };
  const std::string random = ";kel random file\r\n;x\r\n3\r\n";
  const std::map<std::string, std::string> files = system.files;
  for (const Case& c : {
           Case{"000",
                {"C:\\Pics\\beach at noon.Jpg"},
                {0, 1},
                {"000", "100"},
                "D:\\sky.bmp",
                "010"},
           Case{"000", {"C:\\Pics\\beach at noon.Jpg"}, {0}, {"000", "100"}, "D:\\sky.bmp", "010"},
           Case{"001", {"D:\\sky.bmp"}, {1}, {"001", "011"}, "C:\\Pics\\beach at noon.Jpg", "101"},
           // Only the missing picture was left to show: a new round begins.
           Case{"011",
                {"C:\\Pics\\beach at noon.Jpg"},
                {0, 2},
                {"011", "100"},
                "C:\\Pics\\my.best pic.bmp",
                "001"},
           Case{"000",
                {"C:\\Pics\\beach at noon.Jpg", "D:\\sky.bmp"},
                {0, 1, 2},
                {"000", "100", "110"},
                "C:\\Pics\\my.best pic.bmp",
                "001"},
       }) {
    system.files = files;
    system.files[RandomPath] = random + c.flags;
    for (const char* gone : c.gone) {
      system.files.erase(gone);
    }
    Store("LastChangeTime", EncodeDouble(0.0));
    system.answers = c.answers;
    system.findCalls = 0;
    system.seenMarkTexts.clear();
    system.wallpapers.clear();
    EXPECT_EQ(Run(), 0) << c.flags;
    EXPECT_EQ(system.seenMarkTexts, c.marksSeen) << c.flags;
    ASSERT_EQ(system.wallpapers.size(), 1u) << c.flags;
    EXPECT_EQ(system.wallpapers[0].first, c.wallpaper);
    EXPECT_EQ(system.replaced[RandomPath],
              ";kel random file\r\n;Don't modify this file\r\n3\r\n" + c.flagsWritten);
  }
  EXPECT_TRUE(prompter.records.empty());
}

// No picture exists, or the library cannot set the one chosen: nothing is
// recorded, and the random file keeps its marks.
TEST_F(KelrunRun, NoChangeMadeLeavesTheMarksAndTheRecordAlone) {
  const std::string random = system.files[RandomPath];
  system.setSucceeds = false;
  system.nextIndex = 1;
  ExpectError(WallpaperNotSetText("D:\\sky.bmp"));
  EXPECT_EQ(system.replaced[RandomPath], random);

  prompter.records.clear();
  system.replaced.clear();
  system.setSucceeds = true;
  for (const char* picture :
       {"C:\\Pics\\beach at noon.Jpg", "D:\\sky.bmp", "C:\\Pics\\my.best pic.bmp"}) {
    system.files.erase(picture);
  }
  ExpectError(messages::ImageNotFound);
  EXPECT_TRUE(system.replaced.empty());
}

TEST_F(KelrunRun, BadChosenLineIsNamed) {
  system.files[ListPath] =
      ";kel list file\r\n;x\r\n[Folders]\r\nC:\\Pics\r\n[Extensions]\r\nJpg\r\n[Files]\r\n"
      "0 0 0 fine\r\n0 7 0 no such folder\r\n0 0 0 x\r\n";
  system.nextIndex = 1;
  ExpectError("Wrong picture line 9 in list file: the folder index names no folder");
}

TEST_F(KelrunRun, ShortFlagLineCountsMissingFlagsAsUnusedAndWritesCountFlags) {
  system.files[RandomPath] = ";kel random file\r\n;x\r\n3\r\n1";
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(system.seenMarks, (std::vector<uint8_t>{1, 0, 0}));
  EXPECT_EQ(system.replaced[RandomPath], ";kel random file\r\n;Don't modify this file\r\n3\r\n100");
  // Only "1" counts as used.
  Store("LastChangeTime", EncodeDouble(0.0));
  system.files[RandomPath] = ";kel random file\r\n;x\r\n3\r\n2x1";
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(system.seenMarks, (std::vector<uint8_t>{0, 0, 1}));
}

TEST_F(KelrunRun, ListWithoutPicturesEndsQuietly) {
  system.files[ListPath] = ";kel list file\r\n;Don't modify this file\r\n";
  system.files[RandomPath] = ";kel random file\r\n;Don't modify this file\r\n";
  EXPECT_EQ(Run(), 0);
  system.files[ListPath] = ";kel list file\r\n;x\r\n[Files]\r\n0 0 0 a\r\n";
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(system.findCalls, 0);
  EXPECT_TRUE(system.replaced.empty());
}

TEST_F(KelrunRun, FailedWritesAreReported) {
  system.writable = false;
  ExpectError("File with random data cannot be written: disk full");
  prompter.records.clear();
  system.writable = true;
  registry.MakeReadOnly(HKCU, RegistryKeyNames.Key);
  EXPECT_EQ(Run(), 1);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, "Failed to set data for 'LastWallpaper'");

  prompter.records.clear();
  system.wallpapers.clear();
  system.outOfMemory = true;
  ExpectError("There is not enough memory to change the wallpaper.");
}

}  // namespace
}  // namespace seltane
