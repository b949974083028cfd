// Every message box of the program goes through a Prompter, so that tests
// can read each question and answer it.
#pragma once

#include <string>

namespace seltane {

// AllNoneOneByOne: buttons "All" (answer Yes), "None" (No) and "One by one"
// (Cancel), for a question about several things at once.
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, AllNoneOneByOne };
enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual PromptAnswer Ask(const std::string& text, const std::string& caption,
                           PromptButtons buttons, PromptIcon icon) = 0;

  // A message with an OK button.
  void Tell(const std::string& text, const std::string& caption, PromptIcon icon) {
    Ask(text, caption, PromptButtons::Ok, icon);
  }
};

}  // namespace seltane
