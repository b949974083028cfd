// Whole-file reading and writing over the A functions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/PathText.h"

namespace seltane {

bool FileExists(const std::string& path);

// What looking up each path finds: each folder is listed once and its
// files' names compared without regard to case, instead of one look-up per
// path, which on some systems (Wine) reads the whole folder again for each
// missing file. Paths the listing cannot answer for certain are looked up
// one by one. A file is missing only when its folder, or the nearest folder
// above it that is there, can be read and says so; on a drive or share that
// cannot be reached it is unreachable, and so is a file whose folder refuses
// to be read.
std::vector<FileState> FileStates(const std::vector<std::string>& paths);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// The same, with why it could not be read in error.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

// The most ReadWholeFile reads: the data files are text of a few megabytes.
inline constexpr long long MaxWholeFileRead = 256LL << 20;

// Writes the text to a temporary file beside the target and moves it over the
// target, so that the target is either the old file or the new one, never a
// part. On failure the target is untouched and error says why.
bool WriteFileReplacing(const std::string& path, const std::string& text, std::string& error);

// Moves a file that the program could not use out of the way of the one it
// writes in its place: to "name (not read).ext" beside it, or "name (not
// read 2).ext" and so on when that exists, never over another file. The new
// path, or nothing with error saying why the file stays where it is.
std::optional<std::string> KeepFileAside(const std::string& path, std::string& error);

// The system's text for the calling thread's last error.
std::string LastErrorText();

}  // namespace seltane
