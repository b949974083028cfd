// Date-time values as the options store keeps them: days since
// 30 December 1899 00:00 local time, the fraction being the time of day.
#pragma once

namespace seltane {

double DateTimeFromParts(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);

}  // namespace seltane
