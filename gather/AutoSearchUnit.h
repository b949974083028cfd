// The automatic search dialog: the current list's watched folders, and two
// jobs on the list, run by "Proceed now" and, with "on start" ticked, when
// the dialog is first opened: the removal of pictures whose files are gone,
// and the search of the watched folders for new pictures.
//
// The main window creates it on first use and keeps it until the program
// ends; the folder box and the check boxes keep their state between
// showings. The box is filled again from the list's watched folders when
// another list has been opened or started since it was filled, so that OK
// never gives one list the folders of another.
#pragma once

#include "data/RegistryOptions.h"
#include "mainwindow/Unit1.h"
#include "platform/Prompter.h"
#include "ui/ModalDialog.h"

namespace seltane {

enum AutoSearchControlId : int {
  idAutoSearchCheckBox = 100,
  idAutoDeleteCheckBox,
  idOnStartCheckBox,
  idConfirmAddCheckBox,
  idDoNowButton,
  idFoldersLabel,
  idFoldersListBox,
  idAutoSearchAddBtn,
  idAutoSearchDelBtn,
  idAutoSearchOKBtn,
  idAutoSearchCancelBtn,
};

class TAutoSearchForm : public ModalDialog {
 public:
  TAutoSearchForm(TForm1& form, TOptions& options, Prompter& prompter)
      : form_(form), options_(options), prompter_(prompter) {}

  // Creates the hidden dialog over the main window and runs FormCreate,
  // which runs the jobs when "on start" is ticked; false when the window
  // could not be created.
  bool Create();
  // Stores the four boxes as last confirmed into the options and saves
  // them, at program end.
  void FormDestroy();

  // The folders the box shows, in order.
  std::vector<std::string> Folders() const;

  void AutoSearchCheckBoxClick();
  void AddBtnClick();
  void DelBtnClick();
  void DoNowButtonClick();
  void OKBtnClick();
  void CancelBtnClick();

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnShow() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void FillFolders();
  // A key pressed in the folder box: Delete removes the selected folder.
  // False for the keys the box handles itself.
  bool FoldersListBoxKeyDown(int key);
  bool Checked(int id) const;

  // The four boxes in the order of Boxes(), as last confirmed with OK (or
  // as loaded): Cancel puts them back, and the end of the run stores them.
  void ShowConfirmed();

  TForm1& form_;
  TOptions& options_;
  Prompter& prompter_;
  unsigned filledForList_ = 0;  // the main window's ListsOpened when filled
  bool confirmed_[4] = {};
};

}  // namespace seltane
