#include "mainwindow/Unit1.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "data/PathText.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/MainTexts.h"
#include "platform/System.h"
#include "ui/TaskbarWindow.h"

namespace seltane {
namespace {

// Keys that an edit control needs for itself are not commands while one has
// the focus.
bool IsEditKey(const MSG& message) {
  if (message.message != WM_KEYDOWN ||
      (message.wParam != VK_DELETE && message.wParam != VK_INSERT)) {
    return false;
  }
  char className[16] = {};
  GetClassNameA(GetFocus(), className, sizeof className);
  return lstrcmpiA(className, "Edit") == 0;
}

}  // namespace

TForm1::TForm1(MainWindowServices services)
    : services_(std::move(services)),
      engine_(services_.prompter, services_.libraries),
      headers_{std::string(ListColumnHeaders[0]), std::string(ListColumnHeaders[1]),
               std::string(ListColumnHeaders[2])} {
  CreatePreview();
}

TForm1::~TForm1() {
  if (accelerators_ != nullptr) {
    DestroyAcceleratorTable(accelerators_);
  }
}

bool TForm1::Create() {
  TOptions& options = services_.options;
  list.ListPath = options.WallpaperList;
  leftPanelWidth_ = options.LeftPanelWidth;

  // The stored edges are 16-bit: a window left of the screen comes back as
  // a large number, which the monitor check below brings back.
  ScreenRect bounds{static_cast<int16_t>(options.Left), static_cast<int16_t>(options.Top), 0, 0};
  bounds.right = bounds.left + std::max<int>(options.Width, MinimumWindowWidth);
  bounds.bottom = bounds.top + std::max<int>(options.Height, MinimumWindowHeight);
  const RECT asRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&asRect, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& area = monitor.rcWork;
    bounds = KeepOnMonitor(bounds, {area.left, area.top, area.right, area.bottom});
  }
  const RECT placed{bounds.left, bounds.top, bounds.right, bounds.bottom};
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  dpi_ = WindowDpi(nullptr);  // the screen's, until the window has its own
  if (!CreateOfClass("SeltaneMainWindow", MainCaption, style, placed, services_.taskbarOwner,
                     CreateMainMenu())) {
    return false;
  }
  dpi_ = WindowDpi(Handle());
  CreateControls();
  CreateHints();
  pickMode_ = std::make_unique<PickMode>(Handle(), hints_);
  Relayout();

  if (OpenListFile() && !list.PictureList.empty()) {
    const auto& pictures = list.PictureList;
    const auto last = std::find_if(pictures.begin(), pictures.end(), [&](const kelWide& picture) {
      return picture.FullPath == options.LastWallpaper;
    });
    if (last != pictures.end()) {
      SelectOnly(static_cast<int>(last - pictures.begin()), true);
      SetFocus(listView_);
    } else {
      SelectOnly(0, false);
    }
  }
  return true;
}

void TForm1::Show(int showCommand) {
  // With a taskbar window the program is minimised through that window.
  if (services_.taskbarOwner != nullptr && MinimisingShowCommand(showCommand)) {
    showCommand = SW_SHOWNORMAL;
  }
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
}

HMENU TForm1::CreateMainMenu() {
  HMENU bar = CreateMenu();
  std::vector<ACCEL> keys;
  for (std::size_t menu = 0; menu < std::size(MainMenuTitles); ++menu) {
    HMENU dropDown = CreatePopupMenu();
    bool separatorDue = false;
    for (const MainCommand& command : MainCommands()) {
      if (static_cast<std::size_t>(command.menu) != menu ||
          (command.win9xOnly && !services_.win9xFamily)) {
        continue;
      }
      if (command.id == 0) {
        separatorDue = GetMenuItemCount(dropDown) > 0;
        continue;
      }
      if (separatorDue) {
        AppendMenuA(dropDown, MF_SEPARATOR, 0, nullptr);
        separatorDue = false;
      }
      AppendMenuA(dropDown, MF_STRING | (command.boundLater ? MF_GRAYED : 0), command.id,
                  MenuItemText(command).c_str());
      if (const Shortcut& key = command.shortcut; key.key != 0) {
        keys.push_back(
            {static_cast<BYTE>(FVIRTKEY | (key.ctrl ? FCONTROL : 0) | (key.alt ? FALT : 0)),
             key.key, static_cast<WORD>(command.id)});
      }
    }
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown),
                std::string(MainMenuTitles[menu]).c_str());
  }
  accelerators_ = CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
  return bar;
}

