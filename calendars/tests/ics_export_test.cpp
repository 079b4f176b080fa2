#include "calendars/ics_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "workspace/hour_scale.h"

namespace kelvara::calendars {
namespace {

double At(int year, int month, int day, int hour, int minute) {
  return workspace::HoursSince1860({year, month, day, hour, minute, 0});
}

// Three hours east of Greenwich for the one place it knows.
class MoscowZone : public workspace::TimeZoneSource {
 public:
  std::optional<double> OffsetHoursAt(const std::string& place, double, double, double, bool) const override {
    if (place != "Москва") return std::nullopt;
    return 3.0;
  }
};

// The content lines unfolded, each physical line checked for its CRLF and its length.
std::vector<std::string> Unfolded(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "a line without CRLF";
    if (end == std::string::npos) break;
    const std::string physical = text.substr(at, end - at);
    EXPECT_LE(physical.size(), 75u) << physical;
    if (physical.starts_with(" ")) {
      EXPECT_FALSE(lines.empty());
      EXPECT_NE(static_cast<unsigned char>(physical[1]) & 0xC0, 0x80) << "a character split by folding";
      lines.back() += physical.substr(1);
    } else {
      lines.push_back(physical);
    }
    at = end + 2;
  }
  return lines;
}

// The events' properties by name, in order.
std::vector<std::map<std::string, std::string>> Events(const std::string& text) {
  std::vector<std::map<std::string, std::string>> events;
  for (const std::string& line : Unfolded(text)) {
    const std::size_t colon = line.find(':');
    const std::string name = line.substr(0, colon), value = line.substr(colon + 1);
    if (line == "BEGIN:VEVENT") events.emplace_back();
    else if (!events.empty() && line != "END:VEVENT" && name != "END") events.back()[name] = value;
  }
  return events;
}

TEST(IcsExport, LongLinesFoldWithoutSplittingCharactersAndTextsAreEscaped) {
  std::string summary = "SUMMARY:";
  for (int i = 0; i < 70; ++i) summary += "ж";
  const std::string folded = IcsFolded(summary);
  EXPECT_EQ(Unfolded(folded), std::vector<std::string>{summary});
  EXPECT_EQ(IcsFolded("DTSTART:20250101T000000Z"), "DTSTART:20250101T000000Z\r\n");
  EXPECT_EQ(IcsEscaped("a,b;c\\d\ne\r\nf"), "a\\,b\\;c\\\\d\\ne\\nf");
  EXPECT_EQ(IcsUtcTime(At(2025, 3, 30, 1, 5) + 7.0 / 3600), "20250330T010507Z");
}

TEST(IcsExport, LunarEventsInUtcAndLunarDaysLastUntilTheNext) {
  CalendarResult lunar{{"* новолуние    |29.01.2025 15:36", "01-й день луны|29.01.2025 15:36",
                        "02-й день луны|30.01.2025 09:05", "* 1-я четверть|05.02.2025 11:02"},
                       "Время местное", "Место: Москва", "Время местное|Место: Москва", ""};
  const MoscowZone zones;
  const IcsRequest request{CalendarViewMode::kLunar, kInitialColumnOrder,
                           ShownToUtc(ClockOfResult(CalendarViewMode::kLunar, lunar), &zones), At(2025, 1, 1, 0, 0)};
  const IcsCalendar ics = CalendarToIcs(lunar, request);
  EXPECT_EQ(ics.events, 4);
  EXPECT_EQ(ics.skipped, 0);
  EXPECT_TRUE(ics.text.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
  EXPECT_TRUE(ics.text.ends_with("END:VCALENDAR\r\n"));
  const auto events = Events(ics.text);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].at("SUMMARY"), "* новолуние");
  EXPECT_EQ(events[0].at("DTSTART"), "20250129T123600Z");
  EXPECT_EQ(events[0].count("DTEND"), 0u);
  EXPECT_EQ(events[1].at("DTEND"), "20250130T060500Z");
  EXPECT_EQ(events[2].count("DTEND"), 0u);  // no later lunar day to end it
  EXPECT_EQ(events[0].at("DTSTAMP"), "20250101T000000Z");
  EXPECT_NE(events[0].at("UID"), events[1].at("UID"));

