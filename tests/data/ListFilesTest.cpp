#include "data/ListFiles.h"

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

using testing::TempFolder;

class ListFiles : public ::testing::Test {
 protected:
  ListFiles() {
    prompter.answers.push_back(PromptAnswer::Ok);
    options = std::make_unique<TOptions>(
        OptionsEnvironment{registry, prompter, [] { return std::string("C:\\"); }, false});
    prompter.records.clear();
  }
  void WriteText(const std::string& name, const std::string& text) {
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(folder / name, text, error)) << error;
  }
  ListState Read(const std::string& name, bool expected = true) {
    ListState state;
    state.ListPath = folder / name;
    EXPECT_EQ(ReadListFile(state, prompter) == ListRead::Loaded, expected);
    return state;
  }

  TempFolder folder;
  testing::FakeRegistry registry;
  testing::ScriptedPrompter prompter;
  std::unique_ptr<TOptions> options;
};

TEST_F(ListFiles, SavedListReadsBackWithFlagsAndTheFoldersInLocaleOrder) {
  ListState state;
  state.ListPath = folder / "pics.lst";
  state.AddPictureEntry("C:\\Zeta\\a.JPG", 1, 0, 0, true);
  state.AddPictureEntry("C:\\alpha\\b.bmp", 5, 0, 0, false);
  state.AddPictureEntry("C:\\Beta\\c.jpg", 2, 0, 0, true);
  state.ListChanged = true;
  state.RandomChanged = true;
  ASSERT_TRUE(WriteListFiles(state, *options, prompter));
  EXPECT_FALSE(state.ListChanged || state.RandomChanged);
  EXPECT_TRUE(prompter.records.empty());

  EXPECT_EQ(ReadWholeFile(folder / "pics.lst"),
            ";kel list file\r\n;Don't modify this file\r\n[Folders]\r\nC:\\alpha\r\nC:\\Beta\r\n"
            "C:\\Zeta\r\n[Extensions]\r\nbmp\r\njpg\r\n[Files]\r\n1 2 1 a\r\n5 0 0 b\r\n"
            "2 1 1 c\r\n");
  EXPECT_EQ(ReadWholeFile(folder / "pics.rnd"),
            ";kel random file\r\n;Don't modify this file\r\n3\r\n101");

  const ListState read = Read("pics.lst");
  ASSERT_EQ(read.PictureList.size(), 3u);
  EXPECT_EQ(read.PictureList[0].FullPath, "C:\\Zeta\\a.jpg");
  EXPECT_TRUE(read.PictureList[0].Used);
  EXPECT_FALSE(read.PictureList[1].Used);
  EXPECT_EQ(read.PictureList[1].Style, 5);
  EXPECT_EQ(read.ListTitle, "[pics]");
  EXPECT_FALSE(read.RandomChanged);
}

TEST_F(ListFiles, NothingIsWrittenWithoutAChange) {
  ListState state;
  state.ListPath = folder / "pics.lst";
  state.AddPictureEntry("C:\\a.jpg", 0, 0, 0, false);
  EXPECT_TRUE(WriteListFiles(state, *options, prompter));
  EXPECT_TRUE(testing::FolderEntries(folder.Path()).empty());
}

TEST_F(ListFiles, EmptyMissingAndForeignFilesAreRefusedWithTheirMessages) {
  WriteText("empty.lst", "");
  WriteText("foreign.lst", "[Folders]\r\n");
  struct Case {
    const char* name;
    const char* text;
    PromptIcon icon;
  };
  for (const Case& c : {Case{"empty.lst", "Picture list file empty", PromptIcon::Information},
                        Case{"missing.lst", "Picture list file empty", PromptIcon::Information},
                        Case{"foreign.lst", "Invalid format of list file", PromptIcon::Error}}) {
    prompter.records.clear();
    const ListState state = Read(c.name, false);
    EXPECT_TRUE(state.PictureList.empty());
    ASSERT_EQ(prompter.records.size(), 1u);
    EXPECT_EQ(prompter.records[0].text, c.text);
    EXPECT_EQ(prompter.records[0].caption, "File open error");
    EXPECT_EQ(prompter.records[0].icon, c.icon);
  }
}

