// The automatic search's decisions on plain data: which pictures whose files
// are gone leave the list, and whether a folder is watched already. The file
// system and the user are reached through a callback and the Prompter.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/PathText.h"
#include "data/PictureEntry.h"
#include "platform/Prompter.h"

namespace seltane {

struct MissingPictureRules {
  bool deleteNotExisting = false;  // DeleteNotExisting: missing pictures may go
  bool deleteConfirm = false;      // DeleteConfirm: ask about each first
};

// What looking up each of the paths found.
using FileStatesFunction = std::function<std::vector<FileState>(const std::vector<std::string>&)>;

// The rows, in list order, whose files are gone and that leave the list:
// none when missing pictures may not go (then no file is even looked at).
// A picture on a drive or share that cannot be reached is not missing: it
// stays, and one message names the drives and shares. With the rules asking
// for a question, several missing pictures are first offered all at once,
// none, or one by one; one by one, each question answered Cancel keeps its
// picture.
std::vector<int> MissingPictureRows(const std::vector<kelWide>& pictures,
                                    const MissingPictureRules& rules,
                                    const FileStatesFunction& fileStates, Prompter& prompter);

// The position of the folder in the list, comparing A-Z lower-cased; -1
// when it is not there.
int FindFolder(const std::vector<std::string>& folders, const std::string& folder);

// The texts of the automatic search.
inline constexpr const char* AutoSearchCaption = "Automatic searching and deleting";
inline constexpr const char* WatchedFolderPrompt = "Select folder for automatic searching";
inline constexpr const char* MissingPictureCaption = "File not found";
std::string DeleteMissingPictureQuestion(const std::string& path);
std::string DeleteMissingPicturesQuestion(std::size_t count);
// `roots` are the drives and shares, `count` the pictures on them.
std::string UnreachablePicturesText(const std::vector<std::string>& roots, std::size_t count);

}  // namespace seltane
