// dims.dat on disk: created when missing, kept aside when it is not rules,
// written back only when the rules changed.
#include "styles/DimsFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Files.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

TEST(DimsFile, MissingFileIsToldAndCreatedEmpty) {
  testing::TempFolder folder;
  testing::ScriptedPrompter prompter;
  SizeRules rules;
  ReadDimsFile(rules, folder.Path(), prompter);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, "File dims.dat not found");
  EXPECT_EQ(prompter.records[0].caption, "Initialization error");
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::None);
  EXPECT_EQ(ReadWholeFile(folder / "dims.dat"), "");
  EXPECT_EQ(rules.DimsPath, folder / "dims.dat");

  // Nothing changed: the file stays as it is.
  EXPECT_TRUE(WriteDimsFile(rules, prompter));
  EXPECT_EQ(ReadWholeFile(folder / "dims.dat"), "");
  AddDim(rules.dims, wsTile, DimFromNumbers(800, 0, 600, 0));
  EXPECT_TRUE(WriteDimsFile(rules, prompter));
  EXPECT_EQ(ReadWholeFile(folder / "dims.dat"),
            ";kel dims file\r\n;Don't modify this file\r\n[Tile]\r\n800 x 600\r\n");
}

const std::string TileRules =
    ";kel dims file\r\n;Don't modify this file\r\n[Tile]\r\n800 x 600\r\n";
const std::string StretchRules =
    ";kel dims file\r\n;Don't modify this file\r\n[Stretch]\r\n1 x 1\r\n";

bool Names(const testing::PromptRecord& record, const std::string& path) {
  return record.text.find(path) != std::string::npos;
}

// A file read as rules is used; any other is moved aside at once, both files
// are named, and the rules of the run go to a new dims.dat.
TEST(DimsFile, AFileThatIsNotRulesIsKeptAsideAndNeverWrittenOver) {
  struct Case {
    const char* name;
    std::string text;
    bool keptBefore;    // "dims (not read).dat" is there already
    const char* aside;  // nothing: read as rules
  };
  const Case cases[] = {
      {"a byte-order mark", "\xEF\xBB\xBF" + TileRules, false, nullptr},
      {"another first line", "[Tile]\r\n800 x 600\r\n", false, "dims (not read).dat"},
      {"one kept before", "\xEF\xBB\xBF;kel dims file 2\r\n", true, "dims (not read 2).dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    testing::ScriptedPrompter prompter;
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(folder / "dims.dat", c.text, error));
    if (c.keptBefore) {
      ASSERT_TRUE(WriteFileReplacing(folder / "dims (not read).dat", "older", error));
    }
    SizeRules rules;
    ReadDimsFile(rules, folder.Path(), prompter);
    if (!c.aside) {
      EXPECT_TRUE(prompter.records.empty());
      EXPECT_EQ(DimCount(rules.dims, wsTile), 1u);
      continue;
    }
    ASSERT_EQ(prompter.records.size(), 1u);
    const testing::PromptRecord& told = prompter.records[0];
    EXPECT_EQ(told.text.rfind("Invalid format of pictures sizes file", 0), 0u) << told.text;
    EXPECT_EQ(told.caption, "Initialization");
    EXPECT_EQ(told.icon, PromptIcon::Error);
    EXPECT_TRUE(Names(told, folder / "dims.dat") && Names(told, folder / c.aside)) << told.text;
    EXPECT_EQ(DimCount(rules.dims, wsTile), 0u);
    EXPECT_EQ(ReadWholeFile(folder / c.aside), c.text);
    EXPECT_EQ(ReadWholeFile(folder / "dims.dat"), "");
    AddDim(rules.dims, wsStretch, DimFromNumbers(1, 0, 1, 0));
    EXPECT_TRUE(WriteDimsFile(rules, prompter));
    EXPECT_EQ(ReadWholeFile(folder / "dims.dat"), StretchRules);
    EXPECT_EQ(ReadWholeFile(folder / c.aside), c.text);
    if (c.keptBefore) {
      EXPECT_EQ(ReadWholeFile(folder / "dims (not read).dat"), "older");
    }
    EXPECT_EQ(prompter.records.size(), 1u);
  }
}

// A file held open by another program can be neither read nor moved: the
// run starts without rules, says so, and saves them only once the file can
// be moved aside; until then a failed write keeps the changes.
TEST(DimsFile, AFileThatCannotBeReadIsToldAndMovedAsideBeforeAnyWrite) {
  testing::TempFolder folder;
  testing::ScriptedPrompter prompter;
  std::string error;
  const std::string path = folder / "dims.dat";
  ASSERT_TRUE(WriteFileReplacing(path, TileRules, error));
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  SizeRules rules;
  ReadDimsFile(rules, folder.Path(), prompter);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text.rfind("The size rules file could not be read:\n" + path, 0),
            0u)
      << prompter.records[0].text;
  EXPECT_EQ(DimCount(rules.dims, wsTile), 0u);

  AddDim(rules.dims, wsStretch, DimFromNumbers(1, 0, 1, 0));
  EXPECT_FALSE(WriteDimsFile(rules, prompter));
  ASSERT_EQ(prompter.records.size(), 2u);
  EXPECT_TRUE(Names(prompter.records[1], path)) << prompter.records[1].text;
  EXPECT_TRUE(rules.dims.DimsModified);
  CloseHandle(lock);
  EXPECT_EQ(ReadWholeFile(path), TileRules);

  EXPECT_TRUE(WriteDimsFile(rules, prompter));
  ASSERT_EQ(prompter.records.size(), 3u);
  EXPECT_TRUE(Names(prompter.records[2], folder / "dims (not read).dat") &&
              Names(prompter.records[2], path))
      << prompter.records[2].text;
  EXPECT_EQ(ReadWholeFile(folder / "dims (not read).dat"), TileRules);
  EXPECT_EQ(ReadWholeFile(path), StretchRules);
  EXPECT_FALSE(rules.dims.DimsModified);
}

TEST(DimsFile, RulesAndSettingsComeBack) {
  testing::TempFolder folder;
  testing::ScriptedPrompter prompter;
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(
      folder / "dims.dat",
      ";kel dims file\r\n;Don't modify this file\r\n[Fit Window]\r\n800 - 1024 x 600 - 768\r\n",
      error));
  SizeRules rules;
  ReadDimsFile(rules, folder.Path(), prompter);
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(StyleForNewPicture(rules.dims, rules.settings, 1000, 700, std::nullopt), wsFitScreen);
  EXPECT_EQ(StyleForNewPicture(rules.dims, rules.settings, 1024, 768, std::nullopt), wsStretch);
}

}  // namespace
}  // namespace seltane
