// What the benchmarks give the main window: options on a fake registry (a
// first start, answered with the defaults), messages printed, every file
// dialog cancelled; and the list files it opens.
#pragma once

#include <string>
#include <vector>

#include "data/ListFormat.h"
#include "data/RegistryOptions.h"
#include "platform/Files.h"
#include "tests/support/FakeRegistry.h"
#include "tests/support/PrintingPrompter.h"
#include "tests/support/ScriptedDialogs.h"

namespace seltane::bench {

struct BenchServices {
  explicit BenchServices(const std::string& folder)
      : options({registry, prompter, [folder] { return folder; }, false}) {}

  testing::FakeRegistry registry;
  testing::PrintingPrompter prompter;
  testing::ScriptedDialogs dialogs;
  TOptions options;
};

// Writes the pictures as a list file with their sizes; false on failure.
inline bool WriteList(const std::string& path, const std::vector<kelWide>& pictures) {
  std::string error;
  return WriteFileReplacing(path, FormatListFile(pictures, {}, {false, true}, CompareLowerAZ),
                            error);
}

}  // namespace seltane::bench
