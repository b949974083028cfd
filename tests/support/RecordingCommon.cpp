// A stand-in for common.dll in tests: records every call, one line each, in
// the file named by SELTANE_TEST_RECORD, and chooses the position given in
// SELTANE_TEST_NEXT (0 when unset), marking it as the real library does.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Record(const std::string& line) {
  const char* file = std::getenv("SELTANE_TEST_RECORD");
  if (file == nullptr) {
    return;
  }
  if (FILE* out = std::fopen(file, "ab")) {
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

extern "C" __declspec(dllexport) uint16_t
    __stdcall FindNextPicture(uint8_t* usedMarks, int32_t highIndex, uint16_t count, uint8_t mode) {
  std::string marks;
  for (int32_t i = 0; i <= highIndex && i < 64; ++i) {
    marks += usedMarks[i] != 0 ? '1' : '0';
  }
  Record("FindNextPicture " + std::to_string(highIndex) + " " + std::to_string(count) + " " +
         std::to_string(mode) + " " + marks);
  const char* next = std::getenv("SELTANE_TEST_NEXT");
  const auto chosen = static_cast<uint16_t>(next != nullptr ? std::atoi(next) : 0);
  if (chosen < count) {
    usedMarks[chosen] = 1;
  }
  return chosen;
}
