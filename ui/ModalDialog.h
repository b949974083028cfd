// The base of kel's dialogs and other modal windows.
//
// ShowModal disables the owner, shows the window and runs a message loop of
// its own until EndModal: Tab moves between the controls, Enter presses the
// focused push button, or the default button from any other control, and
// Esc or the close box presses the cancel button (or ends the dialog with
// IDCANCEL when it has none). Being a loop of its own,
// it never applies the main window's shortcuts: Insert or Delete in a
// dialog's list box stay with the list box. The owner is enabled again
// before the window hides, so that the focus returns to it. While it shows,
// message boxes are owned by it (PromptOwner).
//
// Closing only hides the window: a dialog object lives until its owner ends
// it (at program end for kel's dialogs) and keeps its controls' state
// between showings.
//
// A dialog's controls come from a table: kind, text, style and a place
// designed at 96 DPI with the edges it follows. The base creates them in
// the table's order (which is the tab order), scales them to the window's
// DPI and places them again whenever the window is resized or moves to a
// monitor of another DPI.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "ui/Layout.h"
#include "ui/Window.h"

namespace seltane {

struct DialogControl {
  int id = 0;
  const char* className = "BUTTON";  // "BUTTON", "EDIT", "LISTBOX", WC_LISTVIEWA, ...
  const char* text = "";
  DWORD style = 0;  // besides WS_CHILD | WS_VISIBLE
  LayoutRect rect;  // designed at 96 DPI in the client area of the design size
  uint8_t anchors = akLeft | akTop;
  DWORD exStyle = 0;
};

// A radio group: one radio button per item, in a column (RadioItemRect)
// inside a group box with the caption; the items have the ids that follow
// the group's. The first item starts the group of buttons the arrow keys
// move in and is its tab stop.
void AppendRadioGroup(std::vector<DialogControl>& controls, int groupId, const char* caption,
                      std::span<const char* const> items, const LayoutRect& rect,
                      uint8_t anchors = akLeft | akTop);
// The chosen item of a radio group whose items have the ids after the
// group's; -1 when none is.
int CheckedRadioItem(HWND dialog, int groupId, int count);
// Chooses the item (none when out of range).
void CheckRadioItem(HWND dialog, int groupId, int count, int item);

struct DialogFrame {
  const char* className = "SeltaneDialog";  // one class name per kind of dialog
  std::string caption;
  LayoutSize client;  // the client area as designed, at 96 DPI
  // A sizable dialog gets a sizing frame and keeps at least this outer size
  // (at 96 DPI); a fixed one has a dialog frame and only a close box.
  bool sizable = false;
  LayoutSize minimumSize;
};

class ModalDialog : public Window {
 public:
  // Shows the window modally over its owner, centred over it, and returns
  // what EndModal was given (IDCANCEL when cancelled or closed).
  int ShowModal();
  // Ends the modal loop once the current message is handled.
  void EndModal(int result);
  bool Showing() const { return running_; }
  int Dpi() const { return dpi_; }

 protected:
  // Creates the hidden dialog window and its controls; false on failure.
  bool CreateDialogWindow(HWND owner, const DialogFrame& frame,
                          std::span<const DialogControl> controls);
  // Creates a hidden modal window of any other kind (a borderless popup,
  // say), placed by the caller.
  bool CreateModalWindow(HWND owner, const char* className, const std::string& caption, DWORD style,
                         DWORD exStyle, const RECT& bounds);

  HWND Control(int id) const { return GetDlgItem(Handle(), id); }
  // Enter presses the default button unless a push button has the focus;
  // Esc and the close box the cancel button.
  void SetDefaultButton(int id);
  void SetCancelButton(int id) { cancelButton_ = id; }
  // Gives a control another top edge, as designed at 96 DPI (a row of
  // controls that moves beside another control); it shows at the next
  // LayOut.
  void SetDesignedTop(int id, int top);
  // Places the controls again for the window's size and DPI.
  void LayOut();
  // Handles the messages waiting in the thread's queue as the modal loop
  // does, so that a long command keeps the windows drawn and its dialog's
  // buttons working. False when the program is ending: the quit message is
  // posted again for the loops that end it.
  bool HandleWaitingMessages();

  // A control's command (a button pressed, a list's selection changed).
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  // Each time before the window shows.
  virtual void OnShow() {}
  // Each time once it has hidden, its owner enabled again.
  virtual void OnHidden() {}
  // Whether it is centred over its owner when it shows; a window that
  // places itself (OnShow) says no.
  virtual bool CentredOverOwner() const { return true; }
  // Whether Tab, Enter and Esc work as in a dialog; windows that take every
  // key themselves (the fullscreen preview) say no.
  virtual bool DialogKeys() const { return true; }
  // Subclasses handle their own messages and pass the rest here.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Cancel();
  // One message of the loop: the dialog keys, then its window's handler.
  void Dispatch(MSG& message);
  void CentreOverOwner();
  // The child push button that has the focus, if one has.
  HWND FocusedPushButton() const;
  // Gives the default border to the focused push button, or back to the
  // default button, when the focus has moved.
  void FollowFocus();

  HWND owner_ = nullptr;
  HWND focus_ = nullptr;  // the control to give the focus back to
  int dpi_ = DesignDpi;
  bool running_ = false;
  bool endRequested_ = false;
  int result_ = IDCANCEL;
  int defaultButton_ = 0;
  int cancelButton_ = 0;
  HWND marked_ = nullptr;    // the button showing the default border
  HWND followed_ = nullptr;  // the focus FollowFocus last saw
  LayoutSize design_;
  LayoutSize minimumSize_;
  std::vector<ControlPlacement> placements_;
};

}  // namespace seltane
