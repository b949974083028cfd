// Adding pictures to the main window: the window's side of the adding flow
// (gather/AddingFlow), which measures each picture, shows progress and runs
// pick mode.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "gather/AddingFlow.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/MainTexts.h"
#include "mainwindow/Unit1.h"
#include "platform/FolderListing.h"
#include "platform/Picture.h"
#include "platform/TextConversion.h"

namespace seltane {

bool TForm1::AddPictureEntry(const std::string& path, uint8_t style) {
  const bool added = AppendPicture(path, style, MeasurePicture(path));
  if (added) {
    ShowAddedRows();
  }
  return added;
}

bool TForm1::AppendPicture(const std::string& path, uint8_t style,
                           std::optional<MeasuredSize> size) {
  if (list.PictureList.size() >= MaxPictures) {
    return false;
  }
  if (!size) {
    services_.prompter.Tell(CannotAddPictureText(path), "", PromptIcon::Information);
    return false;
  }
  if (services_.rules != nullptr && services_.options.StyleSetForNew) {
    const int boxStyle = StyleBoxIndex();
    style = StyleForNewPicture(
        services_.rules->dims, services_.rules->settings, size->width, size->height,
        boxStyle >= 0 ? std::optional<uint8_t>(static_cast<uint8_t>(boxStyle)) : std::nullopt);
  }
  list.AddPictureEntry(path, style, size->width, size->height, false);
  return true;
}

std::optional<MeasuredSize> TForm1::MeasurePictureFromHeader(const std::string& path) {
  const std::optional<PictureSize> size = MeasurePictureFile(WidenFromAnsi(path));
  if (!size) {
    return std::nullopt;
  }
  return MeasuredSize{ClampToWord(size->width), ClampToWord(size->height)};
}

bool TForm1::AddPicture(const std::string& path, std::optional<MeasuredSize> size) {
  return AppendPicture(path, wsStretch, size);
}

void TForm1::ShowAddedRows() {
  ListView_SetItemCountEx(listView_, static_cast<int>(list.PictureList.size()),
                          LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  ShownRowMoved(ShownRow());  // added at the end: the shown row stays where it was
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

void TForm1::StartProgress(std::size_t count) {
  progress_ = CreateProgressBar(count);
}

void TForm1::SetProgress(std::size_t position) {
  if (progress_) {
    progress_->SetPosition(position);
  }
}

void TForm1::EndProgress() {
  progress_.reset();
}

void TForm1::OfferPictures(const std::vector<std::string>& paths) {
  pickMode_->Offer(paths);
  preview_->RowsChanged(NoRow);
  Relayout();
  SetFocus(pickMode_->List());
}

std::vector<std::string> TForm1::OfferedPaths() const {
  return InPickMode() ? pickMode_->Paths() : std::vector<std::string>();
}

void TForm1::EndOffer() {
  const bool picking = InPickMode();
  pickMode_->Leave();
  ShowStatusPanels();
  Relayout();
  if (!picking) {
    return;
  }
  // The pane showed the found pictures: the list's own comes back, the
  // focused one of the selected rows, or none.
  ShowNoPicture();
  const std::vector<int> selected = SelectedRows();
  const int focused = FocusedRow();
  if (std::find(selected.begin(), selected.end(), focused) != selected.end()) {
    KelListViewSelectItem(focused, true);
  } else if (!selected.empty()) {
    KelListViewSelectItem(selected.front(), true);
  }
}

void TForm1::NAddFileClick() {
  const std::vector<std::string> files = services_.dialogs.OpenFiles({PictureFileFilter, "", true});
  if (!files.empty()) {
    {
      const BufferingPause pause = PauseBuffering();
      AddFiles(AddingFlow(), files);
    }
    if (!list.PictureList.empty()) {
      SelectOnly(static_cast<int>(list.PictureList.size()) - 1, true);
    }
  }
  SetFocus(listView_);
}

void TForm1::NAddFolderClick() {
  const std::string folder = engine_.OpenDirectory(ChooseFolderPrompt);
  if (!folder.empty()) {
    ScanFolders({folder}, services_.options.NoRepeats);
  }
}

void TForm1::ScanFolders(const std::vector<std::string>& folders, bool FilterOld) {
  FolderScanEvents fileSystem;
  UseFileSystem(fileSystem);
  seltane::ScanFolders(AddingFlow(), folders, FilterOld, services_.options.AutoAddConfirm,
                       fileSystem);
}

void TForm1::PickOkClick() {
  const std::vector<std::string> paths = pickMode_->Paths();
  AddPicked(AddingFlow(), paths, pickMode_->Checked());
  SetFocus(listView_);
}

void TForm1::PickCancelClick() {
  EndOffer();
}

void TForm1::PickCheckAllClick() {
  pickMode_->ToggleAll();
}

void TForm1::ShowAddPopup(int x, int y) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, idNPopupAddFile, PopupAddFileText);
  AppendMenuA(popup, MF_STRING, idNPopupAddFolder, PopupAddFolderText);
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

}  // namespace seltane
