#include "mainwindow/PickMode.h"

#include "data/PictureEntry.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/MainTexts.h"
#include "ui/Window.h"

namespace seltane {
namespace {

// The buttons and what they read in pick mode.
constexpr std::pair<int, const char*> PickButtons[] = {
    {idAddBtn, PickOkText}, {idDelBtn, PickCancelText}, {idSetBtn, PickCheckAllText}};
// Hidden while the found pictures are offered.
constexpr int HiddenControls[] = {idKelListView, idStyleLabel, idStyleComboBox};

std::string ControlText(HWND control) {
  char text[256] = {};
  GetWindowTextA(control, text, sizeof text);
  return text;
}

void EnableMenusForPickMode(HWND window, bool pickMode) {
  HMENU bar = GetMenu(window);
  for (UINT position = 0; position < std::size(MainMenuTitles); ++position) {
    const bool works = !pickMode || MenuWorksInPickMode(static_cast<MainMenu>(position));
    EnableMenuItem(bar, position, MF_BYPOSITION | (works ? MF_ENABLED : MF_GRAYED));
  }
  DrawMenuBar(window);
}

}  // namespace

PickMode::~PickMode() {
  if (list_ != nullptr && IsWindow(list_)) {
    DestroyWindow(list_);
  }
}

void PickMode::Offer(const std::vector<std::string>& paths) {
  if (!Active()) {
    Enter();
  }
  Append(paths);
  ListView_SetColumnWidth(list_, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void PickMode::Enter() {
  EnableMenusForPickMode(window_, true);
  for (int id : HiddenControls) {
    ShowWindow(GetDlgItem(window_, id), SW_HIDE);
  }
  hints_.Enable(GetDlgItem(window_, idAddBtn), false);
  hints_.Enable(GetDlgItem(window_, idDelBtn), false);
  buttonTexts_.clear();
  for (const auto& [id, text] : PickButtons) {
    buttonTexts_.emplace_back(id, ControlText(GetDlgItem(window_, id)));
    SetDlgItemTextA(window_, id, text);
  }
  SetWindowTextA(window_, PickModeCaption);

  list_ = CreateChild(window_, WC_LISTVIEWA, "",
                      WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                      idPickList);
  ListView_SetExtendedListViewStyle(list_,
                                    LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<char*>(PickListHeader);
  SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  paths_.clear();
}

void PickMode::Append(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (paths_.size() >= MaxPictures) {
      break;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(paths_.size());
    item.pszText = const_cast<char*>(path.c_str());
    const int row =
        static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    ListView_SetCheckState(list_, row, TRUE);
    paths_.push_back(path);
  }
}

void PickMode::Leave() {
  if (!Active()) {
    return;
  }
  DestroyWindow(list_);
  list_ = nullptr;
  paths_.clear();
  EnableMenusForPickMode(window_, false);
  for (int id : HiddenControls) {
    ShowWindow(GetDlgItem(window_, id), SW_SHOW);
  }
  for (const auto& [id, text] : buttonTexts_) {
    SetDlgItemTextA(window_, id, text.c_str());
  }
  hints_.Enable(GetDlgItem(window_, idAddBtn), true);
  hints_.Enable(GetDlgItem(window_, idDelBtn), true);
  SetWindowTextA(window_, MainCaption);
}

void PickMode::ToggleAll() {
  const int rows = ListView_GetItemCount(list_);
  bool anyChecked = false;
  for (int row = 0; row < rows && !anyChecked; ++row) {
    anyChecked = ListView_GetCheckState(list_, row) != 0;
  }
  for (int row = 0; row < rows; ++row) {
    ListView_SetCheckState(list_, row, anyChecked ? FALSE : TRUE);
  }
}

std::vector<bool> PickMode::Checked() const {
  std::vector<bool> checked(paths_.size());
  for (std::size_t row = 0; row < checked.size(); ++row) {
    checked[row] = ListView_GetCheckState(list_, static_cast<int>(row)) != 0;
  }
  return checked;
}

int PickMode::SelectedRow(const NMHDR& header) const {
  if (header.hwndFrom != list_ || header.code != LVN_ITEMCHANGED) {
    return -1;
  }
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  const bool selectedNow = (change.uChanged & LVIF_STATE) != 0 &&
                           (change.uNewState & LVIS_SELECTED) != 0 &&
                           (change.uOldState & LVIS_SELECTED) == 0;
  return selectedNow && change.iItem >= 0 && change.iItem < static_cast<int>(paths_.size())
             ? change.iItem
             : -1;
}

}  // namespace seltane
