#include "data/TimedChange.h"

namespace seltane {

namespace {

// The largest repetition the scheduler takes for a time trigger is 31 days,
// and a daily schedule repeats at most every 365 days.
constexpr unsigned kMaxMinutes = 31u * 24u * 60u;
constexpr unsigned kMaxHours = 31u * 24u;
constexpr unsigned kMaxDays = 365u;

std::string XmlEscaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

unsigned LongestInterval(uint8_t unit) {
  switch (static_cast<IntervalUnit>(unit)) {
    case IntervalUnit::Minutes:
      return kMaxMinutes;
    case IntervalUnit::Hours:
      return kMaxHours;
    case IntervalUnit::Days:
      return kMaxDays;
  }
  return 0;
}

bool TimedChangeWanted(uint16_t interval, uint8_t unit) {
  return interval != 0 && interval <= LongestInterval(unit);
}

std::string TimedChangeTaskXml(const std::string& kelrunPath, uint16_t interval, uint8_t unit,
                               const std::string& startBoundary) {
  if (!TimedChangeWanted(interval, unit))
    return {};
  const std::string count = std::to_string(interval);
  const std::string start = "<StartBoundary>" + XmlEscaped(startBoundary) + "</StartBoundary>";
  std::string trigger;
  if (static_cast<IntervalUnit>(unit) == IntervalUnit::Days) {
    trigger = "<CalendarTrigger>" + start + "<Enabled>true</Enabled><ScheduleByDay><DaysInterval>" +
              count + "</DaysInterval></ScheduleByDay></CalendarTrigger>";
  } else {
    const char* letter = static_cast<IntervalUnit>(unit) == IntervalUnit::Minutes ? "M" : "H";
    // No duration: the repetition goes on for as long as the trigger lives.
    trigger = "<TimeTrigger><Repetition><Interval>PT" + count + letter +
              "</Interval><StopAtDurationEnd>false</StopAtDurationEnd></Repetition>" + start +
              "<Enabled>true</Enabled></TimeTrigger>";
  }
  std::string xml =
      "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
      "<RegistrationInfo><Description>Changes the desktop wallpaper</Description>"
      "</RegistrationInfo>\r\n"
      "<Triggers>" +
      trigger +
      "</Triggers>\r\n"
      "<Principals><Principal id=\"Author\"><LogonType>InteractiveToken</LogonType>"
      "<RunLevel>LeastPrivilege</RunLevel></Principal></Principals>\r\n"
      "<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
      "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
      "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
      "<StartWhenAvailable>false</StartWhenAvailable>"
      "<ExecutionTimeLimit>PT10M</ExecutionTimeLimit><Enabled>true</Enabled></Settings>\r\n"
      "<Actions Context=\"Author\"><Exec><Command>\"" +
      XmlEscaped(kelrunPath) + "\"</Command><Arguments>" + kChangeNowArgument +
      "</Arguments><WorkingDirectory>" + XmlEscaped(FolderOf(kelrunPath)) +
      "</WorkingDirectory></Exec></Actions>\r\n"
      "</Task>\r\n";
  return xml;
}

bool HotkeyUsable(uint16_t hotkey) {
  const unsigned key = hotkey & 0xFFu;
  const unsigned modifiers = hotkey >> 8;
  if (key == 0)
    return false;
  const bool functionKey = key >= 0x70 && key <= 0x87;  // F1 to F24
  return functionKey || (modifiers & 0x06u) != 0;       // Ctrl or Alt
}

}  // namespace seltane
