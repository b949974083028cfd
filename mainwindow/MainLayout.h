// Where the main window's parts go for a given client size and DPI: the
// list on the left, a splitter, the commands and the preview on the right,
// the progress bar over "Set as wallpaper" while one shows, and the status
// bar's panels. One function places everything.
#pragma once

#include <array>

#include "ui/Layout.h"

namespace seltane {

// Ids of the main window's controls; menu command ids are in
// MainCommands.h.
enum MainControlId : int {
  idKelListView = 100,
  idAddBtn,
  idDelBtn,
  idSetBtn,
  idStyleLabel,
  idStyleComboBox,
  idFullScreenBtn,
  idKelImage,
  idStatusBar,
  idPickList,
  idProgressBar,
};

// Lengths as designed, at 96 DPI.
inline constexpr int SplitterWidth = 4;
inline constexpr int MinimumPanelWidth = 50;
inline constexpr int MinimumWindowWidth = 373;
inline constexpr int MinimumWindowHeight = 209;
inline constexpr int StyleColumnWidth = 51;
// The status bar's panels are at least this wide, and wider when their
// texts need it; the last one takes the rest of the bar.
inline constexpr std::array<int, 3> StatusPanelWidths = {60, 60, 50};
// The room a panel needs besides its text: its borders and margins.
inline constexpr int StatusTextMargin = 12;

struct MainLayoutInput {
  LayoutSize client;
  int leftPanelWidth = 0;  // as the user left it, in pixels
  int statusHeight = 0;
  // The widths of the first two panels' texts, in pixels.
  std::array<int, 2> statusTextWidths{};
  int dpi = DesignDpi;
};

struct MainLayout {
  LayoutRect list;  // the picture list, and the pick list in its place
  int splitterWidth = SplitterWidth;
  PlacedControls rightPanel;  // control id and place
  LayoutRect progressBar;     // over "Set as wallpaper"
  // The right edge of each status panel; -1: to the end of the bar.
  std::array<int, 3> statusEdges{};
};

// The left panel keeps at least MinimumPanelWidth pixels (at the DPI), and
// so does the right one. A client too narrow for both gives the left one its
// minimum.
int ClampLeftPanelWidth(int leftPanelWidth, int clientWidth, int dpi);

// The places of everything for the client area. The left panel's width is
// only clamped here, never changed: a window minimised or made narrow for a
// while gets the user's width back.
MainLayout ComputeMainLayout(const MainLayoutInput& input);

}  // namespace seltane
