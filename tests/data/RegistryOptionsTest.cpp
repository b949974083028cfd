#include "data/RegistryOptions.h"

#include <gtest/gtest.h>

#include "tests/support/FakeRegistry.h"
#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

using testing::FakeRegistry;
using testing::ScriptedPrompter;

constexpr RegistryRoot HKCU = RegistryRoot::CurrentUser;
constexpr RegistryRoot HKLM = RegistryRoot::LocalMachine;

class OptionsStore : public ::testing::Test {
 protected:
  OptionsEnvironment Environment(bool win9x = false) {
    return {registry, prompter, [this] { return currentDirectory; }, win9x, programFolder};
  }
  // Options as saved with their defaults, so that loading asks nothing.
  void StoreDefaults() {
    prompter.answers.push_back(PromptAnswer::Ok);
    TOptions options(Environment());
    options.Save();
    prompter.records.clear();
  }
  std::optional<RegistryValue> Stored(const char* name) {
    return registry.ReadValue(HKCU, RegistryKeyNames.Key, name);
  }

  FakeRegistry registry;
  ScriptedPrompter prompter;
  std::string currentDirectory = "C:\\Program Files\\Seltane";
  std::string programFolder = "E:\\My Apps\\Seltane";
};

// The autorun value as written: kelrun.exe beside kel.exe, quoted.
const std::string Command = "\"E:\\My Apps\\Seltane\\kelrun.exe\"";

TEST_F(OptionsStore, FirstStartAsksAndOkGivesTheDefaults) {
  prompter.answers.push_back(PromptAnswer::Ok);
  TOptions options(Environment());
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text, "Registry read error. Restore default values?");
  EXPECT_EQ(prompter.records[0].caption, "Error");
  EXPECT_EQ(prompter.records[0].buttons, PromptButtons::OkCancel);
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Question);
  EXPECT_TRUE(options.AutoRun && options.AutoRunUser && options.CasheImages &&
              options.StyleSetForNew);
  EXPECT_FALSE(options.AutoOnStart || options.BufferImages || options.StoreSizes);
  EXPECT_EQ(options.ChangeDays, 1);
  EXPECT_EQ(options.Left, 65);
  EXPECT_EQ(options.Top, 64);
  EXPECT_EQ(options.Width, 832);
  EXPECT_EQ(options.Height, 461);
  EXPECT_EQ(options.LeftPanelWidth, 265);
  EXPECT_EQ(options.ListViewNameWidth, 83);
  EXPECT_EQ(options.ListViewFullNameWidth, 191);
  EXPECT_EQ(options.LastChangeTime, 0.0);
  EXPECT_EQ(options.WallpaperList, "C:\\Program Files\\Seltane\\default.lst");
}

// For a program that greets a first start itself: the defaults come without
// the question, which damaged values still ask.
TEST_F(OptionsStore, FirstStartCanTakeTheDefaultsWithoutAsking) {
  OptionsEnvironment environment = Environment();
  environment.defaultsOnFirstStart = true;
  const TOptions first(environment);
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_TRUE(first.FirstStart());
  EXPECT_EQ(first.Width, 832);

  registry.Set(HKCU, RegistryKeyNames.Key, "WallpaperList", EncodeString("C:\\a.lst"));
  prompter.answers.push_back(PromptAnswer::Cancel);
  const TOptions damaged(environment);
  EXPECT_EQ(prompter.records.size(), 1u);
  EXPECT_FALSE(damaged.FirstStart());
  EXPECT_EQ(damaged.Width, 0);
}

TEST_F(OptionsStore, FirstStartCancelLeavesEverythingZero) {
  prompter.answers.push_back(PromptAnswer::Cancel);
  TOptions options(Environment());
  EXPECT_FALSE(options.AutoRun || options.AutoRunUser || options.CasheImages);
  EXPECT_EQ(options.Width, 0);
  EXPECT_EQ(options.ChangeDays, 0);
  EXPECT_EQ(options.WallpaperList, "");
}

