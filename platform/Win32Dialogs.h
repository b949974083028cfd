// The common open and save dialogs, owned by the active window.
#pragma once

#include <cstddef>

#include "platform/Dialogs.h"

namespace seltane {

class Win32Dialogs : public Dialogs {
 public:
  // The open dialog first takes the chosen names in a buffer of this many
  // characters, which holds thousands of them; more are taken by showing
  // the dialog again with a larger one.
  explicit Win32Dialogs(std::size_t firstNamesBufferSize = std::size_t{1} << 20);

  std::vector<std::string> OpenFiles(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;

 private:
  std::size_t firstNamesBufferSize_;
};

}  // namespace seltane
