#include "platform/System.h"

#include <windows.h>

#include <vector>

#include "data/DateTime.h"

namespace seltane {

std::string CurrentDirectory() {
  std::string directory(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), directory.data());
    if (length == 0) {
      return {};
    }
    if (length < directory.size()) {
      directory.resize(length);
      break;
    }
    directory.resize(length);
  }
  return directory;
}

std::optional<std::string> FileVersion(const std::string& path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) {
    return std::nullopt;
  }
  std::vector<char> resource(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoA(path.c_str(), 0, size, resource.data()) ||
      !VerQueryValueA(resource.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
      fixed == nullptr || length < sizeof *fixed) {
    return std::nullopt;
  }
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionLS));
}

std::string ProgramFile() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

double LocalDateTimeNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DateTimeFromParts(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                           now.wMilliseconds);
}

bool IsWin9xFamily() {
  return (GetVersion() & 0x80000000u) != 0;
}

int CompareTextByLocale(std::string_view a, std::string_view b) {
  const int result =
      CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                     b.data(), static_cast<int>(b.size()));
  return result == 0 ? 0 : result - CSTR_EQUAL;
}

}  // namespace seltane
