#include "data/ListState.h"

#include <algorithm>

#include "data/ListFormat.h"
#include "data/PathText.h"

namespace seltane {

void ListState::AddPictureEntry(std::string fullPath, uint8_t style, uint16_t width,
                                uint16_t height, bool used) {
  kelWide entry;
  entry.FileName = std::string(FileNamePart(fullPath));
  entry.FullPath = std::move(fullPath);
  entry.Style = style;
  entry.Width = width;
  entry.Height = height;
  entry.Used = used;
  PictureList.push_back(std::move(entry));
}

std::string ListTitleFor(std::string_view listPath) {
  std::string title = "[";
  title += NameWithoutExtension(FileNamePart(listPath));
  title += "]";
  return title;
}

std::string RandomFilePath(std::string_view listPath) {
  return ChangeExtension(listPath, RandomFileExtension);
}

ListLoadResult LoadListText(ListState& state, std::string_view listText,
                            std::optional<std::string_view> randomText) {
  ListLoadResult result;
  LineCursor cursor(listText);
  ListSections sections;
  switch (ReadListSections(cursor, sections)) {
    case ListHeaderStatus::Empty:
      result.status = ListLoadStatus::Empty;
      return result;
    case ListHeaderStatus::WrongHeader:
      result.status = ListLoadStatus::WrongHeader;
      return result;
    case ListHeaderStatus::Ok:
      break;
  }
  state.ListTitle = ListTitleFor(state.ListPath);

  std::optional<RandomFileView> random;
  if (randomText) {
    random = ReadRandomFile(*randomText);
  }
  if (random) {
    // The count only reserves room; one flag is read per picture line.
    const std::size_t room = std::min<std::size_t>(random->count, MaxPictures);
    state.PictureList.reserve(state.PictureList.size() + room);
  } else {
    state.RandomChanged = true;
  }

  // The watched folders belong to the list: another list's are replaced.
  state.AutoFolders.assign(sections.autoFolders.begin(), sections.autoFolders.end());
  if (!sections.filesFollow) {
    return result;
  }

  std::size_t flagIndex = 0;
  std::string_view line;
  PictureLine picture;
  while (cursor.Next(line)) {
    if (state.PictureList.size() >= MaxPictures) {
      result.stoppedAtLine = cursor.LineNumber();
      result.stopReason = "the list already holds 65535 pictures, the most a list can hold";
      break;
    }
    const PictureLineError error = ParsePictureLine(
        line, sections.sizesPresent, sections.folders.size(), sections.extensions.size(), picture);
    if (error != PictureLineError::None) {
      result.stoppedAtLine = cursor.LineNumber();
      result.stopReason = std::string(PictureLineErrorText(error));
      break;
    }
    if (PicturePathLength(sections, picture) > MaxListPathBytes) {
      result.stoppedAtLine = cursor.LineNumber();
      result.stopReason = "the picture's path is longer than " + std::to_string(MaxListPathBytes) +
                          " bytes, longer than any path Windows opens";
      break;
    }
    // A missing flag counts as used; only "0" means not used.
    bool used = false;
    if (random) {
      used = flagIndex >= random->flags.size() || random->flags[flagIndex] != '0';
      ++flagIndex;
    }
    state.AddPictureEntry(PicturePath(sections, picture), picture.style, picture.width,
                          picture.height, used);
  }
  return result;
}

}  // namespace seltane
