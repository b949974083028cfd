// Dialogs for tests: hands out the files a test scripted and counts the
// dialogs shown. An unscripted dialog is cancelled.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace seltane::testing {

class ScriptedDialogs : public Dialogs {
 public:
  std::vector<std::string> OpenFiles(const FileDialogOptions& options) override {
    shown.push_back(options);
    ++openShown;
    if (openAnswers.empty()) {
      return {};
    }
    auto answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
  }
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override {
    shown.push_back(options);
    ++saveShown;
    if (saveAnswers.empty()) {
      return std::nullopt;
    }
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }

  std::deque<std::vector<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<FileDialogOptions> shown;
  int openShown = 0;
  int saveShown = 0;
};

}  // namespace seltane::testing
