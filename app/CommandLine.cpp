#include "app/CommandLine.h"

#include "data/PathText.h"

namespace seltane {

std::string FirstStartMessage(const std::string& listPath) {
  return "Welcome to Seltane. It starts with its default options and the picture list " + listPath +
         ".\n\nAdd pictures with Add..., choose one and press Set as wallpaper. When you close "
         "Seltane, it saves the list, and from then on the wallpaper changes by itself when you "
         "log on, once a day; Options... (F11) sets how often and in which order.";
}

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
