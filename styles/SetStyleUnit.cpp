#include "styles/SetStyleUnit.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "mainwindow/ListCommands.h"
#include "styles/DimEditing.h"
#include "styles/StylePass.h"
#include "ui/ProgressBar.h"

namespace seltane {
namespace {

using Form = TSetStyleForm;

// One style's row of controls: its box, its "all" button and its rules.
struct StyleRow {
  const char* caption;
  int left;  // of the box; the button and the list follow at fixed distances
  int boxWidth;
  int top;
};
constexpr std::array<StyleRow, WallpaperStyleCount> StyleRows = {{
    {"Stretch", 9, 57, 23},
    {"Center", 9, 57, 77},
    {"Tile", 9, 49, 132},
    {"Fit width", 9, 60, 188},
    {"Fit height", 10, 67, 244},
    {"Fit window", 10, 74, 300},
}};
constexpr int RuleListHeight = 48;

// The editing row moves beside the list last pressed: each control's top
// lies this far below the list's top.
struct EditingRowControl {
  int id;
  int belowListTop;
};
constexpr EditingRowControl EditingRow[] = {
    {Form::idXSizeStartEdit, 0}, {Form::idLabel1, 0},         {Form::idXSizeEndEdit, 0},
    {Form::idLabel2, 3},         {Form::idYSizeStartEdit, 0}, {Form::idLabel3, 0},
    {Form::idYSizeEndEdit, 0},   {Form::idAddBtn, 24},        {Form::idModifyBtn, 24},
    {Form::idDeleteBtn, 24},
};

constexpr DWORD Edit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD Button = WS_TABSTOP | BS_PUSHBUTTON;
constexpr uint8_t TopRight = akTop | akRight;

// The seven mode buttons come first and form one group: Tab reaches the one
// that is on, the arrow keys move among them and Space chooses one (an
// "all" button clears the style boxes, so moving alone chooses nothing).
// Then each style's box and rule list, the editing row and the rest.
std::vector<DialogControl> SetStyleControls() {
  constexpr DWORD ModeButton = WS_TABSTOP | BS_RADIOBUTTON;
  std::vector<DialogControl> controls = {
      {Form::idChooseDimRadioButton, "BUTTON", "selected", WS_GROUP | ModeButton, {129, 0, 73, 17}},
  };
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    const StyleRow& row = StyleRows[style];
    controls.push_back({Form::idAllRadioButton + style,
                        "BUTTON",
                        "all",
                        ModeButton,
                        {row.left + 80, row.top, 41, 17}});
  }
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    const StyleRow& row = StyleRows[style];
    controls.push_back({Form::idStyleCheckBox + style,
                        "BUTTON",
                        row.caption,
                        WS_TABSTOP | BS_CHECKBOX | (style == 0 ? DWORD{WS_GROUP} : 0),
                        {row.left, row.top, row.boxWidth, 17}});
    // No sorting by the list box: the rules are held in byte order, and
    // line n must stay rule n.
    controls.push_back(
        {Form::idDimListBox + style,
         "LISTBOX",
         "",
         WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
         {row.left + 118, row.top, 177, RuleListHeight},
         akLeft | akTop | akRight,
         WS_EX_CLIENTEDGE});
  }
  const DialogControl rest[] = {
      {Form::idXSizeStartEdit, "EDIT", "", Edit, {317, 23, 33, 21}, TopRight, WS_EX_CLIENTEDGE},
      {Form::idLabel1, "STATIC", "-", SS_LEFT, {355, 23, 8, 20}, TopRight},
      {Form::idXSizeEndEdit, "EDIT", "", Edit, {365, 23, 33, 21}, TopRight, WS_EX_CLIENTEDGE},
      {Form::idLabel2, "STATIC", "X", SS_LEFT, {406, 26, 9, 13}, TopRight},
      {Form::idYSizeStartEdit, "EDIT", "", Edit, {421, 23, 33, 21}, TopRight, WS_EX_CLIENTEDGE},
      {Form::idLabel3, "STATIC", "-", SS_LEFT, {459, 23, 8, 20}, TopRight},
      {Form::idYSizeEndEdit, "EDIT", "", Edit, {469, 23, 33, 21}, TopRight, WS_EX_CLIENTEDGE},
      {Form::idAddBtn, "BUTTON", "Add", Button, {317, 46, 57, 25}, TopRight},
      {Form::idModifyBtn, "BUTTON", "Change", Button, {381, 46, 57, 25}, TopRight},
      {Form::idDeleteBtn, "BUTTON", "Delete", Button, {445, 46, 57, 25}, TopRight},
      {Form::idCrossIncludeCheckBox,
       "BUTTON",
       "Check correctness (crossing and including)",
       WS_TABSTOP | BS_CHECKBOX,
       {277, 357, 233, 17},
       akRight | akBottom},
      {Form::idSetForNewCheckBox,
       "BUTTON",
       "Set for new pictures",
       WS_TABSTOP | BS_CHECKBOX,
       {277, 381, 209, 17},
       akRight | akBottom},
      {Form::idSetBtn,
       "BUTTON",
       "Set for all list",
       Button,
       {132, 405, 171, 25},
       akLeft | akBottom},
      {Form::idCancelBtn, "BUTTON", "Close", Button, {381, 405, 75, 25}, akRight | akBottom},
  };
  controls.insert(controls.end(), std::begin(rest), std::end(rest));
  return controls;
}

