// Small facts about the running system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace seltane {

// The process's current directory (with a final backslash only at a drive's
// root).
std::string CurrentDirectory();

// The local date and time as a day count (see data/DateTime.h).
double LocalDateTimeNow();

// The file version in the file's version resource, as four numbers joined
// by "." (1.0.3.0); none when the file has no version resource.
std::optional<std::string> FileVersion(const std::string& path);

// The path of the running program's file.
std::string ProgramFile();

// True on Windows 95, 98 and Me (the top bit of GetVersion's result).
bool IsWin9xFamily();

// Orders two texts by the user's locale, ignoring letter case.
int CompareTextByLocale(std::string_view a, std::string_view b);

}  // namespace seltane
