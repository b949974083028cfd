// Two throwaway registry keys that stand for HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE in a test, deleted with everything below them at the end.
#pragma once

#include <windows.h>

#include <shlwapi.h>

#include <string>

namespace seltane::testing {

class TestRegistryKeys {
 public:
  TestRegistryKeys() {
    base_ = "Software\\SeltaneTests\\" + std::to_string(GetCurrentProcessId());
    RegCreateKeyExA(HKEY_CURRENT_USER, (base_ + "\\user").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &currentUser_, nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, (base_ + "\\machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &localMachine_, nullptr);
  }
  TestRegistryKeys(const TestRegistryKeys&) = delete;
  TestRegistryKeys& operator=(const TestRegistryKeys&) = delete;
  ~TestRegistryKeys() {
    RegCloseKey(currentUser_);
    RegCloseKey(localMachine_);
    SHDeleteKeyA(HKEY_CURRENT_USER, base_.c_str());
  }

  HKEY CurrentUser() const { return currentUser_; }
  HKEY LocalMachine() const { return localMachine_; }

 private:
  std::string base_;
  HKEY currentUser_ = nullptr;
  HKEY localMachine_ = nullptr;
};

}  // namespace seltane::testing
