// The size rules as kel holds them for the whole run, with dims.dat read at
// program start and written at program end when the rules changed.
#pragma once

#include <string>

#include "data/RegistryOptions.h"
#include "platform/Prompter.h"
#include "styles/Dim.h"

namespace seltane {

struct SizeRules {
  DimLists dims;
  StyleRuleSettings settings;
  bool StyleCheckCrossIncluding = true;
  std::string DimsPath;  // fixed at start from the working directory
};

// Fixes DimsPath in the folder, reads the rules and tells the user of a
// missing (then created empty) or foreign file. A missing file is created
// without a word when tellMissing is false (the program's first start).
void ReadDimsFile(SizeRules& rules, const std::string& folder, Prompter& prompter,
                  bool tellMissing = true);

// Writes dims.dat whole when the rules changed; a failed write is told.
bool WriteDimsFile(const SizeRules& rules, Prompter& prompter);

// The rule settings as the options store keeps them, and back.
void LoadRuleSettings(SizeRules& rules, const TOptions& options);
void StoreRuleSettings(const SizeRules& rules, TOptions& options);

}  // namespace seltane
