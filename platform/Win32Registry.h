// The Windows registry through the A functions.
#pragma once

#include <windows.h>

#include "platform/Registry.h"

namespace seltane {

class Win32Registry : public Registry {
 public:
  // Works under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; tests pass keys of
  // their own to stand for the two roots.
  Win32Registry(HKEY currentUser = HKEY_CURRENT_USER, HKEY localMachine = HKEY_LOCAL_MACHINE)
      : currentUser_(currentUser), localMachine_(localMachine) {}

  std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& key,
                                         const std::string& name) override;
  bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                  const RegistryValue& value) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;

 private:
  HKEY RootKey(RegistryRoot root) const {
    return root == RegistryRoot::CurrentUser ? currentUser_ : localMachine_;
  }

  HKEY currentUser_;
  HKEY localMachine_;
};

}  // namespace seltane
