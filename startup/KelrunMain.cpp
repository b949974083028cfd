// kelrun's entry point: a GUI-subsystem program without a window, started
// by Windows at log-on. It links common.dll through its import library.
#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/MappedFile.h"
#include "platform/System.h"
#include "platform/TextConversion.h"
#include "platform/Win32Prompter.h"
#include "platform/Win32Registry.h"
#include "startup/KelrunRun.h"

extern "C" {
__declspec(dllimport) void __stdcall SetWallpaper(const wchar_t* path, uint8_t style);
__declspec(dllimport) uint16_t
    __stdcall FindNextPicture(uint8_t* usedMarks, int32_t highIndex, uint16_t count, uint8_t mode);
}

namespace {

using namespace seltane;

class Win32KelrunSystem : public KelrunSystem {
 public:
  bool FileExists(const std::string& path) override { return seltane::FileExists(path); }
  // Large files are mapped, so that the lines after the chosen picture are
  // never read from disk. Small ones are copied: the random file is replaced
  // during the run, which Windows refuses while it is mapped.
  std::optional<std::string_view> OpenText(const std::string& path) override {
    constexpr std::size_t MapFrom = 1 << 20;
    files_.emplace_back();
    if (!files_.back().Open(path)) {
      return std::nullopt;
    }
    if (files_.back().Text().size() >= MapFrom) {
      return files_.back().Text();
    }
    copies_.emplace_back(files_.back().Text());
    files_.pop_back();
    return copies_.back();
  }
  bool ReplaceFile(const std::string& path, const std::string& text, std::string& error) override {
    return WriteFileReplacing(path, text, error);
  }
  double Now() override { return LocalDateTimeNow(); }
  uint16_t FindNextPicture(uint8_t* usedMarks, int32_t highIndex, uint16_t count,
                           uint8_t mode) override {
    return ::FindNextPicture(usedMarks, highIndex, count, mode);
  }
  bool SetWallpaper(const std::string& path, uint8_t style) override {
    const std::wstring wide = WidenFromAnsi(path);
    ::SetWallpaper(wide.c_str(), style);
    // Looked up rather than linked, so that kelrun still starts with a
    // library that lacks it; such a library cannot tell, and its call counts
    // as done.
    using WallpaperWasSetEntry = uint8_t(__stdcall*)();
    const auto wasSet = reinterpret_cast<WallpaperWasSetEntry>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("common.dll"), "WallpaperWasSet")));
    return wasSet == nullptr || wasSet() != 0;
  }

 private:
  // Lists, so that what they hold never moves.
  std::list<MappedFile> files_;
  std::list<std::string> copies_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  UseAnsiCodePageInPaths();
  Win32Registry registry;
  Win32Prompter prompter;
  Win32KelrunSystem system;
  const std::vector<std::string> arguments(__argv, __argv + __argc);
  return RunKelrun(arguments, registry, prompter, system);
}
