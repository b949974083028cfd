#include "mainwindow/Unit1.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <unordered_set>

#include "data/ListFiles.h"
#include "data/ListFormat.h"
#include "data/PathText.h"
#include "gather/FolderScan.h"
#include "mainwindow/MainLayout.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/System.h"
#include "platform/TextConversion.h"

namespace seltane {
namespace {

constexpr const char* ListFileFilter = "Wallpapers list (*.lst)|*.lst";
constexpr const char* PictureFileFilter =
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";
constexpr const char* PickModeCaption = "Select pictures to add";
constexpr const char* ListFullText =
    "The list holds 65535 pictures, the most a list can hold. The other pictures were not added.";
constexpr int idNPopupAddFile = 300;
constexpr int idNPopupAddFolder = 301;
constexpr int StyleColumnWidth = 51;

FileDialogOptions ListDialog() {
  return {ListFileFilter, "lst", false};
}

struct MenuItem {
  int id;  // 0: separator
  const char* text;
  bool enabled;
};

// The items of one drop-down menu, texts with their shortcut keys.
HMENU DropDown(std::initializer_list<MenuItem> items) {
  HMENU menu = CreatePopupMenu();
  for (const MenuItem& item : items) {
    if (item.id == 0) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING | (item.enabled ? 0 : MF_GRAYED), item.id, item.text);
    }
  }
  return menu;
}

uint16_t ClampToWord(int value) {
  return static_cast<uint16_t>(std::clamp(value, 0, 65535));
}

}  // namespace

TForm1::TForm1(MainWindowServices services)
    : services_(std::move(services)),
      engine_(services_.prompter, services_.libraries),
      headers_{std::string(ListColumnHeaders[0]), std::string(ListColumnHeaders[1]),
               std::string(ListColumnHeaders[2])} {}

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
  if (!CreateOfClass("SeltaneMainWindow", "Seltane", style, placed, nullptr, CreateMainMenu())) {
    return false;
  }
  CreateControls();
  if (!services_.win9xFamily) {
    // The Active Desktop switch exists on Windows 95, 98 and Me only.
    DeleteMenu(GetMenu(Handle()), idNActiveDesktopOn, MF_BYCOMMAND);
    DeleteMenu(GetMenu(Handle()), idNActiveDesktopOff, MF_BYCOMMAND);
  }
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
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
}

HMENU TForm1::CreateMainMenu() {
  HMENU bar = CreateMenu();
  // Adding pictures, the fullscreen preview and the option dialogs are not
  // part of this window yet: their items stay disabled.
  AppendMenuA(
      bar, MF_POPUP,
      reinterpret_cast<UINT_PTR>(DropDown({{idNAddFile, "Add file...\tIns", true},
                                           {idNAddFolder, "Add folder...\tCtrl+Alt+A", true},
                                           {idNDeleteFile, "Delete file\tDel", true},
                                           {0, nullptr, true},
                                           {idNMoveUp, "Move up\tCtrl+A", true},
                                           {idNMoveDown, "Move down\tCtrl+Z", true},
                                           {0, nullptr, true},
                                           {idNNewList, "New list\tCtrl+N", true},
                                           {idNOpenList, "Open list...\tF3", true},
                                           {idNSaveList, "Save list\tF2", true},
                                           {idNSaveListAs, "Save list as..\tCtrl+S", true},
                                           {0, nullptr, true},
                                           {idNExit, "Exit\tF10", true}})),
      "File");
  AppendMenuA(
      bar, MF_POPUP,
      reinterpret_cast<UINT_PTR>(DropDown({{idNActiveDesktopOn, "Turn on Active Desktop", true},
                                           {idNActiveDesktopOff, "Turn off Active Desktop", true},
                                           {0, nullptr, true},
                                           {idNSetAsWallpaper, "Set as wallpaper", true},
                                           {idNFindrandomly, "Find randomly", true},
                                           {idNSetrandomly, "Set randomly", true}})),
      "Desktop");
  AppendMenuA(bar, MF_POPUP,
              reinterpret_cast<UINT_PTR>(DropDown({{idNFullscreen, "Fullscreen\tF9", false}})),
              "View");
  AppendMenuA(bar, MF_POPUP,
              reinterpret_cast<UINT_PTR>(
                  DropDown({{idNSetStyle, "Set style...", false},
                            {idNAutoSearch, "Automatic searching/deleting...", false},
                            {0, nullptr, true},
                            {idNOptions, "Options...\tF11", false}})),
              "Options");
  AppendMenuA(bar, MF_POPUP,
              reinterpret_cast<UINT_PTR>(DropDown({{idNHelp, "Help...\tF1", true},
                                                   {0, nullptr, true},
                                                   {idNAbout, "About...\tCtrl+F1", false}})),
              "Help");

  ACCEL keys[] = {
      {FVIRTKEY, VK_INSERT, idNAddFile},
      {FVIRTKEY | FCONTROL | FALT, 'A', idNAddFolder},
      {FVIRTKEY, VK_DELETE, idNDeleteFile},
      {FVIRTKEY | FCONTROL, 'A', idNMoveUp},
      {FVIRTKEY | FCONTROL, 'Z', idNMoveDown},
      {FVIRTKEY | FCONTROL, 'N', idNNewList},
      {FVIRTKEY, VK_F3, idNOpenList},
      {FVIRTKEY, VK_F2, idNSaveList},
      {FVIRTKEY | FCONTROL, 'S', idNSaveListAs},
      {FVIRTKEY, VK_F10, idNExit},
      {FVIRTKEY, VK_F9, idNFullscreen},
      {FVIRTKEY, VK_F11, idNOptions},
      {FVIRTKEY, VK_F1, idNHelp},
      {FVIRTKEY | FCONTROL, VK_F1, idNAbout},
  };
  accelerators_ = CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys)));
  return bar;
}

