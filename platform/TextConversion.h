// Conversion between the system's 8-bit code page and UTF-16, only at the
// calls that need UTF-16.
#pragma once

#include <string>

namespace seltane {

std::wstring WidenFromAnsi(const std::string& text);
std::string NarrowToAnsi(const std::wstring& text);

// Makes the path helpers step over the two-byte characters of the system's
// ANSI code page (Shift-JIS, GBK, Big5, ...). Called once at a program's
// start.
void UseAnsiCodePageInPaths();

}  // namespace seltane
