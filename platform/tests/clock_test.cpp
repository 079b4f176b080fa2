#include "platform/clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "platform/tests/environment_guard.h"

namespace kelvara::platform {
namespace {

constexpr std::time_t kWinterNoonUtc = 1705320000;  // 15 January 2024 12:00 UTC
constexpr std::time_t kSummerNoonUtc = 1721044800;  // 15 July 2024 12:00 UTC

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { tzset(); }
  // False when the system lacks the zone.
  static bool UseZone(const std::string& zone) {
    if (!std::filesystem::exists("/usr/share/zoneinfo/" + zone)) return false;
    setenv("TZ", zone.c_str(), 1);
    return true;
  }

  testing::EnvironmentGuard tz_{"TZ"};
};

// The zone is read anew on every call, so one test may change it between cases.
TEST_F(ClockTest, OffsetsAndLocalTimeInZonesOfEveryShape) {
  struct Case {
    const char* zone;
    std::time_t when;
    int biasMinutes;
    int daylightBiasMinutes;
    bool daylightNow;
    double offsetHours;
    DateTime local;
  };
  const Case cases[] = {
      {"Europe/Moscow", kSummerNoonUtc, -180, 0, false, 3.0, DateTime::FromFields(2024, 7, 15, 15)},
      {"America/New_York", kWinterNoonUtc, 300, -60, false, -5.0, DateTime::FromFields(2024, 1, 15, 7)},
      {"America/New_York", kSummerNoonUtc, 300, -60, true, -4.0, DateTime::FromFields(2024, 7, 15, 8)},
      // Southern summer in January, and a daylight shift of half an hour.
      {"Australia/Lord_Howe", kWinterNoonUtc, -630, -30, true, 11.0, DateTime::FromFields(2024, 1, 15, 23)},
      {"Asia/Kolkata", kWinterNoonUtc, -330, 0, false, 5.5, DateTime::FromFields(2024, 1, 15, 17, 30)},
      {"UTC", kWinterNoonUtc, 0, 0, false, 0.0, DateTime::FromFields(2024, 1, 15, 12)},
  };
  for (const Case& c : cases) {
    if (!UseZone(c.zone)) {
      std::cout << c.zone << " not installed; case left out\n";
      continue;
    }
    const TimeZoneInfo info = TimeZoneInfoAt(c.when);
    EXPECT_TRUE(info.known) << c.zone;
    EXPECT_EQ(info.biasMinutes, c.biasMinutes) << c.zone;
    EXPECT_EQ(info.daylightBiasMinutes, c.daylightBiasMinutes) << c.zone;
    EXPECT_EQ(info.daylightNow, c.daylightNow) << c.zone;
    EXPECT_EQ(info.CurrentOffsetHours(), c.offsetHours) << c.zone;
    EXPECT_EQ(LocalDateTimeAt(c.when), c.local) << c.zone;
  }
  if (UseZone("America/New_York")) {
    EXPECT_EQ(TimeZoneInfoAt(kSummerNoonUtc).standardName, "EST");
    EXPECT_EQ(TimeZoneInfoAt(kSummerNoonUtc).daylightName, "EDT");
  }
}

TEST_F(ClockTest, SystemClockAgreesWithTheSystemTime) {
  if (!UseZone("UTC")) GTEST_SKIP() << "UTC not installed";
  const SystemClock clock;
  const std::time_t before = std::time(nullptr);
  const DateTime now = clock.LocalNow();
  const std::time_t after = std::time(nullptr);
  EXPECT_GE(now, LocalDateTimeAt(before));
  EXPECT_LE(now, LocalDateTimeAt(after));
  EXPECT_TRUE(clock.TimeZone().known);
}

}  // namespace
}  // namespace kelvara::platform