void TForm1::CreateControls() {
  HWND window = Handle();
  listView_ = CreateChild(window, WC_LISTVIEWA, "",
                          WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                          idKelListView);
  ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const int widths[ListColumnCount] = {services_.options.ListViewNameWidth, StyleColumnWidth,
                                       services_.options.ListViewFullNameWidth};
  for (int column = 0; column < ListColumnCount; ++column) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = headers_[column].data();
    header.cx = widths[column];
    SendMessageA(listView_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  }
  CreateChild(window, "BUTTON", "Add...", WS_TABSTOP | BS_PUSHBUTTON, idAddBtn);
  CreateChild(window, "BUTTON", "Delete", WS_TABSTOP | BS_PUSHBUTTON, idDelBtn);
  CreateChild(window, "BUTTON", "Set as wallpaper", WS_TABSTOP | BS_PUSHBUTTON, idSetBtn);
  CreateChild(window, "STATIC", "Style:", SS_LEFT, idStyleLabel);
  styleBox_ =
      CreateChild(window, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, idStyleComboBox);
  for (std::string_view text : StyleTexts) {
    SendMessageA(styleBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(text).c_str()));
  }
  SendMessageA(styleBox_, CB_SETCURSEL, 0, 0);
  CreateChild(window, "BUTTON", "Fullscreen", WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED,
              idFullScreenBtn);
  image_.Create(window, idKelImage);
  statusBar_ = CreateChild(window, STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, idStatusBar);
  // The last panel, the picture's path, takes the rest of the width.
  int edges[3] = {60, 120, -1};
  SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
}

