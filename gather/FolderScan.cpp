#include "gather/FolderScan.h"

#include <deque>
#include <unordered_set>

#include "data/PathText.h"

namespace seltane {

bool IsSearchedPictureName(std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  if (dot == std::string_view::npos) {
    return false;
  }
  const std::string extension = LowerAZ(fileName.substr(dot));
  return extension == ".bmp" || extension == ".jpg" || extension == ".jpeg";
}

namespace {

struct FolderIdentityHash {
  std::size_t operator()(const FolderIdentity& identity) const {
    return std::hash<uint64_t>()(identity.index * 0x9E3779B97F4A7C15u ^ identity.volume);
  }
};

struct QueuedFolder {
  std::string path;
  bool link = false;
};

}  // namespace

std::vector<std::string> ScanFolderTrees(const std::vector<std::string>& folders,
                                         const FolderScanEvents& events) {
  std::vector<std::string> found;
  for (const std::string& given : folders) {
    if (!events.folderExists(given)) {
      events.folderNotFound(given);
      continue;
    }
    std::unordered_set<FolderIdentity, FolderIdentityHash> searched;
    std::deque<QueuedFolder> queue = {{given, false}};
    while (!queue.empty()) {
      const QueuedFolder folder = queue.front();
      const std::optional<FolderIdentity> identity =
          events.folderIdentity ? events.folderIdentity(folder.path) : std::nullopt;
      const bool search = identity ? searched.insert(*identity).second : !folder.link;
      const auto entries = search ? events.listFolder(folder.path) : std::nullopt;
      if (entries) {
        for (const FolderEntry& entry : *entries) {
          if (entry.isFolder) {
            if (entry.name != "." && entry.name != "..") {
              queue.push_back({JoinPath(folder.path, entry.name), entry.isLink});
            }
          } else if (IsSearchedPictureName(entry.name) && found.size() < MaxPictures) {
            found.push_back(JoinPath(folder.path, entry.name));
          }
        }
      }
      queue.pop_front();
      events.progress(queue.size() + folders.size(), found.size());
    }
  }
  return found;
}

std::vector<std::string> FilterOldPaths(const std::vector<std::string>& found,
                                        const std::vector<kelWide>& pictures) {
  std::unordered_set<std::string> listed;
  listed.reserve(pictures.size());
  for (const kelWide& picture : pictures) {
    listed.insert(LowerAZ(picture.FullPath));
  }
  std::vector<std::string> kept;
  for (const std::string& path : found) {
    if (listed.count(LowerAZ(path)) == 0) {
      kept.push_back(path);
    }
  }
  return kept;
}

std::string ScanProgressText(std::size_t queued, std::size_t found) {
  return std::string(ScanningText) + " " + std::to_string(queued) + " in queue, " +
         std::to_string(found) + " pictures founded";
}

std::string AddingProgressText(std::size_t position, std::size_t count) {
  return std::string(AddingText) + " " + std::to_string(count == 0 ? 0 : position * 100 / count) +
         "%";
}

std::string PicturesAddedText(std::size_t count) {
  return std::to_string(count) + " pictures have been added";
}

}  // namespace seltane
