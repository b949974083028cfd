#include "styles/DimsFile.h"

#include "platform/Files.h"

namespace seltane {
namespace {

constexpr const char* StillInProgram =
    "\nYour changes are still in the program; they are saved again when the set-style dialog "
    "closes and when the program ends.";

// Tells of a file at DimsPath that was not read as rules, after moving it
// aside so that the rules of this run can be saved without losing it.
void KeepUnreadFileAside(SizeRules& rules, const std::string& problem, const char* caption,
                         Prompter& prompter) {
  std::string error;
  if (const std::optional<std::string> aside = KeepFileAside(rules.DimsPath, error)) {
    std::string ignored;
    WriteFileReplacing(rules.DimsPath, "", ignored);  // as for a missing file
    prompter.Tell(problem + "\n\nThe file was kept as " + *aside +
                      "\nThe size rules of this run are saved in a new " + rules.DimsPath + ".",
                  caption, PromptIcon::Error);
    return;
  }
  rules.DimsNotRead = true;
  prompter.Tell(problem + "\n\nThe file could not be moved aside (" + error +
                    "), so it is not written over: size rules changed in this run are saved once "
                    "it can be moved.",
                caption, PromptIcon::Error);
}

}  // namespace

void ReadDimsFile(SizeRules& rules, const std::string& folder, Prompter& prompter,
                  bool tellMissing) {
  rules.dims = DimLists{};
  rules.DimsNotRead = false;
  rules.DimsPath = folder + "\\" + std::string(DimsFileName);
  if (!FileExists(rules.DimsPath)) {
    if (tellMissing) {
      prompter.Tell(DimsNotFoundMessage, DimsNotFoundCaption, PromptIcon::None);
    }
    std::string error;
    WriteFileReplacing(rules.DimsPath, "", error);  // no message: the run goes on without rules
    return;
  }
  std::string error;
  const auto text = ReadWholeFile(rules.DimsPath, error);
  if (!text) {
    KeepUnreadFileAside(rules,
                        "The size rules file could not be read:\n" + rules.DimsPath + "\n" + error,
                        DimsNotFoundCaption, prompter);
    return;
  }
  DimsFileResult result = ParseDimsFile(*text);
  if (result.status == DimsFileStatus::WrongHeader) {
    KeepUnreadFileAside(rules, std::string(DimsWrongFormatMessage) + "\n" + rules.DimsPath,
                        DimsWrongFormatCaption, prompter);
    return;
  }
  rules.dims = std::move(result.dims);
  rules.dims.DimsModified = false;
}

bool WriteDimsFile(SizeRules& rules, Prompter& prompter) {
  if (!rules.dims.DimsModified || rules.DimsPath.empty()) {
    return true;
  }
  if (rules.DimsNotRead && FileExists(rules.DimsPath)) {
    std::string error;
    const std::optional<std::string> aside = KeepFileAside(rules.DimsPath, error);
    if (!aside) {
      prompter.Tell("The size rules could not be saved:\n" + rules.DimsPath +
                        "\ncould not be read and cannot be moved aside (" + error + ")." +
                        StillInProgram,
                    "Error", PromptIcon::Error);
      return false;
    }
    prompter.Tell("The size rules file that could not be read was kept as " + *aside +
                      "\nThe size rules are now saved in " + rules.DimsPath + ".",
                  "Information", PromptIcon::Information);
  }
  rules.DimsNotRead = false;
  std::string error;
  if (WriteFileReplacing(rules.DimsPath, FormatDimsFile(rules.dims), error)) {
    rules.dims.DimsModified = false;
    return true;
  }
  prompter.Tell(
      "The size rules could not be written:\n" + rules.DimsPath + "\n" + error + StillInProgram,
      "Error", PromptIcon::Error);
  return false;
}

void LoadRuleSettings(SizeRules& rules, const TOptions& options) {
  rules.settings.enabled = {options.StyleStretch,  options.StyleCenter,    options.StyleTile,
                            options.StyleFitWidth, options.StyleFitHeight, options.StyleFitWindow};
  rules.settings.AutoStyleType = options.AutoStyleType;
  rules.StyleCheckCrossIncluding = options.StyleCheckCrossIncluding;
}

void StoreRuleSettings(const SizeRules& rules, TOptions& options) {
  options.StyleStretch = rules.settings.enabled[wsStretch];
  options.StyleCenter = rules.settings.enabled[wsCenter];
  options.StyleTile = rules.settings.enabled[wsTile];
  options.StyleFitWidth = rules.settings.enabled[wsFitWidth];
  options.StyleFitHeight = rules.settings.enabled[wsFitHeight];
  options.StyleFitWindow = rules.settings.enabled[wsFitScreen];
  options.AutoStyleType = rules.settings.AutoStyleType;
  options.StyleCheckCrossIncluding = rules.StyleCheckCrossIncluding;
}

}  // namespace seltane
