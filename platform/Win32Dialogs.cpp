#include "platform/Win32Dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <cstring>

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

constexpr std::size_t NamesBufferSize = 64 * 1024;

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

std::vector<std::string> Win32Dialogs::OpenFiles(const FileDialogOptions& options) {
  const std::string filter = DialogFilter(options.filter);
  std::string names(NamesBufferSize, '\0');
  OPENFILENAMEA dialog = DialogSettings(options, filter, names);
  dialog.Flags |= OFN_FILEMUSTEXIST | (options.multipleFiles ? OFN_ALLOWMULTISELECT : 0);
  if (!GetOpenFileNameA(&dialog)) {
    return {};
  }
  // One file: its full path. Several: the folder, then each name, each
  // ending with a NUL.
  std::vector<std::string> parts;
  for (const char* part = names.c_str(); *part != '\0'; part += std::strlen(part) + 1) {
    parts.emplace_back(part);
  }
  if (parts.size() <= 1) {
    return parts;
  }
  std::vector<std::string> files;
  std::string folder = parts.front();
  if (folder.back() != '\\') {
    folder += '\\';
  }
  for (std::size_t i = 1; i < parts.size(); ++i) {
    files.push_back(folder + parts[i]);
  }
  return files;
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
