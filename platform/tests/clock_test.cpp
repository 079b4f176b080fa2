#include "platform/clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/tests/environment_guard.h"

namespace kelvara::platform {
namespace {

constexpr std::time_t kWinterNoonUtc = 1705320000;  // 15 January 2024 12:00 UTC
constexpr std::time_t kSummerNoonUtc = 1721044800;  // 15 July 2024 12:00 UTC

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { tzset(); }
  void UseZone(const std::string& zone) {
    if (!std::filesystem::exists("/usr/share/zoneinfo/" + zone)) GTEST_SKIP() << zone << " not installed";
    setenv("TZ", zone.c_str(), 1);
  }

  testing::EnvironmentGuard tz_{"TZ"};
};

TEST_F(ClockTest, ZoneWithoutDaylightTime) {
  UseZone("Europe/Moscow");
  const TimeZoneInfo info = TimeZoneInfoAt(kSummerNoonUtc);
  EXPECT_TRUE(info.known);
  EXPECT_EQ(info.biasMinutes, -180);
  EXPECT_EQ(info.daylightBiasMinutes, 0);
  EXPECT_FALSE(info.daylightNow);
  EXPECT_EQ(info.CurrentOffsetHours(), 3.0);
  EXPECT_EQ(LocalDateTimeAt(kSummerNoonUtc), DateTime::FromFields(2024, 7, 15, 15));
}

TEST_F(ClockTest, NorthernDaylightTimeInWinterAndSummer) {
  UseZone("America/New_York");
  const TimeZoneInfo winter = TimeZoneInfoAt(kWinterNoonUtc);
  EXPECT_EQ(winter.biasMinutes, 300);
  EXPECT_EQ(winter.daylightBiasMinutes, -60);
  EXPECT_FALSE(winter.daylightNow);
  EXPECT_EQ(winter.CurrentBiasMinutes(), 300);
  const TimeZoneInfo summer = TimeZoneInfoAt(kSummerNoonUtc);
  EXPECT_EQ(summer.biasMinutes, 300);
  EXPECT_EQ(summer.daylightBiasMinutes, -60);
  EXPECT_TRUE(summer.daylightNow);
  EXPECT_EQ(summer.CurrentOffsetHours(), -4.0);
  EXPECT_EQ(summer.standardName, "EST");
  EXPECT_EQ(summer.daylightName, "EDT");
  EXPECT_EQ(LocalDateTimeAt(kSummerNoonUtc), DateTime::FromFields(2024, 7, 15, 8));
}

TEST_F(ClockTest, SouthernHalfHourDaylightShift) {
  UseZone("Australia/Lord_Howe");
  const TimeZoneInfo january = TimeZoneInfoAt(kWinterNoonUtc);
  EXPECT_TRUE(january.daylightNow);
  EXPECT_EQ(january.biasMinutes, -630);
  EXPECT_EQ(january.daylightBiasMinutes, -30);
  EXPECT_EQ(january.CurrentOffsetHours(), 11.0);
  EXPECT_EQ(LocalDateTimeAt(kWinterNoonUtc), DateTime::FromFields(2024, 1, 15, 23));
}

TEST_F(ClockTest, HalfHourZoneAndZoneChangedWhileRunning) {
  UseZone("Asia/Kolkata");
  EXPECT_EQ(TimeZoneInfoAt(kWinterNoonUtc).biasMinutes, -330);
  EXPECT_EQ(LocalDateTimeAt(kWinterNoonUtc), DateTime::FromFields(2024, 1, 15, 17, 30));
  UseZone("UTC");
  EXPECT_EQ(TimeZoneInfoAt(kWinterNoonUtc).biasMinutes, 0);
  EXPECT_EQ(LocalDateTimeAt(kWinterNoonUtc), DateTime::FromFields(2024, 1, 15, 12));
}

TEST_F(ClockTest, SystemClockAgreesWithTheSystemTime) {
  UseZone("UTC");
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
