// The automatic search's decisions on plain data: which pictures whose files
// are gone leave the list, and whether a folder is watched already. The file
// system and the user are reached through a callback and the Prompter.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/PictureEntry.h"
#include "platform/Prompter.h"

namespace seltane {

struct MissingPictureRules {
  bool deleteNotExisting = false;  // DeleteNotExisting: missing pictures may go
  bool deleteConfirm = false;      // DeleteConfirm: ask about each first
};

// Whether each of the paths names an existing file.
using FilesExistFunction = std::function<std::vector<bool>(const std::vector<std::string>&)>;

// The rows, in list order, whose files are gone and that leave the list:
// none when missing pictures may not go (then no file is even looked at);
// otherwise each missing one, after a question when the rules ask for one,
// answered Cancel to keep it.
std::vector<int> MissingPictureRows(const std::vector<kelWide>& pictures,
                                    const MissingPictureRules& rules,
                                    const FilesExistFunction& filesExist, Prompter& prompter);

// The position of the folder in the list, comparing A-Z lower-cased; -1
// when it is not there.
int FindFolder(const std::vector<std::string>& folders, const std::string& folder);

// The texts of the automatic search.
inline constexpr const char* AutoSearchCaption = "Automatic searching and deleting";
inline constexpr const char* WatchedFolderPrompt = "Select folder for automatic searching";
inline constexpr const char* MissingPictureCaption = "File not found";
std::string DeleteMissingPictureQuestion(const std::string& path);

}  // namespace seltane
