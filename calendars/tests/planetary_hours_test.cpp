#include "calendars/planetary_hours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "calendars/calendar_texts.h"
#include "calendars/tests/calendar_test_support.h"

namespace kelvara::calendars {
namespace {

using testing::HoursOf;
using testing::RequestFor;

const std::vector<std::string> kChaldean = {"Солнце", "Венера", "Меркурий", "Луна", "Сатурн", "Юпитер", "Марс"};

std::string Ruler(const std::string& line) {
  const std::string rest = line.substr(line.find('|') + 1);
  return rest.substr(0, rest.find(' '));
}
double Start(const std::string& line) { return HoursOf(line.substr(0, line.find('|'))); }

const std::string& LineWith(const std::vector<std::string>& lines, std::string_view mark) {
  return *std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(mark) != std::string::npos; });
}

class FixedZone : public workspace::TimeZoneSource {
 public:
  std::optional<double> OffsetHoursAt(const std::string&, double, double, double, bool) const override { return 10.0; }
};

// Every hour is its sunrise (sunset) plus j twelfths of the span to the driver's next
// event, truncated; the rulers run on in Chaldean order through days and nights.
TEST(PlanetaryHours, MoscowMonthFollowsTheDriversSunEvents) {
  const CalendarRequest request = RequestFor({2024, 3, 1}, {2024, 4, 1}, testing::kMoscowLatitude);
  const auto result = CalculatePlanetaryHours(request, testing::DriverRun());
  std::vector<double> events;
  for (double day = StartHours(request) - 48.0; day <= EndHours(request) + 48.0; day += 24.0) {
    for (int kind : {kRisingEvent, kSettingEvent}) {
      for (double e : testing::DriverEvents(day, request, kSunBody, kind)) events.push_back(e);
    }
  }
  std::sort(events.begin(), events.end());
  const std::vector<std::string>& lines = result->lines;
  std::size_t position = std::find(kChaldean.begin(), kChaldean.end(), Ruler(lines[0])) - kChaldean.begin();
  int blocks = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    EXPECT_EQ(Ruler(lines[i]), kChaldean[position++ % 7]) << lines[i];
    if (lines[i].find(" Солнца)") == std::string::npos) continue;
    const auto event = std::find_if(events.begin(), events.end(), [&](double e) { return std::abs(e - Start(lines[i])) < 1.0 / 60; });
    ASSERT_LT(event + 1, events.end()) << lines[i];
    for (std::size_t j = 1; j < 12 && i + j < lines.size(); ++j) {
      const double expected = std::floor((*event + j * (event[1] - *event) / 12.0) * 60.0 + 1e-7) / 60.0;
      EXPECT_EQ(lines[i + j].substr(0, 16), DateText(expected)) << lines[i] << " hour " << j;
    }
    ++blocks;
  }
  EXPECT_GE(blocks, 61);
  EXPECT_EQ(Ruler(LineWith(lines, "(Вс., восход")), "Солнце");
  EXPECT_EQ(Ruler(LineWith(lines, "(Пн., восход")), "Луна");
  EXPECT_LE(Start(lines[0]), StartHours(request));  // the hour in progress at the start
  EXPECT_GE(Start(lines[1]), StartHours(request));
  EXPECT_LE(Start(lines.back()), EndHours(request));
}

TEST(PlanetaryHours, SunrisesAgreeWithTheReferenceWithinTwoMinutes) {
  int checked = 0;
  for (const auto& row : testing::CsvRows("horizon_events.csv")) {
    if (row[4] != "sun" || row[5] != "rise") continue;
    const double expected = HoursOf(row[7], true);
    const auto rises = testing::DriverEvents(expected, RequestFor({}, {}, std::stod(row[1]), std::stod(row[2])), kSunBody, kRisingEvent);
    EXPECT_TRUE(std::any_of(rises.begin(), rises.end(), [&](double r) { return std::abs(r - expected) <= 2.0 / 60; })) << row[0] << row[7];
    ++checked;
  }
  EXPECT_GE(checked, 16);
}

// Vladivostok's Monday sunrise comes on Sunday by Greenwich: the local date names the day,
// from the place's offset or else from the longitude.
TEST(PlanetaryHours, FarEastWeekdayAndLocalTime) {
  const CalendarRequest request = RequestFor({2024, 3, 3}, {2024, 3, 5}, 43.1155, 131.8855, "Владивосток");
  const FixedZone vladivostok;
  for (const FixedZone* zones : {static_cast<const FixedZone*>(nullptr), &vladivostok}) {
    const auto result = CalculatePlanetaryHours(request, testing::DriverRun(zones));
    const std::string& monday = LineWith(result->lines, "(Пн., восход");
    EXPECT_EQ(Ruler(monday), "Луна");
    EXPECT_EQ(result->timeKind, zones ? "Время местное" : "Время по Гринвичу");
    EXPECT_TRUE(monday.starts_with(zones ? "04.03.2024" : "03.03.2024")) << monday;
  }
}

TEST(PlanetaryHours, OneDayRangePolarRefusalAndStop) {
  const CalendarRequest request = RequestFor({2024, 6, 10}, {2024, 6, 10}, testing::kMoscowLatitude);
  const auto result = CalculatePlanetaryHours(request, testing::DriverRun());
  ASSERT_EQ(result->lines.size(), 1u);
  EXPECT_LE(Start(result->lines[0]), StartHours(request));
  const auto refused = CalculatePlanetaryHours(RequestFor({2024, 6, 10}, {2024, 6, 12}, -67.0), testing::DriverRun());
  EXPECT_TRUE(refused->lines.empty());
  EXPECT_EQ(refused->refusal, texts::kPolarHours);
  EXPECT_FALSE(CalculatePlanetaryHours(request, testing::DriverRun(nullptr, [] { return true; })));
}

}  // namespace
}  // namespace kelvara::calendars
