// The options dialog's values on plain data: the day field's text, read
// back as a number of days, and the picture choice an option selects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/TimedChange.h"

namespace seltane {

// The day field holds up to three digits: every number of days the options
// can hold (0 to 255) is shown whole.
inline constexpr int DayFieldLength = 3;
// The arrows beside the field step through 0 to 100 days.
inline constexpr int DayArrowsMaximum = 100;

// The number of days in the field's text: a decimal number from 0 to 255,
// with nothing else around it. Nothing for any other text.
std::optional<uint8_t> ParseChangeDays(std::string_view text);

// The interval field of the timed change holds up to five digits: 0 (off)
// to 65535, in the unit chosen beside it.
inline constexpr int IntervalFieldLength = 5;
std::optional<uint16_t> ParseInterval(std::string_view text);
// The unit box's items, in IntervalUnit's order.
inline constexpr int IntervalUnitCount = 3;
const char* IntervalUnitName(int unit);
// The message for an interval longer than the scheduler repeats.
std::string IntervalTooLongText(uint8_t unit);
// The message for a hotkey that HotkeyUsable refuses.
inline constexpr const char* HotkeyNotUsableMessage =
    "The \"Next wallpaper\" hotkey needs Ctrl or Alt, or a function key: a key alone "
    "would be taken from every program.";

// The message for a field that holds no such number.
std::string NotValidIntegerText(std::string_view text);

// The item of the picture choice ("Nonrepeat random", "Random",
// "Sequence") that shows a RandomType: a value no item stands for shows
// the first, so that OK stores a value kelrun knows.
inline constexpr int RandomTypeCount = 3;
int RandomTypeItem(uint8_t randomType);

}  // namespace seltane
