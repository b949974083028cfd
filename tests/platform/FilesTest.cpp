#include "platform/Files.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace seltane {
namespace {

using testing::FolderEntries;
using testing::TempFolder;

TEST(Files, WriteReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  TempFolder folder;
  const std::string path = folder / "list.lst";
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(path, std::string(100000, 'x'), error)) << error;
  ASSERT_TRUE(WriteFileReplacing(path, std::string("short\0bytes\r\n", 13), error)) << error;
  EXPECT_EQ(ReadWholeFile(path), std::string("short\0bytes\r\n", 13));
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"list.lst"});
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(folder.Path()));  // a folder is not a file
}

TEST(Files, FailedWriteSaysWhyAndLeavesTheOldFile) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(WriteFileReplacing(folder / "missing\\list.lst", "text", error));
  EXPECT_FALSE(error.empty());

  // A folder where the file should go cannot be replaced.
  const std::string blocked = folder / "blocked.rnd";
  CreateDirectoryA(blocked.c_str(), nullptr);
  error.clear();
  EXPECT_FALSE(WriteFileReplacing(blocked, "text", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"blocked.rnd"});
}

TEST(Files, ReadingAMissingFileGivesNothing) {
  TempFolder folder;
  EXPECT_FALSE(ReadWholeFile(folder / "none.lst"));
  EXPECT_FALSE(FileExists(folder / "none.lst"));
}

// A drive letter that names no drive.
std::string FreeDrive() {
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter > 'D'; --letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) {
      return std::string(1, letter) + ":";
    }
  }
  return "";
}

TEST(Files, ManyPathsAtOnceExistJustAsEachOneDoesAndOfflineOnesAreNotMissing) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "Photo One.JPG", "x", error));
  CreateDirectoryA((folder / "sub.jpg").c_str(), nullptr);
  ASSERT_TRUE(WriteFileReplacing(folder / "sub.jpg\\inner.bmp", "x", error));
  const std::string drive = FreeDrive();
  ASSERT_FALSE(drive.empty());
  using enum FileState;
  const std::vector<std::pair<std::string, FileState>> cases = {
      {folder / "Photo One.JPG", Exists},
      {folder / "photo one.jpg", Exists},
      {folder / "gone.jpg", Missing},
      {folder / "sub.jpg", Missing},
      {folder / "sub.jpg\\inner.bmp", Exists},
      {folder / "SUB.JPG/inner.bmp", Exists},
      {folder / "none\\gone.jpg", Missing},
      {folder / "none\\deeper\\gone.jpg", Missing},
      {folder / "Photo One.JPG\\x.jpg", Missing},
      {folder / "Photo One.JPG.", Exists},
      {folder / "sub.jpg\\..\\Photo One.JPG", Exists},
      {"relative-gone.jpg", Missing},
      {drive + "\\pictures\\a.jpg", Unreachable},
      {drive + "\\b.jpg", Unreachable},
      {drive + "\\pictures\\c.jpg.", Unreachable},
      {"\\\\offline-host\\share\\pictures\\d.jpg", Unreachable},
      {"\\\\offline-host\\share\\e.jpg", Unreachable},
  };
  std::vector<std::string> paths;
  for (const auto& [path, state] : cases) {
    paths.push_back(path);
  }
  const std::vector<FileState> states = FileStates(paths);
  ASSERT_EQ(states.size(), paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(states[i], cases[i].second) << paths[i];
    EXPECT_EQ(states[i] == Exists, FileExists(paths[i])) << paths[i];
  }
}

}  // namespace
}  // namespace seltane
