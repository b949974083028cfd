#include "gather/AutoSearchUnit.h"

#include "gather/AutoSearch.h"
#include "platform/Files.h"

namespace seltane {
namespace {

constexpr DWORD CheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Button = BS_PUSHBUTTON | WS_TABSTOP;

constexpr DialogControl AutoSearchControls[] = {
    {idAutoSearchCheckBox,
     "BUTTON",
     "Automatic search for new pictures",
     CheckBox,
     {8, 8, 201, 17}},
    {idAutoDeleteCheckBox,
     "BUTTON",
     "Automatic search for nonexisting pictures",
     CheckBox,
     {8, 24, 233, 17}},
    {idOnStartCheckBox, "BUTTON", "on start", CheckBox, {40, 40, 65, 17}},
    {idConfirmAddCheckBox, "BUTTON", "Confirm adding files", CheckBox, {8, 64, 129, 17}},
    {idDoNowButton, "BUTTON", "Proceed now", Button | WS_DISABLED, {71, 136, 108, 25}, akBottom},
    {idFoldersLabel, "STATIC", "Folders:", SS_LEFT, {264, 8, 120, 13}},
    {idFoldersListBox,
     "LISTBOX",
     "",
     WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
     {264, 24, 232, 71},
     akLeft | akTop | akRight | akBottom,
     WS_EX_CLIENTEDGE},
    {idAutoSearchAddBtn, "BUTTON", "Add", Button, {264, 103, 75, 25}, akLeft | akBottom},
    {idAutoSearchDelBtn, "BUTTON", "Delete", Button, {352, 103, 75, 25}, akLeft | akBottom},
    {idAutoSearchOKBtn, "BUTTON", "OK", Button, {264, 136, 75, 25}, akRight | akBottom},
    {idAutoSearchCancelBtn, "BUTTON", "Cancel", Button, {352, 136, 75, 25}, akRight | akBottom},
};

}  // namespace

bool TAutoSearchForm::Create() {
  DialogFrame frame;
  frame.className = "SeltaneAutoSearchDialog";
  frame.caption = AutoSearchCaption;
  frame.client = {505, 176};
  frame.sizable = true;
  frame.minimumSize = {443, 203};
  if (!CreateDialogWindow(form_.Handle(), frame, AutoSearchControls)) {
    return false;
  }
  SetDefaultButton(idAutoSearchOKBtn);
  SetCancelButton(idAutoSearchCancelBtn);
  FormCreate();
  return true;
}

void TAutoSearchForm::FormCreate() {
  confirmed_[0] = options_.AutoSearch;
  confirmed_[1] = options_.AutoDelete;
  confirmed_[2] = options_.AutoOnStart;
  confirmed_[3] = options_.AutoAddConfirm;
  ShowConfirmed();
  // "on start": the jobs run now, before the dialog is first shown.
  if (Checked(idOnStartCheckBox)) {
    DoNowButtonClick();
  }
}

void TAutoSearchForm::ShowConfirmed() {
  const int boxes[] = {idAutoSearchCheckBox, idAutoDeleteCheckBox, idOnStartCheckBox,
                       idConfirmAddCheckBox};
  for (int box = 0; box < 4; ++box) {
    CheckDlgButton(Handle(), boxes[box], confirmed_[box] ? BST_CHECKED : BST_UNCHECKED);
  }
  FillFolders();
  AutoSearchCheckBoxClick();
}

void TAutoSearchForm::FillFolders() {
  HWND box = Control(idFoldersListBox);
  SendMessageA(box, LB_RESETCONTENT, 0, 0);
  for (const std::string& folder : form_.list.AutoFolders) {
    SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  }
  filledForList_ = form_.ListsOpened();
}

void TAutoSearchForm::OnShow() {
  // The box holds the folders of the list it was filled for; another list
  // brings its own.
  if (form_.ListsOpened() != filledForList_) {
    FillFolders();
  }
}

void TAutoSearchForm::FormDestroy() {
  options_.AutoSearch = confirmed_[0];
  options_.AutoDelete = confirmed_[1];
  options_.AutoOnStart = confirmed_[2];
  options_.AutoAddConfirm = confirmed_[3];
  options_.Save();
}

std::vector<std::string> TAutoSearchForm::Folders() const {
  HWND box = Control(idFoldersListBox);
  const int count = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0));
  std::vector<std::string> folders;
  for (int index = 0; index < count; ++index) {
    std::string folder(static_cast<std::size_t>(SendMessageA(box, LB_GETTEXTLEN, index, 0)), '\0');
    SendMessageA(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(folder.data()));
    folders.push_back(std::move(folder));
  }
  return folders;
}

