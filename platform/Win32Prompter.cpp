#include "platform/Win32Prompter.h"

namespace seltane {
namespace {

// The innermost PromptOwner's window; one thread shows all of kel's windows.
HWND modalOwner = nullptr;

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
  switch (MessageBoxA(PromptOwnerWindow(), text.c_str(), caption.c_str(), flags)) {
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
