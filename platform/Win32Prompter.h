// Message boxes through MessageBoxA, owned by the active window.
#pragma once

#include "platform/Prompter.h"

namespace seltane {

class Win32Prompter : public Prompter {
 public:
  PromptAnswer Ask(const std::string& text, const std::string& caption, PromptButtons buttons,
                   PromptIcon icon) override;
};

}  // namespace seltane
