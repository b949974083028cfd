#include "startup/KelrunRun.h"

#include <new>

#include "data/ListFormat.h"
#include "data/ListState.h"
#include "data/PathText.h"
#include "data/RegistryOptions.h"

namespace seltane {
namespace {

namespace messages = kelrun_messages;

// Thrown inside the run for an error the user must see; the run shows it and
// ends with exit code 1.
struct RunError {
  std::string text;
  PromptIcon icon = PromptIcon::None;
};

std::optional<RegistryValue> ReadStored(Registry& registry, const char* name) {
  return registry.ReadValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name);
}

[[noreturn]] void FailRead(const std::optional<RegistryValue>& value, const char* name) {
  const std::string text = value ? "Invalid data type for '" : "Failed to get data for '";
  throw RunError{text + name + "'", PromptIcon::Error};
}

uint32_t ReadNumber(Registry& registry, const char* name) {
  const auto value = ReadStored(registry, name);
  const auto number = DecodeDWord(value);
  if (!number) {
    FailRead(value, name);
  }
  return *number;
}

double ReadDateTime(Registry& registry, const char* name) {
  const auto value = ReadStored(registry, name);
  const auto number = DecodeDouble(value);
  if (!number) {
    FailRead(value, name);
  }
  return *number;
}

std::string ReadText(Registry& registry, const char* name) {
  const auto value = ReadStored(registry, name);
  auto text = DecodeString(value);
  if (!text) {
    FailRead(value, name);
  }
  return *text;
}

std::string_view OpenNonEmpty(KelrunSystem& system, const std::string& path, const char* unreadable,
                              const char* empty) {
  const auto text = system.OpenText(path);
  if (!text) {
    throw RunError{unreadable};
  }
  if (text->empty()) {
    throw RunError{empty};
  }
  return *text;
}

void WriteStored(Registry& registry, const char* name, const RegistryValue& value) {
  if (!registry.WriteValue(RegistryRoot::CurrentUser, RegistryKeyNames.Key, name, value)) {
    throw RunError{RegistryWriteErrorText(name), PromptIcon::Error};
  }
}

int Run(const std::vector<std::string>& arguments, Registry& registry, KelrunSystem& system) {
  const bool forced = IsForcedRun(arguments);
  const double lastChangeTime = ReadDateTime(registry, RegistryKeyNames.LastChangeTime);
  const auto changeDays = static_cast<uint16_t>(ReadNumber(registry, RegistryKeyNames.ChangeDays));
  if (!forced && !ChangeIsDue(system.Now(), lastChangeTime, changeDays)) {
    return 0;
  }

  const std::string listPath = ReadText(registry, RegistryKeyNames.WallpaperList);
  if (listPath.empty() || !system.FileExists(listPath)) {
    throw RunError{messages::ListNotFound};
  }
  const std::string randomPath = RandomFilePath(listPath);
  if (!system.FileExists(randomPath)) {
    throw RunError{messages::RandomNotFound};
  }
  LineCursor random(
      OpenNonEmpty(system, randomPath, messages::RandomUnreadable, messages::RandomEmpty));
  std::string_view line;
  random.Next(line);
  if (line != RandomFileHeader) {
    throw RunError{messages::RandomWrongFormat};
  }
  const auto randomType = static_cast<uint8_t>(ReadNumber(registry, RegistryKeyNames.RandomType));
  // A file that ends after its comment line counts no pictures.
  uint16_t count = 0;
  random.Skip();
  if (random.Next(line)) {
    const auto number = ParseDecimal(line, MaxPictures);
    if (!number) {
      throw RunError{messages::RandomWrongFormat};
    }
    count = static_cast<uint16_t>(*number);
  }
  const std::string_view flagText = random.Rest();

  LineCursor list(OpenNonEmpty(system, listPath, messages::ListUnreadable, messages::ListEmpty));
  ListSections sections;
  if (ReadListSections(list, sections) == ListHeaderStatus::WrongHeader) {
    throw RunError{messages::ListWrongFormat};
  }
  if (!sections.foldersSection) {
    return 0;  // a list without pictures: nothing to do
  }
  if (!sections.filesFollow) {
    throw RunError{messages::ListEndsEarly};
  }
  if (count == 0) {
    throw RunError{messages::RandomCountsNone};
  }

  std::vector<uint8_t> usedFlags(count);
  for (std::size_t i = 0; i < count && i < flagText.size(); ++i) {
    usedFlags[i] = flagText[i] == '1' ? 1 : 0;
  }
  const uint16_t index = system.FindNextPicture(usedFlags.data(), count - 1, count, randomType);

  std::string flags(count, '0');
  for (std::size_t i = 0; i < count; ++i) {
    flags[i] = usedFlags[i] != 0 ? '1' : '0';
  }
  std::string error;
  if (!system.ReplaceFile(randomPath, FormatRandomFile(flags, /*countLineWhenEmpty=*/true),
                          error)) {
    throw RunError{"File with random data cannot be written: " + error};
  }

  // The lines before the chosen one are passed over whole, never parsed.
  for (uint16_t skipped = 0; skipped < index; ++skipped) {
    if (!list.Skip()) {
      throw RunError{messages::ListTooShort};
    }
  }
  if (!list.Next(line)) {
    throw RunError{messages::ListTooShort};
  }
  PictureLine picture;
  const PictureLineError lineError = ParsePictureLine(
      line, sections.sizesPresent, sections.folders.size(), sections.extensions.size(), picture);
  if (lineError != PictureLineError::None) {
    throw RunError{"Wrong picture line " + std::to_string(list.LineNumber()) +
                   " in list file: " + std::string(PictureLineErrorText(lineError))};
  }
  const std::string path = PicturePath(sections, picture);
  if (!system.FileExists(path)) {
    throw RunError{messages::ImageNotFound};
  }

  system.SetWallpaper(path, picture.style);
  WriteStored(registry, RegistryKeyNames.LastWallpaper, EncodeString(path));
  WriteStored(registry, RegistryKeyNames.LastChangeTime, EncodeDouble(system.Now()));
  return 0;
}

}  // namespace

bool IsForcedRun(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    const std::string lower = LowerAZ(argument);
    if (lower == "/forcetime" || lower == "-forcetime") {
      return true;
    }
  }
  return false;
}

bool ChangeIsDue(double now, double lastChangeTime, uint16_t changeDays) {
  return changeDays < now - lastChangeTime;
}

int RunKelrun(const std::vector<std::string>& arguments, Registry& registry, Prompter& prompter,
              KelrunSystem& system) {
  try {
    return Run(arguments, registry, system);
  } catch (const RunError& error) {
    prompter.Ask(error.text, "Error", PromptButtons::Ok, error.icon);
    return 1;
  } catch (const std::bad_alloc&) {
    prompter.Ask("There is not enough memory to change the wallpaper.", "Error", PromptButtons::Ok,
                 PromptIcon::None);
    return 1;
  }
}

}  // namespace seltane
