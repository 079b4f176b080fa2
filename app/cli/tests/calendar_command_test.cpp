// calendar: a Moscow month through the real engine as CSV and iCalendar, a saved file
// read back, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "app/cli/tests/cli_test_support.h"
#include "workspace/hour_scale.h"

namespace kelvara::cli {
namespace {

using testing::Args;
using testing::Refusal;
using testing::With;

const Args kMoscowJanuary = {"calendar", "lunar", "--from", "01.01.2025", "--to", "01.02.2025", "--place", "Москва"};

std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, ',');) rows.back().push_back(field);
    if (line.ends_with(',')) rows.back().emplace_back();
  }
  return rows;
}

double Hours(const std::string& iso) {
  workspace::CalendarMoment m;
  std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d", &m.year, &m.month, &m.day, &m.hour, &m.minute, &m.second);
  return workspace::HoursSince1860(m);
}

class CalendarCommandTest : public testing::CliRun {
 protected:
  CalendarCommandTest() { context_.dataDir = std::filesystem::path(KELVARA_BIN_DIR) / "data" / ""; }

  std::vector<std::vector<std::string>> Rows(const Args& args) {
    EXPECT_EQ(Run(args), kExitOk) << err_.str();
    return CsvRows(out_.str());
  }
};

// The phases of January 2025 as the almanacs give them (UTC), to the engine's minute.
TEST_F(CalendarCommandTest, MoscowMonthCsvHasThePhasesInUtcAndLocalTime) {
  const auto rows = Rows(With(kMoscowJanuary, {"--format", "csv"}));
  ASSERT_GT(rows.size(), 30u);
  EXPECT_EQ(rows[0], std::vector<std::string>({"utc", "local", "event", "day"}));
  const std::pair<const char*, const char*> almanac[] = {{"first_quarter", "2025-01-06T23:56:00"},
                                                         {"full_moon", "2025-01-13T22:27:00"},
                                                         {"last_quarter", "2025-01-21T20:31:00"},
                                                         {"new_moon", "2025-01-29T12:36:00"}};
  for (const auto& [event, utc] : almanac) {
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r[2] == event; });
    ASSERT_NE(row, rows.end()) << event;
    EXPECT_NEAR(Hours((*row)[0]), Hours(utc), 2.5 / 60) << event << " " << (*row)[0];
    EXPECT_DOUBLE_EQ(Hours((*row)[1]) - Hours((*row)[0]), 3.0) << event;
  }
  // Day 1 begins at the new moon, right after it; the days before count on from December's.
  const auto newMoon = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r[2] == "new_moon"; });
  EXPECT_EQ((newMoon + 1)->at(2), "lunar_day");
  EXPECT_EQ((newMoon + 1)->at(3), "1");
  EXPECT_EQ((newMoon + 1)->at(0), newMoon->at(0));
  EXPECT_GT(std::stoi(rows[1][3]), 1);

  // Every line of the iCalendar ends in CRLF; one event per line of the result.
  ASSERT_EQ(Run(With(kMoscowJanuary, {"--format", "ics"})), kExitOk) << err_.str();
  const std::string ics = out_.str();
  std::size_t events = 0;
  for (std::size_t at = 0; (at = ics.find("BEGIN:VEVENT\r\n", at)) != std::string::npos; ++at) ++events;
  EXPECT_EQ(events, rows.size() - 1);
  for (std::size_t at = ics.find('\n'); at != std::string::npos; at = ics.find('\n', at + 1)) {
    ASSERT_EQ(ics[at - 1], '\r') << "a bare line feed at " << at;
  }
  std::string newMoonStart = newMoon->at(0) + "Z";
  std::erase_if(newMoonStart, [](char c) { return c == '-' || c == ':'; });
  EXPECT_NE(ics.find("DTSTART:" + newMoonStart + "\r\nSUMMARY:* новолуние\r\n"), std::string::npos) << newMoonStart;
}

TEST_F(CalendarCommandTest, HoursStartWithTheDayRulerAndASavedFileReadsBack) {
  const Args day = {"calendar", "hours", "--from", "01.01.2025", "--to", "02.01.2025", "--place", "Москва"};
  const auto rows = Rows(With(day, {"--format", "csv", "--save", File("day.plh")}));
  const auto sunrise = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.size() > 2 && r[2] == "Меркурий"; });
  ASSERT_NE(sunrise, rows.end());  // 1 January 2025 is a Wednesday
  EXPECT_EQ(sunrise->at(3), "day");
  EXPECT_EQ(rows[1][3], "night");  // the hour in progress at midnight

  ASSERT_EQ(Run(With(day, {"--table"})), kExitOk) << err_.str();
  const std::string table = out_.str();
  EXPECT_TRUE(table.starts_with("Планетарные часы\nВремя местное|Место: Москва\n")) << table;
  ASSERT_EQ(Run({"calendar", "read", File("day.plh"), "--table"}), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(), table);
  EXPECT_EQ(Rows({"calendar", "read", File("day.plh"), "--format", "csv"}), rows);
}

