// The size rules as kel holds them for the whole run, with dims.dat read at
// program start and written when the rules changed: when the set-style
// dialog closes and at program end.
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
  // The file at DimsPath could not be read as rules and could not be moved
  // aside either: it is moved before dims.dat is written, never written over.
  bool DimsNotRead = false;
};

// Fixes DimsPath in the folder, reads the rules and tells the user of a
// missing (then created empty) file. A missing file is created without a
// word when tellMissing is false (the program's first start). A file that
// cannot be read, or is not a rules file, gives no rules: it is kept aside
// under a name of its own (KeepFileAside) and the message names both files.
void ReadDimsFile(SizeRules& rules, const std::string& folder, Prompter& prompter,
                  bool tellMissing = true);

// Writes dims.dat whole, replacing it in one step, when the rules changed,
// and then clears DimsModified. A failed write is told and leaves
// DimsModified set, so that a later call tries again.
bool WriteDimsFile(SizeRules& rules, Prompter& prompter);

// The rule settings as the options store keeps them, and back.
void LoadRuleSettings(SizeRules& rules, const TOptions& options);
void StoreRuleSettings(const SizeRules& rules, TOptions& options);

}  // namespace seltane
