#include "app/CommandLine.h"

#include <algorithm>
#include <string_view>

#include "data/PathText.h"

namespace seltane {

std::string FirstStartMessage(const std::string& listPath) {
  return "Welcome to Seltane. It starts with its default options and the picture list " + listPath +
         ".\n\nAdd pictures with Add..., choose one and press Set as wallpaper. When you close "
         "Seltane, it saves the list, and from then on the wallpaper changes by itself when you "
         "log on, once a day; Options... (F11) sets how often and in which order.";
}

namespace {

// "/name" or "-name", in any letter case.
bool IsSwitch(const std::string& argument, std::string_view name) {
  const std::string lower = LowerAZ(argument);
  return lower.size() == name.size() + 1 && (lower[0] == '/' || lower[0] == '-') &&
         std::string_view(lower).substr(1) == name;
}

}  // namespace

StartDecision ExamineArguments(const std::vector<std::string>& arguments, TOptions& options) {
  for (const std::string& argument : arguments) {
    if (IsSwitch(argument, "install")) {
      options.SetDefaults();
    } else if (IsSwitch(argument, "uninstall")) {
      options.DeleteRegistryRecords();
      return StartDecision::Stop;
    }
  }
  return StartDecision::Continue;
}

bool AsksToUninstall(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [](const std::string& argument) { return IsSwitch(argument, "uninstall"); });
}

}  // namespace seltane
