// The options dialog: the automatic picture change (autorun, its days, how
// the next picture is chosen, for whom autorun is registered), the preview
// and the list behaviour, on three pages.
//
// It is created once at program start and hidden between showings. Its
// controls are filled from the options once, when it is created; a showing
// refreshes only the day field, so that after Cancel the boxes keep what the
// user left in them. OK changes the options in memory only: they reach the
// registry, the autorun value included, when they are saved.
#pragma once

#include "data/RegistryOptions.h"
#include "platform/Prompter.h"
#include "ui/Hints.h"
#include "ui/ModalDialog.h"

namespace seltane {

// The dialog's controls, page by page; the items of a radio group follow
// its id.
enum OptionsControlId : int {
  idOptionsPageControl = 100,
  // "Picture change"
  idAutoRunCheckBox,
  idLabel1,
  idLabel2,
  idLabel3,
  idDayEdit,
  idUpDown1,
  idLabel4,
  idRandomRadioGroup,
  idRandomItemFirst,  // "Nonrepeat random", then "Random" and "Sequence"
  // "Preview"
  idBufferCheckBox = idRandomItemFirst + 3,
  idCasheCheckBox,
  idIncrementalDisplayCheckBox,
  idShowExtensionCheckBox,
  // "Other"
  idDeleteCheckBox,
  idDeleteConfirmCheckBox,
  idNoRepeatsCheckBox,
  idStoreSizesCheckBox,
  idAutorunUserRadioGroup,
  idAutorunUserItemFirst,  // "for current user", then "for all users"
  // the timed change and the "Next wallpaper" hotkey, on "Other" too
  idIntervalLabel = idAutorunUserItemFirst + 2,
  idIntervalEdit,
  idIntervalUpDown,
  idIntervalUnitBox,
  idIntervalNote,
  idHotkeyLabel,
  idHotkeyBox,
  idOkBtn,
  idCancelBtn,
};

inline constexpr const wchar_t* ShowExtensionHint = L"Need restart";
inline constexpr const wchar_t* StoreSizesHint = L"Подействует при следующем изменении файла";
inline constexpr const wchar_t* IntervalHint =
    L"Windows' task scheduler runs the change this often while you are logged on; 0 is off";
inline constexpr const wchar_t* HotkeyHint =
    L"Runs the \"Next wallpaper\" shortcut of the Start menu from any program";

class TOptionsForm : public ModalDialog {
 public:
  TOptionsForm(TOptions& options, Prompter& prompter) : options_(options), prompter_(prompter) {}

  // Creates the hidden dialog over its owner and fills it (FormCreate);
  // false when the window could not be created.
  bool Create(HWND owner);
  // Saves the options, at program end.
  void FormDestroy();

  // The page shown: 0 "Picture change", 1 "Preview", 2 "Other".
  int Page() const;
  std::wstring HintText(int controlId) const { return hints_.Text(Control(controlId)); }

  void AutoRunCheckBoxClick();
  void OKBtnClick();
  void CancelBtnClick();
  // Greys or enables, together, the day count and the picture choice with
  // their labels; "for whom" on the page "Other" stays enabled.
  void SetAutorunControlsEnabled(bool enabled);

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnShow() override;  // FormShow
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void ShowPage(int page);

  TOptions& options_;
  Prompter& prompter_;
  Hints hints_;
};

}  // namespace seltane
