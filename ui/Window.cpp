#include "ui/Window.h"

#include <commctrl.h>

#include <exception>
#include <map>
#include <new>
#include <tuple>
#include <utility>

namespace seltane {
namespace {

// The point size a control keeps across DPI changes, when not 8, with
// FontUnderlined added for an underlined font.
constexpr const char* FontPointsProperty = "SeltaneFontPoints";
constexpr INT_PTR FontUnderlined = 0x10000;

BOOL CALLBACK SetFontForDpi(HWND child, LPARAM dpi) {
  const auto kept = reinterpret_cast<INT_PTR>(GetPropA(child, FontPointsProperty));
  const int points = static_cast<int>(kept & (FontUnderlined - 1));
  SendMessageA(child, WM_SETFONT,
               reinterpret_cast<WPARAM>(DialogFont(static_cast<int>(dpi), points != 0 ? points : 8,
                                                   (kept & FontUnderlined) != 0)),
               TRUE);
  return TRUE;
}

}  // namespace

Window::~Window() {
  if (handle_ != nullptr) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

bool Window::CreateOfClass(const char* className, const std::string& caption, DWORD style,
                           const RECT& bounds, HWND parent, HMENU menu, DWORD exStyle) {
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
  CreateWindowExA(exStyle, className, caption.c_str(), style, bounds.left, bounds.top,
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
  } catch (const std::bad_alloc&) {
    MessageBoxA(window, "There is not enough memory to finish this command.", "Error",
                MB_OK | MB_ICONERROR);
  } catch (const std::exception& error) {
    MessageBoxA(window, error.what(), "Error", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxA(window, "Unexpected error", "Error", MB_OK | MB_ICONERROR);
  }
  return 0;
}

HFONT DialogFont(int dpi, int points, bool underlined) {
  static std::map<std::tuple<int, int, bool>, HFONT> fonts;
  HFONT& font = fonts[{dpi, points, underlined}];
  if (font == nullptr) {
    font = CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
  }
  return font;
}

int WindowDpi(HWND window) {
  // Windows 10 and later know each monitor's DPI; older systems have one.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow != nullptr && window != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
      return static_cast<int>(dpi);
    }
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : DesignDpi;
}

int FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam) {
  const int dpi = HIWORD(wParam) != 0 ? HIWORD(wParam) : DesignDpi;
  EnumChildWindows(window, SetFontForDpi, dpi);
  if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return dpi;
}

HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style, int id,
                 DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                               0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(WindowDpi(parent))), FALSE);
  return child;
}

void SetControlFont(HWND control, int points, bool underlined) {
  SetPropA(
      control, FontPointsProperty,
      reinterpret_cast<HANDLE>(static_cast<INT_PTR>(points) | (underlined ? FontUnderlined : 0)));
  SendMessageA(
      control, WM_SETFONT,
      reinterpret_cast<WPARAM>(DialogFont(WindowDpi(GetParent(control)), points, underlined)),
      TRUE);
}

void MoveChildren(const std::vector<PlacedChild>& children) {
  HDWP batch = BeginDeferWindowPos(static_cast<int>(children.size()));
  for (const PlacedChild& child : children) {
    if (batch != nullptr && child.window != nullptr) {
      batch = DeferWindowPos(batch, child.window, nullptr, child.rect.left, child.rect.top,
                             child.rect.width, child.rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (batch != nullptr) {
    EndDeferWindowPos(batch);
  }
}

void MoveControls(HWND parent, const PlacedControls& placed) {
  std::vector<PlacedChild> children;
  children.reserve(placed.size());
  for (const auto& [id, rect] : placed) {
    children.push_back({GetDlgItem(parent, id), rect});
  }
  MoveChildren(children);
}

LayoutSize ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

void PaintWindowBehind(HWND control, HWND below, HDC dc) {
  POINT origin{0, 0};
  MapWindowPoints(control, below, &origin, 1);
  POINT old{};
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageA(below, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

int TextWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

void RegisterControlClasses() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
}

int RunMessageLoop(const std::function<bool(MSG& message)>& shortcuts) {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (shortcuts && shortcuts(message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace seltane
