#include "ui/TaskbarWindow.h"

namespace seltane {

bool TaskbarWindow::Create(const std::string& title) {
  // Of no size in the middle of the screen, where it is never seen; it has
  // a caption and a minimise box so that the button's menu offers them.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  const RECT bounds{x, y, x, y};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
  if (!CreateOfClass("SeltaneTaskbarButton", title, style, bounds, nullptr, nullptr)) {
    return false;
  }
  // Windows gives a captioned window a smallest size at its creation.
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void TaskbarWindow::Show(int showCommand) {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (MinimisingShowCommand(showCommand)) {
    ShowWindow(Handle(), SW_MINIMIZE);
  }
}

LRESULT TaskbarWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {0, 0};
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        HideOwnedWindows();
      } else if (wParam == SIZE_RESTORED) {
        ShowHiddenWindows();
        ActivateMainWindow();
      }
      return 0;
    case WM_ACTIVATE:
      // The button was clicked or the program chosen with Alt+Tab: the
      // user means the main window, or the dialog it shows.
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(Handle())) {
        ActivateMainWindow();
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE && mainWindow_ != nullptr) {
        PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return Window::OnMessage(message, wParam, lParam);
}

namespace {

struct OwnedWindowSearch {
  HWND owner;
  std::vector<HWND> found;
};

// EnumThreadWindows' callback: collects the visible windows owned, directly
// or through others, by the search's owner.
BOOL CALLBACK CollectOwnedWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<OwnedWindowSearch*>(data);
  if (IsWindowVisible(window)) {
    for (HWND owner = GetWindow(window, GW_OWNER); owner != nullptr;
         owner = GetWindow(owner, GW_OWNER)) {
      if (owner == search.owner) {
        search.found.push_back(window);
        break;
      }
    }
  }
  return TRUE;
}

}  // namespace

void TaskbarWindow::HideOwnedWindows() {
  OwnedWindowSearch search{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectOwnedWindow, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) {
    ShowWindow(window, SW_HIDE);
  }
  hidden_.insert(hidden_.end(), search.found.begin(), search.found.end());
}

void TaskbarWindow::ShowHiddenWindows() {
  // Bottom first, so that they come back in the order they stood.
  for (auto window = hidden_.rbegin(); window != hidden_.rend(); ++window) {
    if (IsWindow(*window)) {
      ShowWindow(*window, SW_SHOWNA);
    }
  }
  hidden_.clear();
}

void TaskbarWindow::ActivateMainWindow() {
  if (mainWindow_ == nullptr || !IsWindowVisible(mainWindow_)) {
    return;
  }
  SetActiveWindow(IsWindowEnabled(mainWindow_) ? mainWindow_ : GetLastActivePopup(mainWindow_));
}

bool MinimisingShowCommand(int showCommand) {
  return showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED ||
         showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_FORCEMINIMIZE;
}

}  // namespace seltane
