// The common open and save dialogs, owned by the active window.
#pragma once

#include "platform/Dialogs.h"

namespace seltane {

class Win32Dialogs : public Dialogs {
 public:
  std::vector<std::string> OpenFiles(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const FileDialogOptions& options) override;
};

}  // namespace seltane
