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

TEST(Files, ManyPathsAtOnceExistJustAsEachOneDoes) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(folder / "Photo One.JPG", "x", error));
  CreateDirectoryA((folder / "sub.jpg").c_str(), nullptr);
  ASSERT_TRUE(WriteFileReplacing(folder / "sub.jpg\\inner.bmp", "x", error));
  const std::vector<std::string> paths = {
      folder / "Photo One.JPG",
      folder / "photo one.jpg",
      folder / "gone.jpg",
      folder / "sub.jpg",
      folder / "sub.jpg\\inner.bmp",
      folder / "SUB.JPG/inner.bmp",
      folder / "none\\gone.jpg",
      folder / "Photo One.JPG.",
      folder / "sub.jpg\\..\\Photo One.JPG",
      "relative-gone.jpg",
  };
  const std::vector<bool> exist = FilesExist(paths);
  ASSERT_EQ(exist.size(), paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(exist[i], FileExists(paths[i])) << paths[i];
  }
  EXPECT_EQ(std::count(exist.begin(), exist.end(), true), 6);
}

}  // namespace
}  // namespace seltane
