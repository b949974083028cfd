// A Prompter for tests: records every message box and gives the answers a
// test scripted, in order. A question without a scripted answer fails the
// test; a plain message (OK button only) needs none.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace seltane::testing {

struct PromptRecord {
  std::string text;
  std::string caption;
  PromptButtons buttons;
  PromptIcon icon;
};

class ScriptedPrompter : public Prompter {
 public:
  PromptAnswer Ask(const std::string& text, const std::string& caption, PromptButtons buttons,
                   PromptIcon icon) override {
    records.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
      const PromptAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    if (buttons != PromptButtons::Ok) {
      ADD_FAILURE() << "unexpected question: " << text;
      return PromptAnswer::Cancel;
    }
    return PromptAnswer::Ok;
  }

  std::deque<PromptAnswer> answers;
  std::vector<PromptRecord> records;
};

}  // namespace seltane::testing