// While "Set for all list" runs, the bar is drawn and the waiting messages
// handled this often.
constexpr DWORD PassTickMilliseconds = 40;

std::string BoundText(uint16_t bound, bool zeroIsEmpty) {
  return zeroIsEmpty && bound == 0 ? std::string() : std::to_string(bound);
}

std::string ControlText(HWND control) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), text.size())));
  return text;
}

}  // namespace

TSetStyleForm::TSetStyleForm(SetStyleServices services) : services_(std::move(services)) {}

bool TSetStyleForm::Create() {
  SizeRules& rules = services_.rules;
  // A first start tells of its new files in one message of its own.
  ReadDimsFile(rules, services_.dimsFolder, services_.prompter, !services_.options.FirstStart());
  LoadRuleSettings(rules, services_.options);
  // In the mode "all" the style boxes come up cleared, whatever was stored.
  if (const std::optional<uint8_t> all = AllModeStyle(rules.settings)) {
    ChooseAllStyle(rules.settings, *all);
  }

  DialogFrame frame;
  frame.className = "SeltaneSetStyle";
  frame.caption = "Set style";
  frame.client = {513, 432};
  frame.sizable = true;
  frame.minimumSize = {412, 466};
  const std::vector<DialogControl> controls = SetStyleControls();
  if (!CreateDialogWindow(services_.mainWindow.Handle(), frame, controls)) {
    return false;
  }
  SetControlFont(Control(idLabel1), 12);
  SetControlFont(Control(idLabel3), 12);
  SetDefaultButton(idAddBtn);
  SetCancelButton(idCancelBtn);
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    for (std::size_t line = 0; line < DimCount(rules.dims, style); ++line) {
      InsertLine(style, line);
    }
  }
  ShowSettings();
  return true;
}

void TSetStyleForm::FormDestroy() {
  if (destroyed_) {
    return;
  }
  destroyed_ = true;
  WriteDimsFile(services_.rules, services_.prompter);
  StoreRuleSettings(services_.rules, services_.options);
  services_.options.Save();
}

