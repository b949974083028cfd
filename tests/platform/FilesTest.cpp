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

}  // namespace
}  // namespace seltane
