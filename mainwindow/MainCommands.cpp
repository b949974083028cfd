#include "mainwindow/MainCommands.h"

#include <algorithm>
#include <iterator>

namespace seltane {
namespace {

using M = MainMenu;

constexpr Shortcut Key(uint16_t key) {
  return {key, false, false};
}
constexpr Shortcut Ctrl(uint16_t key) {
  return {key, true, false};
}
constexpr Shortcut CtrlAlt(uint16_t key) {
  return {key, true, true};
}

constexpr MainCommand Item(int id, MainMenu menu, const char* text, Shortcut shortcut = {}) {
  MainCommand command;
  command.id = id;
  command.menu = menu;
  command.text = text;
  command.shortcut = shortcut;
  return command;
}
constexpr MainCommand Separator(MainMenu menu) {
  return Item(0, menu, "");
}
constexpr MainCommand InPickMode(MainCommand command) {
  command.inPickMode = true;
  return command;
}
constexpr MainCommand Win9xOnly(MainCommand command) {
  command.win9xOnly = true;
  return command;
}
constexpr MainCommand BoundLater(MainCommand command) {
  command.boundLater = true;
  return command;
}

constexpr MainCommand Commands[] = {
    Item(idNAddFile, M::File, "Add file...", Key(vkInsert)),
    Item(idNAddFolder, M::File, "Add folder...", CtrlAlt('A')),
    Item(idNDeleteFile, M::File, "Delete file", Key(vkDelete)),
    Separator(M::File),
    Item(idNMoveUp, M::File, "Move up", Ctrl('A')),
    Item(idNMoveDown, M::File, "Move down", Ctrl('Z')),
    Separator(M::File),
    Item(idNNewList, M::File, "New list", Ctrl('N')),
    Item(idNOpenList, M::File, "Open list...", Key(vkF3)),
    Item(idNSaveList, M::File, "Save list", Key(vkF2)),
    Item(idNSaveListAs, M::File, "Save list as..", Ctrl('S')),
    Separator(M::File),
    Item(idNExit, M::File, "Exit", Key(vkF10)),
    Win9xOnly(Item(idNActiveDesktopOn, M::Desktop, "Turn on Active Desktop")),
    Win9xOnly(Item(idNActiveDesktopOff, M::Desktop, "Turn off Active Desktop")),
    Separator(M::Desktop),
    Item(idNSetAsWallpaper, M::Desktop, "Set as wallpaper"),
    Item(idNFindrandomly, M::Desktop, "Find randomly"),
    Item(idNSetrandomly, M::Desktop, "Set randomly"),
    BoundLater(Item(idNFullscreen, M::View, "Fullscreen", Key(vkF9))),
    BoundLater(Item(idNSetStyle, M::Options, "Set style...")),
    BoundLater(Item(idNAutoSearch, M::Options, "Automatic searching/deleting...")),
    Separator(M::Options),
    BoundLater(Item(idNOptions, M::Options, "Options...", Key(vkF11))),
    InPickMode(Item(idNHelp, M::Help, "Help...", Key(vkF1))),
    Separator(M::Help),
    InPickMode(BoundLater(Item(idNAbout, M::Help, "About...", Ctrl(vkF1)))),
};

}  // namespace

std::span<const MainCommand> MainCommands() {
  return Commands;
}

const MainCommand* FindMainCommand(int id) {
  const auto found = std::find_if(std::begin(Commands), std::end(Commands),
                                  [id](const MainCommand& command) { return command.id == id; });
  return id != 0 && found != std::end(Commands) ? &*found : nullptr;
}

std::string ShortcutText(const Shortcut& shortcut) {
  std::string text;
  if (shortcut.ctrl) {
    text += "Ctrl+";
  }
  if (shortcut.alt) {
    text += "Alt+";
  }
  if (shortcut.key == vkInsert) {
    text += "Ins";
  } else if (shortcut.key == vkDelete) {
    text += "Del";
  } else if (shortcut.key >= vkF1 && shortcut.key <= vkF11) {
    text += 'F';
    text += std::to_string(shortcut.key - vkF1 + 1);
  } else if (shortcut.key != 0) {
    text += static_cast<char>(shortcut.key);
  }
  return text;
}

std::string MenuItemText(const MainCommand& command) {
  std::string text = command.text;
  if (command.shortcut.key != 0) {
    text += '\t';
    text += ShortcutText(command.shortcut);
  }
  return text;
}

bool MenuWorksInPickMode(MainMenu menu) {
  return std::any_of(std::begin(Commands), std::end(Commands), [menu](const MainCommand& command) {
    return command.menu == menu && command.id != 0 && command.inPickMode;
  });
}

}  // namespace seltane
