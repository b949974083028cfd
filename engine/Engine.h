// kel's binding of common.dll and main.dll: each call loads the library by
// its file name, looks the entry up, makes the one call and unloads it. A
// missing library or entry is told to the user instead of crashing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace seltane {

inline constexpr const char* CommonLibrary = "common.dll";
inline constexpr const char* MainLibrary = "main.dll";

// The library file names; tests point them elsewhere.
struct EngineLibraries {
  std::string common = CommonLibrary;
  std::string main = MainLibrary;
};

class Engine {
 public:
  Engine(Prompter& prompter, EngineLibraries libraries = {})
      : prompter_(prompter), libraries_(std::move(libraries)) {}

  // True when the picture became the wallpaper. False, after a message,
  // when the library or the entry is missing or the library tells that the
  // change failed. A library without WallpaperWasSet cannot tell: its call
  // counts as done.
  bool SetWallpaper(const std::string& path, uint8_t style);
  // The chosen position (below the number of marks), or nothing when the
  // library is missing (after a message) or answers past the list. The marks
  // are changed as the library leaves them.
  std::optional<uint16_t> FindNextPicture(std::vector<uint8_t>& usedMarks, uint8_t mode);
  // The chosen folder; empty when none was chosen or the library is missing.
  std::string OpenDirectory(const std::string& prompt);
  // May replace lastWallpaper. False after a message.
  bool ActiveDesktopOnOff(bool on, std::string& lastWallpaper);

 private:
  Prompter& prompter_;
  EngineLibraries libraries_;
};

// The messages for a library or entry that cannot be found.
std::string LibraryMissingText(const std::string& library);
std::string EntryMissingText(const std::string& library, const std::string& entry);
}  // namespace seltane
