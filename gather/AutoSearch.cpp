#include "gather/AutoSearch.h"

#include <algorithm>

#include "data/PathText.h"

namespace seltane {

std::vector<int> MissingPictureRows(const std::vector<kelWide>& pictures,
                                    const MissingPictureRules& rules,
                                    const std::function<bool(const std::string&)>& fileExists,
                                    Prompter& prompter) {
  std::vector<int> rows;
  if (!rules.deleteNotExisting) {
    return rows;
  }
  for (std::size_t row = 0; row < pictures.size(); ++row) {
    const std::string& path = pictures[row].FullPath;
    if (fileExists(path)) {
      continue;
    }
    if (rules.deleteConfirm &&
        prompter.Ask(DeleteMissingPictureQuestion(path), MissingPictureCaption,
                     PromptButtons::OkCancel, PromptIcon::Warning) != PromptAnswer::Ok) {
      continue;
    }
    rows.push_back(static_cast<int>(row));
  }
  return rows;
}

int FindFolder(const std::vector<std::string>& folders, const std::string& folder) {
  const std::string wanted = LowerAZ(folder);
  const auto found = std::find_if(folders.begin(), folders.end(), [&](const std::string& other) {
    return LowerAZ(other) == wanted;
  });
  return found != folders.end() ? static_cast<int>(found - folders.begin()) : -1;
}

std::string DeleteMissingPictureQuestion(const std::string& path) {
  return "Picture " + path + " not found. Delete from list?";
}

}  // namespace seltane
