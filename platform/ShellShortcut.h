// The hotkey of the "Next wallpaper" Start-menu shortcut. The shell runs a
// Start-menu shortcut's hotkey from anywhere, so nothing has to stay resident.
#pragma once

#include <cstdint>
#include <string>

namespace seltane {

// Sets the hotkey (0 clears it) of "Next wallpaper.lnk" in the Seltane
// folder of the user's or all users' Programs folder, whichever holds it;
// when neither does, creates it in the user's one, running kelrun.exe in
// programFolder with the change-now argument. Empty on success, else what failed.
std::string SetNextWallpaperHotkey(const std::string& programFolder, uint16_t hotkey);
// The hotkey of the shortcut at `path`, or nothing readable as 0.
uint16_t ShortcutHotkey(const std::string& path);
// Where the shortcut is, or would be made: the existing one first.
std::string NextWallpaperShortcutPath();

}  // namespace seltane
