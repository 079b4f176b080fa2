#include "calendars/lunar_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "calendars/calendar_texts.h"
#include "calendars/tests/calendar_test_support.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::calendars {
namespace {

using testing::HoursOf;
using testing::RequestFor;

constexpr double kMinute = 1.0 / 60.0;
const workspace::testing::FakeSky kSky;

int DayNumber(const std::string& line) {
  return line.find("-й день луны") == std::string::npos ? 0 : std::stoi(line.substr(0, 2));
}
std::string TimeOf(const std::string& line) { return line.substr(line.find('|') + 1); }

DayScanSource MoonriseAtTen(int skipEvery = 0) {
  return [skipEvery, day = 0](const workspace::EngineMoment&) mutable {
    const bool skip = skipEvery > 0 && ++day % skipEvery == 0;
    return std::optional(skip ? std::vector<std::string>{} : std::vector<std::string>{"10:00.000000 2 1 Moon"});
  };
}

TEST(PhaseFinder, OnTheLinearSkyStopsAtTheFirstMinuteAfterTheExactMoment) {
  // Moon - Sun = -270 + 12.1908 d: new moons at d = (270 + 360 k) / 12.1908, full moons 180 degrees earlier.
  const double rate = workspace::testing::kMoonSpeed - workspace::testing::kSunSpeed;
  const double start = 1'000'000.0;
  const double newMoon = (270.0 + 360.0 * std::ceil((start / 24.0 * rate - 270.0) / 360.0)) / rate * 24.0;
  const auto forward = FindPhase(kSky, start, 55.0, 37.0, kNewMoonTarget, true);
  ASSERT_TRUE(forward);
  EXPECT_GT(*forward, newMoon);
  EXPECT_LE(*forward, newMoon + kMinute + 1e-9);
  const double fullMoon = newMoon - 180.0 / rate * 24.0;
  const auto backward = FindPhase(kSky, newMoon - 1.0, 55.0, 37.0, kFullMoonTarget, false);
  ASSERT_TRUE(backward);
  EXPECT_LT(*backward, fullMoon);
  EXPECT_GE(*backward, fullMoon - kMinute - 1e-9);
}

TEST(LunarCalendar, FindsEveryReferencePhaseOnceWithinTwoMinutes) {
  const std::map<std::string, std::string> labels = {{"new_moon", "* новолуние|"}, {"first_quarter", "* 1-я четверть|"},
                                                     {"full_moon", "* полнолуние|"}, {"last_quarter", "* 3-я четверть|"}};
  std::map<int, std::vector<std::vector<std::string>>> byYear;
  for (const auto& row : testing::CsvRows("moon_phases.csv")) byYear[std::stoi(row[2])].push_back(row);
  ASSERT_EQ(byYear.size(), 16u);
  for (const auto& [year, rows] : byYear) {
    CalendarRequest request = RequestFor({year, 1, 1}, {year + 1, 1, 1}, 55.0);
    request.lunarDays = false;
    const auto result = CalculateLunarCalendar(request, testing::DriverRun());
    ASSERT_EQ(result->lines.size(), rows.size()) << year;
    for (const auto& row : rows) {
      EXPECT_TRUE(std::any_of(result->lines.begin(), result->lines.end(), [&](const std::string& line) {
        return line.starts_with(labels.at(row[0])) && std::abs(HoursOf(TimeOf(line)) - HoursOf(row[2], true)) <= 2 * kMinute;
      })) << row[0] << " " << row[2];
    }
  }
}

// Every day but day 1 starts at a moonrise of the driver's scans, day 1 at its new moon
// (after that line), numbers without gaps; a later start numbers the moonrises alike.
// At 65° N in the Moon's standstill years some days have no moonrise at all.
TEST(LunarCalendar, LunarDaysFollowTheDriversMoonrises) {
  struct Case { double latitude; workspace::CalendarMoment from, later, to; int months; };
  for (const Case& c : {Case{testing::kMoscowLatitude, {2024, 3, 1}, {2024, 4, 20}, {2024, 6, 1}, 3},
                        Case{65.0, {2024, 11, 1}, {2024, 12, 20}, {2025, 2, 1}, 4}}) {
    const CalendarRequest request = RequestFor(c.from, c.to, c.latitude, testing::kMoscowLongitude, "Москва");
    const auto result = CalculateLunarCalendar(request, testing::DriverRun());
    EXPECT_EQ(result->header, "Время по Гринвичу|Место: Москва");
    std::set<std::string> moonrises;
    for (double day = StartHours(request) - 24.0; day <= EndHours(request); day += 24.0) {
      for (double rise : testing::DriverEvents(day, request, kMoonBody, kRisingEvent)) moonrises.insert(DateText(rise));
    }
    int previous = 0;
    int months = 0;
    for (std::size_t i = 0; i < result->lines.size(); ++i) {
      const int number = DayNumber(result->lines[i]);
      if (number == 1) {
        EXPECT_TRUE(result->lines[i - 1].starts_with("* новолуние|" + TimeOf(result->lines[i])));
        ++months;
      } else if (number > 1) {
        EXPECT_TRUE(moonrises.count(TimeOf(result->lines[i]))) << result->lines[i];
        EXPECT_TRUE(previous == 0 || number == previous + 1) << result->lines[i];
      }
      previous = number == 0 ? previous : number;
    }
    EXPECT_EQ(months, c.months) << c.latitude;
    const auto part = CalculateLunarCalendar(RequestFor(c.later, c.to, c.latitude), testing::DriverRun());
    for (const std::string& line : part->lines) {
      if (DayNumber(line) > 1) {
        EXPECT_NE(std::find(result->lines.begin(), result->lines.end(), line), result->lines.end()) << line;
      }
    }
  }
}

// Daily moonrises give months of 30 lunar days; with a day in nine skipped a month has
// at most 28, and still every new moon starts day 1 at its own moment.
TEST(LunarCalendar, ScriptedMonthsRenewAtTheNewMoonWhateverTheirLength) {
  const CalendarRequest request = RequestFor({2001, 1, 1}, {2001, 5, 1}, 60.0);
  for (int skipEvery : {0, 9}) {
    const auto result = CalculateLunarCalendar(request, {kSky, MoonriseAtTen(skipEvery), nullptr, {}, {}});
    int longest = 0;
    for (std::size_t i = 0; i + 1 < result->lines.size(); ++i) {
      const std::string& line = result->lines[i];
      const int next = DayNumber(result->lines[i + 1]);
      if (line.starts_with("* новолуние|")) {
        EXPECT_EQ(result->lines[i + 1], "01-й день луны|" + TimeOf(line));
      }
      EXPECT_TRUE(next < 2 || result->lines[i + 1].ends_with("10:00")) << result->lines[i + 1];
      EXPECT_TRUE(DayNumber(line) == 0 || next == 0 || next == DayNumber(line) + 1 || next == 1) << line;
      longest = std::max(longest, DayNumber(line));
    }
    EXPECT_TRUE(skipEvery ? longest <= 28 : longest >= 30) << longest;
  }
}

TEST(LunarCalendar, OneDayRangePolarPlacesProgressAndStop) {
  EXPECT_TRUE(CalculateLunarCalendar(RequestFor({2001, 1, 10}, {2001, 1, 10}, 55.0),
                                     {kSky, MoonriseAtTen(), nullptr, {}, {}})->lines.empty());
  int highest = -1;
  const CalendarRun run{kSky, MoonriseAtTen(), nullptr, [&](int percent) { highest = std::max(highest, percent); }, {}};
  const auto north = CalculateLunarCalendar(RequestFor({2001, 1, 1}, {2001, 2, 1}, 55.0), run);
  EXPECT_GE(highest, 90);
  EXPECT_LE(highest, 99);
  const auto south = CalculateLunarCalendar(RequestFor({2001, 1, 1}, {2001, 2, 1}, -66.6), run);
  EXPECT_TRUE(north->refusal.empty());
  EXPECT_EQ(south->refusal, texts::kPolarLunarDays);
  std::vector<std::string> phases;
  std::copy_if(north->lines.begin(), north->lines.end(), std::back_inserter(phases),
               [](const std::string& line) { return line.starts_with("* "); });
  EXPECT_EQ(south->lines, phases);
  EXPECT_GE(phases.size(), 4u);
  EXPECT_FALSE(CalculateLunarCalendar(RequestFor({2001, 1, 1}, {2001, 2, 1}, 55.0),
                                      {kSky, MoonriseAtTen(), nullptr, {}, [] { return true; }}));
}

TEST(LunarCalendar, OnlyDayOneJoinsItsNewMoon) {
  std::vector<CalendarEntry> entries;
  for (const auto& [hours, label] : std::vector<std::pair<double, std::string>>{
           {20.0, "21-й день луны|"}, {10.0, "01-й день луны|"}, {10.2, "* новолуние|"}, {21.0, "* новолуние|"}, {30.0, "11-й день луны|"}}) {
    entries.push_back({hours, label, "", true});
  }
  OrderLunarEntries(entries);
  std::vector<std::pair<std::string, double>> order;
  for (const CalendarEntry& e : entries) order.emplace_back(e.before, e.hours);
  EXPECT_EQ(order, (std::vector<std::pair<std::string, double>>{{"* новолуние|", 10.0}, {"01-й день луны|", 10.0},
      {"21-й день луны|", 20.0}, {"* новолуние|", 21.0}, {"11-й день луны|", 30.0}}));
}

TEST(CalendarTexts, MinutesCarryAndOffsetsKeepTheirSign) {
  const double day = workspace::HoursSince1860({2024, 12, 31, 0, 0, 0});
  EXPECT_EQ(DateText(day + 23.0 + 59.6 / 60.0), "01.01.2025 00:00");
  EXPECT_EQ(DateText(day + 10.0 + 29.0 / 60.0 + 31.0 / 3600.0), "31.12.2024 10:30");
  EXPECT_EQ(GmtOffsetText(-0.5), "(GMT:-0:30)");
  EXPECT_EQ(GmtOffsetText(-3.5), "(GMT:-3:30)");
  EXPECT_EQ(GmtOffsetText(5.0 + 59.8 / 60.0), "(GMT:+6:00)");
}

}  // namespace
}  // namespace kelvara::calendars
