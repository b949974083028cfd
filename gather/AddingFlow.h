// Adding pictures to the main window's list, as one flow: single files
// chosen in a dialog, and the folder search that finds, filters, then adds
// or offers what it found and adds what the user picks.
//
// The flow changes the list state itself and reaches the window only
// through AddingWindow (status texts, the progress bar, measuring a picture
// and adding it, pick mode) and the user only through the Prompter, so tests
// fake both. The file system is reached through the folder search's
// callbacks. Pictures are measured ahead on threads of their own
// (MeasuringAhead) and added in order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "data/ListState.h"
#include "gather/FolderScan.h"
#include "gather/MeasuringAhead.h"
#include "platform/Prompter.h"

namespace seltane {

class AddingWindow {
 public:
  virtual ~AddingWindow() = default;
  // One text across the status bar, shown at once.
  virtual void ShowStatusText(const std::string& text) = 0;
  // The status bar's panels again.
  virtual void ShowStatusPanels() = 0;
  // The progress bar over "Set as wallpaper", from 0 to count.
  virtual void StartProgress(std::size_t count) = 0;
  virtual void SetProgress(std::size_t position) = 0;
  virtual void EndProgress() = 0;
  // The picture's size from its file's header; nothing when it cannot be
  // added. Called on the measuring threads, several at once.
  virtual std::optional<MeasuredSize> MeasurePicture(const std::string& path) const = 0;
  // Gives the measured picture its style and appends it to the list. False
  // when it is refused, having no size (after "Cannot add picture ...").
  virtual bool AddPicture(const std::string& path, std::optional<MeasuredSize> size) = 0;
  // The rows appended since the last call are counted into the list view,
  // once per run rather than once per picture.
  virtual void ShowAddedRows() = 0;
  // Offers found pictures in pick mode; a second search while they are
  // offered adds its pictures to the same offer.
  virtual void OfferPictures(const std::vector<std::string>& paths) = 0;
  // Leaves pick mode.
  virtual void EndOffer() = 0;
  // The paths offered in pick mode now; none when it is not active.
  virtual std::vector<std::string> OfferedPaths() const = 0;
};

struct Adding {
  ListState& list;
  Prompter& prompter;
  AddingWindow& window;
};

struct AddingCount {
  std::size_t added = 0;    // entered the list
  std::size_t refused = 0;  // handed over but not pictures that could be added
  bool listFull = false;    // stopped at MaxPictures
};

// Add files: each file, in order, unless its path (A-Z lower-cased) is in
// the list already, counting files added earlier in the same choice. Stops
// at a full list and says so.
AddingCount AddFiles(const Adding& adding, const std::vector<std::string>& files);

// The folder search: finds the pictures of the folders' trees, leaves out
// those already listed, or already offered in pick mode, when `FilterOld`,
// then adds them with a progress bar and a count, or offers them in pick
// mode when `confirm` (AutoAddConfirm).
// When the list has no room for all that is left, the user is told before
// anything is added or offered, and only what fits is taken. `fileSystem`
// gives the folder search's file-system callbacks.
void ScanFolders(const Adding& adding, const std::vector<std::string>& folders, bool FilterOld,
                 bool confirm, const FolderScanEvents& fileSystem);

// Pick mode's OK: adds the checked paths with a progress bar, leaves pick
// mode and tells the count, also when it is 0.
AddingCount AddPicked(const Adding& adding, const std::vector<std::string>& paths,
                      const std::vector<bool>& checked);

// The texts of adding.
std::string FolderNotFoundText(const std::string& folder);
inline constexpr const char* AddingText = "Adding pictures...";
inline constexpr const char* FolderAddedCaption = "Folder has been added";
inline constexpr const char* ListFullText =
    "The list holds 65535 pictures, the most a list can hold. The other pictures were not added.";
std::string AddingProgressText(std::size_t position, std::size_t count);
// "N pictures have been added", and how many were refused when some were.
std::string PicturesAddedText(const AddingCount& count);
// Found pictures that do not all fit into the list.
std::string ListOverflowText(std::size_t found, std::size_t room);

}  // namespace seltane