TEST_F(OptionsStore, SavedValuesHaveTheirTypesAndLoadBack) {
  prompter.answers.push_back(PromptAnswer::Ok);
  TOptions options(Environment());
  options.StoreSizes = true;
  options.AutoRun = false;
  options.RandomType = 2;
  options.Left = static_cast<uint16_t>(-4);
  options.LastChangeTime = 46000.75;
  options.LastWallpaper = "C:\\Pics\\sun set.jpg";
  ASSERT_TRUE(options.Save());

  EXPECT_EQ(Stored("StoreSizes")->type, RegDWord);
  EXPECT_EQ(Stored("StoreSizes")->data, std::string("\1\0\0\0", 4));
  EXPECT_EQ(Stored("AutoRun")->data, std::string(4, '\0'));
  EXPECT_EQ(Stored("Left")->data, std::string("\xFC\xFF\0\0", 4));
  EXPECT_EQ(Stored("LastChangeTime")->type, RegBinary);
  EXPECT_EQ(Stored("LastChangeTime")->data.size(), 8u);
  EXPECT_EQ(Stored("LastWallpaper")->type, RegString);
  EXPECT_EQ(Stored("LastWallpaper")->data, std::string("C:\\Pics\\sun set.jpg\0", 20));
  EXPECT_EQ(registry.ValueCount(), 39u);  // the 36, the 3 later; AutoRun is off: no autorun value

  TOptions loaded(Environment());
  EXPECT_TRUE(prompter.records.size() == 1);  // only the first start asked
  EXPECT_TRUE(loaded.StoreSizes);
  EXPECT_FALSE(loaded.AutoRun);
  EXPECT_EQ(loaded.RandomType, 2);
  EXPECT_EQ(loaded.Left, 65532);
  EXPECT_EQ(loaded.LastChangeTime, 46000.75);
  EXPECT_EQ(loaded.LastWallpaper, "C:\\Pics\\sun set.jpg");
}

TEST_F(OptionsStore, LaterValuesAreDWordsAndAStoreWithoutThemLoadsWithoutAQuestion) {
  StoreDefaults();
  const char* later[] = {ChangeIntervalName, ChangeIntervalUnitName, NextHotkeyName};
  for (const char* name : later) {
    EXPECT_EQ(Stored(name)->data, std::string(4, '\0')) << name;  // off by default
    registry.DeleteValue(HKCU, RegistryKeyNames.Key, name);
  }
  registry.WriteValue(HKCU, RegistryKeyNames.Key, NextHotkeyName, EncodeString("x"));
  TOptions options(Environment());
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(options.NextHotkey, 0);
  options.ChangeInterval = 90;
  options.ChangeIntervalUnit = 1;
  options.NextHotkey = 0x064E;
  options.Save();
  EXPECT_EQ(Stored(NextHotkeyName)->type, RegDWord);
  TOptions loaded(Environment());
  EXPECT_EQ(loaded.ChangeInterval, 90);
  EXPECT_EQ(loaded.ChangeIntervalUnit, 1);
  EXPECT_EQ(loaded.NextHotkey, 0x064E);
}

TEST_F(OptionsStore, IntegersKeepTheirLowBitsAndAnyNonZeroIsTrue) {
  StoreDefaults();
  registry.Set(HKCU, RegistryKeyNames.Key, "ChangeDays", EncodeDWord(300));
  registry.Set(HKCU, RegistryKeyNames.Key, "Width", EncodeDWord(0x12345678));
  registry.Set(HKCU, RegistryKeyNames.Key, "StoreSizes", EncodeDWord(7));
  TOptions options(Environment());
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(options.ChangeDays, 300 % 256);
  EXPECT_EQ(options.Width, 0x5678);
  EXPECT_TRUE(options.StoreSizes);
}

TEST_F(OptionsStore, MissingStringsAreEmptyWithoutAQuestion) {
  StoreDefaults();
  registry.DeleteValue(HKCU, RegistryKeyNames.Key, "LastWallpaper");
  registry.DeleteValue(HKCU, RegistryKeyNames.Key, "WallpaperList");
  TOptions options(Environment());
  EXPECT_TRUE(prompter.records.empty());
  EXPECT_EQ(options.WallpaperList, "");
  EXPECT_TRUE(options.AutoRun);
}

TEST_F(OptionsStore, ExpandStringsAreTakenLiterally) {
  StoreDefaults();
  registry.Set(HKCU, RegistryKeyNames.Key, "WallpaperList",
               {RegExpandString, std::string("%USERPROFILE%\\a.lst\0", 20)});
  TOptions options(Environment());
  EXPECT_EQ(options.WallpaperList, "%USERPROFILE%\\a.lst");
}