TEST_F(ListFiles, BadLineIsNamedAndThePicturesBeforeItStay) {
  WriteText("bad.lst",
            ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n[Files]\r\n"
            "0 0 0 one\r\n0 0 0 two\r\n9 0 0 three\r\n0 0 0 four\r\n");
  const ListState state = Read("bad.lst");
  EXPECT_EQ(state.PictureList.size(), 2u);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_NE(prompter.records[0].text.find("line 10"), std::string::npos);
  EXPECT_NE(prompter.records[0].text.find(folder / "bad.lst"), std::string::npos);
  EXPECT_EQ(prompter.records[0].caption, "File open error");
}

TEST_F(ListFiles, FailedWriteKeepsItsFlagAndNamesTheFile) {
  ListState state;
  state.ListPath = folder / "pics.lst";
  state.AddPictureEntry("C:\\a.jpg", 0, 0, 0, false);
  state.ListChanged = true;
  state.RandomChanged = true;
  const std::string randomPath = folder / "pics.rnd";
  CreateDirectoryA(randomPath.c_str(), nullptr);  // the random file cannot be written

  EXPECT_FALSE(WriteListFiles(state, *options, prompter));
  EXPECT_FALSE(state.ListChanged);
  EXPECT_TRUE(state.RandomChanged);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_NE(prompter.records[0].text.find(randomPath), std::string::npos);
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Error);
  EXPECT_TRUE(FileExists(folder / "pics.lst"));

  // With the cause gone, the next save writes it.
  RemoveDirectoryA(randomPath.c_str());
  EXPECT_TRUE(WriteListFiles(state, *options, prompter));
  EXPECT_FALSE(state.RandomChanged);
  EXPECT_TRUE(FileExists(randomPath));
}

TEST_F(ListFiles, FailedListWriteLeavesTheRandomFileAsItWas) {
  ListState state;
  state.ListPath = folder / "pics.lst";
  state.AddPictureEntry("C:\\a.jpg", 0, 0, 0, true);
  state.ListChanged = true;
  state.RandomChanged = true;
  CreateDirectoryA(state.ListPath.c_str(), nullptr);  // the list file cannot be written

  EXPECT_FALSE(WriteListFiles(state, *options, prompter));
  EXPECT_TRUE(state.ListChanged && state.RandomChanged);
  EXPECT_EQ(prompter.records.size(), 1u);
  EXPECT_FALSE(FileExists(folder / "pics.rnd"));
}

// A file held open by another program without sharing cannot be read; it is
// named, and what it holds is never taken for an empty list or no marks.
TEST_F(ListFiles, UnreadableFilesAreNamedAndNeverTakenForEmptyOnes) {
  const std::string list =
      ";kel list file\r\n;x\r\n[Folders]\r\nC:\\p\r\n[Extensions]\r\njpg\r\n"
      "[Files]\r\n0 0 0 one\r\n";
  WriteText("pics.lst", list);
  WriteText("pics.rnd", ";kel random file\r\n;x\r\n1\r\n1");
  for (const char* locked : {"pics.lst", "pics.rnd"}) {
    prompter.records.clear();
    HANDLE lock = CreateFileA((folder / locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ListState state;
    state.ListPath = folder / "pics.lst";
    const ListRead read = ReadListFile(state, prompter);
    CloseHandle(lock);
    const bool listLocked = std::string(locked) == "pics.lst";
    EXPECT_EQ(read, listLocked ? ListRead::Unreadable : ListRead::LoadedKeepFiles) << locked;
    EXPECT_EQ(state.PictureList.size(), listLocked ? 0u : 1u) << locked;
    ASSERT_EQ(prompter.records.size(), 1u) << locked;
    EXPECT_NE(prompter.records[0].text.find(folder / locked), std::string::npos);
    EXPECT_NE(prompter.records[0].text.find("could not be read"), std::string::npos);
    EXPECT_EQ(prompter.records[0].icon, PromptIcon::Error);
    if (!listLocked) {
      EXPECT_FALSE(state.PictureList[0].Used);
    }
  }
  EXPECT_EQ(ReadWholeFile(folder / "pics.lst"), list);
}

}  // namespace
}  // namespace seltane
