#include "gather/AddingFlow.h"

#include <algorithm>
#include <unordered_set>

#include "data/PathText.h"
#include "mainwindow/ListCommands.h"

namespace seltane {
namespace {

// Measures the paths ahead through the window.
MeasuringAhead MeasureAhead(const AddingWindow& window, std::vector<std::string> paths) {
  return MeasuringAhead(std::move(paths),
                        [&window](const std::string& path) { return window.MeasurePicture(path); });
}

// Adds the paths (only the checked ones, when `checked` is given) with the
// progress bar and the percentage in the status bar, both redrawn only when
// what they show changes.
AddingCount AddWithProgress(const Adding& adding, const std::vector<std::string>& paths,
                            const std::vector<bool>* checked) {
  AddingWindow& window = adding.window;
  std::vector<kelWide>& pictures = adding.list.PictureList;
  window.ShowStatusText(AddingText);
  window.StartProgress(paths.size());
  std::vector<std::size_t> taken;  // the indexes of the paths added
  std::vector<std::string> takenPaths;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (checked == nullptr || (*checked)[i]) {
      taken.push_back(i);
      takenPaths.push_back(paths[i]);
    }
  }
  MeasuringAhead ahead = MeasureAhead(window, std::move(takenPaths));
  pictures.reserve(std::min(MaxPictures, pictures.size() + taken.size()));
  AddingCount count;
  std::string shownText;
  for (std::size_t k = 0; k < taken.size(); ++k) {
    if (pictures.size() >= MaxPictures) {
      count.listFull = true;
      break;
    }
    const std::size_t i = taken[k];
    if (window.AddPicture(paths[i], ahead.Size(k))) {
      ++count.added;
    } else {
      ++count.refused;
    }
    std::string text = AddingProgressText(i, paths.size());
    if (text != shownText) {
      window.SetProgress(i + 1);
      window.ShowStatusText(text);
      shownText = std::move(text);
    }
  }
  window.ShowAddedRows();
  window.EndProgress();
  if (count.added > 0) {
    MarkListAndRandomChanged(adding.list);
  }
  if (count.listFull) {
    adding.prompter.Tell(ListFullText, "Seltane", PromptIcon::Warning);
  }
  return count;
}

}  // namespace

AddingCount AddFiles(const Adding& adding, const std::vector<std::string>& files) {
  std::unordered_set<std::string> listed;
  for (const kelWide& picture : adding.list.PictureList) {
    listed.insert(LowerAZ(picture.FullPath));
  }
  std::vector<std::string> fresh;  // not in the list already
  for (const std::string& file : files) {
    if (listed.insert(LowerAZ(file)).second) {
      fresh.push_back(file);
    }
  }
  MeasuringAhead ahead = MeasureAhead(adding.window, fresh);
  AddingCount count;
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    if (adding.list.PictureList.size() >= MaxPictures) {
      count.listFull = true;
      break;
    }
    if (adding.window.AddPicture(fresh[i], ahead.Size(i))) {
      ++count.added;
    } else {
      ++count.refused;
    }
  }
  adding.window.ShowAddedRows();
  if (count.added > 0) {
    MarkListAndRandomChanged(adding.list);
  }
  if (count.listFull) {
    adding.prompter.Tell(ListFullText, "Seltane", PromptIcon::Warning);
  }
  return count;
}

void ScanFolders(const Adding& adding, const std::vector<std::string>& folders, bool FilterOld,
                 bool confirm, const FolderScanEvents& fileSystem) {
  if (folders.empty()) {
    return;
  }
  AddingWindow& window = adding.window;
  window.ShowStatusText(ScanningText);
  FolderScanEvents events = fileSystem;
  events.folderNotFound = [&](const std::string& folder) {
    adding.prompter.Tell(FolderNotFoundText(folder), "Error", PromptIcon::Error);
  };
  events.progress = [&](std::size_t queued, std::size_t found) {
    window.ShowStatusText(ScanProgressText(queued, found));
  };
  std::vector<std::string> found = ScanFolderTrees(folders, events);

  if (!found.empty() && FilterOld) {
    window.ShowStatusText(FilteringText);
    window.StartProgress(found.size());
    const std::size_t searched = found.size();
    found = FilterOldPaths(found, adding.list.PictureList);
    // A second search while pick mode lasts joins its offer: what is
    // offered already is not offered twice.
    if (const std::vector<std::string> offered = window.OfferedPaths(); !offered.empty()) {
      std::unordered_set<std::string> shown;
      shown.reserve(offered.size());
      for (const std::string& path : offered) {
        shown.insert(LowerAZ(path));
      }
      std::erase_if(found,
                    [&](const std::string& path) { return shown.count(LowerAZ(path)) != 0; });
    }
    window.SetProgress(searched);
    window.EndProgress();
  }
  // Only what is new counts against the room left in the list.
  const std::size_t room = MaxPictures - std::min(MaxPictures, adding.list.PictureList.size());
  if (found.size() > room) {
    adding.prompter.Tell(ListOverflowText(found.size(), room), "Seltane", PromptIcon::Warning);
    found.resize(room);
  }
  if (!found.empty()) {
    if (confirm) {
      window.OfferPictures(found);
    } else {
      const AddingCount count = AddWithProgress(adding, found, nullptr);
      window.ShowStatusPanels();
      adding.prompter.Tell(PicturesAddedText(count), FolderAddedCaption, PromptIcon::Information);
    }
  }
  window.ShowStatusPanels();
}

AddingCount AddPicked(const Adding& adding, const std::vector<std::string>& paths,
                      const std::vector<bool>& checked) {
  const AddingCount count = AddWithProgress(adding, paths, &checked);
  adding.window.EndOffer();
  adding.prompter.Tell(PicturesAddedText(count), FolderAddedCaption, PromptIcon::Information);
  return count;
}

std::string FolderNotFoundText(const std::string& folder) {
  return "Folder " + folder + " not found";
}

std::string AddingProgressText(std::size_t position, std::size_t count) {
  return std::string(AddingText) + " " + std::to_string(count == 0 ? 0 : position * 100 / count) +
         "%";
}

std::string PicturesAddedText(const AddingCount& count) {
  std::string text = std::to_string(count.added) + " pictures have been added";
  if (count.refused > 0) {
    text += "; " + std::to_string(count.refused) + " could not be added";
  }
  return text;
}

std::string ListOverflowText(std::size_t found, std::size_t room) {
  return std::to_string(found) + " new pictures were found, but the list has room for " +
         std::to_string(room) + " more, the most a list can hold being 65535. Only the first " +
         std::to_string(room) + " are taken.";
}

}  // namespace seltane
