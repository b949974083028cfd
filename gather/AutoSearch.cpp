#include "gather/AutoSearch.h"

#include <algorithm>

#include "data/PathText.h"

namespace seltane {

std::vector<int> MissingPictureRows(const std::vector<kelWide>& pictures,
                                    const MissingPictureRules& rules,
                                    const FilesExistFunction& filesExist, Prompter& prompter) {
  std::vector<int> rows;
  if (!rules.deleteNotExisting) {
    return rows;
  }
  std::vector<std::string> paths;
  paths.reserve(pictures.size());
  for (const kelWide& picture : pictures) {
    paths.push_back(picture.FullPath);
  }
  const std::vector<bool> exists = filesExist(paths);
  for (std::size_t row = 0; row < pictures.size(); ++row) {
    const std::string& path = pictures[row].FullPath;
    if (row < exists.size() && exists[row]) {
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