  // A place the zones do not know gives no UTC time: nothing is exported as if it were.
  lunar.placeText = "Место: Нигде";
  const IcsCalendar unknown =
      CalendarToIcs(lunar, {CalendarViewMode::kLunar, kInitialColumnOrder,
                            ShownToUtc(ClockOfResult(CalendarViewMode::kLunar, lunar), &zones), 0.0});
  EXPECT_EQ(unknown.events, 0);
  EXPECT_EQ(unknown.skipped, 4);
}

TEST(IcsExport, HoursVoidSpansAndAspectsBecomeEvents) {
  const CalendarResult hours{{"01.01.2025 08:57|Меркурий (Ср., восход Солнца)", "01.01.2025 09:30|Луна", "",
                              "01.01.2025 10:03|Сатурн"},
                             "Время по Гринвичу", "", "Время по Гринвичу|", ""};
  const auto hourEvents = Events(CalendarToIcs(hours, {CalendarViewMode::kPlanetaryHours, kInitialColumnOrder,
                                                       ShownToUtc(ClockOfResult(CalendarViewMode::kPlanetaryHours, hours), nullptr), 0.0})
                                     .text);
  ASSERT_EQ(hourEvents.size(), 3u);
  EXPECT_EQ(hourEvents[1].at("DTSTART"), "20250101T093000Z");
  EXPECT_EQ(hourEvents[1].at("DTEND"), "20250101T100300Z");
  EXPECT_EQ(hourEvents[0].at("SUMMARY"), "Меркурий (Ср.\\, восход Солнца)");

  char aspect[64], ingress[64], lone[64];
  std::snprintf(aspect, sizeof aspect, "02#090.00#07#%014.4f", At(2025, 1, 10, 12, 30));
  std::snprintf(ingress, sizeof ingress, "02#000.00#18#%014.4f", At(2025, 1, 10, 20, 5));
  std::snprintf(lone, sizeof lone, "02#000.00#19#%014.4f", At(2025, 1, 12, 1, 0));
  const CalendarResult voidMoon{{aspect, ingress, lone}, "", "", "(GMT:+3:00) c 01.01.2025 по 31.01.2025", ""};
  const IcsCalendar voidIcs =
      CalendarToIcs(voidMoon, {CalendarViewMode::kVoidMoon, kInitialColumnOrder,
                               ShownToUtc(ClockOfResult(CalendarViewMode::kVoidMoon, voidMoon), nullptr), 0.0});
  EXPECT_EQ(voidIcs.events, 1);
  EXPECT_EQ(voidIcs.skipped, 1);
  const auto voidEvents = Events(voidIcs.text);
  EXPECT_EQ(voidEvents[0].at("DTSTART"), "20250110T093000Z");
  EXPECT_EQ(voidEvents[0].at("DTEND"), "20250110T170500Z");
  EXPECT_EQ(voidEvents[0].at("SUMMARY"), "Луна без курса");
  EXPECT_EQ(voidEvents[0].at("DESCRIPTION"), "Луна 90° Сатурн 10.01.25 12:30 без курса\\n-> Телец 10.01.25 20:05 в курсе");

  char line[160];
  std::snprintf(line, sizeof line, "#%014.4f#01(017.500)#090.000#07(333.500)#-1#9999999999.9999", At(2025, 1, 1, 14, 0));
  const CalendarResult aspects{{line}, "", "", "Tr|Nt|Иван|c 01.01.2025 по 02.01.2025|Tr: Москва", ""};
  const MoscowZone zones;
  const auto aspectEvents =
      Events(CalendarToIcs(aspects, {CalendarViewMode::kAspects, kInitialColumnOrder,
                                     ShownToUtc(ClockOfResult(CalendarViewMode::kAspects, aspects), &zones), 0.0})
                 .text);
  ASSERT_EQ(aspectEvents.size(), 1u);
  EXPECT_EQ(aspectEvents[0].at("DTSTART"), "20250101T110000Z");
  EXPECT_EQ(aspectEvents[0].at("SUMMARY"), "Солнце 17Ов30 90° Сатурн 03Рб30");
  EXPECT_EQ(aspectEvents[0].at("DESCRIPTION"),
            "кульминация: 01.01.25 14:00\\nначало: вне диапазона\\nокончание: вне диапазона");
}

}  // namespace
}  // namespace kelvara::calendars
