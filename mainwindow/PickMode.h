// Pick mode: the pictures a folder search found, offered as a check list in
// the place of the picture list, so that only the checked ones are added.
//
// While it lasts the three buttons act on the found pictures under other
// captions, the menus with no command that works in pick mode are off, the
// style box is hidden and so are the hints of "Add..." and "Delete".
// Leaving puts back the captions the buttons had.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/Hints.h"

namespace seltane {

class PickMode {
 public:
  PickMode(HWND window, Hints& hints) : window_(window), hints_(hints) {}
  PickMode(const PickMode&) = delete;
  PickMode& operator=(const PickMode&) = delete;
  ~PickMode();

  bool Active() const { return list_ != nullptr; }
  // Enters pick mode with the paths, all checked; while it is active, the
  // paths join the ones offered.
  void Offer(const std::vector<std::string>& paths);
  void Leave();
  // "(un)Check all": every row unchecked when any is checked, else every
  // row checked.
  void ToggleAll();
  std::vector<bool> Checked() const;
  const std::vector<std::string>& Paths() const { return paths_; }
  HWND List() const { return list_; }
  // The row a notification of the check list newly selected; -1 when it
  // selected none.
  int SelectedRow(const NMHDR& header) const;

 private:
  void Enter();
  void Append(const std::vector<std::string>& paths);

  HWND window_;
  Hints& hints_;
  HWND list_ = nullptr;
  std::vector<std::string> paths_;
  std::vector<std::pair<int, std::string>> buttonTexts_;  // as they were before
};

}  // namespace seltane
