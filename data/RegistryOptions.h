// The options store: every setting of the system, kept in one registry key of
// the current user, and the autorun entry that starts kelrun at log-on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "platform/Registry.h"

namespace seltane {

// The key path, then the 36 value names in storage order: the order of
// reading and of writing.
struct TRegistryKeyNames {
  const char* Key;
  const char* AutoRun;
  const char* AutoRunUser;
  const char* AutoSearch;
  const char* AutoDelete;
  const char* AutoOnStart;
  const char* AutoOnIdle;
  const char* AutoAddConfirm;
  const char* BufferImages;
  const char* CasheImages;
  const char* DeleteNotExisting;
  const char* DeleteConfirm;
  const char* IncrementalDisplay;
  const char* NoRepeats;
  const char* ShowExtensions;
  const char* StoreSizes;
  const char* StyleStretch;
  const char* StyleCenter;
  const char* StyleTile;
  const char* StyleFitWidth;
  const char* StyleFitHeight;
  const char* StyleFitWindow;
  const char* StyleCheckCrossIncluding;
  const char* StyleSetForNew;
  const char* AutoStyleType;
  const char* RandomType;
  const char* ChangeDays;
  const char* Left;
  const char* Top;
  const char* Width;
  const char* Height;
  const char* LeftPanelWidth;
  const char* ListViewNameWidth;
  const char* ListViewFullNameWidth;
  const char* LastChangeTime;
  const char* LastWallpaper;
  const char* WallpaperList;
};

inline constexpr TRegistryKeyNames RegistryKeyNames = {
    "Software\\Orvik\\Seltane",
    "AutoRun",
    "AutoRunUser",
    "AutoSearch",
    "AutoDelete",
    "AutoOnStart",
    "AutoOnIdle",
    "AutoAddConfirm",
    "BufferImages",
    "CasheImages",
    "DeleteNotExisting",
    "DeleteConfirm",
    "IncrementalDisplay",
    "NoRepeats",
    "ShowExtensions",
    "StoreSizes",
    "StyleStretch",
    "StyleCenter",
    "StyleTile",
    "StyleFitWidth",
    "StyleFitHeight",
    "StyleFitWindow",
    "StyleCheckCrossIncluding",
    "StyleSetForNew",
    "AutoStyleType",
    "RandomType",
    "ChangeDays",
    "Left",
    "Top",
    "Width",
    "Height",
    "LeftPanelWidth",
    "ListViewNameWidth",
    "ListViewFullNameWidth",
    "LastChangeTime",
    "LastWallpaper",
    "WallpaperList",
};

// The autorun value and the keys that may hold it.
inline constexpr const char* AutoRunValueName = "Seltane";
inline constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RunServicesKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
inline constexpr const char* KelrunFileName = "\\kelrun.exe";
inline constexpr const char* DefaultListFileName = "\\default.lst";

// Values added after the first 36, each a DWORD beside them in the key. Older
// stores lack them: a missing or mistyped one reads as 0 (off) without the
// read-error question, so that a store written before them loads as it did.
inline constexpr const char* ChangeIntervalName = "ChangeInterval";
inline constexpr const char* ChangeIntervalUnitName = "ChangeIntervalUnit";
inline constexpr const char* NextHotkeyName = "NextHotkey";

// What the options store needs from the system.
struct OptionsEnvironment {
  Registry& registry;
  Prompter& prompter;
  std::function<std::string()> currentDirectory;
  bool win9xFamily = false;  // autorun under RunServices instead of Run
  // Where kel.exe is, without a final backslash: kelrun.exe is beside it.
  // Empty: the current directory.
  std::string programFolder = {};
  // On a first start, when the key holds no value at all, take the defaults
  // without asking; the program greets the user itself.
  bool defaultsOnFirstStart = false;
  // The timed change's scheduled task and the "Next wallpaper" shortcut's
  // hotkey. Each returns what failed, or empty on success; unset ones are
  // not touched. registerTimedTask creates or replaces the task for the
  // interval and unit; removing a task that is not there succeeds.
  std::function<std::string(uint16_t interval, uint8_t unit)> registerTimedTask = {};
  std::function<std::string()> removeTimedTask = {};
  std::function<std::string(uint16_t hotkey)> setNextHotkey = {};
};

class TOptions {
 public:
  // Create: reads every value; on the first read error asks whether to
  // restore the defaults.
  explicit TOptions(OptionsEnvironment environment);

  // Whether the defaults were taken on a first start, without asking
  // (defaultsOnFirstStart): nothing was stored for this user.
  bool FirstStart() const { return firstStart_; }

