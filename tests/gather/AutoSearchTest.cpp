#include "gather/AutoSearch.h"

#include <gtest/gtest.h>

#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

class MissingPictures : public ::testing::Test {
 protected:
  MissingPictures() {
    for (const char* path : {"C:\\a.jpg", "C:\\gone1.jpg", "\\\\host\\share\\x.jpg",
                             "C:\\gone2.jpg", "Q:\\y.jpg", "\\\\HOST\\Share\\z.jpg", "C:\\b.jpg"}) {
      pictures.emplace_back().FullPath = path;
    }
  }
  std::vector<int> Rows(MissingPictureRules rules) {
    return MissingPictureRows(pictures, rules, states, prompter);
  }
  std::vector<kelWide> pictures;
  int lookups = 0;
  // "gone" is missing, and the share and Q: cannot be reached.
  FileStatesFunction states = [this](const std::vector<std::string>& paths) {
    std::vector<FileState> found;
    for (const std::string& path : paths) {
      ++lookups;
      found.push_back(path.find("gone") != std::string::npos ? FileState::Missing
                      : path[0] == 'C'                       ? FileState::Exists
                                                             : FileState::Unreachable);
    }
    return found;
  };
  testing::ScriptedPrompter prompter;
};

TEST_F(MissingPictures, GoOnlyWhenTheOptionsLetThemAndOfflineOnesStayWithOneMessage) {
  // Off: no file is even looked at.
  EXPECT_TRUE(Rows({false, true}).empty());
  EXPECT_EQ(lookups, 0);
  EXPECT_EQ(Rows({true, false}), (std::vector<int>{1, 3}));
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text,
            "\\\\host\\share, Q:\\ cannot be reached: 3 pictures there stay in the list without "
            "being checked.");
  EXPECT_EQ(prompter.records[0].caption, "Automatic searching and deleting");
  EXPECT_EQ(prompter.records[0].buttons, PromptButtons::Ok);
}

TEST_F(MissingPictures, AreOfferedAllNoneOrOneByOne) {
  struct Case {
    std::vector<PromptAnswer> answers;
    std::vector<int> rows;
  };
  using enum PromptAnswer;
  for (const Case& c : {Case{{Yes}, {1, 3}}, Case{{No}, {}}, Case{{Cancel, Cancel, Ok}, {3}}}) {
    prompter.records.clear();
    prompter.answers = {Ok};  // the offline message
    prompter.answers.insert(prompter.answers.end(), c.answers.begin(), c.answers.end());
    EXPECT_EQ(Rows({true, true}), c.rows);
    ASSERT_EQ(prompter.records.size(), c.answers.size() + 1);  // after the offline message
    EXPECT_EQ(prompter.records[1].text, "2 pictures not found. Delete from list?");
    EXPECT_EQ(prompter.records[1].buttons, PromptButtons::AllNoneOneByOne);
    if (c.answers.size() > 1) {
      EXPECT_EQ(prompter.records[2].text, "Picture C:\\gone1.jpg not found. Delete from list?");
      EXPECT_EQ(prompter.records[2].caption, "File not found");
      EXPECT_EQ(prompter.records[2].buttons, PromptButtons::OkCancel);
      EXPECT_EQ(prompter.records[2].icon, PromptIcon::Warning);
    }
  }
  // A single missing picture is asked about by itself.
  pictures.erase(pictures.begin() + 3);
  prompter.records.clear();
  prompter.answers = {Ok, Ok};
  EXPECT_EQ(Rows({true, true}), (std::vector<int>{1}));
  EXPECT_EQ(prompter.records.back().buttons, PromptButtons::OkCancel);
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
