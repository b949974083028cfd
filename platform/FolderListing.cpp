#include "platform/FolderListing.h"

#include <windows.h>

#include "data/PathText.h"

namespace seltane {

bool FolderExists(const std::string& folder) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const std::string pattern =
      folder.empty() || !EndsInBackslash(folder) ? folder + "\\*" : folder + "*";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::vector<FolderEntry> entries;
  do {
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

std::optional<FolderIdentity> IdentifyFolder(const std::string& folder) {
  // Opening a folder needs backup semantics; no access beyond its
  // attributes is asked for.
  HANDLE handle = CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(handle, &information) != 0;
  CloseHandle(handle);
  const uint64_t index =
      static_cast<uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
  if (!known || index == 0) {
    return std::nullopt;  // some network file systems give no index
  }
  return FolderIdentity{information.dwVolumeSerialNumber, index};
}

void UseFileSystem(FolderScanEvents& events) {
  events.folderExists = FolderExists;
  events.listFolder = ListFolder;
  events.folderIdentity = IdentifyFolder;
}

}  // namespace seltane
