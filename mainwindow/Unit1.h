// kel's main window: the picture list on the left, the commands and the
// preview on the right, a menu bar and a status bar.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "data/ListState.h"
#include "data/RegistryOptions.h"
#include "engine/Engine.h"
#include "mainwindow/ListCommands.h"
#include "mainwindow/PreviewBuffer.h"
#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "platform/Prompter.h"
#include "styles/DimsFile.h"
#include "ui/ImageView.h"
#include "ui/Window.h"

namespace seltane {

struct MainWindowServices {
  TOptions& options;
  Prompter& prompter;
  Dialogs& dialogs;
  EngineLibraries libraries;
  bool win9xFamily = false;
  std::string programFolder;  // where kel.exe is, without a final backslash
  // The size rules that style added pictures; none: pictures keep the style
  // they are added with.
  const SizeRules* rules = nullptr;
};

class TForm1 : public Window {
 public:
  explicit TForm1(MainWindowServices services);
  ~TForm1() override;

  // Creates the window and runs the start-up (FormCreate). False when the
  // window could not be created.
  bool Create();
  void Show(int showCommand);
  HACCEL Accelerators() const { return accelerators_; }

  // The list and its state, in the order of the rows.
  ListState list;
  bool ListUnnamed = false;
  SortState sort;
  PreviewIndexes preview;

  // Appends a picture the user added: its size is read from the file's
  // header. False, after "Cannot add picture ...", when the file is no
  // picture of a known format; false without a message when the list is full.
  bool AddPictureEntry(const std::string& path, uint8_t style);
  bool OpenListFile();
  void NAddFileClick();
  void NAddFolderClick();
  // Searches the folders for pictures and adds them, or offers them in pick
  // mode when AutoAddConfirm is on.
  void ScanFolders(const std::vector<std::string>& folders, bool FilterOld);
  void PickOkClick();
  void PickCancelClick();
  void PickCheckAllClick();
  void PickListSelectItem(int row);
  bool InPickMode() const { return pickList_ != nullptr; }
  HWND PickList() const { return pickList_; }
  void NNewListClick();
  void NOpenListClick();
  void NSaveListClick();
  void NSaveListAsClick();
  void DelBtnClick();
  void StyleComboBoxChange();
  void SetBtnClick();
  void NFindrandomlyClick();
  void Setrandomly1Click();
  void NActiveDesktopOnClick(bool on);
  void NMoveUpClick();
  void NMoveDownClick();
  void KelListViewColumnClick(int column);
  void KelListViewSelectItem(int row, bool selected);
  void Help1Click();
  void NExitClick();
  // Saves the list and stores the window's state in the options.
  void FormDestroy();

  // What the window shows, for tests.
  std::string Caption() const;
  std::string StatusText(int panel) const;
  std::string HeaderText(int column) const;
  int StyleBoxIndex() const;
  std::vector<int> SelectedRows() const;
  int FocusedRow() const;
  void SelectOnly(int row, bool focus);
  const std::shared_ptr<const Picture>& ShownPicture() const { return image_.Shown(); }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  HMENU CreateMainMenu();
  void Command(int id, int code);
  LRESULT Notify(const NMHDR& header);
  void Relayout();
  void RowsChanged();  // after the number or the order of the rows changed
  void ClearSelection();
  // Saves the current list and empties it; false when it had to stay.
  bool StartNewList();
  std::shared_ptr<const Picture> LoadPicture(const std::string& path, bool reportErrors);
  void SetPickMode(const std::vector<std::string>& paths);
  void LeavePickMode();
  void ShowStatusText(const std::string& text);  // one text across the bar
  void ShowStatusPanels();
  HWND CreateProgressBar(std::size_t count);
  // Adds found or picked paths with a progress bar; returns how many were
  // handed over for adding.
  std::size_t AddWithProgress(const std::vector<std::string>& paths,
                              const std::vector<bool>* picked);
  void ShowAddPopup(int x, int y);

  MainWindowServices services_;
  Engine engine_;
  HWND listView_ = nullptr;
  HWND styleBox_ = nullptr;
  HWND statusBar_ = nullptr;
  ImageView image_;
  HACCEL accelerators_ = nullptr;
  int leftPanelWidth_ = 265;
  bool draggingSplitter_ = false;
  bool destroyed_ = false;
  std::array<std::string, ListColumnCount> headers_;
  std::shared_ptr<const Picture> BufferPicture;
  std::shared_ptr<const Picture> CachePicture;
  bool ignoreSelection_ = false;  // while selections are restored after a sort
  bool bulkAdding_ = false;       // rows are counted in once the adding ends
  HWND pickList_ = nullptr;       // the check list of found pictures in pick mode
  std::vector<std::string> pickPaths_;
};

}  // namespace seltane
