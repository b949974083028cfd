// Every common file dialog of the program goes through Dialogs, so that
// tests can script what the user chooses.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace seltane {

struct FileDialogOptions {
  std::string filter;            // "Description|*.ext|Other|*.a;*.b"
  std::string defaultExtension;  // without the dot; empty for none
  bool multipleFiles = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The chosen files; empty when the user cancels.
  virtual std::vector<std::string> OpenFiles(const FileDialogOptions& options) = 0;
  // The chosen file, after asking before replacing an existing one; nothing
  // when the user cancels.
  virtual std::optional<std::string> SaveFile(const FileDialogOptions& options) = 0;
};

}  // namespace seltane
