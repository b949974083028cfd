// One run of kelrun: decides whether a wallpaper change is due and, if so,
// has the next picture of the current list chosen, rewrites the random file,
// sets the picture as wallpaper and records the change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompter.h"
#include "platform/Registry.h"

namespace seltane {

// What a run needs from the system besides the registry and message boxes.
class KelrunSystem {
 public:
  virtual ~KelrunSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;
  // The file's text, valid until the run ends; nothing when it cannot be
  // opened. Text that the run does not look at need not be read.
  virtual std::optional<std::string_view> OpenText(const std::string& path) = 0;
  virtual bool ReplaceFile(const std::string& path, const std::string& text,
                           std::string& error) = 0;
  // The local date and time as a day count (see data/DateTime.h).
  virtual double Now() = 0;
  virtual uint16_t FindNextPicture(uint8_t* usedMarks, int32_t highIndex, uint16_t count,
                                   uint8_t mode) = 0;
  // False when the library tells that the picture did not become the
  // wallpaper.
  virtual bool SetWallpaper(const std::string& path, uint8_t style) = 0;
};

// True when any argument, argument 0 included, is "/forcetime" or
// "-forcetime" in any letter case.
bool IsForcedRun(const std::vector<std::string>& arguments);

// A change is due when more than changeDays days have passed since the last
// change.
bool ChangeIsDue(double now, double lastChangeTime, uint16_t changeDays);

// The messages of a run, each shown in a box captioned "Error" but the last.
namespace kelrun_messages {
inline constexpr const char* ListNotFound = "File with images list not found";
inline constexpr const char* RandomNotFound = "File with random data not found";
inline constexpr const char* RandomEmpty = "File with random data is empty";
inline constexpr const char* RandomWrongFormat = "Wrong format of file with random data";
inline constexpr const char* ListEmpty = "List file is empty";
inline constexpr const char* ListWrongFormat = "Wrong format of list file";
inline constexpr const char* ImageNotFound = "Image file not found";
inline constexpr const char* ListUnreadable = "File with images list cannot be read";
inline constexpr const char* RandomUnreadable = "File with random data cannot be read";
inline constexpr const char* ListEndsEarly = "List file ends before its pictures";
inline constexpr const char* RandomCountsNone =
    "File with random data counts no pictures, but the list file has them";
inline constexpr const char* ListTooShort =
    "List file has fewer pictures than the file with random data counts";
// Shown captioned "Seltane" when nothing is stored yet.
inline constexpr const char* NotSetUp =
    "Seltane has not been set up yet. Start Seltane from the Start menu once, add your "
    "pictures and close it; from then on \"Next wallpaper\" changes the wallpaper.";
}  // namespace kelrun_messages
// The message when the library could not make the picture the wallpaper,
// in kelrun and in kel's "Set as wallpaper" alike.
std::string WallpaperNotSetText(const std::string& path);

// Runs every step and returns the exit code: 0 after a change, when no
// change is due and when the list has no "[Folders]" line; 1 after an error,
// which has then been shown. Nothing is written to the registry after an
// error.
int RunKelrun(const std::vector<std::string>& arguments, Registry& registry, Prompter& prompter,
              KelrunSystem& system);

}  // namespace seltane
