#include "app/SingleInstance.h"

namespace seltane {
namespace {

// The name is without a backslash, which older systems refuse in names;
// where there are sessions it lives in the session's own namespace.
constexpr const char* MutexName = "Seltane.kel.running";
constexpr const char* WindowClass = "SeltaneInstance";
constexpr WPARAM BringForwardRequest = 1;
constexpr WPARAM UninstallRequest = 2;

UINT RequestMessage() {
  static const UINT message = RegisterWindowMessageA("Seltane.kel.request");
  return message;
}

}  // namespace

SingleInstance::~SingleInstance() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
  if (mutex_ != nullptr) {
    CloseHandle(mutex_);
  }
}

bool SingleInstance::Claim() {
  mutex_ = CreateMutexA(nullptr, FALSE, MutexName);
  if (mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex_);
    mutex_ = nullptr;
    return false;
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = WindowClass;
  RegisterClassA(&windowClass);
  // A hidden top-level window, which a later start finds by its class.
  window_ = CreateWindowExA(0, WindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
  if (window_ != nullptr) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  return true;
}

void SingleInstance::Serve(std::function<void()> bringForward, std::function<void()> uninstall) {
  bringForward_ = std::move(bringForward);
  uninstall_ = std::move(uninstall);
  if (uninstallPending_) {
    Carry(UninstallRequest);
  } else if (forwardPending_) {
    Carry(BringForwardRequest);
  }
  forwardPending_ = uninstallPending_ = false;
}

void SingleInstance::Carry(WPARAM request) {
  if (request == UninstallRequest) {
    if (uninstall_) {
      uninstall_();
    } else {
      uninstallPending_ = true;
    }
  } else if (bringForward_) {
    bringForward_();
  } else {
    forwardPending_ = true;
  }
}

LRESULT CALLBACK SingleInstance::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == RequestMessage() && message != 0) {
    if (auto* self = reinterpret_cast<SingleInstance*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
      self->Carry(wParam);
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool HandOverToRunningKel(bool uninstall) {
  // A kel that has only just started makes its window at once; give it a
  // few seconds.
  HWND running = nullptr;
  for (int attempt = 0; attempt < 100 && running == nullptr; ++attempt) {
    running = FindWindowA(WindowClass, nullptr);
    if (running == nullptr) {
      Sleep(100);
    }
  }
  if (running == nullptr) {
    return false;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(running, &processId);
  // The running kel may take the foreground that this start was given.
  AllowSetForegroundWindow(processId);
  const HANDLE process = uninstall ? OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr;
  const bool posted = PostMessageA(running, RequestMessage(),
                                   uninstall ? UninstallRequest : BringForwardRequest, 0) != 0;
  if (process != nullptr) {
    if (posted) {
      WaitForSingleObject(process, INFINITE);
    }
    CloseHandle(process);
  }
  return posted;
}

}  // namespace seltane
