#include "platform/Win32Registry.h"

#include <shlwapi.h>

namespace seltane {
namespace {

// Closes a key when it goes out of scope.
class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  HKEY* Receive() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<RegistryValue> Win32Registry::ReadValue(RegistryRoot root, const std::string& key,
                                                      const std::string& name) {
  KeyHandle opened;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, opened.Receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The value may grow between the two calls: ask again until it fits.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    RegistryValue value{type, std::string(size, '\0')};
    const LONG status = RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(value.data.data()), &size);
    if (status == ERROR_MORE_DATA) {
      continue;
    }
    if (status != ERROR_SUCCESS) {
      return std::nullopt;
    }
    value.type = type;
    value.data.resize(size);
    return value;
  }
  return std::nullopt;
}

bool Win32Registry::WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                               const RegistryValue& value) {
  KeyHandle created;
  if (RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                      nullptr, created.Receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExA(created.Get(), name.c_str(), 0, value.type,
                        reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                const std::string& name) {
  KeyHandle opened;
  const LONG status = RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_SET_VALUE, opened.Receive());
  if (status == ERROR_FILE_NOT_FOUND) {
    return true;
  }
  if (status != ERROR_SUCCESS) {
    // A key that may not be written to (HKEY_LOCAL_MACHINE for a user
    // without the right) may still be without the value.
    return !ReadValue(root, key, name);
  }
  const LONG deleted = RegDeleteValueA(opened.Get(), name.c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool Win32Registry::DeleteKey(RegistryRoot root, const std::string& key) {
  const DWORD status = SHDeleteKeyA(RootKey(root), key.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace seltane
