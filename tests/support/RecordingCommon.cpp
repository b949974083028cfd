// A stand-in for common.dll and main.dll in tests: records every call, one
// line each, in the file named by SELTANE_TEST_RECORD; chooses the position
// given in SELTANE_TEST_NEXT (0 when unset), marking it as the real library
// does; "picks" the folder given in SELTANE_TEST_FOLDER (none when unset);
// and tells that setting the wallpaper failed while SELTANE_TEST_SET_FAILS
// is set.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Read from the process's environment block, which tests in the same process
// change with SetEnvironmentVariable (the C runtime keeps its own copy).
std::string Environment(const char* name) {
  char value[4096] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void Record(const std::string& line) {
  const std::string file = Environment("SELTANE_TEST_RECORD");
  if (file.empty()) {
    return;
  }
  if (FILE* out = std::fopen(file.c_str(), "ab")) {
    std::fputs((line + "\n").c_str(), out);
    std::fclose(out);
  }
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall SetWallpaper(const wchar_t* path, uint8_t style) {
  char narrow[4096] = {};
  WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
  Record("SetWallpaper " + std::to_string(style) + " " + narrow);
}

extern "C" __declspec(dllexport) uint8_t __stdcall WallpaperWasSet() {
  return Environment("SELTANE_TEST_SET_FAILS").empty() ? 1 : 0;
}

extern "C" __declspec(dllexport) uint16_t
    __stdcall FindNextPicture(uint8_t* usedMarks, int32_t highIndex, uint16_t count, uint8_t mode) {
  std::string marks;
  for (int32_t i = 0; i <= highIndex && i < 64; ++i) {
    marks += usedMarks[i] != 0 ? '1' : '0';
  }
  Record("FindNextPicture " + std::to_string(highIndex) + " " + std::to_string(count) + " " +
         std::to_string(mode) + " " + marks);
  const auto chosen = static_cast<uint16_t>(std::atoi(Environment("SELTANE_TEST_NEXT").c_str()));
  if (chosen < count) {
    usedMarks[chosen] = 1;
  }
  return chosen;
}

extern "C" __declspec(dllexport) void __stdcall OpenDirectory(const char* prompt, char* folder,
                                                              uint32_t folderSize) {
  Record(std::string("OpenDirectory ") + prompt);
  const std::string chosen = Environment("SELTANE_TEST_FOLDER");
  folder[0] = '\0';
  if (chosen.size() < folderSize) {
    std::memcpy(folder, chosen.c_str(), chosen.size() + 1);
  }
}