TEST_F(OptionsStore, MistypedValuesAreReadErrorsAndCancelKeepsWhatWasRead) {
  const std::vector<std::pair<const char*, RegistryValue>> damaged = {
      {"LastChangeTime", {RegBinary, std::string(7, '\0')}},
      {"LastChangeTime", {RegBinary, std::string(9, '\0')}},
      {"LastChangeTime", EncodeDWord(1)},
      {"LastWallpaper", EncodeDWord(1)},
      {"Height", {RegString, std::string("461\0", 4)}},
      {"Height", {RegDWord, std::string(2, '\0')}},
  };
  for (const auto& [name, value] : damaged) {
    registry = FakeRegistry();
    StoreDefaults();
    registry.Set(HKCU, RegistryKeyNames.Key, "Top", EncodeDWord(99));
    registry.Set(HKCU, RegistryKeyNames.Key, name, value);
    prompter.answers.push_back(PromptAnswer::Cancel);
    TOptions options(Environment());
    ASSERT_EQ(prompter.records.size(), 1u) << name;
    EXPECT_EQ(prompter.records[0].text, RegistryReadErrorQuestion);
    // Values before the damaged one were read; the rest stay empty.
    EXPECT_EQ(options.Top, 99) << name;
    EXPECT_EQ(options.WallpaperList, "") << name;
    prompter.records.clear();
  }
}

TEST_F(OptionsStore, AutorunValueGoesUnderTheRootAndKeyChosen) {
  struct Case {
    bool autoRunUser;
    bool win9x;
    RegistryRoot root;
    const char* key;
  };
  for (const Case& c :
       {Case{true, false, HKCU, RunKey}, Case{false, false, HKLM, RunKey},
        Case{true, true, HKCU, RunServicesKey}, Case{false, true, HKLM, RunServicesKey}}) {
    registry = FakeRegistry();
    prompter.answers.push_back(PromptAnswer::Ok);
    TOptions options(Environment(c.win9x));
    options.AutoRunUser = c.autoRunUser;
    ASSERT_TRUE(options.Save());
    const auto value = registry.ReadValue(c.root, c.key, "Seltane");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, RegString);
    EXPECT_EQ(value->data, Command + '\0');
    EXPECT_EQ(registry.ValueCount(), 40u);
  }
}

// A value of an older form (unquoted, from the current folder) or naming
// another folder is written again; "off" removes it.
TEST_F(OptionsStore, AutorunValueIsRewrittenUnlessCurrentAndAutoRunOffRemovesIt) {
  StoreDefaults();
  TOptions options(Environment());
  for (const char* old :
       {"C:\\Program Files\\Seltane\\kelrun.exe", "\"D:\\old\\kelrun.exe\"", Command.c_str()}) {
    registry.Set(HKCU, RunKey, "Seltane", EncodeString(old));
    const int writes = registry.writes;
    ASSERT_TRUE(options.Save());
    EXPECT_EQ(DecodeString(registry.ReadValue(HKCU, RunKey, "Seltane")), Command);
    EXPECT_EQ(registry.writes - writes, old == Command ? 39 : 40) << old;
  }
  options.AutoRun = false;
  options.Save();
  EXPECT_FALSE(registry.Has(HKCU, RunKey, "Seltane"));
  EXPECT_TRUE(prompter.records.empty());
}

// Switching between "current user" and "all users" moves the value: Windows
// would otherwise start kelrun twice, and "off" would remove only one.
TEST_F(OptionsStore, AutorunValueLivesUnderOneRootOnly) {
  StoreDefaults();
  TOptions options(Environment());
  for (bool autoRunUser : {false, true, false}) {
    options.AutoRunUser = autoRunUser;
    ASSERT_TRUE(options.Save());
    EXPECT_EQ(registry.Has(HKCU, RunKey, "Seltane"), autoRunUser);
    EXPECT_EQ(registry.Has(HKLM, RunKey, "Seltane"), !autoRunUser);
  }
  registry.Set(HKCU, RunKey, "Seltane", EncodeString("left over"));
  options.AutoRun = false;
  ASSERT_TRUE(options.Save());
  EXPECT_EQ(registry.ValueCount(), 39u);
  EXPECT_TRUE(prompter.records.empty());

  registry.Set(HKCU, RunKey, "Seltane", EncodeString("x"));
  registry.Set(HKLM, RunKey, "Seltane", EncodeString("x"));
  options.DeleteRegistryRecords();
  EXPECT_EQ(registry.ValueCount(), 0u);
}

