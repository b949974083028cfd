#include "data/RegistryOptions.h"

#include "data/TimedChange.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <type_traits>
#include <utility>
#include <variant>

namespace seltane {
namespace {

using FieldPointer = std::variant<bool TOptions::*, uint8_t TOptions::*, uint16_t TOptions::*,
                                  double TOptions::*, std::string TOptions::*>;

struct StoredField {
  const char* name;
  FieldPointer field;
};

// Every stored value in storage order, with the field that holds it.
const StoredField StoredFields[] = {
    {RegistryKeyNames.AutoRun, &TOptions::AutoRun},
    {RegistryKeyNames.AutoRunUser, &TOptions::AutoRunUser},
    {RegistryKeyNames.AutoSearch, &TOptions::AutoSearch},
    {RegistryKeyNames.AutoDelete, &TOptions::AutoDelete},
    {RegistryKeyNames.AutoOnStart, &TOptions::AutoOnStart},
    {RegistryKeyNames.AutoOnIdle, &TOptions::AutoOnIdle},
    {RegistryKeyNames.AutoAddConfirm, &TOptions::AutoAddConfirm},
    {RegistryKeyNames.BufferImages, &TOptions::BufferImages},
    {RegistryKeyNames.CasheImages, &TOptions::CasheImages},
    {RegistryKeyNames.DeleteNotExisting, &TOptions::DeleteNotExisting},
    {RegistryKeyNames.DeleteConfirm, &TOptions::DeleteConfirm},
    {RegistryKeyNames.IncrementalDisplay, &TOptions::IncrementalDisplay},
    {RegistryKeyNames.NoRepeats, &TOptions::NoRepeats},
    {RegistryKeyNames.ShowExtensions, &TOptions::ShowExtensions},
    {RegistryKeyNames.StoreSizes, &TOptions::StoreSizes},
    {RegistryKeyNames.StyleStretch, &TOptions::StyleStretch},
    {RegistryKeyNames.StyleCenter, &TOptions::StyleCenter},
    {RegistryKeyNames.StyleTile, &TOptions::StyleTile},
    {RegistryKeyNames.StyleFitWidth, &TOptions::StyleFitWidth},
    {RegistryKeyNames.StyleFitHeight, &TOptions::StyleFitHeight},
    {RegistryKeyNames.StyleFitWindow, &TOptions::StyleFitWindow},
    {RegistryKeyNames.StyleCheckCrossIncluding, &TOptions::StyleCheckCrossIncluding},
    {RegistryKeyNames.StyleSetForNew, &TOptions::StyleSetForNew},
    {RegistryKeyNames.AutoStyleType, &TOptions::AutoStyleType},
    {RegistryKeyNames.RandomType, &TOptions::RandomType},
    {RegistryKeyNames.ChangeDays, &TOptions::ChangeDays},
    {RegistryKeyNames.Left, &TOptions::Left},
    {RegistryKeyNames.Top, &TOptions::Top},
    {RegistryKeyNames.Width, &TOptions::Width},
    {RegistryKeyNames.Height, &TOptions::Height},
    {RegistryKeyNames.LeftPanelWidth, &TOptions::LeftPanelWidth},
    {RegistryKeyNames.ListViewNameWidth, &TOptions::ListViewNameWidth},
    {RegistryKeyNames.ListViewFullNameWidth, &TOptions::ListViewFullNameWidth},
    {RegistryKeyNames.LastChangeTime, &TOptions::LastChangeTime},
    {RegistryKeyNames.LastWallpaper, &TOptions::LastWallpaper},
    {RegistryKeyNames.WallpaperList, &TOptions::WallpaperList},
};
static_assert(std::size(StoredFields) == 36);
static_assert(sizeof(TRegistryKeyNames) == 37 * sizeof(const char*));

// Reads one value into its field; false on a read error.
bool ReadField(const std::optional<RegistryValue>& stored, TOptions& options,
               const FieldPointer& field) {
  return std::visit(
      [&](auto member) {
        using Field = std::remove_reference_t<decltype(options.*member)>;
        if constexpr (std::is_same_v<Field, std::string>) {
          const auto text = DecodeString(stored);
          if (text) {
            options.*member = *text;
          }
          return text.has_value();
        } else if constexpr (std::is_same_v<Field, double>) {
          const auto number = DecodeDouble(stored);
          if (number) {
            options.*member = *number;
          }
          return number.has_value();
        } else {
          const auto number = DecodeDWord(stored);
          if (number) {
            if constexpr (std::is_same_v<Field, bool>) {
              options.*member = *number != 0;
            } else {
              options.*member = static_cast<Field>(*number);  // keeps the low bits
            }
          }
          return number.has_value();
        }
      },
      field);
}

RegistryValue EncodeField(const TOptions& options, const FieldPointer& field) {
  return std::visit(
      [&](auto member) {
        using Field = std::remove_cv_t<std::remove_reference_t<decltype(options.*member)>>;
        if constexpr (std::is_same_v<Field, std::string>) {
          return EncodeString(options.*member);
        } else if constexpr (std::is_same_v<Field, double>) {
          return EncodeDouble(options.*member);
        } else {
          return EncodeDWord(static_cast<uint32_t>(options.*member));
        }
      },
      field);
}

}  // namespace

RegistryValue EncodeDWord(uint32_t value) {
  RegistryValue encoded{RegDWord, std::string(4, '\0')};
  for (int i = 0; i < 4; ++i) {
    encoded.data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return encoded;
}

RegistryValue EncodeDouble(double value) {
  static_assert(sizeof(double) == 8);
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  RegistryValue encoded{RegBinary, std::string(8, '\0')};
  for (int i = 0; i < 8; ++i) {
    encoded.data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
  return encoded;
}

RegistryValue EncodeString(const std::string& value) {
  RegistryValue encoded{RegString, value};
  encoded.data.push_back('\0');
  return encoded;
}

std::optional<uint32_t> DecodeDWord(const std::optional<RegistryValue>& value) {
  if (!value || value->type != RegDWord || value->data.size() != 4) {
    return std::nullopt;
  }
  uint32_t number = 0;
  for (int i = 3; i >= 0; --i) {
    number = (number << 8) | static_cast<unsigned char>(value->data[i]);
  }
  return number;
}

std::optional<double> DecodeDouble(const std::optional<RegistryValue>& value) {
  if (!value || value->type != RegBinary || value->data.size() != 8) {
    return std::nullopt;
  }
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) {
    bits = (bits << 8) | static_cast<unsigned char>(value->data[i]);
  }
  double number = 0;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

std::optional<std::string> DecodeString(const std::optional<RegistryValue>& value) {
  if (!value) {
    return std::string();
  }
  if (value->type != RegString && value->type != RegExpandString) {
    return std::nullopt;
  }
  // The stored text ends at its terminating zero, when it has one.
  return value->data.substr(0, value->data.find('\0'));
}

std::string RegistryWriteErrorText(const std::string& name) {
  return "Failed to set data for '" + name + "'";
}

std::string AutoRunCommand(const std::string& programFolder) {
  return "\"" + programFolder + KelrunFileName + "\"";
}

std::string AutoRunNotWrittenText(const std::string& chosen) {
  return "Autorun could not be registered " + chosen + ".";
}

std::string AutoRunKeptText(const std::string& chosen, const std::string& kept) {
  return "Autorun could not be registered " + chosen + ". It stays registered " + kept + ".";
}

std::string AutoRunNotRemovedText(const std::string& where) {
  return "Autorun could not be turned off " + where + ".";
}

std::string TimedTaskNotChangedText(const std::string& reason) {
  return "The timed change could not be scheduled: " + reason;
}

std::string NextHotkeyNotSetText(const std::string& reason) {
  return "The hotkey of the Next wallpaper shortcut could not be set: " + reason;
}

std::string RegistryRecordsLeftText(const std::vector<std::string>& left) {
  std::string text = "These program records in system registry could not be deleted:";
  for (const std::string& record : left) {
    text += "\n" + record;
  }
  return text;
}

namespace {

// Appends a line to a report of several.
void AddLine(std::string& report, const std::string& line) {
  if (!report.empty())
    report += '\n';
  report += line;
}

// No value of the key can be read: the key is missing, or empty.
bool NothingStored(Registry& registry) {
  return std::none_of(
      std::begin(StoredFields), std::end(StoredFields), [&registry](const StoredField& stored) {
        return registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, stored.name)
            .has_value();
      });
}

}  // namespace

TOptions::TOptions(OptionsEnvironment environment) : environment_(std::move(environment)) {
  Load();
}

void TOptions::Load() {
  // The later values first: the read-error path below returns early.
  const auto later = [this](const char* name) {
    return DecodeDWord(environment_.registry.ReadValue(RegistryRoot::CurrentUser,
                                                       RegistryKeyNames.Key, name))
        .value_or(0);
  };
  ChangeInterval = static_cast<uint16_t>(later(ChangeIntervalName));
  ChangeIntervalUnit = static_cast<uint8_t>(later(ChangeIntervalUnitName));
  NextHotkey = static_cast<uint16_t>(later(NextHotkeyName));
  // What the system holds as far as we know: what the last save made it.
  knownTask_ = WantedTask();
  knownHotkey_ = NextHotkey;
  for (const StoredField& stored : StoredFields) {
    const auto value = environment_.registry.ReadValue(RegistryRoot::CurrentUser,
                                                       RegistryKeyNames.Key, stored.name);
    if (!ReadField(value, *this, stored.field)) {
      firstStart_ =
          environment_.defaultsOnFirstStart && !value && NothingStored(environment_.registry);
      if (firstStart_) {
        SetDefaults();
      } else if (environment_.prompter.Ask(RegistryReadErrorQuestion, "Error",
                                           PromptButtons::OkCancel,
                                           PromptIcon::Question) == PromptAnswer::Ok) {
        SetDefaults();
      }
      return;
    }
  }
}

bool TOptions::Save() {
  if (recordsDeleted_) {
    return true;
  }
  // The autorun entry goes first: a switch of root that could not be made
  // changes AutoRunUser back, which is then written with the rest.
  std::string report = SaveAutoRun();
  const std::string timed = SaveTimedChange();
  if (!timed.empty()) {
    AddLine(report, timed);
  }
  // The values are written whatever the system refused: they are what the
  // user chose, and the next save tries again.
  const std::string systemReport = report;
  report.clear();
  for (const StoredField& stored : StoredFields) {
    if (!environment_.registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key,
                                          stored.name, EncodeField(*this, stored.field))) {
      // One report is enough: the rest would fail for the same reason.
      report = RegistryWriteErrorText(stored.name) + (report.empty() ? "" : "\n" + report);
      break;
    }
  }
  const std::pair<const char*, uint32_t> later[] = {{ChangeIntervalName, ChangeInterval},
                                                    {ChangeIntervalUnitName, ChangeIntervalUnit},
                                                    {NextHotkeyName, NextHotkey}};
  for (const auto& [name, number] : later) {
    if (report.empty() &&
        !environment_.registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name,
                                          EncodeDWord(number))) {
      report = RegistryWriteErrorText(name);
    }
  }
  if (!systemReport.empty()) {
    AddLine(report, systemReport);
  }
  // The program saves several times at its end, once per window that
  // edits options: a failure is told once.
  if (!report.empty() && report != lastSaveReport_) {
    environment_.prompter.Tell(report, "Error", PromptIcon::Error);
  }
  lastSaveReport_ = report;
  return report.empty();
}

