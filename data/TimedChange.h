// The timed change: Windows' task scheduler starts kelrun every few minutes,
// hours or days while the user is logged on, so no program of ours has to
// stay resident. Here is what decides whether that task must exist and the
// task's definition; registering it is the platform's business.
#pragma once

#include <cstdint>
#include <string>

namespace seltane {

enum class IntervalUnit : uint8_t { Minutes = 0, Hours = 1, Days = 2 };

// The name the task is registered under in the scheduler's root folder.
inline constexpr const char* kTimedChangeTaskName = "Seltane timed change";

// The argument that makes kelrun change at once: the scheduler's trigger has
// already decided that a change is due, and the rotation (RandomType, the
// used flags of the random file) applies exactly as in a log-on run.
inline constexpr const char* kChangeNowArgument = "/forcetime";

// True when a task must exist for this interval and unit: an interval of 0
// switches the timed change off, and so does a unit or an interval the
// scheduler cannot repeat (beyond 31 days of minutes or hours, or beyond 365
// days).
bool TimedChangeWanted(uint16_t interval, uint8_t unit);
// The longest interval the scheduler repeats in this unit; 0 for a unit that
// is none of IntervalUnit's.
unsigned LongestInterval(uint8_t unit);

// The Task Scheduler 2.0 definition (XML, without an encoding declaration:
// the caller hands it over as UTF-16) of a task that runs the quoted kelrun
// path with kChangeNowArgument every interval from startBoundary (local time,
// "YYYY-MM-DDThh:mm:ss") on, only while the user is logged on, one run at a
// time. kelrunPath is 8-bit text; the characters XML reserves are escaped.
// Empty when TimedChangeWanted is false.
std::string TimedChangeTaskXml(const std::string& kelrunPath, uint16_t interval, uint8_t unit,
                               const std::string& startBoundary);

// A hotkey as the hotkey control and a shell link hold it: the virtual key in
// the low byte, the modifier flags (1 shift, 2 control, 4 alt, 8 extended) in
// the high byte. Usable for the whole desktop when it has a key and Ctrl or
// Alt, or is a function key: a plain letter would be taken from every program.
bool HotkeyUsable(uint16_t hotkey);

}  // namespace seltane
