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
  bool isLink = false;  // a symbolic link or junction (a reparse point)
};

// What tells one folder from another however it is reached: the volume's
// serial number and the folder's file index on it.
struct FolderIdentity {
  uint32_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FolderIdentity&) const = default;
};

struct FolderScanEvents {
  // Whether the path names an existing folder.
  std::function<bool(const std::string& folder)> folderExists;
  // The folder's entries in the file system's order, "." and ".." included
  // or not; nothing when it cannot be listed.
  std::function<std::optional<std::vector<FolderEntry>>(const std::string& folder)> listFolder;
  // A given folder that is missing or is a file.
  std::function<void(const std::string& folder)> folderNotFound;
  // After each folder: folders still to search (queued, and given ones not
  // begun), and paths found.
  std::function<void(std::size_t queued, std::size_t found)> progress;
  // The folder's identity, the target's for a link; nothing when the file
  // system gives none. May be left empty.
  std::function<std::optional<FolderIdentity>(const std::string& folder)> folderIdentity;
};

// Searches each given folder in turn, breadth-first through its subfolders,
// and returns the full paths of the pictures found, in the order found. The
// caller filters them before it checks that they fit into a list.
//
// Links and junctions are followed, but no folder is searched twice in one
// search: a link to a parent, which would make the search go round for
// ever, or to a folder searched already, adds nothing. A link whose target
// has no identity is not followed. A picture that overlapping given folders
// (R and R\1) both reach is found once, in the place it was found first.
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
