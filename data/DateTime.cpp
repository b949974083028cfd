#include "data/DateTime.h"

namespace seltane {
namespace {

// Days from 1 January 1970 to the given date of the proleptic Gregorian
// calendar.
long DaysFromCivil(long year, long month, long day) {
  year -= month <= 2 ? 1 : 0;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const long yearOfEra = year - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

double DateTimeFromParts(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
  const long days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
  const double fraction =
      (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
  return static_cast<double>(days) + fraction;
}

}  // namespace seltane
