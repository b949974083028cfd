// The registry as the program uses it: whole values read and written by key
// path and value name under one of two roots.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace seltane {

enum class RegistryRoot { CurrentUser, LocalMachine };

// Value types, numbered as Windows numbers them.
enum RegistryType : uint32_t {
  RegString = 1,        // REG_SZ
  RegExpandString = 2,  // REG_EXPAND_SZ
  RegBinary = 3,        // REG_BINARY
  RegDWord = 4,         // REG_DWORD
};

struct RegistryValue {
  uint32_t type = 0;
  std::string data;  // the raw bytes as stored
};

class Registry {
 public:
  virtual ~Registry() = default;
  // The value, or nothing when the key cannot be opened or has no such value.
  virtual std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& key,
                                                 const std::string& name) = 0;
  // Creates the key when absent. False when the value could not be written.
  virtual bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                          const RegistryValue& value) = 0;
  // A missing key or value is no error: true when the value is gone.
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key with everything below it; true when it is gone.
  virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
};

}  // namespace seltane