void TForm1::Relayout() {
  RECT client;
  GetClientRect(Handle(), &client);
  SendMessageA(statusBar_, WM_SIZE, 0, 0);
  RECT status;
  GetWindowRect(statusBar_, &status);
  const MainLayout layout =
      ComputeMainLayout({client.right, client.bottom}, leftPanelWidth_, status.bottom - status.top);
  leftPanelWidth_ = layout.list.width;
  std::vector<PlacedChild> children = {{listView_, layout.list}};
  if (pickList_ != nullptr) {
    children.push_back({pickList_, layout.list});
  }
  for (const auto& [id, rect] : layout.rightPanel) {
    children.push_back({GetDlgItem(Handle(), id), rect});
  }
  MoveChildren(children);
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SIZE:
      Relayout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      limits.ptMinTrackSize = {MinimumWindowWidth, MinimumWindowHeight};
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Handle()) {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(Handle(), &cursor);
        if (cursor.x >= leftPanelWidth_ && cursor.x < leftPanelWidth_ + SplitterWidth) {
          SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN: {
      const int x = static_cast<short>(LOWORD(lParam));
      if (x >= leftPanelWidth_ && x < leftPanelWidth_ + SplitterWidth) {
        draggingSplitter_ = true;
        SetCapture(Handle());
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (draggingSplitter_) {
        RECT client;
        GetClientRect(Handle(), &client);
        leftPanelWidth_ = ClampLeftPanelWidth(static_cast<short>(LOWORD(lParam)), client.right);
        Relayout();
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      draggingSplitter_ = false;
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

void TForm1::Command(int id, int code) {
  if (InPickMode()) {
    // The buttons act on the found pictures; the menus of the list are off.
    switch (id) {
      case idAddBtn:
        PickOkClick();
        break;
      case idDelBtn:
        PickCancelClick();
        break;
      case idSetBtn:
        PickCheckAllClick();
        break;
      case idNHelp:
        Help1Click();
        break;
      default:
        break;
    }
    return;
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
    default:
      break;  // commands of windows that do not exist yet
  }
}

LRESULT TForm1::Notify(const NMHDR& header) {
  if (pickList_ != nullptr && header.hwndFrom == pickList_) {
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) != 0 && change.iItem >= 0 &&
          (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
        PickListSelectItem(change.iItem);
      }
    }
    return 0;
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
    case LVN_COLUMNCLICK:
      KelListViewColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return 0;
    default:
      return 0;
  }
}

void TForm1::RowsChanged() {
  ListView_SetItemCountEx(listView_, static_cast<int>(list.PictureList.size()), LVSICF_NOSCROLL);
  InvalidateRect(listView_, nullptr, TRUE);
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

int TForm1::FocusedRow() const {
  return ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
}

std::shared_ptr<const Picture> TForm1::LoadPicture(const std::string& path, bool reportErrors) {
  auto picture = std::make_shared<Picture>();
  DecodeOptions options;
  RECT area;
  GetClientRect(image_.Handle(), &area);
  // The preview shows pictures reduced: decode large JPEGs reduced too.
  options.drawnSize = [&](PictureSize stored) {
    const double scale = std::min({1.0, static_cast<double>(area.right) / std::max(1, stored.width),
                                   static_cast<double>(area.bottom) / std::max(1, stored.height)});
    return PictureSize{static_cast<int32_t>(stored.width * scale + 1),
                       static_cast<int32_t>(stored.height * scale + 1)};
  };
  // The shown picture appears as it decodes, when the options ask for it.
  if (reportErrors && services_.options.IncrementalDisplay) {
    options.rowsDecoded = [this](const Picture& partial, int32_t rows) {
      image_.ShowPartly(partial, rows);
    };
  }
  const PictureError error = DecodePictureFile(WidenFromAnsi(path), options, *picture);
  if (error != PictureError::None) {
    if (reportErrors) {
      services_.prompter.Tell("Cannot show picture " + path + ": " + PictureErrorText(error),
                              "Error", PromptIcon::Error);
    }
    return nullptr;
  }
  return picture;
}

bool TForm1::AddPictureEntry(const std::string& path, uint8_t style) {
  if (list.PictureList.size() >= MaxPictures) {
    return false;
  }
  const auto size = MeasurePictureFile(WidenFromAnsi(path));
  if (!size) {
    services_.prompter.Tell("Cannot add picture " + path, "", PromptIcon::Information);
    return false;
  }
  const uint16_t width = ClampToWord(size->width);
  const uint16_t height = ClampToWord(size->height);
  if (services_.rules != nullptr && services_.options.StyleSetForNew) {
    const int boxStyle = StyleBoxIndex();
    style = StyleForNewPicture(
        services_.rules->dims, services_.rules->settings, width, height,
        boxStyle >= 0 ? std::optional<uint8_t>(static_cast<uint8_t>(boxStyle)) : std::nullopt);
  }
  list.AddPictureEntry(path, style, width, height, false);
  if (!bulkAdding_) {
    ListView_SetItemCountEx(listView_, static_cast<int>(list.PictureList.size()),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }
  return true;
}

bool TForm1::OpenListFile() {
  if (!FileExists(list.ListPath)) {
    const std::string candidate =
        services_.programFolder + "\\" + std::string(FileNamePart(list.ListPath));
    const bool candidateExists = FileExists(candidate);
    const PromptAnswer answer = services_.prompter.Ask(
        MissingListQuestion(list.ListPath, candidateExists ? candidate : std::string()),
        FileOpenErrorCaption, PromptButtons::YesNoCancel, PromptIcon::Question);
    if (answer == PromptAnswer::Yes) {
      if (candidateExists) {
        list.ListPath = candidate;
      } else {
        std::string error;
        if (!WriteFileReplacing(list.ListPath, FormatListFile({}, {}, {}, CompareLowerAZ), error)) {
          services_.prompter.Tell(
              "The list file could not be created:\n" + list.ListPath + "\n" + error, "Error",
              PromptIcon::Error);
          return false;
        }
      }
    } else if (answer == PromptAnswer::No) {
      const std::vector<std::string> chosen = services_.dialogs.OpenFiles(ListDialog());
      if (chosen.empty()) {
        return false;
      }
      list.ListPath = chosen.front();
    } else {
      return false;
    }
  }
  const bool read = ReadListFile(list, services_.prompter);
  RowsChanged();
  return read;
}

bool TForm1::StartNewList() {
  if (!ListUnnamed) {
    if (!WriteListFiles(list, services_.options, services_.prompter)) {
      return false;  // keep the list that could not be saved
    }
  } else if (!list.PictureList.empty()) {
    NSaveListAsClick();
    if (ListUnnamed) {
      return false;  // the save was cancelled or failed: keep the list
    }
  }
  ClearSelection();
  list.PictureList.clear();
  RowsChanged();
  ForgetBufferedAndCached(preview);
  ListUnnamed = true;
  return true;
}

void TForm1::NNewListClick() {
  StartNewList();
}

void TForm1::NOpenListClick() {
  const std::vector<std::string> chosen = services_.dialogs.OpenFiles(ListDialog());
  if (chosen.empty() || !StartNewList()) {
    return;
  }
  ListUnnamed = false;
  list.ListPath = chosen.front();
  OpenListFile();
}

void TForm1::NSaveListClick() {
  if (ListUnnamed) {
    NSaveListAsClick();
  } else {
    WriteListFiles(list, services_.options, services_.prompter);
  }
}

void TForm1::NSaveListAsClick() {
  const auto chosen = services_.dialogs.SaveFile(ListDialog());
  if (!chosen) {
    return;
  }
  list.ListPath = *chosen;
  list.ListChanged = true;
  list.RandomChanged = true;
  if (WriteListFiles(list, services_.options, services_.prompter)) {
    ListUnnamed = false;
  }
}

void TForm1::DelBtnClick() {
  TOptions& options = services_.options;
  if (options.DeleteConfirm &&
      services_.prompter.Ask("Delete from list?", "Confirmation", PromptButtons::OkCancel,
                             PromptIcon::Question) != PromptAnswer::Ok) {
    return;
  }
  const std::vector<int> selected = SelectedRows();
  if (selected.empty()) {
    return;
  }
  list.ListChanged = true;
  list.RandomChanged = true;
  options.SuspendPreviewBuffering();
  ClearSelection();
  const int next = DeleteRows(list.PictureList, selected);
  RowsChanged();
  if (next >= 0) {
    SelectOnly(next, true);
  }
  ForgetBufferedAndCached(preview);
  options.ResumePreviewBuffering();
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
  const std::vector<int> selected = SelectedRows();
  if (selected.empty()) {
    return;
  }
  const std::string path = list.PictureList[selected.front()].FullPath;
  // A style typed into the box that is none of the six sets stretch.
  const int style = std::max(0, StyleBoxIndex());
  if (!engine_.SetWallpaper(path, static_cast<uint8_t>(style))) {
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
  SetBtnClick();
}

void TForm1::NActiveDesktopOnClick(bool on) {
  engine_.ActiveDesktopOnOff(on, services_.options.LastWallpaper);
}

void TForm1::NMoveUpClick() {
  const int focused = FocusedRow();
  if (focused <= 0) {
    return;
  }
  TOptions& options = services_.options;
  options.SuspendPreviewBuffering();
  // The two rows trade places with their selection states; the focus stays
  // with the moved picture.
  const UINT movedState = ListView_GetItemState(listView_, focused, LVIS_SELECTED);
  const UINT otherState = ListView_GetItemState(listView_, focused - 1, LVIS_SELECTED);
  const int moved = MoveRowUp(list.PictureList, focused);
  ListView_SetItemState(listView_, focused, otherState, LVIS_SELECTED);
  ListView_SetItemState(listView_, moved, movedState | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(listView_, moved, FALSE);
  InvalidateRect(listView_, nullptr, FALSE);
  list.ListChanged = true;
  list.RandomChanged = true;
  ForgetBufferedAndCached(preview);
  options.ResumePreviewBuffering();
}

void TForm1::NMoveDownClick() {
  const int focused = FocusedRow();
  if (focused < 0 || focused + 1 >= static_cast<int>(list.PictureList.size())) {
    return;
  }
  TOptions& options = services_.options;
  options.SuspendPreviewBuffering();
  const int moved = MoveRowDown(list.PictureList, focused);
  InvalidateRect(listView_, nullptr, FALSE);
  SelectOnly(moved, true);
  list.ListChanged = true;
  list.RandomChanged = true;
  ForgetBufferedAndCached(preview);
  options.ResumePreviewBuffering();
}

void TForm1::KelListViewColumnClick(int column) {
  ApplyColumnClick(sort, headers_, column);
  for (int index = 0; index < ListColumnCount; ++index) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT;
    header.pszText = headers_[index].data();
    SendMessageA(listView_, LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&header));
  }
  // Selections and the focus go with their pictures.
  std::vector<UINT> states(list.PictureList.size());
  for (std::size_t row = 0; row < states.size(); ++row) {
    states[row] =
        ListView_GetItemState(listView_, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED);
  }
  const std::vector<uint32_t> order = SortPictures(list.PictureList, sort);
  // The shown picture does not change: restoring the selections is no
  // selection by the user.
  ignoreSelection_ = true;
  ListView_SetItemState(listView_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (std::size_t row = 0; row < order.size(); ++row) {
    if (states[order[row]] != 0) {
      ListView_SetItemState(listView_, static_cast<int>(row), states[order[row]],
                            LVIS_SELECTED | LVIS_FOCUSED);
    }
  }
  ignoreSelection_ = false;
  InvalidateRect(listView_, nullptr, FALSE);
  list.ListChanged = true;
  list.RandomChanged = true;
  ForgetBufferedAndCached(preview);
}

void TForm1::KelListViewSelectItem(int row, bool selected) {
  if (!selected || row < 0 || row >= static_cast<int>(list.PictureList.size())) {
    return;
  }
  TOptions& options = services_.options;
  const std::string path = list.PictureList[row].FullPath;
  SendMessageA(styleBox_, CB_SETCURSEL, list.PictureList[row].Style, 0);
  if (!FileExists(path)) {
    if (options.DeleteNotExisting) {
      services_.prompter.Tell("Picture " + path + " not found", "File not found",
                              PromptIcon::Warning);
      DelBtnClick();
    }
    return;
  }

  const PreviewPlan plan =
      PlanPreviewSelection(preview, row, static_cast<int>(list.PictureList.size()),
                           {options.BufferImages, options.CasheImages});
  std::shared_ptr<const Picture> shown;
  switch (plan.shownFrom) {
    case ShownPictureSource::LoadFile:
      shown = LoadPicture(path, true);
      if (!shown) {
        return;
      }
      break;
    case ShownPictureSource::SwapWithCache:
      shown = CachePicture;
      break;
    case ShownPictureSource::CopyFromBuffer:
      shown = BufferPicture;
      break;
  }
  if (plan.shownFrom == ShownPictureSource::SwapWithCache || plan.copyShownToCache) {
    CachePicture = image_.Shown();
  }
  image_.Show(shown);
  preview = plan.after;
  if (plan.rowToBuffer != NoRow) {
    BufferPicture = LoadPicture(list.PictureList[plan.rowToBuffer].FullPath, false);
    if (!BufferPicture) {
      ForgetBufferedPicture(preview);
    }
  }

  kelWide& entry = list.PictureList[row];
  entry.Width = ClampToWord(shown->stored.width);
  entry.Height = ClampToWord(shown->stored.height);
  SetWindowTextA(Handle(),
                 PreviewCaption(RowCaption(entry, options.ShowExtensions), list.ListTitle).c_str());
  const std::string panels[3] = {
      std::to_string(row + 1) + "/" + std::to_string(list.PictureList.size()),
      std::to_string(entry.Width) + "x" + std::to_string(entry.Height), path};
  for (int panel = 0; panel < 3; ++panel) {
    SendMessageA(statusBar_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(panels[panel].c_str()));
  }
}

void TForm1::Help1Click() {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(Handle(), "open", "readme.htm", nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    services_.prompter.Tell("The help document readme.htm could not be opened.", "Seltane",
                            PromptIcon::Information);
  }
}

void TForm1::NExitClick() {
  PostQuitMessage(0);
}

void TForm1::FormDestroy() {
  if (destroyed_) {
    return;
  }
  destroyed_ = true;
  if (ListUnnamed) {
    NSaveListAsClick();
  } else {
    NSaveListClick();
  }
  TOptions& options = services_.options;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  const RECT& normal = placement.rcNormalPosition;
  // Edges are kept as their low 16 bits, as the options store them.
  options.Left = static_cast<uint16_t>(normal.left);
  options.Top = static_cast<uint16_t>(normal.top);
  options.Width = static_cast<uint16_t>(normal.right - normal.left);
  options.Height = static_cast<uint16_t>(normal.bottom - normal.top);
  options.LeftPanelWidth = static_cast<uint16_t>(leftPanelWidth_);
  options.ListViewNameWidth = static_cast<uint16_t>(ListView_GetColumnWidth(listView_, 0));
  options.ListViewFullNameWidth = static_cast<uint16_t>(ListView_GetColumnWidth(listView_, 2));
  options.WallpaperList = list.ListPath;
  options.Save();
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

int TForm1::StyleBoxIndex() const {
  return static_cast<int>(SendMessageA(styleBox_, CB_GETCURSEL, 0, 0));
}

}  // namespace seltane

namespace seltane {

void TForm1::ShowAddPopup(int x, int y) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, idNPopupAddFile, "File...");
  AppendMenuA(popup, MF_STRING, idNPopupAddFolder, "Folder...");
  SetMenuDefaultItem(popup, idNPopupAddFile, FALSE);
  if (x == -1 && y == -1) {  // from the keyboard: under the button
    RECT button;
    GetWindowRect(GetDlgItem(Handle(), idAddBtn), &button);
    x = button.left;
    y = button.bottom;
  }
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
  DestroyMenu(popup);
}

void TForm1::ShowStatusText(const std::string& text) {
  SendMessageA(statusBar_, SB_SIMPLE, TRUE, 0);
  SendMessageA(statusBar_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
  UpdateWindow(statusBar_);
}

void TForm1::ShowStatusPanels() {
  SendMessageA(statusBar_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(""));
  SendMessageA(statusBar_, SB_SIMPLE, FALSE, 0);
  UpdateWindow(statusBar_);
}

HWND TForm1::CreateProgressBar(std::size_t count) {
  RECT button;
  HWND setButton = GetDlgItem(Handle(), idSetBtn);
  GetWindowRect(setButton, &button);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&button), 2);
  HWND bar = CreateChild(Handle(), PROGRESS_CLASSA, "", PBS_SMOOTH, 0);
  SetWindowPos(bar, HWND_TOP, button.left, button.top, button.right - button.left,
               button.bottom - button.top, 0);
  SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
  SendMessageA(bar, PBM_SETSTEP, 1, 0);
  return bar;
}

std::size_t TForm1::AddWithProgress(const std::vector<std::string>& paths,
                                    const std::vector<bool>* picked) {
  ShowStatusText(AddingText);
  HWND bar = CreateProgressBar(paths.size());
  list.PictureList.reserve(list.PictureList.size() + paths.size());
  std::size_t handed = 0;
  bool full = false;
  std::string shownText;
  // The rows are counted into the list view once, at the end; the bar and
  // the percentage are redrawn only when what they show changes.
  bulkAdding_ = true;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (picked != nullptr && !(*picked)[i]) {
      continue;
    }
    if (list.PictureList.size() >= MaxPictures) {
      full = true;
      break;
    }
    AddPictureEntry(paths[i], wsStretch);
    ++handed;
    std::string text = AddingProgressText(i, paths.size());
    if (text != shownText) {
      SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(i + 1), 0);
      ShowStatusText(text);
      shownText = std::move(text);
    }
  }
  bulkAdding_ = false;
  ListView_SetItemCountEx(listView_, static_cast<int>(list.PictureList.size()), LVSICF_NOSCROLL);
  DestroyWindow(bar);
  if (full) {
    services_.prompter.Tell(ListFullText, "Seltane", PromptIcon::Warning);
  }
  return handed;
}

void TForm1::NAddFileClick() {
  const std::vector<std::string> files = services_.dialogs.OpenFiles({PictureFileFilter, "", true});
  if (!files.empty()) {
    TOptions& options = services_.options;
    options.SuspendPreviewBuffering();
    std::unordered_set<std::string> listed;
    for (const kelWide& picture : list.PictureList) {
      listed.insert(LowerAZ(picture.FullPath));
    }
    bool full = false;
    for (const std::string& file : files) {
      if (!listed.insert(LowerAZ(file)).second) {
        continue;  // already in the list
      }
      if (list.PictureList.size() >= MaxPictures) {
        full = true;
        break;
      }
      AddPictureEntry(file, wsStretch);
      list.ListChanged = true;
      list.RandomChanged = true;
    }
    ForgetBufferedAndCached(preview);
    options.ResumePreviewBuffering();
    if (full) {
      services_.prompter.Tell(ListFullText, "Seltane", PromptIcon::Warning);
    }
    if (!list.PictureList.empty()) {
      SelectOnly(static_cast<int>(list.PictureList.size()) - 1, true);
    }
  }
  SetFocus(listView_);
}

void TForm1::NAddFolderClick() {
  const std::string folder = engine_.OpenDirectory("Choose folder with pictures");
  if (!folder.empty()) {
    ScanFolders({folder}, services_.options.NoRepeats);
  }
}

void TForm1::ScanFolders(const std::vector<std::string>& folders, bool FilterOld) {
  if (folders.empty()) {
    return;
  }
  ShowStatusText(ScanningText);
  FolderScanEvents events;
  UseFileSystem(events);
  events.folderNotFound = [this](const std::string& folder) {
    services_.prompter.Tell("Folder " + folder + " not found", "Error", PromptIcon::Error);
  };
  events.progress = [this](std::size_t queued, std::size_t found) {
    ShowStatusText(ScanProgressText(queued, found));
  };
  std::vector<std::string> found = ScanFolderTrees(folders, events);

  if (!found.empty() && FilterOld) {
    ShowStatusText(FilteringText);
    HWND bar = CreateProgressBar(found.size());
    found = FilterOldPaths(found, list.PictureList);
    SendMessageA(bar, PBM_SETPOS, SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 0);
    DestroyWindow(bar);
  }
  if (!found.empty()) {
    if (services_.options.AutoAddConfirm) {
      SetPickMode(found);
    } else {
      const std::size_t handed = AddWithProgress(found, nullptr);
      if (handed > 0) {
        list.ListChanged = true;
        list.RandomChanged = true;
      }
      ShowStatusPanels();
      services_.prompter.Tell(PicturesAddedText(handed), "Folder has been added",
                              PromptIcon::Information);
    }
  }
  ShowStatusPanels();
}

void TForm1::SetPickMode(const std::vector<std::string>& paths) {
  if (InPickMode()) {
    // A second search while the first one's pictures are offered: its
    // pictures join the same check list.
    for (const std::string& path : paths) {
      if (pickPaths_.size() >= MaxPictures) {
        break;
      }
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(pickPaths_.size());
      item.pszText = const_cast<char*>(path.c_str());
      const int row = static_cast<int>(
          SendMessageA(pickList_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
      ListView_SetCheckState(pickList_, row, TRUE);
      pickPaths_.push_back(path);
    }
    return;
  }
  HMENU menu = GetMenu(Handle());
  for (int position = 0; position < 4; ++position) {  // File, Desktop, View, Options
    EnableMenuItem(menu, position, MF_BYPOSITION | MF_GRAYED);
  }
  DrawMenuBar(Handle());
  ShowWindow(listView_, SW_HIDE);
  ShowWindow(GetDlgItem(Handle(), idStyleLabel), SW_HIDE);
  ShowWindow(styleBox_, SW_HIDE);
  SetDlgItemTextA(Handle(), idAddBtn, "OK");
  SetDlgItemTextA(Handle(), idDelBtn, "Cancel");
  SetDlgItemTextA(Handle(), idSetBtn, "(un)Check all");
  SetWindowTextA(Handle(), PickModeCaption);

  pickList_ =
      CreateChild(Handle(), WC_LISTVIEWA, "",
                  WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0);
  ListView_SetExtendedListViewStyle(pickList_,
                                    LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<char*>("File name");
  SendMessageA(pickList_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  pickPaths_.clear();
  SetPickMode(paths);  // fills the list
  ListView_SetColumnWidth(pickList_, 0, LVSCW_AUTOSIZE_USEHEADER);
  Relayout();
  SetFocus(pickList_);
}

void TForm1::LeavePickMode() {
  DestroyWindow(pickList_);
  pickList_ = nullptr;
  pickPaths_.clear();
  HMENU menu = GetMenu(Handle());
  for (int position = 0; position < 4; ++position) {
    EnableMenuItem(menu, position, MF_BYPOSITION | MF_ENABLED);
  }
  DrawMenuBar(Handle());
  ShowWindow(listView_, SW_SHOW);
  ShowWindow(GetDlgItem(Handle(), idStyleLabel), SW_SHOW);
  ShowWindow(styleBox_, SW_SHOW);
  SetDlgItemTextA(Handle(), idAddBtn, "Add...");
  SetDlgItemTextA(Handle(), idDelBtn, "Delete");
  SetDlgItemTextA(Handle(), idSetBtn, "Set as wallpaper");
  SetWindowTextA(Handle(), "Seltane");
  ShowStatusPanels();
}

void TForm1::PickCheckAllClick() {
  const int rows = ListView_GetItemCount(pickList_);
  bool anyChecked = false;
  for (int row = 0; row < rows && !anyChecked; ++row) {
    anyChecked = ListView_GetCheckState(pickList_, row) != 0;
  }
  for (int row = 0; row < rows; ++row) {
    ListView_SetCheckState(pickList_, row, anyChecked ? FALSE : TRUE);
  }
}

void TForm1::PickOkClick() {
  std::vector<bool> picked(pickPaths_.size());
  for (std::size_t row = 0; row < picked.size(); ++row) {
    picked[row] = ListView_GetCheckState(pickList_, static_cast<int>(row)) != 0;
  }
  const std::vector<std::string> paths = pickPaths_;
  const std::size_t handed = AddWithProgress(paths, &picked);
  LeavePickMode();
  if (handed > 0) {
    list.ListChanged = true;
    list.RandomChanged = true;
  }
  services_.prompter.Tell(PicturesAddedText(handed), "Folder has been added",
                          PromptIcon::Information);
  SetFocus(listView_);
}

void TForm1::PickCancelClick() {
  LeavePickMode();
}

void TForm1::PickListSelectItem(int row) {
  if (row < 0 || row >= static_cast<int>(pickPaths_.size())) {
    return;
  }
  const std::string& path = pickPaths_[row];
  const auto picture = LoadPicture(path, true);
  if (!picture) {
    return;
  }
  image_.Show(picture);
  const std::string panels[3] = {
      std::to_string(row + 1) + "/" + std::to_string(pickPaths_.size()),
      std::to_string(picture->stored.width) + "x" + std::to_string(picture->stored.height), path};
  for (int panel = 0; panel < 3; ++panel) {
    SendMessageA(statusBar_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(panels[panel].c_str()));
  }
}

}  // namespace seltane