// The Moon's last aspect of 2024 (a sextile to Neptune) and its entry into Aquarius on
// 1 January 2025, as the almanacs give them; the ".LUC" reads back with the same spans.
TEST_F(CalendarCommandTest, VoidMoonSpansAndTheAspectCalendarsMethods) {
  const Args week = {"calendar", "void", "--from", "01.01.2025", "--to", "08.01.2025", "--place", "Москва"};
  const auto rows = Rows(With(week, {"--format", "csv", "--save", File("week.luc")}));
  ASSERT_GT(rows.size(), 3u);
  EXPECT_EQ(rows[0], std::vector<std::string>({"utc", "local", "end_utc", "end_local"}));
  EXPECT_NEAR(Hours(rows[1][0]), Hours("2025-01-01T06:02:00"), 3.0 / 60);
  EXPECT_NEAR(Hours(rows[1][2]), Hours("2025-01-01T10:50:00"), 3.0 / 60);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    EXPECT_LT(Hours(rows[i][0]), Hours(rows[i][2])) << rows[i][0];
    EXPECT_DOUBLE_EQ(Hours(rows[i][3]) - Hours(rows[i][2]), 3.0);
  }
  EXPECT_EQ(Rows({"calendar", "read", File("week.luc"), "--format", "csv"}).size(), rows.size());

  const Args natal = {"calendar", "aspects", "--from", "01.01.2025", "--to", "02.01.2025", "--name", "Иван",
                      "--date", "12.07.1985", "--time", "14:05", "--place", "Москва"};
  ASSERT_EQ(Run(With(natal, {"--second", "52"})), kExitOk) << err_.str();
  EXPECT_TRUE(out_.str().starts_with("Dr|Nt|Иван|c 01.01.2025 по 02.01.2025|Dr: Москва\n")) << out_.str();
  const auto transits = Rows(With(natal, {"--format", "csv"}));
  ASSERT_GT(transits.size(), 1u);
  EXPECT_EQ(transits[0], std::vector<std::string>({"utc", "local", "moving", "aspect_deg", "base"}));
}

TEST_F(CalendarCommandTest, RefusesBadRequests) {
  const std::string badRange = "Неверно задан временной диапазон.";
  const Refusal refusals[] = {
      {{"calendar"}, kExitUsage, "не задан календарь"},
      {{"calendar", "weekly"}, kExitUsage, "неизвестный календарь"},
      {With(kMoscowJanuary, {"--format", "xml"}), kExitUsage, "формат"},
      {{"calendar", "lunar", "--from", "01.01.2025", "--place", "Москва"}, kExitUsage, "--to"},
      {{"calendar", "lunar", "--from", "1.1.25", "--to", "01.02.2025", "--place", "Москва"}, kExitUsage, "--from"},
      {{"calendar", "lunar", "--from", "01.01.2025", "--to", "01.02.2025"}, kExitUsage, "--place"},
      {With(kMoscowJanuary, {"--phases", "new,blue"}), kExitUsage, "--phases"},
      {{"calendar", "hours", "--from", "01.01.2025", "--to", "01.02.2025", "--place", "Москва", "--phases", "new"},
       kExitUsage, "--phases"},
      {{"calendar", "lunar", "--from", "02.02.2025", "--to", "01.02.2025", "--place", "Москва"}, kExitFailure, badRange},
      {{"calendar", "lunar", "--from", "01.01.1850", "--to", "01.02.2025", "--place", "Москва"}, kExitFailure, badRange},
      {{"calendar", "lunar", "--from", "30.02.2025", "--to", "01.03.2025", "--place", "Москва"}, kExitFailure, badRange},
      {{"calendar", "hours", "--from", "01.01.2025", "--to", "02.01.2025", "--lat", "95n00", "--lon", "037e37"},
       kExitFailure, "Неправильные данные!"},
      {{"calendar", "hours", "--from", "01.01.2025", "--to", "02.01.2025", "--lat", "55n75", "--lon", "037e37"},
       kExitFailure, "Неправильные данные!"},
      {{"calendar", "lunar", "--from", "01.01.2025", "--to", "01.02.2025", "--place", "Нигдеград"}, kExitFailure,
       "не найден"},
      {{"calendar", "read", File("none.moo")}, kExitFailure, "Не удается открыть файл none.moo"},
      {{"calendar", "read"}, kExitUsage, "файл"},
      {{"calendar", "void", "--from", "01.01.2025", "--to", "02.01.2025", "--place", "Москва", "--aspects", "0,91"},
       kExitUsage, "--aspects"},
      {{"calendar", "void", "--from", "01.01.2025", "--to", "02.01.2025", "--place", "Москва", "--name", "Иван"},
       kExitUsage, "данные карты"},
      {{"calendar", "aspects", "--from", "01.01.2025", "--to", "02.01.2025", "--place", "Москва", "--background",
        "--second", "51"},
       kExitUsage, "--second"},
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);

  std::ofstream(File("wrong.moo"), std::ios::binary) << "not a calendar\r\n";
  ExpectRefused({{"calendar", "read", File("wrong.moo")}, kExitFailure, "Неверная структура файла!"});
}

}  // namespace
}  // namespace kelvara::cli
