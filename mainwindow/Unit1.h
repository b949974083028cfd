// kel's main window: the picture list on the left, the commands and the
// preview on the right, a menu bar and a status bar.
//
// The window's code is split by topic: Unit1.cpp creates the window, lays it
// out and runs the list commands; MainWindowFiles.cpp opens and saves list
// files and stores the window's state at the end; MainWindowPreview.cpp
// shows the selected row; MainWindowAdding.cpp adds pictures (the flow
// itself is in gather/AddingFlow) and runs pick mode (PickMode).
//
// The other windows of kel (the dialogs, the fullscreen preview) own no list
// of their own: they work on this window's list, selection and preview
// through the public part below.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/ListState.h"
#include "data/RegistryOptions.h"
#include "engine/Engine.h"
#include "gather/AddingFlow.h"
#include "mainwindow/BufferingPause.h"
#include "mainwindow/ListCommands.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/PickMode.h"
#include "mainwindow/PreviewPane.h"
#include "platform/Dialogs.h"
#include "platform/Prompter.h"
#include "styles/DimsFile.h"
#include "ui/Hints.h"
#include "ui/ImageView.h"
#include "ui/ProgressBar.h"
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
  // What the program does at its end, run when Windows ends the session
  // with kel open; none: the window saves itself (FormDestroy).
  std::function<void()> endSession = nullptr;
  // The window of the program's taskbar button (ui/TaskbarWindow), which
  // owns the main window; none: the main window has a button of its own.
  HWND taskbarOwner = nullptr;
};

class TForm1 : public Window, private AddingWindow {
 public:
  explicit TForm1(MainWindowServices services);
  ~TForm1() override;

  // ---- Life of the window

  // Creates the window and runs the start-up (FormCreate). False when the
  // window could not be created.
  bool Create();
  void Show(int showCommand);
  // Takes from the program's message loop the keys that are this window's
  // commands: the menus' shortcuts, and F10 for "Exit" (which Windows would
  // give to the menu bar). Only keys for this window and its controls are
  // taken, and Insert and Delete stay with an edit box that has the focus.
  bool TranslateShortcut(MSG& message);
  // Saves the list files and stores the window's state in the options, once:
  // at exit, or earlier when Windows ends the session.
  void FormDestroy();

  // ---- For the other windows

  // Binds a menu command that opens another window (Fullscreen, Set style,
  // Automatic searching, Options, About): its menu item is enabled and from
  // then on the item and its shortcut run `handler`; for Fullscreen also the
  // "Fullscreen" button, a double click on the preview or on the list, and
  // Enter in the list.
  void BindCommand(int id, std::function<void()> handler);

  // The list in the order of the rows, its file, watched folders and
  // changed flags.
  ListState list;
  bool ListUnnamed = false;
  SortState sort;

  // After PictureList changed other than through this window's commands:
  // counts the rows again, repaints them, and lets the preview forget which
  // rows its kept pictures belong to. The shown picture stays the shown
  // row's while that row still holds its file; otherwise the pane, caption
  // and status bar are emptied.
  void RefreshRows();
  // After the styles in PictureList changed: repaints the rows and shows
  // the style of the row the preview shows (else the selected row's) in the
  // style box (nothing else of the selection is handled again).
  void RefreshStyles();
  // The picture's size from its file's header, as the list stores it;
  // nothing when the file is no picture that can be added. Adding and "Set
  // for all list" both measure by it, on several threads at once.
  static std::optional<MeasuredSize> MeasurePictureFromHeader(const std::string& path);
  // Removes one picture and its row, and marks both files changed.
  void RemovePicture(int row);
  // Removes the pictures at the rows in one pass, as Delete does: buffering
  // paused, the preview forgetting its rows, the rows counted once. The
  // selection and the focus stay with their pictures; when every selected
  // row went, the row now at the first one's place is selected.
  void RemovePictures(std::vector<int> rows);
  // Counts the lists opened or started ("New list") in this window, so that
  // another window can tell whether the list changed under it.
  unsigned ListsOpened() const { return listsOpened_; }
  // Selects the row alone (and gives it the focus mark), scrolled into view;
  // the selection shows it in the preview. Out of range: clears only.
  void SelectOnly(int row, bool focus);
  void ClearSelection();
  std::vector<int> SelectedRows() const;
  int SelectedRow() const;  // the first selected row; -1 when none
  int FocusedRow() const;   // -1 when none
  // Gives the selected row the focus mark (the row the preview shows, when
  // it is one of several selected) and the list the keyboard focus, and
  // scrolls the row into view; the selection stays as it is.
  void FocusSelectedRow();
  // The style the style box shows (0-5); -1 when it shows none of them.
  int StyleBoxIndex() const;
  // A progress bar over "Set as wallpaper", from 0 to count, until the
  // returned object ends.
  std::unique_ptr<ProgressBar> CreateProgressBar(std::size_t count);
  // The binding of common.dll and main.dll.
  Engine& EngineBinding() { return engine_; }
  // The preview pane: the shown picture, and a larger decode of it.
  PreviewPane& Preview() { return *preview_; }
  // Preview buffering and caching off until the returned pause ends (for
  // bulk changes of the list).
  BufferingPause PauseBuffering() { return BufferingPause(services_.options, bufferingPauses_); }
  // The DPI the window is drawn at.
  int Dpi() const { return dpi_; }
  bool InPickMode() const { return pickMode_ && pickMode_->Active(); }

