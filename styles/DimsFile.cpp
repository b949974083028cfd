#include "styles/DimsFile.h"

#include "platform/Files.h"

namespace seltane {

void ReadDimsFile(SizeRules& rules, const std::string& folder, Prompter& prompter,
                  bool tellMissing) {
  rules.dims = DimLists{};
  rules.DimsPath = folder + "\\" + std::string(DimsFileName);
  if (!FileExists(rules.DimsPath)) {
    if (tellMissing) {
      prompter.Tell(DimsNotFoundMessage, DimsNotFoundCaption, PromptIcon::None);
    }
    std::string error;
    WriteFileReplacing(rules.DimsPath, "", error);  // no message: the run goes on without rules
    return;
  }
  // A file that cannot be read gives no rules and no message.
  const auto text = ReadWholeFile(rules.DimsPath);
  if (!text) {
    return;
  }
  DimsFileResult result = ParseDimsFile(*text);
  if (result.status == DimsFileStatus::WrongHeader) {
    prompter.Tell(DimsWrongFormatMessage, DimsWrongFormatCaption, PromptIcon::Error);
    return;
  }
  rules.dims = std::move(result.dims);
  rules.dims.DimsModified = false;
}

bool WriteDimsFile(const SizeRules& rules, Prompter& prompter) {
  if (!rules.dims.DimsModified || rules.DimsPath.empty()) {
    return true;
  }
  std::string error;
  if (WriteFileReplacing(rules.DimsPath, FormatDimsFile(rules.dims), error)) {
    return true;
  }
  prompter.Tell("The size rules could not be written:\n" + rules.DimsPath + "\n" + error, "Error",
                PromptIcon::Error);
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
