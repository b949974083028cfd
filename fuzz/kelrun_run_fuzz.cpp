// Runs kelrun over arbitrary list and random files and checks the run's
// outcome: exit code 1 exactly when one error box was shown, the random
// file rewritten with exactly as many flags as it counts, and a wallpaper
// set only from a picture that exists, after the library chose.
//
// Input: one byte for where the list's text ends, one for the library's
// choice, then the list file followed by the random file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "data/ListFormat.h"
#include "data/RegistryOptions.h"
#include "startup/KelrunRun.h"
#include "tests/support/FakeRegistry.h"

using namespace seltane;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

constexpr const char* ListPath = "C:\\fuzz.lst";
constexpr const char* RandomPath = "C:\\fuzz.rnd";

class CountingPrompter : public Prompter {
 public:
  PromptAnswer Ask(const std::string&, const std::string&, PromptButtons, PromptIcon) override {
    ++shown;
    return PromptAnswer::Ok;
  }
  int shown = 0;
};

class FuzzSystem : public KelrunSystem {
 public:
  // Pictures exist when their path has an even length, so both outcomes come.
  bool FileExists(const std::string& path) override {
    return files.count(path) != 0 || path.size() % 2 == 0;
  }
  std::optional<std::string_view> OpenText(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) {
      return std::nullopt;
    }
    return std::string_view(found->second);
  }
  bool ReplaceFile(const std::string& path, const std::string& text, std::string&) override {
    Check(path == RandomPath);
    rewritten = text;
    return true;
  }
  double Now() override { return 46000.0; }
  uint16_t FindNextPicture(uint8_t* marks, int32_t highIndex, uint16_t count, uint8_t) override {
    Check(count >= 1 && highIndex == count - 1);
    for (uint16_t i = 0; i < count; ++i) {
      Check(marks[i] <= 1);
    }
    flags = count;
    return choice;  // the library's choice, even one past the list's end
  }
  bool SetWallpaper(const std::string& path, uint8_t style) override {
    Check(style < WallpaperStyleCount && FileExists(path));
    wallpaper = path;
    return true;
  }

  std::map<std::string, std::string> files;
  uint16_t choice = 0;
  std::optional<uint16_t> flags;
  std::optional<std::string> rewritten;
  std::optional<std::string> wallpaper;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  const std::string_view texts(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t cut = data[0] % (texts.size() + 1);
  FuzzSystem system;
  system.files[ListPath] = std::string(texts.substr(0, cut));
  system.files[RandomPath] = std::string(texts.substr(cut));
  system.choice = data[1];

  testing::FakeRegistry registry;
  const std::string key = RegistryKeyNames.Key;
  registry.Set(RegistryRoot::CurrentUser, key, "LastChangeTime", EncodeDouble(0.0));
  registry.Set(RegistryRoot::CurrentUser, key, "ChangeDays", EncodeDWord(1));
  registry.Set(RegistryRoot::CurrentUser, key, "RandomType", EncodeDWord(0));
  registry.Set(RegistryRoot::CurrentUser, key, "WallpaperList", EncodeString(ListPath));
  CountingPrompter prompter;

  const int exitCode = RunKelrun({"kelrun.exe"}, registry, prompter, system);
  Check(exitCode == 0 || exitCode == 1);
  Check(prompter.shown == (exitCode == 1 ? 1 : 0));
  if (system.rewritten) {
    Check(system.flags.has_value());
    const std::string flags = system.rewritten->substr(system.rewritten->rfind('\n') + 1);
    Check(*system.rewritten == FormatRandomFile(flags, true) && flags.size() == *system.flags);
  }
  if (system.wallpaper) {
    Check(exitCode == 0 && system.flags.has_value());
  }
  return 0;
}
