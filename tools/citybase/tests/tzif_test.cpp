#include <algorithm>
#include <random>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "tools/citybase/posix_tz.h"
#include "tools/citybase/tzif.h"

namespace kelvara::citybase {
namespace {

int64_t Utc(int year, int month, int day, int hour, int minute = 0) {
  return UnixSecondsOfDate(year, month, day) + hour * 3600 + minute * 60;
}

TEST(PosixTz, NorthernRuleGivesTheSecondSundayOfMarchAndFirstOfNovember) {
  const auto rule = ParsePosixTz("EST5EDT,M3.2.0,M11.1.0");
  ASSERT_TRUE(rule);
  EXPECT_EQ(rule->standardOffsetSeconds, -5 * 3600);
  EXPECT_EQ(rule->dstOffsetSeconds, -4 * 3600);
  const auto [start, end] = SummerChangesUtc(*rule, 2100);
  EXPECT_EQ(start, Utc(2100, 3, 14, 7));  // 02:00 EST
  EXPECT_EQ(end, Utc(2100, 11, 7, 6));    // 02:00 EDT
}

TEST(PosixTz, HalfHourSummerTimeAndNegativeSummerTimeAreRead) {
  const auto lordHowe = ParsePosixTz("<+1030>-10:30<+11>-11,M10.1.0,M4.1.0");
  ASSERT_TRUE(lordHowe);
  EXPECT_EQ(lordHowe->standardOffsetSeconds, 10 * 3600 + 1800);
  EXPECT_EQ(lordHowe->dstOffsetSeconds, 11 * 3600);
  EXPECT_EQ(SummerChangesUtc(*lordHowe, 2050).first, Utc(2050, 10, 2, 2) - (10 * 3600 + 1800));

  const auto dublin = ParsePosixTz("IST-1GMT0,M10.5.0,M3.5.0/1");
  ASSERT_TRUE(dublin);
  EXPECT_EQ(dublin->standardOffsetSeconds, 3600);
  EXPECT_EQ(dublin->dstOffsetSeconds, 0);
  EXPECT_EQ(SummerChangesUtc(*dublin, 2030).second, Utc(2030, 3, 31, 1));
}

TEST(PosixTz, JulianDayFormsAndTimesBeyondMidnight) {
  const auto rule = ParsePosixTz("XXX3YYY,J60/25,59/-1");
  ASSERT_TRUE(rule);
  // J60 is 1 March even in a leap year; day 59 (zero-based) is 29 February then.
  EXPECT_EQ(SummerChangesUtc(*rule, 2024).first, Utc(2024, 3, 2, 1) + 3 * 3600);
  EXPECT_EQ(SummerChangesUtc(*rule, 2024).second, Utc(2024, 2, 28, 23) + 2 * 3600);
}

TEST(PosixTz, RulesWithoutSummerTimeOrBrokenRulesAreTold) {
  const auto fixed = ParsePosixTz("<+0545>-5:45");
  ASSERT_TRUE(fixed);
  EXPECT_FALSE(fixed->hasDst);
  EXPECT_EQ(fixed->standardOffsetSeconds, 5 * 3600 + 45 * 60);
  for (const char* broken : {"", "E", "EST", "EST5EDT", "EST5EDT,M13.1.0,M11.1.0",
                             "EST5EDT,M3.2.0", "<+05", "EST5EDT,M3.2.0,M11.1.0junk"}) {
    EXPECT_FALSE(ParsePosixTz(broken)) << broken;
  }
}

TEST(Tzif, TheSystemZoneOfMoscowHasItsKnownChanges) {
  const TzifZone zone = ReadTzif("/usr/share/zoneinfo/Europe/Moscow");
  EXPECT_EQ(zone.footer, "MSK-3");
  ASSERT_FALSE(zone.transitions.empty());
  EXPECT_EQ(zone.types[0].abbreviation, "LMT");
  // 26 October 2014 02:00 local (22:00 Greenwich the day before): back from +4 to +3.
  const auto change = std::find(zone.transitions.begin(), zone.transitions.end(), Utc(2014, 10, 25, 22));
  ASSERT_NE(change, zone.transitions.end());
  EXPECT_EQ(zone.types[zone.transitionTypes[change - zone.transitions.begin()]].offsetSeconds, 3 * 3600);
}

TEST(Tzif, DamagedFilesAreRefusedWithoutCrashing) {
  const std::string original = *platform::ReadFileBytes("/usr/share/zoneinfo/Europe/Kyiv");
  EXPECT_THROW(ParseTzif(original.substr(0, 30)), std::runtime_error);
  EXPECT_THROW(ParseTzif("TZxf" + original.substr(4)), std::runtime_error);
  std::mt19937 random(2130);
  for (int round = 0; round < 500; ++round) {
    std::string bytes = original;
    for (int edit = 0; edit < 4; ++edit) {
      bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    if (random() % 3 == 0) bytes.resize(random() % bytes.size());
    try {
      const TzifZone zone = ParseTzif(bytes);
      for (uint8_t type : zone.transitionTypes) ASSERT_LT(type, zone.types.size());
    } catch (const std::runtime_error&) {
    }
  }
}

}  // namespace
}  // namespace kelvara::citybase