namespace {

const char* AutoRunPlace(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? "for current user" : "for all users";
}

}  // namespace

std::pair<uint16_t, uint8_t> TOptions::WantedTask() const {
  if (!TimedChangeWanted(ChangeInterval, ChangeIntervalUnit)) {
    return {0, 0};
  }
  return {ChangeInterval, ChangeIntervalUnit};
}

std::string TOptions::SaveTimedChange() {
  std::string report;
  const auto wanted = WantedTask();
  if (wanted != knownTask_) {
    const bool on = wanted.first != 0;
    std::string failure;
    if (on && environment_.registerTimedTask) {
      failure = environment_.registerTimedTask(wanted.first, wanted.second);
    } else if (!on && environment_.removeTimedTask) {
      failure = environment_.removeTimedTask();
    }
    if (failure.empty()) {
      knownTask_ = wanted;
    } else {
      report = TimedTaskNotChangedText(failure);
    }
  }
  if (NextHotkey != knownHotkey_ && environment_.setNextHotkey) {
    const std::string failure = environment_.setNextHotkey(NextHotkey);
    if (failure.empty()) {
      knownHotkey_ = NextHotkey;
    } else {
      AddLine(report, NextHotkeyNotSetText(failure));
    }
  }
  return report;
}

std::string TOptions::SaveAutoRun() {
  Registry& registry = environment_.registry;
  const RegistryRoot root = AutoRunRoot();
  const RegistryRoot other = OtherAutoRunRoot();
  const char* runKey = AutoRunKey();
  if (!AutoRun) {
    std::string refused;
    for (const RegistryRoot from : {root, other}) {
      if (!registry.DeleteValue(from, runKey, AutoRunValueName)) {
        refused += refused.empty() ? AutoRunPlace(from) : std::string(" and ") + AutoRunPlace(from);
      }
    }
    return refused.empty() ? std::string() : AutoRunNotRemovedText(refused);
  }
  const std::string command =
      AutoRunCommand(environment_.programFolder.empty() ? environment_.currentDirectory()
                                                        : environment_.programFolder);
  const auto stored = registry.ReadValue(root, runKey, AutoRunValueName);
  // A value of an older form (unquoted, or naming another folder) is
  // written again.
  if (DecodeString(stored) != command &&
      !registry.WriteValue(root, runKey, AutoRunValueName, EncodeString(command))) {
    if (!stored) {
      if (!registry.ReadValue(other, runKey, AutoRunValueName)) {
        return AutoRunNotWrittenText(AutoRunPlace(root));
      }
      // The entry under the former root is all there is: it stays.
      AutoRunUser = !AutoRunUser;
      return AutoRunKeptText(AutoRunPlace(root), AutoRunPlace(other));
    }
    // An entry there that may not be changed still starts kelrun.
  }
  // A value left under the other root would start kelrun a second time at
  // log-on. When it may not be removed, the switch is undone instead.
  if (!registry.DeleteValue(other, runKey, AutoRunValueName) &&
      registry.DeleteValue(root, runKey, AutoRunValueName)) {
    AutoRunUser = !AutoRunUser;
    return AutoRunKeptText(AutoRunPlace(root), AutoRunPlace(other));
  }
  return std::string();
}