  // Brings the autorun entry in line with AutoRun and AutoRunUser, then
  // writes all 36 values and the later ones. The entry is written under the chosen root first
  // and removed from the other only when that worked; when the chosen root
  // refuses it, the entry under the other stays and AutoRunUser names that
  // root again. False when something could not be written; the user is told
  // once, not again by the saves that follow with the same failure.
  bool Save();
  void SetDefaults();
  // Deletes the program's key and the autorun value (under both roots) and
  // tells the user so, or names what could not be deleted. Nothing is saved
  // afterwards, so that the records stay deleted.
  void DeleteRegistryRecords();
  // Turn preview buffering and caching off around bulk changes of the list,
  // and back to what they were. Not nested.
  void SuspendPreviewBuffering();
  void ResumePreviewBuffering();

  bool AutoRun = false;
  bool AutoRunUser = false;
  bool AutoSearch = false;
  bool AutoDelete = false;
  bool AutoOnStart = false;
  bool AutoOnIdle = false;
  bool AutoAddConfirm = false;
  bool BufferImages = false;
  bool CasheImages = false;
  bool DeleteNotExisting = false;
  bool DeleteConfirm = false;
  bool IncrementalDisplay = false;
  bool NoRepeats = false;
  bool ShowExtensions = false;
  bool StoreSizes = false;
  bool StyleStretch = false;
  bool StyleCenter = false;
  bool StyleTile = false;
  bool StyleFitWidth = false;
  bool StyleFitHeight = false;
  bool StyleFitWindow = false;
  bool StyleCheckCrossIncluding = false;
  bool StyleSetForNew = false;
  uint8_t AutoStyleType = 0;
  uint8_t RandomType = 0;
  uint8_t ChangeDays = 0;
  uint16_t Left = 0;
  uint16_t Top = 0;
  uint16_t Width = 0;
  uint16_t Height = 0;
  uint16_t LeftPanelWidth = 0;
  uint16_t ListViewNameWidth = 0;
  uint16_t ListViewFullNameWidth = 0;
  double LastChangeTime = 0.0;
  std::string LastWallpaper;
  std::string WallpaperList;
  // The timed change through a scheduled task: 0 is off; the unit is an
  // IntervalUnit (minutes, hours, days).
  uint16_t ChangeInterval = 0;
  uint8_t ChangeIntervalUnit = 0;
  // The hotkey of the "Next wallpaper" shortcut, as a hotkey control holds
  // it; 0 is none.
  uint16_t NextHotkey = 0;
  bool SuspendedBufferImages = false;
  bool SuspendedCasheImages = false;

 private:
  void Load();
  RegistryRoot AutoRunRoot() const;
  RegistryRoot OtherAutoRunRoot() const;
  const char* AutoRunKey() const;
  // Brings the autorun entry in line; the report of what failed, or empty.
  std::string SaveAutoRun();
  // Brings the scheduled task and the shortcut's hotkey in line, touching the
  // system only when the wanted state differs from the last one known.
  std::string SaveTimedChange();
  // The task as wanted: interval and unit, or 0 and 0 when there is none.
  std::pair<uint16_t, uint8_t> WantedTask() const;

  OptionsEnvironment environment_;
  std::string lastSaveReport_;  // what the last save told the user
  bool recordsDeleted_ = false;
  bool firstStart_ = false;
  std::pair<uint16_t, uint8_t> knownTask_{0, 0};  // as read, then as last made
  uint16_t knownHotkey_ = 0;
};

// Message texts of the options store.
inline constexpr const char* RegistryReadErrorQuestion =
    "Registry read error. Restore default values?";
inline constexpr const char* RegistryRecordsDeletedMessage =
    "Program records in system registry have been deleted";
// The report of a value that could not be written; %s is the value's name.
std::string RegistryWriteErrorText(const std::string& name);
// The autorun entry's value: the quoted full path of kelrun.exe in the folder.
std::string AutoRunCommand(const std::string& programFolder);
// Reports of the autorun entry; `chosen` and `kept` are "for current user"
// or "for all users".
std::string AutoRunNotWrittenText(const std::string& chosen);
std::string AutoRunKeptText(const std::string& chosen, const std::string& kept);
std::string AutoRunNotRemovedText(const std::string& where);
// The report of DeleteRegistryRecords when some records stay: one line each.
// The report of a scheduled task or shortcut that could not be changed.
std::string TimedTaskNotChangedText(const std::string& reason);
std::string NextHotkeyNotSetText(const std::string& reason);
std::string RegistryRecordsLeftText(const std::vector<std::string>& left);

// Encodings of the stored values.
RegistryValue EncodeDWord(uint32_t value);
RegistryValue EncodeDouble(double value);
RegistryValue EncodeString(const std::string& value);
std::optional<uint32_t> DecodeDWord(const std::optional<RegistryValue>& value);
std::optional<double> DecodeDouble(const std::optional<RegistryValue>& value);
// A missing string reads as empty; a value of another type is an error.
std::optional<std::string> DecodeString(const std::optional<RegistryValue>& value);

}  // namespace seltane
