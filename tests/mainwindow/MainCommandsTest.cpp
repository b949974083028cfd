#include "mainwindow/MainCommands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
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

// The user's guide lists every menu item and every shortcut of the main
// window, each menu in one row of its menus table and each key in one row of
// its keys table; a renamed item or a changed key must change it too.
TEST(MainCommands, TheUsersGuideNamesEveryItemAndShortcut) {
  std::ifstream file(SELTANE_HELP_FILE);
  ASSERT_TRUE(file) << SELTANE_HELP_FILE;
  std::stringstream text;
  text << file.rdbuf();
  const std::string guide = text.str();
  // Whether a line begins with `start` and holds `item` as a whole item.
  auto listed = [&](const std::string& start, const std::string& item) {
    const std::size_t row = guide.find("\n" + start);
    const std::size_t at = guide.find(item, row);
    const std::size_t after = at + item.size();
    return row != std::string::npos && at < guide.find('\n', row + 1) &&
           std::string_view(",;< ").find(guide[after]) != std::string_view::npos;
  };
  const std::string keyRow = "</kbd></td><td>main window</td><td>";
  std::size_t keyRows = 0;
  for (std::size_t at = guide.find(keyRow); at != std::string::npos;
       at = guide.find(keyRow, at + 1)) {
    ++keyRows;
  }
  std::size_t shortcuts = 0;
  for (const MainCommand& command : MainCommands()) {
    if (command.id == 0) {
      continue;
    }
    const std::string menu(MainMenuTitles[static_cast<int>(command.menu)]);
    EXPECT_TRUE(listed("<tr><td>" + menu + "</td>", command.text)) << command.text;
    if (command.shortcut.key != 0) {
      ++shortcuts;
      const std::string key = ShortcutText(command.shortcut);
      EXPECT_TRUE(listed("<tr><td><kbd>" + key + keyRow, command.text)) << key;
    }
  }
  EXPECT_EQ(keyRows, shortcuts);
}

}  // namespace
}  // namespace seltane
