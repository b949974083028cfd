// dims.dat on disk: created when missing, refused when foreign, written back
// only when the rules changed.
#include "styles/DimsFile.h"

#include <gtest/gtest.h>

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

TEST(DimsFile, ForeignFileIsRefusedAndKeptUnlessRulesChange) {
  testing::TempFolder folder;
  testing::ScriptedPrompter prompter;
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "dims.dat", "[Tile]\r\n800 x 600\r\n", error));
  SizeRules rules;
  ReadDimsFile(rules, folder.Path(), prompter);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, "Invalid format of pictures sizes file");
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Error);
  EXPECT_EQ(DimCount(rules.dims, wsTile), 0u);
  WriteDimsFile(rules, prompter);
  EXPECT_EQ(ReadWholeFile(folder / "dims.dat"), "[Tile]\r\n800 x 600\r\n");
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
