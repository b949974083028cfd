#include "gather/AutoSearch.h"

#include <algorithm>

#include "data/PathText.h"

namespace seltane {

std::vector<int> MissingPictureRows(const std::vector<kelWide>& pictures,
                                    const MissingPictureRules& rules,
                                    const FileStatesFunction& fileStates, Prompter& prompter) {
  std::vector<int> missing;
  if (!rules.deleteNotExisting) {
    return missing;
  }
  std::vector<std::string> paths;
  paths.reserve(pictures.size());
  for (const kelWide& picture : pictures) {
    paths.push_back(picture.FullPath);
  }
  const std::vector<FileState> states = fileStates(paths);
  std::vector<std::string> roots;
  std::size_t unreachable = 0;
  for (std::size_t row = 0; row < pictures.size(); ++row) {
    const FileState state = row < states.size() ? states[row] : FileState::Unreachable;
    if (state == FileState::Missing) {
      missing.push_back(static_cast<int>(row));
    } else if (state == FileState::Unreachable) {
      ++unreachable;
      const std::string root(PathRoot(pictures[row].FullPath));
      if (FindFolder(roots, root) < 0) {
        roots.push_back(root);
      }
    }
  }
  if (unreachable != 0) {
    prompter.Tell(UnreachablePicturesText(roots, unreachable), AutoSearchCaption,
                  PromptIcon::Warning);
  }
  if (!rules.deleteConfirm || missing.empty()) {
    return missing;
  }
  if (missing.size() > 1) {
    switch (prompter.Ask(DeleteMissingPicturesQuestion(missing.size()), MissingPictureCaption,
                         PromptButtons::AllNoneOneByOne, PromptIcon::Warning)) {
      case PromptAnswer::Yes:
        return missing;
      case PromptAnswer::No:
        return {};
      default:
        break;
    }
  }
  std::vector<int> rows;
  for (const int row : missing) {
    if (prompter.Ask(DeleteMissingPictureQuestion(pictures[row].FullPath), MissingPictureCaption,
                     PromptButtons::OkCancel, PromptIcon::Warning) == PromptAnswer::Ok) {
      rows.push_back(row);
    }
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

std::string DeleteMissingPicturesQuestion(std::size_t count) {
  return std::to_string(count) + " pictures not found. Delete from list?";
}

std::string UnreachablePicturesText(const std::vector<std::string>& roots, std::size_t count) {
  std::string names;
  for (const std::string& root : roots) {
    names += (names.empty() ? "" : ", ") + (root.empty() ? std::string("(no drive)") : root);
  }
  return names + " cannot be reached: " + std::to_string(count) +
         (count == 1 ? " picture there stays" : " pictures there stay") +
         " in the list without being checked.";
}

}  // namespace seltane