void TSetStyleForm::OnCommand(int id, int code, HWND) {
  if (id >= idDimListBox && id < idDimListBox + WallpaperStyleCount) {
    if (code == LBN_SELCHANGE) {
      FitHeightDimListBoxClick(static_cast<uint8_t>(id - idDimListBox));
    }
    return;
  }
  if (code != BN_CLICKED) {
    return;
  }
  if (passRunning_) {
    // While the pass runs only Close works: it stops the pass, and the
    // dialog closes once the pass has stopped.
    if (id == idCancelBtn) {
      closeRequested_ = true;
    }
    return;
  }
  if (id >= idStyleCheckBox && id < idStyleCheckBox + WallpaperStyleCount) {
    CheckBoxClick(static_cast<uint8_t>(id - idStyleCheckBox));
  } else if (id >= idAllRadioButton && id < idAllRadioButton + WallpaperStyleCount) {
    AllRadioBtnClick(static_cast<uint8_t>(id - idAllRadioButton));
  }
  switch (id) {
    case idChooseDimRadioButton:
      ChooseDimRadioButtonClick();
      break;
    case idCrossIncludeCheckBox:
      CrossIncludeCheckBoxClick();
      break;
    case idSetForNewCheckBox:
      SetForNewCheckBoxClick();
      break;
    case idAddBtn:
      AddBtnClick();
      break;
    case idModifyBtn:
      ModifyBtnClick();
      break;
    case idDeleteBtn:
      DeleteBtnClick();
      break;
    case idSetBtn:
      SetBtnClick();
      break;
    case idCancelBtn:
      CancelBtnClick();
      break;
    default:
      break;
  }
}

LRESULT TSetStyleForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PARENTNOTIFY: {
      // A mouse button pressed on a control: the system tells the parent
      // where, before the control handles the press.
      const UINT event = LOWORD(wParam);
      if (event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN || event == WM_MBUTTONDOWN) {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const HWND child = ChildWindowFromPointEx(Handle(), point, CWP_SKIPINVISIBLE);
        const int id = child != nullptr ? GetDlgCtrlID(child) : 0;
        if (id >= idDimListBox && id < idDimListBox + WallpaperStyleCount) {
          DimListBoxMouseDown(static_cast<uint8_t>(id - idDimListBox));
        }
      }
      return 0;
    }
    case WM_VKEYTOITEM: {
      // A key pressed in a rule list; -2: handled here, -1: the list's own.
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id >= idDimListBox && id < idDimListBox + WallpaperStyleCount &&
          DimListBoxKeyDown(static_cast<uint8_t>(id - idDimListBox), LOWORD(wParam))) {
        return -2;
      }
      return -1;
    }
    default:
      return ModalDialog::OnMessage(message, wParam, lParam);
  }
}

