// kel's command-line switches.
#pragma once

#include <string>
#include <vector>

#include "data/RegistryOptions.h"

namespace seltane {

enum class StartDecision { Continue, Stop };

// Examines every argument in order, argument 0 (the program's path)
// included, in any letter case: "/install" or "-install" resets the options
// to their defaults and goes on; "/uninstall" or "-uninstall" deletes the
// program's registry records and stops at once. Other arguments are ignored.
StartDecision ExamineArguments(const std::vector<std::string>& arguments, TOptions& options);

// Whether an argument is "/uninstall" or "-uninstall", in any letter case.
bool AsksToUninstall(const std::vector<std::string>& arguments);

// The one message of a first start, once the windows exist: what kel has
// set up (the defaults and the list at listPath) and what to do next.
std::string FirstStartMessage(const std::string& listPath);

}  // namespace seltane