bool TAutoSearchForm::Checked(int id) const {
  return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void TAutoSearchForm::AutoSearchCheckBoxClick() {
  const bool either = Checked(idAutoSearchCheckBox) || Checked(idAutoDeleteCheckBox);
  EnableWindow(Control(idOnStartCheckBox), either);
  EnableWindow(Control(idDoNowButton), either);
}

void TAutoSearchForm::AddBtnClick() {
  const std::string folder = form_.EngineBinding().OpenDirectory(WatchedFolderPrompt);
  if (folder.empty()) {
    return;
  }
  HWND box = Control(idFoldersListBox);
  // A folder watched twice would bring each new picture twice: the one in
  // the box is shown instead.
  if (const int index = FindFolder(Folders(), folder); index >= 0) {
    SendMessageA(box, LB_SETCURSEL, index, 0);
    return;
  }
  SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  form_.list.ListChanged = true;
}

void TAutoSearchForm::DelBtnClick() {
  HWND box = Control(idFoldersListBox);
  if (const LRESULT selected = SendMessageA(box, LB_GETCURSEL, 0, 0); selected != LB_ERR) {
    SendMessageA(box, LB_DELETESTRING, selected, 0);
  }
  form_.list.ListChanged = true;
}

void TAutoSearchForm::DoNowButtonClick() {
  if (Checked(idAutoDeleteCheckBox) && !form_.list.PictureList.empty()) {
    form_.RemovePictures(MissingPictureRows(form_.list.PictureList,
                                            {options_.DeleteNotExisting, options_.DeleteConfirm},
                                            FileStates, prompter_));
  }
  // The box as it stands, folders not yet confirmed with OK included.
  const std::vector<std::string> folders = Folders();
  if (Checked(idAutoSearchCheckBox) && !folders.empty()) {
    ShowWindow(Handle(), SW_HIDE);
    form_.ScanFolders(folders, true);
    EndModal(IDOK);
  }
}

void TAutoSearchForm::OKBtnClick() {
  options_.AutoSearch = Checked(idAutoSearchCheckBox);
  options_.AutoDelete = Checked(idAutoDeleteCheckBox);
  confirmed_[0] = options_.AutoSearch;
  confirmed_[1] = options_.AutoDelete;
  confirmed_[2] = Checked(idOnStartCheckBox);
  confirmed_[3] = Checked(idConfirmAddCheckBox);
  form_.list.AutoFolders = Folders();
  form_.list.ListChanged = true;
  EndModal(IDOK);
}

void TAutoSearchForm::CancelBtnClick() {
  // What was changed since OK is undone: the boxes and the folders show
  // what the options and the list hold, and the end of the run stores that.
  ShowConfirmed();
  EndModal(IDCANCEL);
}

void TAutoSearchForm::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case idAutoSearchCheckBox:
    case idAutoDeleteCheckBox:
      AutoSearchCheckBoxClick();
      break;
    case idAutoSearchAddBtn:
      AddBtnClick();
      break;
    case idAutoSearchDelBtn:
      DelBtnClick();
      break;
    case idDoNowButton:
      DoNowButtonClick();
      break;
    case idAutoSearchOKBtn:
      OKBtnClick();
      break;
    case idAutoSearchCancelBtn:
      CancelBtnClick();
      break;
    default:
      break;
  }
}

LRESULT TAutoSearchForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_VKEYTOITEM) {
    // -2: handled; -1: the list box handles the key itself.
    return FoldersListBoxKeyDown(LOWORD(wParam)) ? -2 : -1;
  }
  return ModalDialog::OnMessage(message, wParam, lParam);
}

bool TAutoSearchForm::FoldersListBoxKeyDown(int key) {
  if (key != VK_DELETE) {
    return false;
  }
  DelBtnClick();
  return true;
}

}  // namespace seltane
