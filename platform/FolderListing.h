// The file system as the folder search sees it: whether a folder exists,
// its entries, and its identity, by which the search knows a folder it
// reaches a second time through a link or junction.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gather/FolderScan.h"

namespace seltane {

// Whether the path names an existing folder.
bool FolderExists(const std::string& folder);

// Every entry of the folder ("." and ".." included) in the file system's
// order; nothing when it cannot be listed.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder);

// The folder's volume serial number and file index, those of the target
// when the path leads through links; nothing when the file system gives
// none.
std::optional<FolderIdentity> IdentifyFolder(const std::string& folder);

// The three above as the folder search's events; the caller adds how a
// missing folder and the progress are shown.
void UseFileSystem(FolderScanEvents& events);

}  // namespace seltane
