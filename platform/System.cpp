#include "platform/System.h"

#include <windows.h>

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
