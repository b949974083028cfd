// The exports of common.dll: undecorated, __stdcall, and never letting an
// exception out.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <random>

#include "libs/common/PictureChoice.h"
#include "libs/common/Wallpaper.h"

namespace {

// Seeded once per load from the clocks and the process id, so that two runs
// a second apart choose differently.
std::mt19937& Random() {
  static std::mt19937 random = [] {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::seed_seq seed{
        static_cast<uint32_t>(counter.LowPart),       static_cast<uint32_t>(counter.HighPart),
        static_cast<uint32_t>(now.dwLowDateTime),     static_cast<uint32_t>(now.dwHighDateTime),
        static_cast<uint32_t>(GetCurrentProcessId()), static_cast<uint32_t>(GetTickCount())};
    return std::mt19937(seed);
  }();
  return random;
}

// Whether the last SetWallpaper call of this process made the change.
std::atomic<bool> lastWallpaperSet{false};

}  // namespace

extern "C" __declspec(dllexport) void __stdcall SetWallpaper(const wchar_t* path, uint8_t style) {
  lastWallpaperSet = false;
  try {
    lastWallpaperSet = path != nullptr && seltane::ApplyWallpaper(path, style);
  } catch (...) {
    // Nothing may cross the library's boundary; the wallpaper stays as it was.
  }
}

// SetWallpaper returns nothing, and its callers rely on that; this tells
// them afterwards whether the picture became the wallpaper: 1 when the last
// call did, 0 when it failed (the wallpaper then stays as it was) or no call
// was made since the library was loaded.
extern "C" __declspec(dllexport) uint8_t __stdcall WallpaperWasSet() {
  return lastWallpaperSet ? 1 : 0;
}

extern "C" __declspec(dllexport) uint16_t
    __stdcall FindNextPicture(uint8_t* usedMarks, int32_t highIndex, uint16_t count, uint8_t mode) {
  // The marks array holds highIndex + 1 bytes: never look past it.
  if (usedMarks == nullptr || highIndex < 0) {
    return 0;
  }
  const auto usable = static_cast<uint16_t>(std::min<int32_t>(count, highIndex + 1));
  try {
    return seltane::ChooseNextPicture(usedMarks, usable, mode, Random());
  } catch (...) {
    return 0;
  }
}
