// An in-memory registry for tests. Key paths and value names compare
// ignoring letter case, as in Windows. Keys can be made read-only to test
// failed writes and deletes.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "data/PathText.h"
#include "platform/Registry.h"

namespace seltane::testing {

class FakeRegistry : public Registry {
 public:
  std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& key,
                                         const std::string& name) override {
    const auto found = values_.find(Id(root, key, name));
    if (found == values_.end()) {
      return std::nullopt;
    }
    return found->second;
  }
  bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                  const RegistryValue& value) override {
    if (readOnly_.count(KeyId(root, key)) != 0) {
      return false;
    }
    values_[Id(root, key, name)] = value;
    ++writes;
    return true;
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    if (readOnly_.count(KeyId(root, key)) != 0) {
      return values_.count(Id(root, key, name)) == 0;
    }
    values_.erase(Id(root, key, name));
    return true;
  }
  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    if (readOnly_.count(KeyId(root, key)) != 0) {
      return false;
    }
    const std::string prefix = KeyId(root, key) + "\\";
    for (auto it = values_.begin(); it != values_.end();) {
      const std::string valueKey = it->first.first;
      const bool below = valueKey == KeyId(root, key) || valueKey.rfind(prefix, 0) == 0;
      it = below ? values_.erase(it) : std::next(it);
    }
    return true;
  }

  void Set(RegistryRoot root, const std::string& key, const std::string& name,
           RegistryValue value) {
    values_[Id(root, key, name)] = std::move(value);
  }
  bool Has(RegistryRoot root, const std::string& key, const std::string& name) const {
    return values_.count(Id(root, key, name)) != 0;
  }
  void MakeReadOnly(RegistryRoot root, const std::string& key) {
    readOnly_.insert(KeyId(root, key));
  }
  std::size_t ValueCount() const { return values_.size(); }

  int writes = 0;

 private:
  using ValueId = std::pair<std::string, std::string>;
  static std::string KeyId(RegistryRoot root, const std::string& key) {
    return (root == RegistryRoot::CurrentUser ? "hkcu\\" : "hklm\\") + LowerAZ(key);
  }
  static ValueId Id(RegistryRoot root, const std::string& key, const std::string& name) {
    return {KeyId(root, key), LowerAZ(name)};
  }

  std::map<ValueId, RegistryValue> values_;
  std::set<std::string> readOnly_;
};

}  // namespace seltane::testing