void TForm1::CreateControls() {
  HWND window = Handle();
  listView_ = CreateChild(window, WC_LISTVIEWA, "",
                          WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                          idKelListView);
  ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const int widths[ListColumnCount] = {services_.options.ListViewNameWidth,
                                       ScaleToDpi(StyleColumnWidth, dpi_),
                                       services_.options.ListViewFullNameWidth};
  for (int column = 0; column < ListColumnCount; ++column) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = headers_[column].data();
    header.cx = widths[column];
    SendMessageA(listView_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  }
  CreateChild(window, "BUTTON", AddBtnText, WS_TABSTOP | BS_PUSHBUTTON, idAddBtn);
  CreateChild(window, "BUTTON", DelBtnText, WS_TABSTOP | BS_PUSHBUTTON, idDelBtn);
  CreateChild(window, "BUTTON", SetBtnText, WS_TABSTOP | BS_PUSHBUTTON, idSetBtn);
  CreateChild(window, "STATIC", StyleLabelText, SS_LEFT, idStyleLabel);
  styleBox_ =
      CreateChild(window, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, idStyleComboBox);
  for (std::string_view text : StyleTexts) {
    SendMessageA(styleBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(text).c_str()));
  }
  SendMessageA(styleBox_, CB_SETCURSEL, 0, 0);
  // Enabled once the fullscreen preview is bound to its command.
  CreateChild(window, "BUTTON", FullScreenBtnText, WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED,
              idFullScreenBtn);
  image_.Create(window, idKelImage);
  statusBar_ = CreateChild(window, STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, idStatusBar);
}

void TForm1::CreateHints() {
  hints_.Create(Handle());
  const std::pair<int, const wchar_t*> hints[] = {{idAddBtn, AddBtnHint},
                                                  {idDelBtn, DelBtnHint},
                                                  {idSetBtn, SetBtnHint},
                                                  {idFullScreenBtn, FullScreenBtnHint},
                                                  {idKelImage, KelImageHint}};
  for (const auto& [id, text] : hints) {
    hints_.Add(GetDlgItem(Handle(), id), text);
  }
}

MainLayoutInput TForm1::LayoutInput() const {
  RECT status{};
  GetWindowRect(statusBar_, &status);
  return {ClientSize(Handle()), leftPanelWidth_, static_cast<int>(status.bottom - status.top),
          statusTextWidths_, dpi_};
}

void TForm1::Relayout() {
  if (statusBar_ == nullptr) {
    return;  // WM_SIZE comes during CreateWindowEx, before the controls exist
  }
  SendMessageA(statusBar_, WM_SIZE, 0, 0);
  layout_ = ComputeMainLayout(LayoutInput());
  std::vector<PlacedChild> children = {{listView_, layout_.list}};
  if (InPickMode()) {
    children.push_back({pickMode_->List(), layout_.list});
  }
  for (const auto& [id, rect] : layout_.rightPanel) {
    children.push_back({GetDlgItem(Handle(), id), rect});
  }
  if (progress_) {
    children.push_back({progress_->Handle(), layout_.progressBar});
  }
  MoveChildren(children);
  SendMessageA(statusBar_, SB_SETPARTS, layout_.statusEdges.size(),
               reinterpret_cast<LPARAM>(layout_.statusEdges.data()));
}

void TForm1::FollowDpi(WPARAM wParam, LPARAM lParam) {
  const int old = dpi_;
  dpi_ = HIWORD(wParam) != 0 ? HIWORD(wParam) : DesignDpi;
  // Widths the user chose keep their size on the screen.
  leftPanelWidth_ = MulDiv(leftPanelWidth_, dpi_, old);
  for (int column = 0; column < ListColumnCount; ++column) {
    ListView_SetColumnWidth(listView_, column,
                            MulDiv(ListView_GetColumnWidth(listView_, column), dpi_, old));
  }
  FollowDpiChange(Handle(), wParam, lParam);
  Relayout();
  preview_->AreaChanged();
}

