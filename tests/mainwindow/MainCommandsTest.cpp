#include "mainwindow/MainCommands.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace seltane {
namespace {

TEST(MainCommands, TheMenuBarHasEveryItemInOrderWithItsShortcut) {
  // "-" is a separator; a shortcut follows its item's text after a tab.
  const std::map<MainMenu, std::vector<std::string>> expected = {
      {MainMenu::File,
       {"Add file...\tIns", "Add folder...\tCtrl+Alt+A", "Delete file\tDel", "-", "Move up\tCtrl+A",
        "Move down\tCtrl+Z", "-", "New list\tCtrl+N", "Open list...\tF3", "Save list\tF2",
        "Save list as..\tCtrl+S", "-", "Exit\tF10"}},
      {MainMenu::Desktop,
       {"Turn on Active Desktop", "Turn off Active Desktop", "-", "Set as wallpaper",
        "Find randomly", "Set randomly"}},
      {MainMenu::View, {"Fullscreen\tF9"}},
      {MainMenu::Options,
       {"Set style...", "Automatic searching/deleting...", "-", "Options...\tF11"}},
      {MainMenu::Help, {"Help...\tF1", "-", "About...\tCtrl+F1"}},
  };
  std::map<MainMenu, std::vector<std::string>> built;
  for (const MainCommand& command : MainCommands()) {
    built[command.menu].push_back(command.id == 0 ? "-" : MenuItemText(command));
    if (command.id != 0) {
      EXPECT_EQ(FindMainCommand(command.id), &command);
    }
  }
  EXPECT_EQ(built, expected);
  EXPECT_EQ(FindMainCommand(idNExit)->shortcut.key, vkF10);
  EXPECT_EQ(FindMainCommand(0), nullptr);
}

TEST(MainCommands, PickModeLeavesOnlyTheHelpMenu) {
  for (MainMenu menu : {MainMenu::File, MainMenu::Desktop, MainMenu::View, MainMenu::Options}) {
    EXPECT_FALSE(MenuWorksInPickMode(menu));
  }
  EXPECT_TRUE(MenuWorksInPickMode(MainMenu::Help));
  EXPECT_FALSE(FindMainCommand(idNDeleteFile)->inPickMode);
}

}  // namespace
}  // namespace seltane
