#include "platform/Win32Prompter.h"

namespace seltane {
namespace {

// The innermost PromptOwner's window; one thread shows all of kel's windows.
HWND modalOwner = nullptr;

// The labels the next message box's Yes, No and Cancel buttons get, while a
// box with buttons of their own is shown.
const char* const* relabels = nullptr;
HHOOK relabelHook = nullptr;

// Gives the message box its labels as it is activated, before it shows.
LRESULT CALLBACK RelabelButtons(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && relabels != nullptr) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    const int ids[] = {IDYES, IDNO, IDCANCEL};
    for (int i = 0; i < 3; ++i) {
      SetDlgItemTextA(box, ids[i], relabels[i]);
    }
    relabels = nullptr;
  }
  return CallNextHookEx(relabelHook, code, wParam, lParam);
}

}  // namespace

PromptOwner::PromptOwner(HWND window) : outer_(modalOwner) {
  modalOwner = window;
}

PromptOwner::~PromptOwner() {
  modalOwner = outer_;
}

HWND PromptOwnerWindow() {
  return modalOwner != nullptr && IsWindowVisible(modalOwner) ? modalOwner : GetActiveWindow();
}

PromptAnswer Win32Prompter::Ask(const std::string& text, const std::string& caption,
                                PromptButtons buttons, PromptIcon icon) {
  UINT flags = 0;
  switch (buttons) {
    case PromptButtons::Ok:
      flags |= MB_OK;
      break;
    case PromptButtons::OkCancel:
      flags |= MB_OKCANCEL;
      break;
    case PromptButtons::YesNo:
      flags |= MB_YESNO;
      break;
    case PromptButtons::YesNoCancel:
    case PromptButtons::AllNoneOneByOne:
      flags |= MB_YESNOCANCEL;
      break;
  }
  switch (icon) {
    case PromptIcon::None:
      break;
    case PromptIcon::Information:
      flags |= MB_ICONINFORMATION;
      break;
    case PromptIcon::Warning:
      flags |= MB_ICONWARNING;
      break;
    case PromptIcon::Error:
      flags |= MB_ICONERROR;
      break;
    case PromptIcon::Question:
      flags |= MB_ICONQUESTION;
      break;
  }
  static const char* const AllNoneOneByOneLabels[] = {"All", "None", "One by one"};
  if (buttons == PromptButtons::AllNoneOneByOne) {
    relabels = AllNoneOneByOneLabels;
    relabelHook = SetWindowsHookExA(WH_CBT, RelabelButtons, nullptr, GetCurrentThreadId());
  }
  const int pressed = MessageBoxA(PromptOwnerWindow(), text.c_str(), caption.c_str(), flags);
  if (relabelHook != nullptr) {
    UnhookWindowsHookEx(relabelHook);
    relabelHook = nullptr;
    relabels = nullptr;
  }
  switch (pressed) {
    case IDOK:
      return PromptAnswer::Ok;
    case IDYES:
      return PromptAnswer::Yes;
    case IDNO:
      return PromptAnswer::No;
    default:
      return PromptAnswer::Cancel;
  }
}

}  // namespace seltane
