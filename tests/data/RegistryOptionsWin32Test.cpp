// The options store against Wine's real registry, in throwaway keys.
#include <gtest/gtest.h>

#include "data/RegistryOptions.h"
#include "platform/Win32Registry.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestRegistryKeys.h"

namespace seltane {
namespace {

struct RawValue {
  DWORD type = 0;
  std::string data;
};

std::optional<RawValue> QueryRaw(HKEY root, const std::string& key, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RawValue value;
  DWORD size = 0;
  std::optional<RawValue> result;
  if (RegQueryValueExA(opened, name.c_str(), nullptr, &value.type, nullptr, &size) ==
      ERROR_SUCCESS) {
    value.data.resize(size);
    RegQueryValueExA(opened, name.c_str(), nullptr, &value.type,
                     reinterpret_cast<BYTE*>(value.data.data()), &size);
    result = value;
  }
  RegCloseKey(opened);
  return result;
}

class OptionsInRegistry : public ::testing::Test {
 protected:
  OptionsEnvironment Environment() {
    return {registry, prompter, [] { return std::string("C:\\Seltane"); }, false};
  }
  testing::TestRegistryKeys keys;
  Win32Registry registry{keys.CurrentUser(), keys.LocalMachine()};
  testing::ScriptedPrompter prompter;
};

TEST_F(OptionsInRegistry, SaveWritesEveryValueInItsTypeAndLoadReadsItBack) {
  prompter.answers.push_back(PromptAnswer::Ok);
  TOptions options(Environment());
  ASSERT_EQ(prompter.records.size(), 1u);  // the key did not exist
  options.AutoRunUser = false;
  options.ChangeDays = 7;
  options.LastChangeTime = 45999.5;
  options.LastWallpaper = "C:\\Pics\\a b.jpg";
  ASSERT_TRUE(options.Save());

  const std::string key = RegistryKeyNames.Key;
  EXPECT_EQ(QueryRaw(keys.CurrentUser(), key, "ChangeDays")->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(QueryRaw(keys.CurrentUser(), key, "ChangeDays")->data, std::string("\7\0\0\0", 4));
  EXPECT_EQ(QueryRaw(keys.CurrentUser(), key, "LastChangeTime")->type,
            static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(QueryRaw(keys.CurrentUser(), key, "LastChangeTime")->data.size(), 8u);
  EXPECT_EQ(QueryRaw(keys.CurrentUser(), key, "LastWallpaper")->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(QueryRaw(keys.CurrentUser(), key, "LastWallpaper")->data,
            std::string("C:\\Pics\\a b.jpg\0", 16));
  const auto autorun = QueryRaw(keys.LocalMachine(), RunKey, "Seltane");
  ASSERT_TRUE(autorun);
  EXPECT_EQ(autorun->data, std::string("\"C:\\Seltane\\kelrun.exe\"\0", 24));
  EXPECT_FALSE(QueryRaw(keys.CurrentUser(), RunKey, "Seltane"));

  TOptions loaded(Environment());
  EXPECT_EQ(prompter.records.size(), 1u);
  EXPECT_FALSE(loaded.AutoRunUser);
  EXPECT_EQ(loaded.ChangeDays, 7);
  EXPECT_EQ(loaded.LastChangeTime, 45999.5);
  EXPECT_EQ(loaded.LastWallpaper, "C:\\Pics\\a b.jpg");
  EXPECT_EQ(loaded.WallpaperList, "C:\\Seltane\\default.lst");
}

TEST_F(OptionsInRegistry, ValueOfTheWrongTypeIsAReadError) {
  prompter.answers.push_back(PromptAnswer::Ok);
  TOptions(Environment()).Save();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(keys.CurrentUser(), RegistryKeyNames.Key, 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const DWORD days = 3;
  RegSetValueExA(key, "LastChangeTime", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&days), 4);
  RegCloseKey(key);

  prompter.answers.push_back(PromptAnswer::Cancel);
  TOptions options(Environment());
  ASSERT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(prompter.records[1].text, RegistryReadErrorQuestion);
  EXPECT_EQ(options.ChangeDays, 1);  // read before the damaged value
  EXPECT_EQ(options.WallpaperList, "");
}

TEST_F(OptionsInRegistry, DeleteRegistryRecordsLeavesNothingBehind) {
  prompter.answers.push_back(PromptAnswer::Ok);
  TOptions options(Environment());
  options.Save();
  ASSERT_TRUE(QueryRaw(keys.CurrentUser(), RunKey, "Seltane"));
  options.DeleteRegistryRecords();
  EXPECT_FALSE(QueryRaw(keys.CurrentUser(), RegistryKeyNames.Key, "AutoRun"));
  EXPECT_FALSE(QueryRaw(keys.CurrentUser(), RunKey, "Seltane"));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(keys.CurrentUser(), RegistryKeyNames.Key, 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(prompter.records.back().text, RegistryRecordsDeletedMessage);
}

}  // namespace
}  // namespace seltane
