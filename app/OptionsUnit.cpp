#include "app/OptionsUnit.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/OptionsValues.h"
#include "mainwindow/MainTexts.h"

namespace seltane {
namespace {

// Where a page's client area starts in the dialog: the pages' controls are
// designed relative to it.
constexpr int PageLeft = 4;
constexpr int PageTop = 24;

constexpr LayoutRect OnPage(int left, int top, int width, int height) {
  return {PageLeft + left, PageTop + top, width, height};
}

constexpr const char* PageCaptions[] = {"Picture change", "Preview", "Other"};
// The controls of each page, by their first and last ids.
constexpr std::pair<int, int> PageControls[] = {
    {idAutoRunCheckBox, idRandomItemFirst + RandomTypeCount - 1},
    {idBufferCheckBox, idShowExtensionCheckBox},
    {idDeleteCheckBox, idHotkeyBox},
};

constexpr const char* RandomItems[] = {"Nonrepeat random", "Random", "Sequence"};
constexpr const char* AutorunUserItems[] = {"for current user", "for all users"};

// The check boxes and the options they show and set.
constexpr std::pair<int, bool TOptions::*> CheckBoxOptions[] = {
    {idAutoRunCheckBox, &TOptions::AutoRun},
    {idBufferCheckBox, &TOptions::BufferImages},
    {idCasheCheckBox, &TOptions::CasheImages},
    {idDeleteCheckBox, &TOptions::DeleteNotExisting},
    {idDeleteConfirmCheckBox, &TOptions::DeleteConfirm},
    {idIncrementalDisplayCheckBox, &TOptions::IncrementalDisplay},
    {idNoRepeatsCheckBox, &TOptions::NoRepeats},
    {idShowExtensionCheckBox, &TOptions::ShowExtensions},
    {idStoreSizesCheckBox, &TOptions::StoreSizes},
};

// Greyed with "Autorun" off.
constexpr int AutorunControls[] = {idLabel1,
                                   idLabel2,
                                   idLabel3,
                                   idLabel4,
                                   idDayEdit,
                                   idUpDown1,
                                   idRandomRadioGroup,
                                   idRandomItemFirst,
                                   idRandomItemFirst + 1,
                                   idRandomItemFirst + 2};

constexpr DWORD CheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;

std::vector<DialogControl> OptionsControls() {
  std::vector<DialogControl> controls = {
      {idAutoRunCheckBox, "BUTTON", "Autorun", CheckBox, OnPage(8, 4, 97, 17)},
      {idLabel1, "STATIC", "Picture change will be at next Windows load", SS_LEFT,
       OnPage(11, 24, 214, 13)},
      {idLabel2, "STATIC", "Additional:", SS_LEFT, OnPage(10, 40, 120, 13)},
      {idLabel3, "STATIC", "Change one time in", SS_LEFT, OnPage(24, 56, 116, 13)},
      {idDayEdit, "EDIT", "", ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, OnPage(144, 56, 24, 21),
       akLeft | akTop, WS_EX_CLIENTEDGE},
      {idUpDown1, UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
       OnPage(168, 56, 16, 21)},
      {idLabel4, "STATIC", "days", SS_LEFT, OnPage(193, 56, 30, 13)},
  };
  AppendRadioGroup(controls, idRandomRadioGroup, "Picture choise", RandomItems,
                   OnPage(8, 78, 212, 81));
  const DialogControl preview[] = {
      {idBufferCheckBox, "BUTTON", "Buffering", CheckBox | WS_GROUP | WS_DISABLED,
       OnPage(8, 8, 73, 17)},
      {idCasheCheckBox, "BUTTON", "Cashing", CheckBox, OnPage(8, 24, 65, 17)},
      {idIncrementalDisplayCheckBox, "BUTTON", "Partial draw", CheckBox, OnPage(8, 40, 81, 17)},
      {idShowExtensionCheckBox, "BUTTON", "Show extensions in list", CheckBox,
       OnPage(8, 56, 137, 17)},
      {idDeleteCheckBox, "BUTTON", "Delete nonexisting pictures from list", CheckBox,
       OnPage(8, 8, 209, 17)},
      {idDeleteConfirmCheckBox, "BUTTON", "Delete confirmation", CheckBox, OnPage(8, 24, 177, 17)},
      {idNoRepeatsCheckBox, "BUTTON", "No repeats in list", CheckBox, OnPage(8, 40, 201, 17)},
      {idStoreSizesCheckBox, "BUTTON", "Store picture sizes in list file", CheckBox,
       OnPage(8, 56, 217, 17)},
  };
  controls.insert(controls.end(), std::begin(preview), std::end(preview));
  AppendRadioGroup(controls, idAutorunUserRadioGroup, "Autorun", AutorunUserItems,
                   OnPage(8, 80, 210, 49));
  const DialogControl timed[] = {
      {idIntervalLabel, "STATIC", "&Change every", SS_LEFT | WS_GROUP, OnPage(8, 140, 74, 13)},
      {idIntervalEdit, "EDIT", "", ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, OnPage(84, 137, 44, 21),
       akLeft | akTop, WS_EX_CLIENTEDGE},
      {idIntervalUpDown, UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
       OnPage(128, 137, 16, 21)},
      {idIntervalUnitBox, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
       OnPage(150, 137, 68, 21)},
      {idIntervalNote, "STATIC", "0 is off; runs while you are logged on", SS_LEFT,
       OnPage(8, 161, 210, 13)},
      {idHotkeyLabel, "STATIC", "&Next wallpaper key", SS_LEFT, OnPage(8, 184, 100, 13)},
      {idHotkeyBox, HOTKEY_CLASSA, "", WS_TABSTOP, OnPage(110, 181, 108, 21), akLeft | akTop,
       WS_EX_CLIENTEDGE},
  };
  controls.insert(controls.end(), std::begin(timed), std::end(timed));
  const DialogControl buttons[] = {
      {idOkBtn, "BUTTON", "OK", WS_TABSTOP | WS_GROUP, {34, 264, 75, 25}, akLeft | akBottom},
      {idCancelBtn, "BUTTON", "Cancel", WS_TABSTOP, {119, 264, 75, 25}, akLeft | akBottom},
      // Last, so that it lies below the pages' controls and never paints
      // over them.
      {idOptionsPageControl,
       WC_TABCONTROLA,
       "",
       WS_TABSTOP | TCS_MULTILINE | WS_CLIPSIBLINGS,
       {0, 0, 234, 255},
       akLeft | akTop | akRight | akBottom},
  };
  controls.insert(controls.end(), std::begin(buttons), std::end(buttons));
  return controls;
}

std::string ControlText(HWND control) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

bool TOptionsForm::Create(HWND owner) {
  DialogFrame frame;
  frame.className = "SeltaneOptionsDialog";
  frame.caption = "Options";
  frame.client = {233, 299};
  const std::vector<DialogControl> controls = OptionsControls();
  if (!CreateDialogWindow(owner, frame, controls)) {
    return false;
  }
  HWND pages = Control(idOptionsPageControl);
  for (int page = 0; page < static_cast<int>(std::size(PageCaptions)); ++page) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(PageCaptions[page]);
    SendMessageA(pages, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(Control(idDayEdit), EM_LIMITTEXT, DayFieldLength, 0);
  SendMessageA(Control(idUpDown1), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(idDayEdit)), 0);
  SendMessageA(Control(idUpDown1), UDM_SETRANGE32, 0, DayArrowsMaximum);
  hints_.Create(Handle());
  hints_.Add(Control(idShowExtensionCheckBox), ShowExtensionHint);
  hints_.Add(Control(idStoreSizesCheckBox), StoreSizesHint);
  SendMessageA(Control(idIntervalEdit), EM_LIMITTEXT, IntervalFieldLength, 0);
  SendMessageA(Control(idIntervalUpDown), UDM_SETBUDDY,
               reinterpret_cast<WPARAM>(Control(idIntervalEdit)), 0);
  SendMessageA(Control(idIntervalUpDown), UDM_SETRANGE32, 0, UINT16_MAX);
  for (int unit = 0; unit < IntervalUnitCount; ++unit) {
    SendMessageA(Control(idIntervalUnitBox), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(IntervalUnitName(unit)));
  }
  hints_.Add(Control(idIntervalEdit), IntervalHint);
  hints_.Add(Control(idIntervalUnitBox), IntervalHint);
  hints_.Add(Control(idHotkeyBox), HotkeyHint);
  SetDefaultButton(idOkBtn);
  SetCancelButton(idCancelBtn);
  ShowPage(0);
  FormCreate();
  return true;
}

void TOptionsForm::FormCreate() {
  for (const auto& [id, option] : CheckBoxOptions) {
    CheckDlgButton(Handle(), id, options_.*option ? BST_CHECKED : BST_UNCHECKED);
  }
  CheckRadioItem(Handle(), idAutorunUserRadioGroup, 2, options_.AutoRunUser ? 0 : 1);
  CheckRadioItem(Handle(), idRandomRadioGroup, RandomTypeCount,
                 RandomTypeItem(options_.RandomType));
  SetAutorunControlsEnabled(IsDlgButtonChecked(Handle(), idAutoRunCheckBox) == BST_CHECKED);
  SetDlgItemTextA(Handle(), idIntervalEdit, std::to_string(options_.ChangeInterval).c_str());
  SendMessageA(Control(idIntervalUnitBox), CB_SETCURSEL,
               options_.ChangeIntervalUnit < IntervalUnitCount ? options_.ChangeIntervalUnit : 0,
               0);
  SendMessageA(Control(idHotkeyBox), HKM_SETHOTKEY, options_.NextHotkey, 0);
}

void TOptionsForm::OnShow() {
  SetDlgItemTextA(Handle(), idDayEdit, std::to_string(options_.ChangeDays).c_str());
}

void TOptionsForm::FormDestroy() {
  options_.Save();
}

int TOptionsForm::Page() const {
  return static_cast<int>(SendMessageA(Control(idOptionsPageControl), TCM_GETCURSEL, 0, 0));
}

void TOptionsForm::ShowPage(int page) {
  SendMessageA(Control(idOptionsPageControl), TCM_SETCURSEL, page, 0);
  for (int index = 0; index < static_cast<int>(std::size(PageControls)); ++index) {
    for (int id = PageControls[index].first; id <= PageControls[index].second; ++id) {
      ShowWindow(Control(id), index == page ? SW_SHOW : SW_HIDE);
    }
  }
}

void TOptionsForm::SetAutorunControlsEnabled(bool enabled) {
  for (int id : AutorunControls) {
    EnableWindow(Control(id), enabled);
  }
}

void TOptionsForm::AutoRunCheckBoxClick() {
  SetAutorunControlsEnabled(IsDlgButtonChecked(Handle(), idAutoRunCheckBox) == BST_CHECKED);
}

void TOptionsForm::OKBtnClick() {
  // The day field first: a field that holds no number of days changes
  // nothing.
  const std::string dayText = ControlText(Control(idDayEdit));
  const std::optional<uint8_t> days = ParseChangeDays(dayText);
  if (!days) {
    prompter_.Tell(NotValidIntegerText(dayText), MainCaption, PromptIcon::Error);
    ShowPage(0);
    SetFocus(Control(idDayEdit));
    SendMessageA(Control(idDayEdit), EM_SETSEL, 0, -1);
    return;
  }
  // The timed change and the hotkey next: one the scheduler or the shell
  // cannot take keeps the dialog open on it.
  const std::string intervalText = ControlText(Control(idIntervalEdit));
  const std::optional<uint16_t> interval = ParseInterval(intervalText);
  const auto unit = static_cast<uint8_t>(
      std::max<LRESULT>(0, SendMessageA(Control(idIntervalUnitBox), CB_GETCURSEL, 0, 0)));
  const auto hotkey =
      static_cast<uint16_t>(SendMessageA(Control(idHotkeyBox), HKM_GETHOTKEY, 0, 0) & 0xFFFF);
  const auto refuse = [this](const std::string& message, int id) {
    prompter_.Tell(message, MainCaption, PromptIcon::Error);
    ShowPage(2);
    SetFocus(Control(id));
    SendMessageA(Control(id), EM_SETSEL, 0, -1);
  };
  if (!interval) {
    refuse(NotValidIntegerText(intervalText), idIntervalEdit);
    return;
  }
  if (*interval != 0 && !TimedChangeWanted(*interval, unit)) {
    refuse(IntervalTooLongText(unit), idIntervalEdit);
    return;
  }
  if (hotkey != 0 && !HotkeyUsable(hotkey)) {
    refuse(HotkeyNotUsableMessage, idHotkeyBox);
    return;
  }
  for (const auto& [id, option] : CheckBoxOptions) {
    options_.*option = IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
  }
  options_.ChangeDays = *days;
  options_.RandomType = static_cast<uint8_t>(
      std::max(0, CheckedRadioItem(Handle(), idRandomRadioGroup, RandomTypeCount)));
  options_.AutoRunUser = CheckedRadioItem(Handle(), idAutorunUserRadioGroup, 2) == 0;
  options_.ChangeInterval = *interval;
  options_.ChangeIntervalUnit = unit;
  options_.NextHotkey = hotkey;
  EndModal(IDOK);
}

void TOptionsForm::CancelBtnClick() {
  EndModal(IDCANCEL);
}

void TOptionsForm::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case idAutoRunCheckBox:
      AutoRunCheckBoxClick();
      break;
    case idOkBtn:
      OKBtnClick();
      break;
    case idCancelBtn:
      CancelBtnClick();
      break;
    default:
      break;
  }
}

LRESULT TOptionsForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC) {
    // Labels, boxes and buttons on a page take the page's background; the
    // day field keeps its own, greyed or not.
    const auto control = reinterpret_cast<HWND>(lParam);
    const int id = GetDlgCtrlID(control);
    const bool onPage =
        std::any_of(std::begin(PageControls), std::end(PageControls),
                    [id](const auto& page) { return id >= page.first && id <= page.second; });
    if (onPage && id != idDayEdit && id != idIntervalEdit) {
      const auto dc = reinterpret_cast<HDC>(wParam);
      PaintWindowBehind(control, Control(idOptionsPageControl), dc);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
  }
  if (message == WM_NOTIFY) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.idFrom == idOptionsPageControl && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
      ShowPage(Page());
    }
    return 0;
  }
  return ModalDialog::OnMessage(message, wParam, lParam);
}

}  // namespace seltane
