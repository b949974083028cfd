// The small window toolkit: one C++ object per window, kept with its HWND,
// the windows' font at the window's DPI, placing controls from tables, and
// the program's message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Layout.h"

namespace seltane {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return handle_; }

 protected:
  // Registers the class once and creates the window; false on failure. A
  // child window passes its parent and its id as menu.
  bool CreateOfClass(const char* className, const std::string& caption, DWORD style,
                     const RECT& bounds, HWND parent, HMENU menu, DWORD exStyle = 0);
  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the window is gone, from WM_NCDESTROY.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};

// The windows' font, "MS Sans Serif" of the given size in points, at a DPI,
// underlined for a link. One font per kind and DPI, kept until the program
// ends.
HFONT DialogFont(int dpi, int points = 8, bool underlined = false);

// The DPI a window is drawn at: its monitor's where the system says, else
// the screen's.
int WindowDpi(HWND window);

// Sent when a window moves to a monitor of another DPI, or the DPI changes.
inline constexpr UINT WmDpiChanged = 0x02E0;

// Follows WM_DPICHANGED: every child gets its font at the new DPI, then the
// window takes the rectangle the system suggests (its WM_SIZE lays the
// controls out again). Returns the new DPI.
int FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam);

// Creates a child control with the windows' font at the parent's DPI.
HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style, int id,
                 DWORD exStyle = 0);

// Gives a control a font of another size, or an underlined one, which it
// keeps when the DPI changes.
void SetControlFont(HWND control, int points, bool underlined = false);

// A placed rectangle, applied to one child in a batch.
struct PlacedChild {
  HWND window;
  LayoutRect rect;
};
void MoveChildren(const std::vector<PlacedChild>& children);

// Moves the parent's controls, found by their ids, in one batch.
void MoveControls(HWND parent, const PlacedControls& placed);

LayoutSize ClientSize(HWND window);

// Draws into a control's DC the part of a window below it that the control
// covers (a tab control's page behind the controls laid over it), so that
// the control's background matches what is around it.
void PaintWindowBehind(HWND control, HWND below, HDC dc);

// The width of a text in the control's font, in pixels.
int TextWidth(HWND control, const std::string& text);

// The program's message loop, until WM_QUIT, whose code it returns. Each
// message goes first to `shortcuts`, which takes the keys that are commands
// of the window running the loop. Modal dialogs run loops of their own, so
// the main window's keys never act while one is open.
int RunMessageLoop(const std::function<bool(MSG& message)>& shortcuts);

// Registers the common controls that kel's windows use (lists, status bar
// and hints, progress bars, tab pages and up-down arrows); once per process,
// before the first window is created.
void RegisterControlClasses();

}  // namespace seltane