void TOptions::SetDefaults() {
  AutoRun = true;
  AutoRunUser = true;
  AutoSearch = true;
  AutoDelete = true;
  AutoOnStart = false;
  AutoOnIdle = false;
  AutoAddConfirm = true;
  BufferImages = false;
  CasheImages = true;
  DeleteNotExisting = true;
  DeleteConfirm = true;
  IncrementalDisplay = true;
  NoRepeats = true;
  ShowExtensions = true;
  StoreSizes = false;
  StyleStretch = true;
  StyleCenter = true;
  StyleTile = true;
  StyleFitWidth = true;
  StyleFitHeight = true;
  StyleFitWindow = true;
  StyleCheckCrossIncluding = true;
  StyleSetForNew = true;
  AutoStyleType = 0;
  RandomType = 0;
  ChangeDays = 1;
  Left = 65;
  Top = 64;
  Width = 832;
  Height = 461;
  LeftPanelWidth = 265;
  ListViewNameWidth = 83;
  ListViewFullNameWidth = 191;
  LastChangeTime = 0.0;
  LastWallpaper.clear();
  ChangeInterval = 0;
  ChangeIntervalUnit = 0;
  NextHotkey = 0;
  WallpaperList = environment_.currentDirectory() + DefaultListFileName;
}

void TOptions::DeleteRegistryRecords() {
  recordsDeleted_ = true;
  std::vector<std::string> left;
  if (!environment_.registry.DeleteKey(RegistryRoot::CurrentUser, RegistryKeyNames.Key)) {
    left.push_back(std::string("HKEY_CURRENT_USER\\") + RegistryKeyNames.Key);
  }
  for (const RegistryRoot root : {AutoRunRoot(), OtherAutoRunRoot()}) {
    if (!environment_.registry.DeleteValue(root, AutoRunKey(), AutoRunValueName)) {
      left.push_back(std::string(root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER\\"
                                                                   : "HKEY_LOCAL_MACHINE\\") +
                     AutoRunKey() + ", value " + AutoRunValueName);
    }
  }
  if (environment_.removeTimedTask && !environment_.removeTimedTask().empty()) {
    left.push_back(std::string("Scheduled task \"") + kTimedChangeTaskName + "\"");
  }
  if (left.empty()) {
    environment_.prompter.Tell(RegistryRecordsDeletedMessage, "Seltane", PromptIcon::Information);
  } else {
    environment_.prompter.Tell(RegistryRecordsLeftText(left), "Seltane", PromptIcon::Warning);
  }
}

void TOptions::SuspendPreviewBuffering() {
  SuspendedBufferImages = BufferImages;
  SuspendedCasheImages = CasheImages;
  BufferImages = false;
  CasheImages = false;
}

void TOptions::ResumePreviewBuffering() {
  BufferImages = SuspendedBufferImages;
  CasheImages = SuspendedCasheImages;
}

RegistryRoot TOptions::AutoRunRoot() const {
  return AutoRunUser ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
}

RegistryRoot TOptions::OtherAutoRunRoot() const {
  return AutoRunUser ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
}

const char* TOptions::AutoRunKey() const {
  return environment_.win9xFamily ? RunServicesKey : RunKey;
}

}  // namespace seltane
