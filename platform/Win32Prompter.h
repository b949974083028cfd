// Message boxes through MessageBoxA, owned by the modal window showing, or
// else by the active window.
#pragma once

#include <windows.h>

#include "platform/Prompter.h"

namespace seltane {

// While one lives, message boxes are owned by its window: a modal window
// that shows over the others (a fullscreen one, say) keeps its boxes above
// it and disabled while they are up. The innermost one counts, while its
// window is visible.
class PromptOwner {
 public:
  explicit PromptOwner(HWND window);
  PromptOwner(const PromptOwner&) = delete;
  PromptOwner& operator=(const PromptOwner&) = delete;
  ~PromptOwner();

 private:
  HWND outer_;
};

// The window the next message box is owned by.
HWND PromptOwnerWindow();

class Win32Prompter : public Prompter {
 public:
  PromptAnswer Ask(const std::string& text, const std::string& caption, PromptButtons buttons,
                   PromptIcon icon) override;
};

}  // namespace seltane
