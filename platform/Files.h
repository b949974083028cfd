// Whole-file reading and writing over the A functions.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace seltane {

bool FileExists(const std::string& path);

// FileExists for many paths at once: each folder is listed once and its
// files' names compared without regard to case, instead of one look-up per
// path, which on some systems (Wine) reads the whole folder again for each
// missing file. Paths the listing cannot answer for certain are looked up
// one by one.
std::vector<bool> FilesExist(const std::vector<std::string>& paths);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The same, with the reason when nothing could be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

// The most ReadWholeFile reads: the data files are text of a few megabytes.
inline constexpr long long MaxWholeFileRead = 256LL << 20;

// Writes the text to a temporary file beside the target and moves it over the
// target, so that the target is either the old file or the new one, never a
// part. On failure the target is untouched and error says why.
bool WriteFileReplacing(const std::string& path, const std::string& text, std::string& error);

// The system's text for the calling thread's last error.
std::string LastErrorText();

}  // namespace seltane
