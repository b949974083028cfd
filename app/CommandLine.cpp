#include "app/CommandLine.h"

#include "data/PathText.h"

namespace seltane {

StartDecision ExamineArguments(const std::vector<std::string>& arguments, TOptions& options) {
  for (const std::string& argument : arguments) {
    const std::string lower = LowerAZ(argument);
    if (lower == "/install" || lower == "-install") {
      options.SetDefaults();
    } else if (lower == "/uninstall" || lower == "-uninstall") {
      options.DeleteRegistryRecords();
      return StartDecision::Stop;
    }
  }
  return StartDecision::Continue;
}

}  // namespace seltane
