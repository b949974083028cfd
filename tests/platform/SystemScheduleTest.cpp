#include <gtest/gtest.h>

#include "data/TimedChange.h"
#include "platform/ShellShortcut.h"
#include "platform/TaskScheduler.h"

namespace seltane {
namespace {

const char* const Name = "Seltane timed change test";

TEST(ScheduledTask, IsRegisteredReplacedAndRemoved) {
  const std::string kelrun = "C:\\Program Files\\Seltane\\kelrun.exe";
  for (const uint16_t interval : {15, 3}) {
    ASSERT_EQ(
        RegisterScheduledTask(Name, TimedChangeTaskXml(kelrun, interval, 0, "2026-01-02T03:04:05")),
        "");
    // Wine keeps the task but hands back neither its trigger nor its command
    // line, so only its presence can be checked here.
    EXPECT_NE(ScheduledTaskXml(Name).find("<Task"), std::string::npos);
  }
  EXPECT_EQ(RemoveScheduledTask(Name), "");
  EXPECT_EQ(ScheduledTaskXml(Name), "");
  EXPECT_EQ(RemoveScheduledTask(Name), "");  // not there: still success
}

TEST(NextWallpaperShortcut, HotkeyIsSetAndCleared) {
  for (const uint16_t hotkey : {0x0277, 0x0000}) {
    ASSERT_EQ(SetNextWallpaperHotkey("C:\\Program Files\\Seltane", hotkey), "");
    EXPECT_EQ(ShortcutHotkey(NextWallpaperShortcutPath()), hotkey);
  }
}

}  // namespace
}  // namespace seltane
