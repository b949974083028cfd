// Runs a program as a process of its own and deals with its message boxes
// as a user would: finds the box on the desktop, reads its caption and text,
// and presses one of its buttons.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace seltane::testing {

struct SeenMessageBox {
  HWND window = nullptr;
  std::string caption;
  std::string text;
};

class ChildProcess {
 public:
  // Starts the command line in the given working folder. A start that is
  // refused is tried twice more, and each refusal is told on stderr with its
  // error code: a test that fails because its program never started says so
  // instead of waiting out every timeout for windows that cannot come.
  ChildProcess(const std::string& commandLine, const std::string& workingFolder) {
    for (int attempt = 0; attempt < 3 && !started_; ++attempt) {
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      std::string command = commandLine;
      started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                workingFolder.c_str(), &startup, &info_) != 0;
      if (!started_) {
        std::fprintf(stderr, "CreateProcess failed with error %lu: %s (in %s)\n", GetLastError(),
                     commandLine.c_str(), workingFolder.c_str());
        Sleep(500);
      }
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (started_) {
      if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
      }
      CloseHandle(info_.hThread);
      CloseHandle(info_.hProcess);
    }
  }

  bool Started() const { return started_; }

  // Waits until the process shows a message box, or ends, or time runs out.
  std::optional<SeenMessageBox> WaitForMessageBox(
      std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (started_ && std::chrono::steady_clock::now() < deadline) {
      if (auto box = FindMessageBox()) {
        return box;
      }
      if (WaitForSingleObject(info_.hProcess, 20) == WAIT_OBJECT_0) {
        return FindMessageBox();
      }
    }
    return std::nullopt;
  }

  // Waits until the process shows a visible top-level window of the class.
  HWND WaitForWindow(const char* className,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (started_ && std::chrono::steady_clock::now() < deadline) {
      if (HWND found = FindVisibleWindow(className)) {
        return found;
      }
      if (WaitForSingleObject(info_.hProcess, 20) == WAIT_OBJECT_0) {
        return nullptr;
      }
    }
    return nullptr;
  }

  // Presses the button with this id (IDOK, IDCANCEL, IDYES, IDNO) and waits
  // until the box has closed, so that the next search finds the next box.
  // Presses again each second while the box is still there; false when it
  // never closed.
  static bool Press(const SeenMessageBox& box, int buttonId,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (IsWindow(box.window) && std::chrono::steady_clock::now() < deadline) {
      PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box.window, buttonId)));
      const auto again =
          std::min(deadline, std::chrono::steady_clock::now() + std::chrono::seconds(1));
      while (IsWindow(box.window) && std::chrono::steady_clock::now() < again) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      }
    }
    return !IsWindow(box.window);
  }

  // Lets the process run on when this object ends.
  void Detach() {
    if (started_) {
      CloseHandle(info_.hThread);
      CloseHandle(info_.hProcess);
      started_ = false;
    }
  }

  // The exit code, or nothing when the process did not end in time.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
      return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
  };

  static BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search.processId && std::string(className) == search.className &&
        IsWindowVisible(window)) {
      search.found = window;
      return FALSE;
    }
    return TRUE;
  }

  // A visible top-level window of the process and the class, if any.
  HWND FindVisibleWindow(const char* className) const {
    WindowSearch search{info_.dwProcessId, className, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // The text is the static control that has text (the icon has none).
  static BOOL CALLBACK ReadBoxText(HWND child, LPARAM data) {
    char childClass[64] = {};
    GetClassNameA(child, childClass, sizeof childClass);
    char text[4096] = {};
    GetWindowTextA(child, text, sizeof text);
    auto& box = *reinterpret_cast<SeenMessageBox*>(data);
    if (_stricmp(childClass, "Static") == 0 && text[0] != '\0' && box.text.empty()) {
      box.text = text;
    }
    return TRUE;
  }

  // Message boxes are dialogs of the system's dialog class.
  std::optional<SeenMessageBox> FindMessageBox() const {
    HWND window = FindVisibleWindow("#32770");
    if (window == nullptr) {
      return std::nullopt;
    }
    SeenMessageBox box;
    box.window = window;
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    box.caption = caption;
    EnumChildWindows(window, ReadBoxText, reinterpret_cast<LPARAM>(&box));
    return box;
  }

  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

}  // namespace seltane::testing
