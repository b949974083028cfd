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
  return extension == ".bmp" || extension == ".jpg" || extension == ".jpeg" ||
         extension == ".png" || extension == ".gif" || extension == ".tif" || extension == ".tiff";
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

// The folders of one search that have been searched. Only a link or an
// overlapping given folder leads into a folder a second time, so identities are asked for (a
// call to the file system each) only once a link has turned up: then for
// the folders searched before it, and for every folder after.
class SearchedFolders {
 public:
  explicit SearchedFolders(const FolderScanEvents& events) : events_(events) {}

  // Whether the folder is to be searched; it then counts as searched.
  bool Enter(const QueuedFolder& folder) {
    if (!events_.folderIdentity) {
      return !folder.link;
    }
    if (folder.link && !identifying_) {
      identifying_ = true;
      for (const std::string& path : before_) {
        if (const auto identity = events_.folderIdentity(path)) {
          identities_.insert(*identity);
        }
      }
      before_.clear();
    }
    if (!identifying_) {
      before_.push_back(folder.path);
      return true;
    }
    const auto identity = events_.folderIdentity(folder.path);
    return identity ? identities_.insert(*identity).second : !folder.link;
  }

 private:
  const FolderScanEvents& events_;
  bool identifying_ = false;
  std::vector<std::string> before_;
  std::unordered_set<FolderIdentity, FolderIdentityHash> identities_;
};

}  // namespace

std::vector<std::string> ScanFolderTrees(const std::vector<std::string>& folders,
                                         const FolderScanEvents& events) {
  std::vector<std::string> found;
  // Overlapping given folders (R and R\1) reach the same pictures twice;
  // each is found once, where it was found first.
  std::unordered_set<std::string> foundBefore;
  SearchedFolders searched(events);
  for (std::size_t next = 1; next <= folders.size(); ++next) {
    const std::string& given = folders[next - 1];
    if (!events.folderExists(given)) {
      events.folderNotFound(given);
      continue;
    }
    std::deque<QueuedFolder> queue = {{given, false}};
    while (!queue.empty()) {
      const QueuedFolder folder = queue.front();
      const auto entries = searched.Enter(folder) ? events.listFolder(folder.path) : std::nullopt;
      if (entries) {
        for (const FolderEntry& entry : *entries) {
          if (entry.isFolder) {
            if (entry.name != "." && entry.name != "..") {
              queue.push_back({JoinPath(folder.path, entry.name), entry.isLink});
            }
          } else if (IsSearchedPictureName(entry.name)) {
            std::string path = JoinPath(folder.path, entry.name);
            if (foundBefore.insert(LowerAZ(path)).second) {
              found.push_back(std::move(path));
            }
          }
        }
      }
      queue.pop_front();
      // The folders still to search: those queued and the given ones after
      // this one; none once the last has been searched.
      events.progress(queue.size() + folders.size() - next, found.size());
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

}  // namespace seltane
