// The main window's commands in one table: the menu each belongs to, its
// text, its shortcut key and whether it works in pick mode. The menu bar,
// the shortcut texts in it and the accelerator table are all made from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace seltane {

// Ids of the main window's menu commands; control ids are in MainLayout.h.
enum MainCommandId : int {
  idNAddFile = 200,
  idNAddFolder,
  idNDeleteFile,
  idNMoveUp,
  idNMoveDown,
  idNNewList,
  idNOpenList,
  idNSaveList,
  idNSaveListAs,
  idNExit,
  idNActiveDesktopOn,
  idNActiveDesktopOff,
  idNSetAsWallpaper,
  idNFindrandomly,
  idNSetrandomly,
  idNFullscreen,
  idNSetStyle,
  idNAutoSearch,
  idNOptions,
  idNHelp,
  idNAbout,
  // The items of the "Add..." button's pop-up menu.
  idNPopupAddFile = 300,
  idNPopupAddFolder,
};

enum class MainMenu : uint8_t { File, Desktop, View, Options, Help };
inline constexpr std::string_view MainMenuTitles[] = {"File", "Desktop", "View", "Options", "Help"};

// Virtual-key codes of the shortcut keys.
enum VirtualKey : uint16_t {
  vkInsert = 0x2D,
  vkDelete = 0x2E,
  vkF1 = 0x70,
  vkF2,
  vkF3,
  vkF4,
  vkF5,
  vkF6,
  vkF7,
  vkF8,
  vkF9,
  vkF10,
  vkF11,
};

struct Shortcut {
  uint16_t key = 0;  // a virtual-key code ('A' to 'Z' for letters); 0: none
  bool ctrl = false;
  bool alt = false;
};

struct MainCommand {
  int id = 0;  // 0: a separator
  MainMenu menu = MainMenu::File;
  const char* text = "";
  Shortcut shortcut;
  bool inPickMode = false;  // works while found pictures are offered
  bool win9xOnly = false;   // exists on Windows 95, 98 and Me only
  // Opens a window that is bound to the command later (BindCommand); the
  // item stays disabled until then.
  bool boundLater = false;
};

// Every item of the menu bar, menu by menu, in order.
std::span<const MainCommand> MainCommands();

// The command with the id; nullptr when none has it.
const MainCommand* FindMainCommand(int id);

// How menus show a shortcut: "Ins", "Del", "F3", "Ctrl+A", "Ctrl+Alt+A".
std::string ShortcutText(const Shortcut& shortcut);

// A menu item's text with its shortcut after a tab.
std::string MenuItemText(const MainCommand& command);

// Whether a menu of the bar stays usable in pick mode: when any of its
// commands does.
bool MenuWorksInPickMode(MainMenu menu);

}  // namespace seltane