void TSetStyleForm::ShowSettings() {
  const StyleRuleSettings& settings = services_.rules.settings;
  const std::optional<uint8_t> all = AllModeStyle(settings);
  const auto check = [this](int id, bool on) {
    SendMessageA(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  check(idChooseDimRadioButton, !all);
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    check(idStyleCheckBox + style, settings.enabled[style]);
    check(idAllRadioButton + style, all == style);
  }
  check(idCrossIncludeCheckBox, services_.rules.StyleCheckCrossIncluding);
  check(idSetForNewCheckBox, services_.options.StyleSetForNew);
}

void TSetStyleForm::CheckBoxClick(uint8_t style) {
  const bool checked =
      SendMessageA(Control(idStyleCheckBox + style), BM_GETCHECK, 0, 0) != BST_CHECKED;
  CheckStyleBox(services_.rules.settings, style, checked);
  ShowSettings();
}

void TSetStyleForm::AllRadioBtnClick(uint8_t style) {
  ChooseAllStyle(services_.rules.settings, style);
  ShowSettings();
}

void TSetStyleForm::ChooseDimRadioButtonClick() {
  ChooseStylesBySize(services_.rules.settings);
  ShowSettings();
}

void TSetStyleForm::CrossIncludeCheckBoxClick() {
  services_.rules.StyleCheckCrossIncluding = !services_.rules.StyleCheckCrossIncluding;
  ShowSettings();
}

void TSetStyleForm::SetForNewCheckBoxClick() {
  // Pictures added from now on follow the box, not only after a restart.
  services_.options.StyleSetForNew = !services_.options.StyleSetForNew;
  ShowSettings();
}

void TSetStyleForm::DimListBoxMouseDown(uint8_t style) {
  if (lastPressed_ != style) {
    for (const EditingRowControl& control : EditingRow) {
      SetDesignedTop(control.id, StyleRows[style].top + control.belowListTop);
    }
    LayOut();
    lastPressed_ = style;
  }
  currentDimStyle_ = style;
}

void TSetStyleForm::FitHeightDimListBoxClick(uint8_t style) {
  const std::optional<std::size_t> line = SelectedLine(style);
  if (!line) {
    return;
  }
  const TDim& dim = services_.rules.dims.Lists[style][*line];
  SetDlgItemTextA(Handle(), idXSizeStartEdit, BoundText(dim.XSizeStart, false).c_str());
  SetDlgItemTextA(Handle(), idXSizeEndEdit, BoundText(dim.XSizeEnd, true).c_str());
  SetDlgItemTextA(Handle(), idYSizeStartEdit, BoundText(dim.YSizeStart, false).c_str());
  SetDlgItemTextA(Handle(), idYSizeEndEdit, BoundText(dim.YSizeEnd, true).c_str());
}

bool TSetStyleForm::DimListBoxKeyDown(uint8_t, WPARAM key) {
  if (passRunning_) {
    return false;  // the rules stay as the pass reads them
  }
  // Both work on the list beside the editing row, not on the focused one.
  if (key == VK_INSERT) {
    AddBtnClick();
    return true;
  }
  if (key == VK_DELETE) {
    DeleteBtnClick();
    return true;
  }
  return false;
}

std::optional<std::size_t> TSetStyleForm::SelectedLine(uint8_t style) const {
  const LRESULT line = SendMessageA(List(style), LB_GETCURSEL, 0, 0);
  if (line == LB_ERR) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(line);
}

void TSetStyleForm::InsertLine(uint8_t style, std::size_t line) {
  SendMessageA(List(style), LB_INSERTSTRING, line,
               reinterpret_cast<LPARAM>(DimTextAt(services_.rules.dims, style, line).c_str()));
}

void TSetStyleForm::DeleteLines(const std::vector<DimPosition>& deleted) {
  for (const DimPosition& position : deleted) {
    SendMessageA(List(position.style), LB_DELETESTRING, position.index, 0);
  }
}

std::optional<TDim> TSetStyleForm::ReadEditingRow() {
  const std::array<std::string, 4> texts = {
      ControlText(Control(idXSizeStartEdit)), ControlText(Control(idXSizeEndEdit)),
      ControlText(Control(idYSizeStartEdit)), ControlText(Control(idYSizeEndEdit))};
  DimFieldsResult result = ReadDimFields({texts[0], texts[1], texts[2], texts[3]});
  if (!result.dim) {
    services_.prompter.Tell(result.message, DimInputErrorCaption, PromptIcon::None);
  }
  return std::move(result.dim);
}

void TSetStyleForm::AddBtnClick() {
  const std::optional<TDim> dim = ReadEditingRow();
  if (!dim) {
    return;
  }
  SizeRules& rules = services_.rules;
  // A full list is told before any question, so that no rule is deleted
  // for a rule that cannot be added.
  if (DimListIsFull(rules.dims, currentDimStyle_)) {
    services_.prompter.Tell(TooManyDimsMessage, TooManyDimsCaption, PromptIcon::None);
    return;
  }
  std::optional<DimPosition> none;
  const DimCheckResult check =
      CheckCrossIncluding(rules.dims, *dim, DimCheckMode::Add, none, rules.StyleCheckCrossIncluding,
                          services_.prompter);
  DeleteLines(check.deleted);
  if (!check.proceed) {
    return;
  }
  if (const std::optional<std::size_t> line = AddDim(rules.dims, currentDimStyle_, *dim)) {
    InsertLine(currentDimStyle_, *line);
  }
}

void TSetStyleForm::ModifyBtnClick() {
  // Without a selected rule there is nothing to change: nothing is asked.
  const std::optional<std::size_t> selected = SelectedLine(currentDimStyle_);
  if (!selected) {
    return;
  }
  const std::optional<TDim> dim = ReadEditingRow();
  if (!dim) {
    return;
  }
  SizeRules& rules = services_.rules;
  std::optional<DimPosition> changing = DimPosition{currentDimStyle_, *selected};
  const DimCheckResult check =
      CheckCrossIncluding(rules.dims, *dim, DimCheckMode::Change, changing,
                          rules.StyleCheckCrossIncluding, services_.prompter);
  DeleteLines(check.deleted);
  if (!check.proceed) {
    return;
  }
  const std::optional<std::size_t> line =
      ReplaceDim(rules.dims, currentDimStyle_, changing->index, *dim);
  if (!line) {
    return;
  }
  // The changed rule stays selected at its new place.
  HWND list = List(currentDimStyle_);
  SendMessageA(list, LB_DELETESTRING, changing->index, 0);
  InsertLine(currentDimStyle_, *line);
  SendMessageA(list, LB_SETCURSEL, *line, 0);
}

void TSetStyleForm::DeleteBtnClick() {
  const std::optional<std::size_t> selected = SelectedLine(currentDimStyle_);
  if (!selected || !DeleteDim(services_.rules.dims, currentDimStyle_, *selected)) {
    return;
  }
  HWND list = List(currentDimStyle_);
  SendMessageA(list, LB_DELETESTRING, *selected, 0);
  // The line that took its place, or the new last line.
  const std::size_t count = DimCount(services_.rules.dims, currentDimStyle_);
  if (count > 0) {
    SendMessageA(list, LB_SETCURSEL, std::min(*selected, count - 1), 0);
  }
}

void TSetStyleForm::SetBtnClick() {
  TForm1& mainWindow = services_.mainWindow;
  std::vector<kelWide>& pictures = mainWindow.list.PictureList;
  const SizeRules& rules = services_.rules;
  mainWindow.list.ListChanged = true;

  // While the files are read, a progress bar stands in the button's place.
  // Hidden, the button loses the focus it had when pressed by key or mouse.
  HWND button = Control(idSetBtn);
  const bool buttonFocused = GetFocus() == button;
  std::unique_ptr<ProgressBar> progress;
  if (!pictures.empty() && StylePassMeasures(rules.dims, rules.settings)) {
    RECT place{};
    GetWindowRect(button, &place);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
    progress = std::make_unique<ProgressBar>(
        Handle(),
        LayoutRect{place.left, place.top, place.right - place.left, place.bottom - place.top},
        pictures.size());
    ShowWindow(button, SW_HIDE);
  }
  // The button, its focus and the main window's rows come back however the
  // pass ends: the styles set before a failure are shown.
  const auto restore = [&] {
    if (progress) {
      ShowWindow(button, SW_SHOW);
      progress.reset();
      if (buttonFocused) {
        SetFocus(button);
      }
    }
    mainWindow.RefreshStyles();
  };
  // The pictures are measured on threads of their own; this thread styles
  // them in order and, every few dozen milliseconds, draws the bar and
  // handles the waiting messages, so that the windows stay drawn and Close
  // stops the pass between two pictures.
  passRunning_ = true;
  closeRequested_ = false;
  DWORD lastTick = GetTickCount();
  const auto tick = [&](std::size_t done) {
    const DWORD now = GetTickCount();  // the difference holds across a wrap
    if (now - lastTick < PassTickMilliseconds) {
      return true;
    }
    lastTick = now;
    if (progress) {
      progress->SetPosition(done);
    }
    return HandleWaitingMessages() && !closeRequested_;
  };
  try {
    ApplyStylesToList(pictures, rules.dims, rules.settings, TForm1::MeasurePictureFromHeader, tick);
  } catch (...) {
    passRunning_ = false;
    restore();
    throw;
  }
  passRunning_ = false;
  restore();
  if (closeRequested_) {
    CancelBtnClick();
  }
}

void TSetStyleForm::CancelBtnClick() {
  // The rules changed since the last write are saved now, so that neither a
  // crash nor a failed write at the end loses the whole session's edits. A
  // failure is told and the changes wait for the next close or the end.
  WriteDimsFile(services_.rules, services_.prompter);
  EndModal(IDCANCEL);
}

}  // namespace seltane
