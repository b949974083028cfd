#include "ui/Window.h"

#include <commctrl.h>

#include <exception>

namespace seltane {

Window::~Window() {
  if (handle_ != nullptr) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

bool Window::CreateOfClass(const char* className, const std::string& caption, DWORD style,
                           const RECT& bounds, HWND parent, HMENU menu) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!GetClassInfoExA(instance, className, &windowClass)) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (!RegisterClassExA(&windowClass)) {
      return false;
    }
  }
  CreateWindowExA(0, className, caption.c_str(), style, bounds.left, bounds.top,
                  bounds.right - bounds.left, bounds.bottom - bounds.top, parent, menu, instance,
                  this);
  return handle_ != nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    self->OnDestroyed();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  // No exception may cross into the system's code.
  try {
    return self->OnMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    MessageBoxA(window, error.what(), "Error", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxA(window, "Unexpected error", "Error", MB_OK | MB_ICONERROR);
  }
  return 0;
}

HFONT DefaultFont() {
  static HFONT font = [] {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
  }();
  return font;
}

HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style, int id,
                 DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                               0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
  return child;
}

void MoveChildren(const std::vector<PlacedChild>& children) {
  HDWP batch = BeginDeferWindowPos(static_cast<int>(children.size()));
  for (const PlacedChild& child : children) {
    if (batch != nullptr) {
      batch = DeferWindowPos(batch, child.window, nullptr, child.rect.left, child.rect.top,
                             child.rect.width, child.rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (batch != nullptr) {
    EndDeferWindowPos(batch);
  }
}

void ApplyLayout(HWND parent, const std::vector<ControlPlacement>& controls, LayoutSize design,
                 LayoutSize parentSize) {
  std::vector<PlacedChild> children;
  for (const ControlPlacement& control : controls) {
    children.push_back({GetDlgItem(parent, control.id), AnchoredRect(control, design, parentSize)});
  }
  MoveChildren(children);
}

}  // namespace seltane