// Without the right to write under HKEY_LOCAL_MACHINE: a switch that cannot
// be made keeps the entry that works, says so once, and stores the root
// that holds it.
TEST_F(OptionsStore, AutorunSwitchThatCannotBeMadeKeepsTheOldEntry) {
  StoreDefaults();  // autorun for the current user
  registry.MakeReadOnly(HKLM, RunKey);
  TOptions options(Environment());
  ASSERT_TRUE(options.Save());  // no value there to remove: nothing to tell
  options.AutoRunUser = false;
  EXPECT_FALSE(options.Save());
  EXPECT_TRUE(registry.Has(HKCU, RunKey, "Seltane"));
  EXPECT_FALSE(registry.Has(HKLM, RunKey, "Seltane"));
  EXPECT_TRUE(options.AutoRunUser);
  EXPECT_EQ(DecodeDWord(Stored("AutoRunUser")), 1u);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text,
            "Autorun could not be registered for all users. It stays registered for current "
            "user.");
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Error);

  // The other way: the entry for all users cannot be removed, so the one
  // just written for the current user goes again.
  registry = FakeRegistry();
  registry.Set(HKLM, RunKey, "Seltane", EncodeString(Command));
  registry.MakeReadOnly(HKLM, RunKey);
  options.AutoRunUser = true;
  prompter.records.clear();
  EXPECT_FALSE(options.Save());
  EXPECT_FALSE(registry.Has(HKCU, RunKey, "Seltane"));
  EXPECT_TRUE(registry.Has(HKLM, RunKey, "Seltane"));
  EXPECT_FALSE(options.AutoRunUser);
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text,
            "Autorun could not be registered for current user. It stays registered for all "
            "users.");
  EXPECT_TRUE(options.Save());  // settled: nothing more to tell
  EXPECT_EQ(prompter.records.size(), 1u);
}

TEST_F(OptionsStore, FailedWritesAreReportedOnceNotSwallowed) {
  prompter.answers.push_back(PromptAnswer::Ok);
  TOptions options(Environment());
  options.AutoRunUser = false;
  registry.MakeReadOnly(HKLM, RunKey);
  for (int time = 0; time < 3; ++time) {  // as the windows save one after another at exit
    EXPECT_FALSE(options.Save());
  }
  ASSERT_EQ(prompter.records.size(), 2u);
  EXPECT_EQ(prompter.records[1].text, "Autorun could not be registered for all users.");
  EXPECT_EQ(prompter.records[1].icon, PromptIcon::Error);
  EXPECT_TRUE(registry.Has(HKCU, RegistryKeyNames.Key, "WallpaperList"));

  registry.MakeReadOnly(HKCU, RegistryKeyNames.Key);
  prompter.records.clear();
  options.AutoRun = false;
  EXPECT_FALSE(options.Save());
  ASSERT_EQ(prompter.records.size(), 1u);  // one report, not one per value
  EXPECT_EQ(prompter.records[0].text, "Failed to set data for 'AutoRun'");
  EXPECT_FALSE(options.Save());
  EXPECT_EQ(prompter.records.size(), 1u);
}

TEST_F(OptionsStore, DeleteRegistryRecordsRemovesKeyAndAutorunAndSaysSo) {
  StoreDefaults();
  registry.Set(HKCU, std::string(RegistryKeyNames.Key) + "\\Sub", "x", EncodeDWord(1));
  registry.Set(HKCU, "Software\\Orvik\\Other", "y", EncodeDWord(1));
  TOptions options(Environment());
  for (int time = 0; time < 2; ++time) {  // the second time nothing is left to delete
    options.DeleteRegistryRecords();
    EXPECT_EQ(registry.ValueCount(), 1u);
    EXPECT_TRUE(registry.Has(HKCU, "Software\\Orvik\\Other", "y"));
    ASSERT_EQ(prompter.records.size(), static_cast<std::size_t>(time + 1));
    EXPECT_EQ(prompter.records.back().text, "Program records in system registry have been deleted");
    EXPECT_EQ(prompter.records.back().caption, "Seltane");
    EXPECT_EQ(prompter.records.back().icon, PromptIcon::Information);
  }
  EXPECT_TRUE(options.AutoRun);  // the object keeps its values
  // and saves nothing afterwards: the records stay deleted.
  EXPECT_TRUE(options.Save());
  EXPECT_EQ(registry.ValueCount(), 1u);
}

