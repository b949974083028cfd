// Where the main window's parts go for a given client size: the list on the
// left, a splitter, and the commands and preview on the right.
#pragma once

#include <vector>

#include "ui/Layout.h"

namespace seltane {

// Ids of the main window's controls and commands.
enum MainWindowId : int {
  idKelListView = 100,
  idSplitter,
  idAddBtn,
  idDelBtn,
  idSetBtn,
  idStyleLabel,
  idStyleComboBox,
  idFullScreenBtn,
  idKelImage,
  idStatusBar,
  // Menu commands.
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
};

inline constexpr int SplitterWidth = 4;
inline constexpr int MinimumPanelWidth = 50;
inline constexpr int MinimumWindowWidth = 373;
inline constexpr int MinimumWindowHeight = 209;

struct MainLayout {
  LayoutRect list;
  LayoutRect splitter;
  std::vector<std::pair<int, LayoutRect>> rightPanel;  // control id and place
};

// The left panel keeps at least MinimumPanelWidth pixels, and so does the
// right one.
int ClampLeftPanelWidth(int leftPanelWidth, int clientWidth);

// statusHeight is the status bar's height, which takes the bottom.
MainLayout ComputeMainLayout(LayoutSize client, int leftPanelWidth, int statusHeight);

}  // namespace seltane
