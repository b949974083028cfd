// The small window toolkit: one C++ object per window, kept with its HWND,
// and helpers for the common controls.
#pragma once

#include <windows.h>

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
                     const RECT& bounds, HWND parent, HMENU menu);
  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the window is gone, from WM_NCDESTROY.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};

// The font the windows use: "MS Sans Serif", 8 points.
HFONT DefaultFont();

// Creates a child control with the default font.
HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style, int id,
                 DWORD exStyle = 0);

// Moves every control of the table to its place for the parent's size, in
// one batch.
void ApplyLayout(HWND parent, const std::vector<ControlPlacement>& controls, LayoutSize design,
                 LayoutSize parentSize);

// A placed rectangle, applied to one child in a batch.
struct PlacedChild {
  HWND window;
  LayoutRect rect;
};
void MoveChildren(const std::vector<PlacedChild>& children);

}  // namespace seltane
