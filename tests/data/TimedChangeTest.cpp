#include "data/TimedChange.h"

#include <gtest/gtest.h>

namespace seltane {
namespace {

const std::string kStart = "2026-12-10T14:00:00";

TEST(TimedChange, TaskExistsOnlyForIntervalsTheSchedulerRepeats) {
  struct Case {
    uint16_t interval;
    uint8_t unit;
    bool wanted;
  };
  const Case cases[] = {{0, 0, false},  {1, 0, true},    {44640, 0, true}, {44641, 0, false},
                        {0, 1, false},  {744, 1, true},  {745, 1, false},  {1, 2, true},
                        {365, 2, true}, {366, 2, false}, {5, 3, false},    {5, 255, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(TimedChangeWanted(c.interval, c.unit), c.wanted)
        << c.interval << " unit " << int(c.unit);
    EXPECT_EQ(TimedChangeTaskXml("C:\\k\\kelrun.exe", c.interval, c.unit, kStart).empty(),
              !c.wanted);
  }
}

TEST(TimedChange, TaskRunsQuotedKelrunToChangeNowAtTheInterval) {
  struct Case {
    uint16_t interval;
    uint8_t unit;
    const char* trigger;
  };
  const Case cases[] = {{15, 0, "<Repetition><Interval>PT15M</Interval>"},
                        {3, 1, "<Repetition><Interval>PT3H</Interval>"},
                        {2, 2, "<ScheduleByDay><DaysInterval>2</DaysInterval></ScheduleByDay>"}};
  for (const Case& c : cases) {
    const std::string xml =
        TimedChangeTaskXml("C:\\Program Files\\A&B\\kelrun.exe", c.interval, c.unit, kStart);
    EXPECT_NE(xml.find(c.trigger), std::string::npos) << xml;
    EXPECT_NE(xml.find("<StartBoundary>" + kStart + "</StartBoundary>"), std::string::npos);
    EXPECT_NE(xml.find("<Command>\"C:\\Program Files\\A&amp;B\\kelrun.exe\"</Command>"
                       "<Arguments>/forcetime</Arguments>"
                       "<WorkingDirectory>C:\\Program Files\\A&amp;B</WorkingDirectory>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<LogonType>InteractiveToken</LogonType>"), std::string::npos);
  }
}

TEST(TimedChange, HotkeyNeedsCtrlOrAltUnlessAFunctionKey) {
  const std::pair<uint16_t, bool> cases[] = {{0x0000, false}, {0x0200, false}, {0x004E, false},
                                             {0x014E, false}, {0x024E, true},  {0x044E, true},
                                             {0x0370, true},  {0x0071, true},  {0x0087, true}};
  for (const auto& [hotkey, usable] : cases) {
    EXPECT_EQ(HotkeyUsable(hotkey), usable) << std::hex << hotkey;
  }
}

}  // namespace
}  // namespace seltane
