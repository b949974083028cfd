#include "engine/Engine.h"

#include <gtest/gtest.h>

#include "startup/KelrunRun.h"
#include "tests/libs/LibraryPaths.h"
#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

TEST(Engine, MissingLibraryOrEntryIsToldNotCrashed) {
  testing::ScriptedPrompter prompter;
  Engine missing(prompter, {"Z:\\nowhere\\common.dll", "Z:\\nowhere\\main.dll"});
  EXPECT_FALSE(missing.SetWallpaper("C:\\a.jpg", 0));
  std::vector<uint8_t> marks(3, 0);
  EXPECT_FALSE(missing.FindNextPicture(marks, 0));
  EXPECT_EQ(missing.OpenDirectory("Choose folder with pictures"), "");
  ASSERT_EQ(prompter.records.size(), 3u);
  EXPECT_EQ(prompter.records[0].text, LibraryMissingText("Z:\\nowhere\\common.dll"));
  EXPECT_EQ(prompter.records[0].caption, "Error");

  // main.dll exists but has no FindNextPicture.
  prompter.records.clear();
  Engine swapped(prompter, {testing::MainDllPath, testing::CommonDllPath});
  EXPECT_FALSE(swapped.FindNextPicture(marks, 0));
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, EntryMissingText(testing::MainDllPath, "FindNextPicture"));
}

TEST(Engine, CallsGoThroughTheLibrary) {
  testing::ScriptedPrompter prompter;
  Engine engine(prompter, {testing::CommonDllPath, testing::MainDllPath});
  std::vector<uint8_t> marks = {1, 0, 1};
  EXPECT_EQ(engine.FindNextPicture(marks, 2), 1);
  EXPECT_EQ(marks, (std::vector<uint8_t>{1, 1, 1}));
  std::vector<uint8_t> none;
  EXPECT_FALSE(engine.FindNextPicture(none, 0));
  // A picture the library cannot set is told, and the change is not done.
  EXPECT_FALSE(engine.SetWallpaper("Z:\\no\\such\\picture.jpg", 0));
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, WallpaperNotSetText("Z:\\no\\such\\picture.jpg"));
  prompter.records.clear();
  std::string last = "C:\\Pics\\a.jpg";
  EXPECT_TRUE(engine.ActiveDesktopOnOff(false, last));
  EXPECT_EQ(last, "C:\\Pics\\a.jpg");
  EXPECT_TRUE(prompter.records.empty());
}

}  // namespace
}  // namespace seltane
