// The breadth-first search of folder trees for pictures, and the filtering
// of found paths against the list. The file system is reached through a
// callback, so the order and the filtering are tested without a disk.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/PictureEntry.h"

namespace seltane {

// Extensions the folder search takes, compared lower-cased (A-Z only).
bool IsSearchedPictureName(std::string_view fileName);

struct FolderEntry {
  std::string name;
  bool isFolder = false;
};

struct FolderScanEvents {
  // Whether the path names an existing folder.
  std::function<bool(const std::string& folder)> folderExists;
  // The folder's entries in the file system's order, "." and ".." included
  // or not; nothing when it cannot be listed.
  std::function<std::optional<std::vector<FolderEntry>>(const std::string& folder)> listFolder;
  // A given folder that is missing or is a file.
  std::function<void(const std::string& folder)> folderNotFound;
  // After each folder: folders waiting plus folders given, and paths found.
  std::function<void(std::size_t queued, std::size_t found)> progress;
};

// Searches each given folder in turn, breadth-first through its subfolders,
// and returns the full paths of the pictures found, in the order found. The
// caller filters them before it checks that they fit into a list.
std::vector<std::string> ScanFolderTrees(const std::vector<std::string>& folders,
                                         const FolderScanEvents& events);

// Keeps, in order, the found paths that name no picture of the list
// (comparing A-Z lower-cased paths); a path found twice stays twice.
std::vector<std::string> FilterOldPaths(const std::vector<std::string>& found,
                                        const std::vector<kelWide>& pictures);

// The status texts of a search.
inline constexpr const char* ScanningText = "Scanning folders...";
inline constexpr const char* FilteringText = "Filtering old files...";
std::string ScanProgressText(std::size_t queued, std::size_t found);

}  // namespace seltane
