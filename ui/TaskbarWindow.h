// The program's button on the taskbar.
//
// The taskbar names a program by the text of its window, and kel's main
// window names the picture shown ("Seltane - sunset.jpg - [default]"). So
// that the button keeps the program's name, it belongs to this window of no
// size, which owns the main window: an owned window gets no button of its
// own. The window passes everything the user does with the button on to the
// main window: activating it activates the main window (or the dialog in
// front of it), closing it closes the main window; minimising it hides the
// windows it owns and restoring it shows them again (Windows does this for
// owned windows itself, Wine does not: doing it here works on both). The
// main window minimises by minimising this one.
#pragma once

#include <string>
#include <vector>

#include "ui/Window.h"

namespace seltane {

class TaskbarWindow : public Window {
 public:
  // Creates the window, hidden, with the text its button shows.
  bool Create(const std::string& title);
  // The window whose button this is; it is owned by this one.
  void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
  // Shows the button; a minimising show command minimises the program.
  void Show(int showCommand);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Hides the visible windows this one owns, directly or through others,
  // while it is minimised, and shows them again.
  void HideOwnedWindows();
  void ShowHiddenWindows();
  void ActivateMainWindow();

  HWND mainWindow_ = nullptr;
  std::vector<HWND> hidden_;
};

// Whether a show command (WinMain's, ShowWindow's) asks for a minimised
// window.
bool MinimisingShowCommand(int showCommand);

}  // namespace seltane
