// Every value of one key under HKEY_CURRENT_USER, kept when a test starts
// and put back when it ends, so that tests which must use the program's real
// key leave it as they found it.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/Win32Registry.h"

namespace seltane::testing {

class KeyBackup {
 public:
  explicit KeyBackup(std::string key) : key_(std::move(key)) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
      return;
    }
    for (DWORD index = 0;; ++index) {
      char name[256];
      DWORD nameSize = sizeof name;
      DWORD type = 0;
      BYTE data[4096];
      DWORD dataSize = sizeof data;
      if (RegEnumValueA(opened, index, name, &nameSize, nullptr, &type, data, &dataSize) !=
          ERROR_SUCCESS) {
        break;
      }
      values_[name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
    }
    RegCloseKey(opened);
  }
  ~KeyBackup() {
    Win32Registry registry;
    registry.DeleteKey(RegistryRoot::CurrentUser, key_);
    for (const auto& [name, value] : values_) {
      registry.WriteValue(RegistryRoot::CurrentUser, key_, name, value);
    }
  }

 private:
  std::string key_;
  std::map<std::string, RegistryValue> values_;
};

}  // namespace seltane::testing