  // Appends a picture the user added: its size is read from the file's
  // header. False, after "Cannot add picture ...", when the file is no
  // picture of a known format; false without a message when the list is full.
  bool AddPictureEntry(const std::string& path, uint8_t style);
  bool OpenListFile();
  // Searches the folders for pictures and adds them, or offers them in pick
  // mode when AutoAddConfirm is on.
  void ScanFolders(const std::vector<std::string>& folders, bool FilterOld);

  // ---- Handlers, named after their controls

  void NAddFileClick();
  void NAddFolderClick();
  void PickOkClick();
  void PickCancelClick();
  void PickCheckAllClick();
  void PickListSelectItem(int row);
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
  // The selection of a row changed: shows it in the preview, with its style,
  // caption and status (see MainWindowPreview.cpp).
  void KelListViewSelectItem(int row, bool selected);
  void Help1Click();
  void NExitClick();

  // ---- What the window shows, for tests

  std::string Caption() const;
  std::string StatusText(int panel) const;
  std::string HeaderText(int column) const;
  std::wstring HintText(int controlId) const;
  const std::shared_ptr<const Picture>& ShownPicture() const { return image_.Shown(); }
  const ImageView& Image() const { return image_; }
  HWND PickList() const { return pickMode_ ? pickMode_->List() : nullptr; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Unit1.cpp
  HMENU CreateMainMenu();
  void CreateControls();
  void CreateHints();
  void Command(int id, int code);
  void RunBound(int id);
  LRESULT Notify(const NMHDR& header);
  void Relayout();
  MainLayoutInput LayoutInput() const;
  void FollowDpi(WPARAM wParam, LPARAM lParam);
  bool OnSplitter(int x) const;
  void ShowAddPopup(int x, int y);
  // RefreshRows after this window's own change, which knows where the
  // shown row went: `shownRow`, or NoRow when it went out of the list.
  void RefreshRowsShowing(int shownRow);
  // The preview's picture is now row `shownRow`'s: its "i/n" is shown again;
  // NoRow: the pane, caption and status bar are emptied, if they showed a row.
  void ShownRowMoved(int shownRow);
  int ShownRow() const { return preview_->Indexes().ShownIndex; }
  // Empties the pane, the caption and the status bar: nothing may name or
  // show a picture of no row.
  void ShowNoPicture();
  // Moves several selected rows one place as a block, selections and the
  // focus going with their pictures.
  void MoveSelectedRows(const std::vector<int>& selected, bool up);
  // Each row's selection and focus states, to carry along a reordering.
  std::vector<UINT> RowStates() const;
  // The rows now stand in `order` (order[row] is the row it was): the
  // states taken before go with their pictures, and so does the pane's.
  void CarryRowStates(const std::vector<UINT>& states, const std::vector<uint32_t>& order);

  // MainWindowFiles.cpp
  // Saves the current list and empties it; false when it had to stay.
  bool StartNewList();

  // MainWindowPreview.cpp
  void CreatePreview();
  // Shows the selected row in the preview. A row whose file is missing is
  // removed instead, when the options say so: true then.
  bool ShowSelectedRow(int row);
  // Removes the row of a missing file alone, after the message and the
  // question; false when the user keeps it.
  bool RemoveMissingPicture(int row);
  void ShowRowStatus(int row, int rowCount, int width, int height, const std::string& path);

  // MainWindowAdding.cpp
  Adding AddingFlow() { return {list, services_.prompter, *this}; }
  bool AppendPicture(const std::string& path, uint8_t style, std::optional<MeasuredSize> size);
  void ShowStatusText(const std::string& text) override;
  void ShowStatusPanels() override;
  void StartProgress(std::size_t count) override;
  void SetProgress(std::size_t position) override;
  void EndProgress() override;
  std::optional<MeasuredSize> MeasurePicture(const std::string& path) const override {
    return MeasurePictureFromHeader(path);
  }
  bool AddPicture(const std::string& path, std::optional<MeasuredSize> size) override;
  void ShowAddedRows() override;
  void OfferPictures(const std::vector<std::string>& paths) override;
  std::vector<std::string> OfferedPaths() const override;
  void EndOffer() override;

  MainWindowServices services_;
  Engine engine_;
  HWND listView_ = nullptr;
  HWND styleBox_ = nullptr;
  HWND statusBar_ = nullptr;
  ImageView image_;
  Hints hints_;
  std::unique_ptr<PreviewScreen> screen_;
  std::unique_ptr<PreviewLoader> loader_;
  std::unique_ptr<PreviewPane> preview_;
  std::unique_ptr<PickMode> pickMode_;
  std::unique_ptr<ProgressBar> progress_;
  std::map<int, std::function<void()>> boundCommands_;
  HACCEL accelerators_ = nullptr;
  int dpi_ = DesignDpi;
  int leftPanelWidth_ = 265;  // as the user left it; the layout clamps it
  MainLayout layout_;         // as last applied
  std::array<int, 2> statusTextWidths_{};
  std::array<std::string, ListColumnCount> headers_;
  int bufferingPauses_ = 0;
  unsigned listsOpened_ = 0;
  bool draggingSplitter_ = false;
  bool sizing_ = false;           // the user is dragging the window's frame
  bool destroyed_ = false;        // FormDestroy has run
  bool ignoreSelection_ = false;  // while selections are restored after a sort
  // A selection handled while another is: the row selected meanwhile.
  bool selecting_ = false;
  std::optional<int> pendingSelection_;
};

}  // namespace seltane