TEST_F(OptionsStore, DeleteRegistryRecordsNamesWhatCouldNotBeDeleted) {
  StoreDefaults();
  registry.Set(HKLM, RunKey, "Seltane", EncodeString(Command));
  registry.MakeReadOnly(HKLM, RunKey);
  registry.MakeReadOnly(HKCU, RegistryKeyNames.Key);
  TOptions options(Environment());
  options.DeleteRegistryRecords();
  EXPECT_FALSE(registry.Has(HKCU, RunKey, "Seltane"));
  ASSERT_EQ(prompter.records.size(), 1u);
  EXPECT_EQ(prompter.records[0].text,
            "These program records in system registry could not be deleted:\n"
            "HKEY_CURRENT_USER\\Software\\Orvik\\Seltane\n"
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, value Seltane");
  EXPECT_EQ(prompter.records[0].icon, PromptIcon::Warning);
}

TEST_F(OptionsStore, SuspendAndResumePreviewBuffering) {
  StoreDefaults();
  TOptions options(Environment());
  options.BufferImages = true;
  options.CasheImages = false;
  options.SuspendPreviewBuffering();
  EXPECT_FALSE(options.BufferImages || options.CasheImages);
  options.ResumePreviewBuffering();
  EXPECT_TRUE(options.BufferImages);
  EXPECT_FALSE(options.CasheImages);
}

// The scheduled task and the shortcut's hotkey change only when the wanted
// state differs from what the last save made; a refusal is told once, the
// values are still written, and the next save tries again.
TEST_F(OptionsStore, TaskAndHotkeyFollowTheOptionsOnlyWhenTheyChange) {
  StoreDefaults();
  std::vector<std::string> calls;
  std::string refusal;
  OptionsEnvironment environment = Environment();
  environment.registerTimedTask = [&](uint16_t interval, uint8_t unit) {
    calls.push_back("register " + std::to_string(interval) + "/" + std::to_string(unit));
    return refusal;
  };
  environment.removeTimedTask = [&] {
    calls.push_back("remove");
    return refusal;
  };
  environment.setNextHotkey = [&](uint16_t hotkey) {
    calls.push_back("hotkey " + std::to_string(hotkey));
    return refusal;
  };
  TOptions options(environment);
  struct Step {
    uint16_t interval;
    uint8_t unit;
    uint16_t hotkey;
    const char* refusal;
    std::vector<std::string> calls;
    size_t told;
  };
  const Step steps[] = {
      {0, 0, 0, "", {}, 0},                  // as stored: nothing to do
      {15, 0, 0, "", {"register 15/0"}, 0},  // switched on
      {15, 0, 0, "", {}, 0},                 // saved again, unchanged
      {2, 1, 0x277, "", {"register 2/1", "hotkey 631"}, 0},
      {0, 1, 0x277, "E_ACCESSDENIED", {"remove"}, 1},  // refused: told
      {0, 1, 0x277, "E_ACCESSDENIED", {"remove"}, 1},  // tried again, not told again
      {50000, 0, 0, "", {"remove", "hotkey 0"}, 1},    // beyond what repeats: off
  };
  for (const Step& step : steps) {
    calls.clear();
    refusal = step.refusal;
    options.ChangeInterval = step.interval;
    options.ChangeIntervalUnit = step.unit;
    options.NextHotkey = step.hotkey;
    EXPECT_EQ(options.Save(), refusal.empty()) << step.interval;
    EXPECT_EQ(calls, step.calls) << step.interval;
    EXPECT_EQ(prompter.records.size(), step.told) << step.interval;
    EXPECT_EQ(DecodeDWord(Stored(NextHotkeyName)), step.hotkey) << step.interval;
  }
  calls.clear();
  options.DeleteRegistryRecords();
  EXPECT_EQ(calls, std::vector<std::string>{"remove"});
}

}  // namespace
}  // namespace seltane
