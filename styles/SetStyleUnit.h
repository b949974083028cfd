// The set-style dialog: the six lists of size rules with their editing row,
// the mode ("selected" or one of the six "all" buttons), the style boxes
// that take part in choosing by size, the two settings of new rules and new
// pictures, and "Set for all list", which styles the main window's whole
// list again. While it styles by size, the waiting messages are handled
// every few dozen milliseconds; Close stops it between two pictures and
// closes the dialog once it has stopped.
//
// The dialog lives from program start to end. Its creation reads dims.dat
// and the rule settings; closing it writes dims.dat when a rule changed, and
// its end writes what is still unsaved and stores the settings. Every change to the settings takes
// effect at once: the main window styles added pictures by the same SizeRules and options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/RegistryOptions.h"
#include "mainwindow/Unit1.h"
#include "platform/Prompter.h"
#include "styles/DimsFile.h"
#include "ui/ModalDialog.h"

namespace seltane {

struct SetStyleServices {
  TOptions& options;
  Prompter& prompter;
  // The rules and their settings, held for the whole run.
  SizeRules& rules;
  // Its list is styled by "Set for all list"; it owns the dialog's window.
  TForm1& mainWindow;
  // Where dims.dat is: the folder kel started in.
  std::string dimsFolder;
};

class TSetStyleForm : public ModalDialog {
 public:
  // The dialog's controls. The style boxes, "all" buttons and rule lists are
  // numbered by style code from their first id.
  enum ControlId : int {
    idChooseDimRadioButton = 100,
    idStyleCheckBox = 110,   // + style
    idAllRadioButton = 120,  // + style
    idDimListBox = 130,      // + style
    idXSizeStartEdit = 140,
    idLabel1,
    idXSizeEndEdit,
    idLabel2,
    idYSizeStartEdit,
    idLabel3,
    idYSizeEndEdit,
    idAddBtn,
    idModifyBtn,
    idDeleteBtn,
    idCrossIncludeCheckBox,
    idSetForNewCheckBox,
    idSetBtn,
    idCancelBtn,
  };

  explicit TSetStyleForm(SetStyleServices services);

  // FormCreate: reads dims.dat and the rule settings, then creates the
  // hidden dialog, owned by the main window, showing them. False when the
  // window could not be created; the rules are read all the same.
  bool Create();
  // FormDestroy: writes dims.dat when a rule changed, stores the rule
  // settings in the options and saves them; once.
  void FormDestroy();

  // The style whose list the editing row stands beside: Add, Change and
  // Delete work on it. It follows the list last pressed with the mouse.
  uint8_t CurrentDimStyle() const { return currentDimStyle_; }

 protected:
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Handlers, named after their controls.
  void CheckBoxClick(uint8_t style);
  void AllRadioBtnClick(uint8_t style);
  void ChooseDimRadioButtonClick();
  void CrossIncludeCheckBoxClick();
  void SetForNewCheckBoxClick();
  void DimListBoxMouseDown(uint8_t style);
  void FitHeightDimListBoxClick(uint8_t style);
  bool DimListBoxKeyDown(uint8_t style, WPARAM key);
  void AddBtnClick();
  void ModifyBtnClick();
  void DeleteBtnClick();
  void SetBtnClick();
  void CancelBtnClick();

  HWND List(uint8_t style) const { return Control(idDimListBox + style); }
  std::optional<std::size_t> SelectedLine(uint8_t style) const;
  void InsertLine(uint8_t style, std::size_t line);
  // The controls show the rule settings.
  void ShowSettings();
  // The editing row as a rule; nothing after telling what is wrong.
  std::optional<TDim> ReadEditingRow();
  // Removes the lines of rules the check deleted, in its order.
  void DeleteLines(const std::vector<DimPosition>& deleted);

  SetStyleServices services_;
  uint8_t currentDimStyle_ = wsStretch;
  std::optional<uint8_t> lastPressed_;
  bool destroyed_ = false;
  // While "Set for all list" runs; Close pressed meanwhile.
  bool passRunning_ = false;
  bool closeRequested_ = false;
};

}  // namespace seltane