bool TForm1::OnSplitter(int x) const {
  return x >= layout_.list.Right() && x < layout_.list.Right() + layout_.splitterWidth;
}

bool TForm1::TranslateShortcut(MSG& message) {
  if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) {
    return false;  // keys of other windows are theirs
  }
  // F10 arrives as a system key: it is the shortcut of "Exit".
  if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F10 &&
      (GetKeyState(VK_MENU) & 0x8000) == 0) {
    PostMessageA(Handle(), WM_COMMAND, idNExit, 0);
    return true;
  }
  return !IsEditKey(message) && TranslateAcceleratorA(Handle(), accelerators_, &message) != 0;
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        Relayout();
        if (!sizing_) {
          preview_->AreaChanged();
        }
      }
      return 0;
    case WM_ENTERSIZEMOVE:
      sizing_ = true;
      return 0;
    case WM_EXITSIZEMOVE:
      // The preview is decoded again once, when the user lets go.
      sizing_ = false;
      preview_->AreaChanged();
      return 0;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      limits.ptMinTrackSize = {ScaleToDpi(MinimumWindowWidth, dpi_),
                               ScaleToDpi(MinimumWindowHeight, dpi_)};
      return 0;
    }
    case WmDpiChanged:
      FollowDpi(wParam, lParam);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Handle()) {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(Handle(), &cursor);
        if (OnSplitter(cursor.x)) {
          SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN:
      if (OnSplitter(static_cast<short>(LOWORD(lParam)))) {
        draggingSplitter_ = true;
        SetCapture(Handle());
      }
      return 0;
    case WM_MOUSEMOVE:
      if (draggingSplitter_) {
        leftPanelWidth_ = ClampLeftPanelWidth(static_cast<short>(LOWORD(lParam)),
                                              ClientSize(Handle()).width, dpi_);
        Relayout();
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (draggingSplitter_) {
        draggingSplitter_ = false;
        preview_->AreaChanged();
      }
      if (message == WM_LBUTTONUP) {
        ReleaseCapture();
      }
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == GetDlgItem(Handle(), idAddBtn) && !InPickMode()) {
        ShowAddPopup(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Minimising the program minimises its taskbar window, which hides
      // this one with its other windows.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && services_.taskbarOwner != nullptr) {
        ShowWindow(services_.taskbarOwner, SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The process may end as soon as this returns: save as at exit.
      if (wParam) {
        if (services_.endSession) {
          services_.endSession();
        } else {
          FormDestroy();
        }
      }
      return 0;
    case WM_CLOSE:
      // The program saves and then destroys the window once its message loop
      // has ended.
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Window::OnMessage(message, wParam, lParam);
}

void TForm1::BindCommand(int id, std::function<void()> handler) {
  boundCommands_[id] = std::move(handler);
  EnableMenuItem(GetMenu(Handle()), id, MF_BYCOMMAND | MF_ENABLED);
  if (id == idNFullscreen) {
    EnableWindow(GetDlgItem(Handle(), idFullScreenBtn), TRUE);
  }
}

void TForm1::RunBound(int id) {
  if (const auto bound = boundCommands_.find(id); bound != boundCommands_.end()) {
    bound->second();
  }
}

void TForm1::Command(int id, int code) {
  if (InPickMode()) {
    // The buttons act on the found pictures; only the commands that work in
    // pick mode are left of the menus.
    switch (id) {
      case idAddBtn:
        PickOkClick();
        return;
      case idDelBtn:
        PickCancelClick();
        return;
      case idSetBtn:
        PickCheckAllClick();
        return;
      default:
        if (const MainCommand* command = FindMainCommand(id); !command || !command->inPickMode) {
          return;
        }
    }
  }
  switch (id) {
    case idAddBtn:
    case idNAddFile:
    case idNPopupAddFile:
      NAddFileClick();
      break;
    case idNAddFolder:
    case idNPopupAddFolder:
      NAddFolderClick();
      break;
    case idDelBtn:
    case idNDeleteFile:
      DelBtnClick();
      break;
    case idSetBtn:
    case idNSetAsWallpaper:
      SetBtnClick();
      break;
    case idStyleComboBox:
      if (code == CBN_SELCHANGE) {
        StyleComboBoxChange();
      }
      break;
    case idNMoveUp:
      NMoveUpClick();
      break;
    case idNMoveDown:
      NMoveDownClick();
      break;
    case idNNewList:
      NNewListClick();
      break;
    case idNOpenList:
      NOpenListClick();
      break;
    case idNSaveList:
      NSaveListClick();
      break;
    case idNSaveListAs:
      NSaveListAsClick();
      break;
    case idNExit:
      NExitClick();
      break;
    case idNActiveDesktopOn:
    case idNActiveDesktopOff:
      NActiveDesktopOnClick(id == idNActiveDesktopOn);
      break;
    case idNFindrandomly:
      NFindrandomlyClick();
      break;
    case idNSetrandomly:
      Setrandomly1Click();
      break;
    case idNHelp:
      Help1Click();
      break;
    case idFullScreenBtn:
      RunBound(idNFullscreen);
      break;
    case idKelImage:
      if (code == 1) {  // double click
        RunBound(idNFullscreen);
      }
      break;
    default:
      RunBound(id);  // the commands of the other windows
      break;
  }
}

LRESULT TForm1::Notify(const NMHDR& header) {
  if (InPickMode()) {
    if (const int row = pickMode_->SelectedRow(header); row >= 0) {
      PickListSelectItem(row);
    }
  }
  if (header.hwndFrom != listView_) {
    return 0;
  }
  switch (header.code) {
    case LVN_GETDISPINFOA: {
      auto& item = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item;
      if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 ||
          item.iItem >= static_cast<int>(list.PictureList.size()) || item.cchTextMax <= 0) {
        return 0;
      }
      const kelWide& picture = list.PictureList[item.iItem];
      std::string_view text;
      switch (item.iSubItem) {
        case lcFileName:
          text = RowCaption(picture, services_.options.ShowExtensions);
          break;
        case lcStyle:
          text = StyleText(picture.Style);
          break;
        default:
          text = picture.FullPath;
          break;
      }
      const std::size_t length = std::min<std::size_t>(text.size(), item.cchTextMax - 1);
      std::copy_n(text.data(), length, item.pszText);
      item.pszText[length] = '\0';
      return 0;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (!ignoreSelection_ && (change.uChanged & LVIF_STATE) != 0 && change.iItem >= 0 &&
          (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
        KelListViewSelectItem(change.iItem, true);
      }
      return 0;
    }
    case LVN_ODSTATECHANGED: {
      // Shift+click and Shift+arrow select a range in one notification: the
      // preview follows the focused row of it, unless it shows that already.
      const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
      if (!ignoreSelection_ && (change.uNewState & LVIS_SELECTED) != 0 &&
          (change.uOldState & LVIS_SELECTED) == 0) {
        const int focused = FocusedRow();
        const int row = focused >= change.iFrom && focused <= change.iTo ? focused : change.iTo;
        if (row != preview_->Indexes().ShownIndex) {
          KelListViewSelectItem(row, true);
        }
      }
      return 0;
    }
    case LVN_COLUMNCLICK:
      KelListViewColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return 0;
    case NM_DBLCLK:
    case NM_RETURN:
      RunBound(idNFullscreen);
      return 0;
    default:
      return 0;
  }
}

void TForm1::RefreshRows() {
  const int shown = ShownRow();
  const bool stays = shown >= 0 && shown < static_cast<int>(list.PictureList.size()) &&
                     list.PictureList[shown].FullPath == preview_->ShownPath();
  RefreshRowsShowing(stays ? shown : NoRow);
}

void TForm1::RefreshRowsShowing(int shownRow) {
  const int rows = static_cast<int>(list.PictureList.size());
  if (ListView_GetItemCount(listView_) != rows) {
    ListView_SetItemCountEx(listView_, rows, LVSICF_NOSCROLL);
  }
  InvalidateRect(listView_, nullptr, FALSE);
  ShownRowMoved(shownRow);
}

void TForm1::ShownRowMoved(int shownRow) {
  const int rows = static_cast<int>(list.PictureList.size());
  const bool showedRow = ShownRow() != NoRow;
  preview_->RowsChanged(shownRow < rows ? shownRow : NoRow);
  if (const int shown = ShownRow(); shown != NoRow) {
    const kelWide& picture = list.PictureList[shown];
    ShowRowStatus(shown, rows, picture.Width, picture.Height, picture.FullPath);
  } else if (showedRow) {
    ShowNoPicture();  // its row is gone
  }
}

void TForm1::ShowNoPicture() {
  preview_->Forget();
  SetWindowTextA(Handle(), MainCaption);
  for (WPARAM panel = 0; panel < 3; ++panel) {
    SendMessageA(statusBar_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(""));
  }
}

void TForm1::RefreshStyles() {
  InvalidateRect(listView_, nullptr, FALSE);
  if (const int row = ShownRow() != NoRow ? ShownRow() : SelectedRow(); row >= 0) {
    SendMessageA(styleBox_, CB_SETCURSEL, list.PictureList[row].Style, 0);
  }
}

void TForm1::RemovePicture(int row) {
  if (row < 0 || row >= static_cast<int>(list.PictureList.size())) {
    return;
  }
  list.PictureList.erase(list.PictureList.begin() + row);
  MarkListAndRandomChanged(list);
  RefreshRows();
}

void TForm1::RemovePictures(std::vector<int> rows) {
  const int count = static_cast<int>(list.PictureList.size());
  std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) {
    return;
  }
  auto placeAfter = [&](int row) { return RowAfterRemoving(rows, row); };
  const BufferingPause pause = PauseBuffering();
  const std::vector<int> selected = SelectedRows();
  const int focused = FocusedRow();
  const int shown = ShownRow();
  DeleteRows(list.PictureList, rows);
  MarkListAndRandomChanged(list);

  // The selection goes with its pictures; moving it is no choice of the
  // user, so nothing is shown again.
  ignoreSelection_ = true;
  ListView_SetItemState(listView_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  RefreshRowsShowing(placeAfter(shown));
  bool selectionKept = false;
  for (int row : selected) {
    if (const int now = placeAfter(row); now >= 0) {
      ListView_SetItemState(listView_, now, LVIS_SELECTED, LVIS_SELECTED);
      selectionKept = true;
    }
  }
  if (const int now = focused >= 0 ? placeAfter(focused) : -1; now >= 0) {
    ListView_SetItemState(listView_, now, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  ignoreSelection_ = false;

  const int rowsLeft = static_cast<int>(list.PictureList.size());
  if (!selected.empty() && !selectionKept && rowsLeft > 0) {
    // As after Delete: the row that took the first selected one's place.
    const int first = selected.front();
    const int place =
        first - static_cast<int>(std::lower_bound(rows.begin(), rows.end(), first) - rows.begin());
    SelectOnly(std::min(place, rowsLeft - 1), true);
  }
}

void TForm1::ClearSelection() {
  ListView_SetItemState(listView_, -1, 0, LVIS_SELECTED);
}

void TForm1::SelectOnly(int row, bool focus) {
  ClearSelection();
  if (row < 0 || row >= static_cast<int>(list.PictureList.size())) {
    return;
  }
  const UINT state = LVIS_SELECTED | (focus ? LVIS_FOCUSED : 0);
  ListView_SetItemState(listView_, row, state, state);
  ListView_EnsureVisible(listView_, row, FALSE);
}

std::vector<int> TForm1::SelectedRows() const {
  std::vector<int> rows;
  for (int row = ListView_GetNextItem(listView_, -1, LVNI_SELECTED); row != -1;
       row = ListView_GetNextItem(listView_, row, LVNI_SELECTED)) {
    rows.push_back(row);
  }
  return rows;
}

int TForm1::SelectedRow() const {
  return ListView_GetNextItem(listView_, -1, LVNI_SELECTED);
}

int TForm1::FocusedRow() const {
  return ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
}

void TForm1::FocusSelectedRow() {
  const std::vector<int> selected = SelectedRows();
  int row = selected.empty() ? -1 : selected.front();
  if (std::find(selected.begin(), selected.end(), ShownRow()) != selected.end()) {
    row = ShownRow();
  }
  if (row >= 0) {
    ListView_SetItemState(listView_, row, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_EnsureVisible(listView_, row, FALSE);
  }
  SetFocus(listView_);
}

std::unique_ptr<ProgressBar> TForm1::CreateProgressBar(std::size_t count) {
  return std::make_unique<ProgressBar>(Handle(), layout_.progressBar, count);
}

void TForm1::DelBtnClick() {
  TOptions& options = services_.options;
  if (options.DeleteConfirm &&
      services_.prompter.Ask(DeleteQuestion, ConfirmationCaption, PromptButtons::OkCancel,
                             PromptIcon::Question) != PromptAnswer::Ok) {
    return;
  }
  const std::vector<int> selected = SelectedRows();
  if (selected.empty()) {
    return;
  }
  MarkListAndRandomChanged(list);
  const BufferingPause pause = PauseBuffering();
  ClearSelection();
  const int shown = RowAfterRemoving(selected, ShownRow());
  const int next = DeleteRows(list.PictureList, selected);
  RefreshRowsShowing(shown);
  if (next >= 0) {
    SelectOnly(next, true);
  }
}

void TForm1::StyleComboBoxChange() {
  const int style = StyleBoxIndex();
  const std::vector<int> selected = SelectedRows();
  if (selected.empty() || style < 0 || style >= WallpaperStyleCount) {
    return;
  }
  list.ListChanged = true;
  for (int row : selected) {
    list.PictureList[row].Style = static_cast<uint8_t>(style);
  }
  InvalidateRect(listView_, nullptr, FALSE);
}

void TForm1::SetBtnClick() {
  // The picture the preview shows, which the caption and the status bar
  // name, in the style the box shows with it.
  const int row = ShownRow();
  if (row < 0) {
    return;
  }
  const std::string path = list.PictureList[row].FullPath;
  // A style typed into the box that is none of the six sets the picture
  // centred, as the fullscreen preview shows it.
  const int box = StyleBoxIndex();
  const auto style = static_cast<uint8_t>(box >= 0 ? box : wsCenter);
  if (!engine_.SetWallpaper(path, style)) {
    return;
  }
  services_.options.LastChangeTime = LocalDateTimeNow();
  services_.options.LastWallpaper = path;
  list.RandomChanged = true;
  SetFocus(listView_);
}

void TForm1::NFindrandomlyClick() {
  if (list.PictureList.empty()) {
    return;
  }
  std::vector<uint8_t> marks;
  marks.reserve(list.PictureList.size());
  for (const kelWide& picture : list.PictureList) {
    marks.push_back(picture.Used ? 1 : 0);
  }
  ClearSelection();
  // The marks the library changes are dropped: choosing in kel changes no
  // stored mark.
  const auto chosen = engine_.FindNextPicture(marks, services_.options.RandomType);
  if (chosen) {
    SelectOnly(*chosen, true);
  }
}

void TForm1::Setrandomly1Click() {
  if (list.PictureList.empty()) {
    return;
  }
  NFindrandomlyClick();
  // Only the picture chosen: not the one shown before when the chosen one
  // could not be shown.
  if (ShownRow() == SelectedRow()) {
    SetBtnClick();
  }
}

void TForm1::NActiveDesktopOnClick(bool on) {
  engine_.ActiveDesktopOnOff(on, services_.options.LastWallpaper);
}

void TForm1::MoveSelectedRows(const std::vector<int>& selected, bool up) {
  const BufferingPause pause = PauseBuffering();
  const std::vector<UINT> states = RowStates();
  const std::vector<uint32_t> order = MoveRows(list.PictureList, selected, up);
  if (order.empty()) {
    return;
  }
  CarryRowStates(states, order);
  if (const int focused = FocusedRow(); focused >= 0) {
    ListView_EnsureVisible(listView_, focused, FALSE);
  }
  MarkListAndRandomChanged(list);
}

std::vector<UINT> TForm1::RowStates() const {
  std::vector<UINT> states(list.PictureList.size());
  for (std::size_t row = 0; row < states.size(); ++row) {
    states[row] =
        ListView_GetItemState(listView_, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED);
  }
  return states;
}

void TForm1::CarryRowStates(const std::vector<UINT>& states, const std::vector<uint32_t>& order) {
  // Carrying the states along is no selection by the user: the picture
  // shown does not change.
  ignoreSelection_ = true;
  ListView_SetItemState(listView_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (std::size_t row = 0; row < order.size(); ++row) {
    if (states[order[row]] != 0) {
      ListView_SetItemState(listView_, static_cast<int>(row), states[order[row]],
                            LVIS_SELECTED | LVIS_FOCUSED);
    }
  }
  ignoreSelection_ = false;
  const auto shown = std::find(order.begin(), order.end(), static_cast<uint32_t>(ShownRow()));
  RefreshRowsShowing(shown != order.end() ? static_cast<int>(shown - order.begin()) : NoRow);
}

void TForm1::NMoveUpClick() {
  if (const std::vector<int> selected = SelectedRows(); selected.size() > 1) {
    MoveSelectedRows(selected, true);
    return;
  }
  const int focused = FocusedRow();
  if (focused <= 0) {
    return;
  }
  const BufferingPause pause = PauseBuffering();
  // The two rows trade places with their selection states; the focus stays
  // with the moved picture.
  const UINT movedState = ListView_GetItemState(listView_, focused, LVIS_SELECTED);
  const UINT otherState = ListView_GetItemState(listView_, focused - 1, LVIS_SELECTED);
  const int shown = ShownRow();
  const int moved = MoveRowUp(list.PictureList, focused);
  RefreshRowsShowing(shown == focused ? moved : shown == moved ? focused : shown);
  ListView_SetItemState(listView_, focused, otherState, LVIS_SELECTED);
  ListView_SetItemState(listView_, moved, movedState | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(listView_, moved, FALSE);
  MarkListAndRandomChanged(list);
}

void TForm1::NMoveDownClick() {
  if (const std::vector<int> selected = SelectedRows(); selected.size() > 1) {
    MoveSelectedRows(selected, false);
    return;
  }
  const int focused = FocusedRow();
  if (focused < 0 || focused + 1 >= static_cast<int>(list.PictureList.size())) {
    return;
  }
  const BufferingPause pause = PauseBuffering();
  const int shown = ShownRow();
  const int moved = MoveRowDown(list.PictureList, focused);
  RefreshRowsShowing(shown == focused ? moved : shown == moved ? focused : shown);
  SelectOnly(moved, true);
  MarkListAndRandomChanged(list);
}

void TForm1::KelListViewColumnClick(int column) {
  ApplyColumnClick(sort, headers_, column);
  for (int index = 0; index < ListColumnCount; ++index) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT;
    header.pszText = headers_[index].data();
    SendMessageA(listView_, LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&header));
  }
  // Selections, the focus and the picture shown go with their pictures.
  const std::vector<UINT> states = RowStates();
  CarryRowStates(states, SortPictures(list.PictureList, sort));
  MarkListAndRandomChanged(list);
}

void TForm1::Help1Click() {
  // Beside the program, wherever it was started from.
  const std::string document = JoinPath(services_.programFolder, HelpDocument);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(Handle(), "open", document.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    services_.prompter.Tell(HelpMissingText, MainCaption, PromptIcon::Information);
  }
}

void TForm1::NExitClick() {
  PostQuitMessage(0);
}

std::string TForm1::Caption() const {
  char text[1024] = {};
  GetWindowTextA(Handle(), text, sizeof text);
  return text;
}

std::string TForm1::StatusText(int panel) const {
  char text[1024] = {};
  SendMessageA(statusBar_, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string TForm1::HeaderText(int column) const {
  return headers_[column];
}

std::wstring TForm1::HintText(int controlId) const {
  return hints_.Text(GetDlgItem(Handle(), controlId));
}

int TForm1::StyleBoxIndex() const {
  return static_cast<int>(SendMessageA(styleBox_, CB_GETCURSEL, 0, 0));
}

}  // namespace seltane
