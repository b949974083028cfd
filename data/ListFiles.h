// kel's reading and writing of the list file and its random file.
#pragma once

#include "data/ListState.h"
#include "data/RegistryOptions.h"
#include "platform/Prompter.h"

namespace seltane {

inline constexpr const char* ListFileEmptyMessage = "Picture list file empty";
inline constexpr const char* ListFileWrongFormatMessage = "Invalid format of list file";
inline constexpr const char* FileOpenErrorCaption = "File open error";

// Reads the list file named by ListPath and its random file into the state.
// False, after a message, when the list file is empty, unreadable or not a
// list file. A bad picture line stops the reading with a message naming the
// line; the pictures before it stay loaded and the result is true.
bool ReadListFile(ListState& state, Prompter& prompter);

// Writes the list file when ListChanged and the random file when
// RandomChanged, each replaced whole, and clears each flag once its file is
// written. A file that cannot be written keeps its flag set and is named in
// a message; the result is then false.
bool WriteListFiles(ListState& state, const TOptions& options, Prompter& prompter);

}  // namespace seltane
