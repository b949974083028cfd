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
  const char* caption = "Error";
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

// The picture lines of the list, read as far as the farthest one asked for:
// those before it are passed over whole, never parsed, and those after it
// are never read.
class PictureLines {
 public:
  PictureLines(LineCursor& cursor, const ListSections& sections)
      : cursor_(cursor), sections_(sections), firstLineNumber_(cursor.LineNumber() + 1) {}

  // The path and style of the picture at the index.
  PictureLine Read(uint16_t index, std::string& path) {
    while (lines_.size() <= index) {
      std::string_view line;
      if (!cursor_.Next(line)) {
        throw RunError{messages::ListTooShort};
      }
      lines_.push_back(line);
    }
    PictureLine picture;
    const PictureLineError lineError =
        ParsePictureLine(lines_[index], sections_.sizesPresent, sections_.folders.size(),
                         sections_.extensions.size(), picture);
    if (lineError != PictureLineError::None) {
      throw RunError{"Wrong picture line " + std::to_string(firstLineNumber_ + index) +
                     " in list file: " + std::string(PictureLineErrorText(lineError))};
    }
    path = PicturePath(sections_, picture);
    return picture;
  }

 private:
  LineCursor& cursor_;
  const ListSections& sections_;
  std::size_t firstLineNumber_;
  std::vector<std::string_view> lines_;
};

struct ChosenPicture {
  std::string path;
  uint8_t style = 0;
  std::string flags;  // the random file's flags to write
};

// Has the library choose the next picture and goes on past the pictures
// whose files are gone: each is left unmarked, as it has not been shown,
// and the library chooses again with it counted as shown, so that it
// passes over it. When the library chooses one of them again (a choice that
// does not go by the marks), or a few choices in a row were missing (a
// drive that is not connected), the pictures are taken in list order from
// there, those not shown yet first. "Image file not found" when no
// picture's file exists.
ChosenPicture ChooseExistingPicture(KelrunSystem& system, PictureLines& lines,
                                    const std::vector<uint8_t>& usedFlags, uint8_t randomType) {
  constexpr int MostChoices = 8;
  const auto count = static_cast<uint16_t>(usedFlags.size());
  std::vector<uint8_t> missing(count, 0);
  std::size_t missingCount = 0;
  std::vector<uint8_t> marks;
  int choices = 0;
  const auto ask = [&] {
    ++choices;
    marks = usedFlags;
    if (missingCount > 0) {
      // When only missing pictures are left to show, the round is over, and
      // a new one starts for the others as the library would start it.
      bool roundOver = true;
      for (uint16_t i = 0; i < count && roundOver; ++i) {
        roundOver = missing[i] != 0 || marks[i] != 0;
      }
      for (uint16_t i = 0; i < count; ++i) {
        marks[i] = missing[i] != 0 ? 1 : roundOver ? 0 : marks[i];
      }
    }
    return system.FindNextPicture(marks.data(), count - 1, count, randomType);
  };
  // In list order: the next picture after the given one, going round, that
  // is not known to be missing and, while there are such, not shown yet.
  std::size_t notShown = 0;
  const auto nextInListOrder = [&](uint16_t after) {
    for (uint16_t step = 1; step < count; ++step) {
      const auto index = static_cast<uint16_t>((after + step) % count);
      if (missing[index] == 0 && (notShown == 0 || marks[index] == 0)) {
        return index;
      }
    }
    return after;
  };

  bool inListOrder = false;
  const auto takeListOrder = [&] {
    inListOrder = true;
    for (uint16_t i = 0; i < count; ++i) {
      notShown += missing[i] == 0 && marks[i] == 0 ? 1 : 0;
    }
  };

  ChosenPicture chosen;
  uint16_t index = ask();
  for (;;) {
    if (!inListOrder && index < count && missing[index] != 0) {
      takeListOrder();
      index = nextInListOrder(index);
    }
    chosen.style = lines.Read(index, chosen.path).style;
    if (system.FileExists(chosen.path)) {
      break;
    }
    // A position past the counted pictures has no mark to go on from.
    if (index >= count) {
      throw RunError{messages::ImageNotFound};
    }
    if (inListOrder && marks[index] == 0) {
      --notShown;
    }
    missing[index] = 1;
    if (++missingCount == count) {
      throw RunError{messages::ImageNotFound};
    }
    if (!inListOrder && choices == MostChoices) {
      takeListOrder();
    }
    index = inListOrder ? nextInListOrder(index) : ask();
  }
  if (inListOrder) {
    marks[index] = 1;
  }
  chosen.flags.assign(count, '0');
  for (std::size_t i = 0; i < count; ++i) {
    chosen.flags[i] = marks[i] != 0 && missing[i] == 0 ? '1' : '0';
  }
  return chosen;
}

int Run(const std::vector<std::string>& arguments, Registry& registry, KelrunSystem& system) {
  const bool forced = IsForcedRun(arguments);
  // Nothing stored at all: kel has never run for this user.
  if (!ReadStored(registry, RegistryKeyNames.LastChangeTime) &&
      !ReadStored(registry, RegistryKeyNames.WallpaperList)) {
    throw RunError{messages::NotSetUp, PromptIcon::Information, "Seltane"};
  }
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
  const std::string_view randomText =
      OpenNonEmpty(system, randomPath, messages::RandomUnreadable, messages::RandomEmpty);
  LineCursor random(randomText);
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
  PictureLines lines(list, sections);
  const ChosenPicture chosen = ChooseExistingPicture(system, lines, usedFlags, randomType);

  std::string error;
  if (!system.ReplaceFile(randomPath, FormatRandomFile(chosen.flags, /*countLineWhenEmpty=*/true),
                          error)) {
    throw RunError{"File with random data cannot be written: " + error};
  }
  if (!system.SetWallpaper(chosen.path, chosen.style)) {
    // No picture was shown: the random file gets its marks back.
    system.ReplaceFile(randomPath, std::string(randomText), error);
    throw RunError{WallpaperNotSetText(chosen.path)};
  }
  WriteStored(registry, RegistryKeyNames.LastWallpaper, EncodeString(chosen.path));
  WriteStored(registry, RegistryKeyNames.LastChangeTime, EncodeDouble(system.Now()));
  return 0;
}

}  // namespace

std::string WallpaperNotSetText(const std::string& path) {
  return "Cannot set picture " + path + " as wallpaper";
}

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
    prompter.Ask(error.text, error.caption, PromptButtons::Ok, error.icon);
    return 1;
  } catch (const std::bad_alloc&) {
    prompter.Ask("There is not enough memory to change the wallpaper.", "Error", PromptButtons::Ok,
                 PromptIcon::None);
    return 1;
  }
}

}  // namespace seltane
