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

std::vector<std::string> ScanFolderTrees(const std::vector<std::string>& folders,
                                         const FolderScanEvents& events) {
  std::vector<std::string> found;
  for (const std::string& given : folders) {
    if (!events.folderExists(given)) {
      events.folderNotFound(given);
      continue;
    }
    std::deque<std::string> queue = {given};
    while (!queue.empty()) {
      const std::string folder = queue.front();
      if (const auto entries = events.listFolder(folder)) {
        for (const FolderEntry& entry : *entries) {
          if (entry.isFolder) {
            if (entry.name != "." && entry.name != "..") {
              queue.push_back(folder + "\\" + entry.name);
            }
          } else if (IsSearchedPictureName(entry.name)) {
            found.push_back(folder + "\\" + entry.name);
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

}  // namespace seltane
