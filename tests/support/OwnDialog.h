// Finds a dialog that this process shows on another thread (a common dialog
// or a folder picker), for a test to answer it.
#pragma once

#include <windows.h>

#include <string>

namespace seltane::testing {

inline BOOL CALLBACK FindDialogOfThisProcess(HWND window, LPARAM data) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == GetCurrentProcessId() && std::string(className) == "#32770" &&
      IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

// A visible dialog of this process, or nullptr.
inline HWND VisibleDialogOfThisProcess() {
  HWND found = nullptr;
  EnumWindows(FindDialogOfThisProcess, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace seltane::testing
