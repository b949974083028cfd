// kel's reading and writing of the list file and its random file.
#pragma once

#include "data/ListState.h"
#include "data/RegistryOptions.h"
#include "platform/Prompter.h"

namespace seltane {

inline constexpr const char* ListFileEmptyMessage = "Picture list file empty";
inline constexpr const char* ListFileWrongFormatMessage = "Invalid format of list file";
inline constexpr const char* FileOpenErrorCaption = "File open error";

inline constexpr const char* OutOfMemoryText = "There is not enough memory.";

enum class ListRead {
  Loaded,      // the pictures, or those before a bad picture line
  Empty,       // an empty or missing file, after a message
  NotAList,    // a file of something else, after a message
  Unreadable,  // an existing file that could not be read, after a message; nothing loaded
  // Loaded, but the random file exists and could not be read, after a
  // message: neither file may be written over.
  LoadedKeepFiles,
};

// Reads the list file named by ListPath and its random file into the state.
// A bad picture line stops the reading with a message naming the line; the
// pictures before it stay loaded and the list counts as loaded.
ListRead ReadListFile(ListState& state, Prompter& prompter);

// Writes the list file when ListChanged and the random file when
// RandomChanged, each replaced whole, and clears each flag once its file is
// written. A file that cannot be written keeps its flag set and is named in
// a message; the result is then false. After a failed list file the random
// file is not written either, so that the two on disk stay a pair.
bool WriteListFiles(ListState& state, const TOptions& options, Prompter& prompter);

}  // namespace seltane
