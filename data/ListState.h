// A picture list in memory with the state kept beside it, and kel's reading
// of a list from the text of its two files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/PictureEntry.h"

namespace seltane {

struct ListState {
  std::vector<kelWide> PictureList;  // entry i is row i of the list view
  std::string ListPath;              // full path of the list file
  std::vector<std::string> AutoFolders;
  std::string ListTitle;
  bool ListChanged = false;
  bool RandomChanged = false;

  // Appends an entry with stored values; nothing is read from the picture.
  void AddPictureEntry(std::string fullPath, uint8_t style, uint16_t width, uint16_t height,
                       bool used);
};

// "[" + the list file's name without folder and extension + "]".
std::string ListTitleFor(std::string_view listPath);

// The random file that goes with a list file.
std::string RandomFilePath(std::string_view listPath);

enum class ListLoadStatus {
  Loaded,       // pictures (possibly none) were added
  Empty,        // the list file is empty: nothing loaded
  WrongHeader,  // line 1 is not the list file header: nothing loaded
};

struct ListLoadResult {
  ListLoadStatus status = ListLoadStatus::Loaded;
  // Set when reading stopped before the end of the file; the entries before
  // that line stay loaded.
  std::optional<std::size_t> stoppedAtLine;
  std::string stopReason;
};

// Loads a list from the text of its list file and, when one could be read,
// of its random file. Appends the pictures and watched folders to the state,
// sets ListTitle from ListPath, and sets RandomChanged when no usable random
// file was given.
ListLoadResult LoadListText(ListState& state, std::string_view listText,
                            std::optional<std::string_view> randomText);

}  // namespace seltane
