#include "gather/AutoSearch.h"

#include <gtest/gtest.h>

#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

TEST(AutoSearch, MissingPicturesGoOnlyWhenTheOptionsLetThemAndAfterTheirQuestions) {
  std::vector<kelWide> pictures(4);
  const char* paths[] = {"C:\\a.jpg", "C:\\gone1.jpg", "C:\\gone2.jpg", "C:\\b.jpg"};
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    pictures[i].FullPath = paths[i];
  }
  int lookups = 0;
  auto exists = [&](const std::vector<std::string>& paths) {
    std::vector<bool> found;
    for (const std::string& path : paths) {
      ++lookups;
      found.push_back(path.find("gone") == std::string::npos);
    }
    return found;
  };
  testing::ScriptedPrompter prompter;
  // Off: no file is even looked at.
  EXPECT_TRUE(MissingPictureRows(pictures, {false, true}, exists, prompter).empty());
  EXPECT_EQ(lookups, 0);
  EXPECT_EQ(MissingPictureRows(pictures, {true, false}, exists, prompter),
            (std::vector<int>{1, 2}));
  EXPECT_TRUE(prompter.records.empty());
  // Asked in turn: Cancel keeps the first, OK lets the second go.
  prompter.answers = {PromptAnswer::Cancel, PromptAnswer::Ok};
  EXPECT_EQ(MissingPictureRows(pictures, {true, true}, exists, prompter), (std::vector<int>{2}));
  ASSERT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(prompter.records[0].text, "Picture C:\\gone1.jpg not found. Delete from list?");
  EXPECT_EQ(prompter.records[0].caption, "File not found");
  EXPECT_EQ(prompter.records[0].buttons, PromptButtons::OkCancel);
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Warning);
}

TEST(AutoSearch, AFolderIsFoundWhateverTheCaseOfItsLettersAToZ) {
  const std::vector<std::string> folders = {"C:\\Pictures", "D:\\Fotos\xC4"};
  EXPECT_EQ(FindFolder(folders, "c:\\PICTURES"), 0);
  EXPECT_EQ(FindFolder(folders, "d:\\fotos\xC4"), 1);
  EXPECT_EQ(FindFolder(folders, "D:\\Fotos\xE4"), -1);  // only A-Z compare without case
  EXPECT_EQ(FindFolder(folders, "C:\\Pictures\\2"), -1);
}

}  // namespace
}  // namespace seltane
