#include "platform/Win32Dialogs.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>

#include "data/PathText.h"

namespace seltane {
namespace {

// "A|*.a|B|*.b" becomes "A\0*.a\0B\0*.b\0\0", as the dialogs take it.
std::string DialogFilter(const std::string& filter) {
  std::string converted = filter;
  for (char& c : converted) {
    if (c == '|') {
      c = '\0';
    }
  }
  converted.append(2, '\0');
  return converted;
}

// The dialog's settings shared by opening and saving; the caller adds its
// flags. The filter and the buffer must outlive the dialog.
OPENFILENAMEA DialogSettings(const FileDialogOptions& options, const std::string& filter,
                             std::string& buffer) {
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrDefExt =
      options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  return dialog;
}

}  // namespace

Win32Dialogs::Win32Dialogs(std::size_t firstNamesBufferSize)
    : firstNamesBufferSize_(firstNamesBufferSize) {}

std::vector<std::string> Win32Dialogs::OpenFiles(const FileDialogOptions& options) {
  const std::string filter = DialogFilter(options.filter);
  // Chosen names that do not fit the buffer are no cancel: the dialog is
  // shown again with room for them, up to room for the most names a list
  // holds at the longest length a name has.
  constexpr std::size_t MostNames = 65535 * (MAX_PATH + 1) + MAX_PATH;
  for (std::size_t size = firstNamesBufferSize_;; size = std::min(size * 8, MostNames)) {
    // Two more zeros than the dialog may fill, so that a list it had to cut
    // is told from a whole one.
    std::string names(std::max<std::size_t>(size, MAX_PATH) + 2, '\0');
    OPENFILENAMEA dialog = DialogSettings(options, filter, names);
    dialog.nMaxFile -= 2;
    dialog.Flags |= OFN_FILEMUSTEXIST | (options.multipleFiles ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameA(&dialog)) {
      if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        continue;
      }
      return {};  // cancelled
    }
    // One file: its full path. Several: the folder, then each name, each
    // ending with a NUL, and an empty name after the last. Some systems cut
    // the list at the buffer's end instead of saying it is too small.
    const std::size_t end = names.find(std::string(2, '\0'));
    if (end + 2 > dialog.nMaxFile) {
      continue;
    }
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < end; at = names.find('\0', at) + 1) {
      parts.emplace_back(names.c_str() + at);
    }
    if (parts.size() <= 1) {
      return parts;
    }
    std::vector<std::string> files;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      files.push_back(JoinPath(parts.front(), parts[i]));
    }
    return files;
  }
}

std::optional<std::string> Win32Dialogs::SaveFile(const FileDialogOptions& options) {
  const std::string filter = DialogFilter(options.filter);
  std::string name(MAX_PATH * 4, '\0');
  OPENFILENAMEA dialog = DialogSettings(options, filter, name);
  dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (!GetSaveFileNameA(&dialog)) {
    return std::nullopt;
  }
  return std::string(name.c_str());
}

}  // namespace seltane
