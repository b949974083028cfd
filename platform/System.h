// Small facts about the running system.
#pragma once

#include <string>
#include <string_view>

namespace seltane {

// The process's current directory (with a final backslash only at a drive's
// root).
std::string CurrentDirectory();

// The local date and time as a day count (see data/DateTime.h).
double LocalDateTimeNow();

// True on Windows 95, 98 and Me (the top bit of GetVersion's result).
bool IsWin9xFamily();

// Orders two texts by the user's locale, ignoring letter case.
int CompareTextByLocale(std::string_view a, std::string_view b);

}  // namespace seltane
