// A Prompter for benchmarks: answers OK and prints every message but the
// first start's question, so that a figure never hides a failure.
#pragma once

#include <cstdio>

#include "data/RegistryOptions.h"
#include "platform/Prompter.h"

namespace seltane::testing {

class PrintingPrompter : public Prompter {
 public:
  PromptAnswer Ask(const std::string& text, const std::string&, PromptButtons,
                   PromptIcon) override {
    if (text != RegistryReadErrorQuestion) {
      std::printf("message: %s\n", text.c_str());
    }
    return PromptAnswer::Ok;
  }
};

}  // namespace seltane::testing
