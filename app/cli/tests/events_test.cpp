// kelvara-cli events against the event libraries called directly on the same chart, with
// the real engine and the program's data.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <sstream>

#include "app/asp_tables.h"
#include "app/cli/tests/cli_test_support.h"
#include "eventmap/day_scan.h"
#include "eventmap/event_scanner.h"
#include "places/chart_zones.h"
#include "places/name_search.h"
#include "platform/file_io.h"
#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"
#include "workspace/engine_driver.h"

namespace kelvara::cli {
namespace {

namespace em = eventmap;
namespace ws = workspace;
using testing::Args;
using testing::Refusal;
using testing::Spoiled;
using testing::With;

const std::string kBinFolder = std::string(KELVARA_BIN_DIR) + "/";
const Args kBirth = {"--name", "Иван", "--date", "12.07.1985", "--time", "14:05",
                     "--gmt",  "+04:00", "--lat", "55n45", "--lon", "037e37"};
constexpr const char* kHeader = "exact,entry,exit,moving,aspect_deg,base,moving_lon,base_lon";

using ToShown = std::function<double(double)>;
const ToShown kAsGiven = [](double hours) { return hours; };

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Printed(const char* form, double value) {
  char text[32];
  std::snprintf(text, sizeof text, form, value);
  return text;
}

// The CSV row of a record: ISO times to the second on the shown clock, empty when not found.
std::string CsvRow(const em::EventRecord& r, const ToShown& shown) {
  const auto time = [&](bool found, double hours) {
    if (!found) return std::string();
    const ws::CalendarMoment m = ws::MomentFromHours(shown(hours));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", m.year, m.month, m.day, m.hour, m.minute,
                  m.second);
    return std::string(text);
  };
  const auto lon = [](double deg) { return deg == em::kLongitudeNotSet ? "" : Printed("%.4f", ws::Normalise360(deg)); };
  return time(r.exactFound, r.culminationHours) + "," + time(r.startFound, r.startHours) + "," +
         time(r.endFound, r.endHours) + "," + std::string(ws::SlotName(r.movingPoint)) + "," +
         Printed("%g", r.aspectAngleDeg) + "," + std::string(ws::SlotName(r.basePoint)) + "," +
         lon(r.movingLongitudeDeg) + "," + lon(r.baseLongitudeDeg);
}

void ExpectCsv(const std::string& csv, const std::vector<em::EventRecord>& records, const ToShown& shown) {
  const auto lines = Lines(csv);
  ASSERT_EQ(lines.size(), records.size() + 1);
  EXPECT_EQ(lines[0], kHeader);
  for (std::size_t i = 0; i < records.size(); ++i) EXPECT_EQ(lines[i + 1], CsvRow(records[i], shown)) << i;
}

// Text lines name the same events in the same order.
void ExpectText(const std::vector<std::string>& lines, const std::vector<em::EventRecord>& records) {
  ASSERT_EQ(lines.size(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const em::EventRecord& r = records[i];
    const std::string names = std::string("  ") + std::string(ws::SlotName(r.movingPoint)) + "  " +
                              Printed("%g", r.aspectAngleDeg) + "°  " + std::string(ws::SlotName(r.basePoint)) + "  ";
    EXPECT_NE(lines[i].find(names), std::string::npos) << lines[i];
    const bool found[] = {r.exactFound, r.startFound, r.endFound};  // times 16 wide, 2 apart
    for (int k = 0; k < 3; ++k) EXPECT_EQ(lines[i][k * 18] == '-', !found[k]) << lines[i];
  }
}

// Shown records of a published scan that overlap the window, by culmination, ties in table
// order: what a selection that loses nothing to its pixels gives.
std::vector<em::EventRecord> Overlapping(const em::ScanSnapshot& snapshot, double start, double end) {
  std::vector<em::EventRecord> found;
  for (const em::EventTable& table : snapshot.tables)
    for (int m = 0; m < em::kTablePoints; ++m)
      for (int a = 0; a < em::kTableAspects; ++a)
        for (int b = 0; b < em::kTablePoints; ++b)
          for (const em::EventRecord& r : table.Cell(m, a, b)) {
            if (r.orbDeg > 0.0 && r.startHours < end && r.endHours > start) found.push_back(r);
          }
  std::stable_sort(found.begin(), found.end(), [](const em::EventRecord& x, const em::EventRecord& y) {
    return x.culminationHours < y.culminationHours;
  });
  return found;
}

// The exact records culminating in [day, day + 24) display hours, then those in force dated
// in (day, day + 24], the ends of the day's steps.
std::vector<em::EventRecord> OfDay(const em::DayScanLists& lists, double day, std::size_t& exactCount) {
  std::vector<em::EventRecord> kept;
  for (const auto* list : {&lists.exact, &lists.inForce}) {
    for (const em::EventRecord& r : *list) {
      const double h = r.culminationHours - day;
      if (list == &lists.exact ? h >= 0.0 && h < 24.0 : h > 0.0 && h <= 24.0) kept.push_back(r);
    }
    if (list == &lists.exact) exactCount = kept.size();
  }
  return kept;
}

double DayHours(int year, int month, int day) { return double(ws::DaysSince1860(year, month, day)) * 24.0; }

class EventsTest : public testing::CliRun {
 protected:
  EventsTest() {
    context_.dataDir = kBinFolder + "data/";
    app::LoadAspectTables(kBinFolder + "data/", tables_);
    places::LoadCityBase(kBinFolder + "data/" + places::kCityBaseFileName, base_);
    natal_.local = {1985, 7, 12, 14, 5, 0};
    natal_.gmtOffsetHours = 4.0;
    natal_.name = "Иван";
    natal_.latitudeDeg = 55.75;
    natal_.longitudeDeg = 37.0 + 37.0 / 60.0;
    EXPECT_EQ(ws::ComputeChart(natal_, {engine_, nullptr, nullptr, nullptr, {}}), ws::ComputeResult::kComputed);
  }

  std::string Out(const Args& args) {
    EXPECT_EQ(Run(args), kExitOk) << err_.str();
    return out_.str();
  }

  // The scanner's events of a method over a window, called directly.
  std::vector<em::EventRecord> Scanned(std::string_view method, ws::ChartKind kind, double start, double end) {
    ws::ChartRecord moving = natal_;
    moving.name = ws::KindName(kind);
    moving.local = ws::MomentFromHours(start + natal_.gmtOffsetHours);
    EXPECT_EQ(ws::ComputeChart(moving, {engine_, &natal_, nullptr, nullptr, {}}), ws::ComputeResult::kComputed);
    em::EventScanner scanner(engine_, tables_);
    scanner.SetCharts({&moving, method == em::kMethodBackground ? &moving : &natal_, std::string(method), &natal_, {}});
    scanner.SetWindow(start, end);
    EXPECT_EQ(scanner.Prepare(), em::PrepareResult::kReady);
    EXPECT_EQ(scanner.Run(), em::ScanOutcome::kFinished);
    return Overlapping(*scanner.Snapshot(), start, end);
  }

  em::DayScanLists DayLists(int day, int month, int year, int stepsIndex, const places::CityBaseZones* zones) {
    const places::CityRecord* city = zones ? &Moscow() : nullptr;
    em::DayScanRequest request;
    request.year = year;
    request.month = month;
    request.day = day;
    request.stepsIndex = stepsIndex;
    request.zones = zones;
    request.placeName = city ? city->DisplayName() : "";
    request.latitudeDeg = city ? city->Latitude() : natal_.latitudeDeg;
    request.longitudeDeg = city ? city->Longitude() : natal_.longitudeDeg;
    return em::DayScan(natal_, tables_.between, request, engine_).lists.value_or(em::DayScanLists{});
  }

  const places::CityRecord& Moscow() const { return base_.cities[places::FindCitiesByName(base_, "Москва").front()]; }

  const ws::EngineDriver engine_{kBinFolder};
  app::AspectTables tables_;
  places::CityBase base_;
  ws::ChartRecord natal_;
};

TEST_F(EventsTest, DayPrintsTheDayScansListsOfTheDayExactThenInForce) {
  for (const auto& [steps, index] : {std::pair<Args, int>{{}, 7}, {{"--steps", "0"}, 0}, {{"--steps", "4"}, 4}}) {
    const em::DayScanLists lists = DayLists(1, 3, 2024, index, nullptr);
    std::size_t exact = 0;
    const auto day = OfDay(lists, DayHours(2024, 3, 1), exact);
    // The days around the day are left out, so the lists must hold some of them.
    ASSERT_GT(exact, 0u);
    ASSERT_GT(day.size(), exact);
    ASSERT_LT(day.size(), lists.exact.size() + lists.inForce.size());
    const Args args = With(With({"events", "--day", "01.03.2024"}, kBirth), steps);
    ExpectCsv(Out(With(args, {"--format", "csv"})), day, kAsGiven);
    const auto lines = Lines(Out(args));
    ASSERT_EQ(lines.size(), day.size() + 2);
    EXPECT_EQ(lines[0], "Точные аспекты:");
    EXPECT_EQ(lines[exact + 1], "Аспекты в силе:");
    ExpectText({lines.begin() + 1, lines.begin() + 1 + exact}, {day.begin(), day.begin() + exact});
    ExpectText({lines.begin() + 2 + exact, lines.end()}, {day.begin() + exact, day.end()});
  }
}

TEST_F(EventsTest, RangePrintsTheScannersEventsOfEveryMethodByCulmination) {
  const std::tuple<std::string, std::string_view, ws::ChartKind, std::string, std::string, double, double> cases[] = {
      {"tr", em::kMethodTransits, ws::ChartKind::kNow, "01.01.2024", "31.01.2024", DayHours(2024, 1, 1),
       DayHours(2024, 2, 1)},
      {"pr", em::kMethodProgressions, ws::ChartKind::kSecondaryProgression, "01.01.1990", "31.12.2040",
       DayHours(1990, 1, 1), DayHours(2041, 1, 1)},
      {"dr", em::kMethodDirections, ws::ChartKind::kSymbolicDirection, "01.01.1990", "31.12.2010",
       DayHours(1990, 1, 1), DayHours(2011, 1, 1)},
      {"bg", em::kMethodBackground, ws::ChartKind::kNow, "10.02.2024", "20.02.2024", DayHours(2024, 2, 10),
       DayHours(2024, 2, 21)},
  };
  for (const auto& [code, method, kind, from, to, start, end] : cases) {
    const auto expected = Scanned(method, kind, start, end);
    ASSERT_FALSE(expected.empty()) << code;
    const Args range = With({"events", "--from", from, "--to", to, "--method", code}, kBirth);
    ExpectCsv(Out(With(range, {"--format", "csv"})), expected, kAsGiven);
    ExpectText(Lines(Out(range)), expected);
  }
  // Transits are the default.
  EXPECT_EQ(Out(With({"events", "--from", "01.01.2024", "--to", "31.01.2024"}, kBirth)),
            Out(With({"events", "--from", "01.01.2024", "--to", "31.01.2024", "--method", "tr"}, kBirth)));
}

// Moscow moved its clocks from +3 to +4 on 1 April 1985: each time takes the offset of its own moment.
TEST_F(EventsTest, APlaceShowsItsLocalTimeAcrossAClockChange) {
  Out(With(With({"chart"}, kBirth), {"--save", File("Иван.kvd")}));
  const places::CityBaseZones zones(base_);
  const places::CityRecord& moscow = Moscow();
  const auto offset = [&](double hours, bool greenwich) {
    return *zones.OffsetHoursAt(moscow.DisplayName(), moscow.Latitude(), moscow.Longitude(), hours, greenwich);
  };
  const double from = DayHours(1985, 3, 25), to = DayHours(1985, 4, 6);
  const auto expected =
      Scanned(em::kMethodTransits, ws::ChartKind::kNow, from - offset(from, false), to - offset(to, false));
  std::set<double> offsets;
  for (const em::EventRecord& r : expected) offsets.insert(offset(r.culminationHours, true));
  ASSERT_EQ(offsets, (std::set<double>{3.0, 4.0}));
  const Args open = {"events", "--open", File("Иван.kvd"), "--place", "Москва", "--format", "csv"};
  ExpectCsv(Out(With(open, {"--from", "25.03.1985", "--to", "05.04.1985"})), expected,
            [&](double hours) { return hours + offset(hours, true); });
  // The day scan shows the place's clock itself.
  std::size_t exact = 0;
  const auto day = OfDay(DayLists(1, 4, 1985, 7, &zones), DayHours(1985, 4, 1), exact);
  ASSERT_GT(exact, 0u);
  ExpectCsv(Out(With(open, {"--day", "01.04.1985"})), day, kAsGiven);
}

TEST_F(EventsTest, BadInputIsRefusedOnStandardErrorWithNothingPrinted) {
  const Args day = With({"events", "--day", "01.03.2024"}, kBirth);
  const Args range = With({"events", "--from", "01.03.2024", "--to", "02.03.2024"}, kBirth);
  Out(With(With({"chart"}, kBirth), {"--save", File("a.kvd")}));
  const std::string bytes = platform::ReadFileBytes(File("a.kvd")).value_or("");
  ASSERT_TRUE(platform::WriteFileAtomically(File("cut.kvd"), bytes.substr(0, bytes.size() / 2)));
  const Refusal refusals[] = {
      {Spoiled(day, "--day", "1.3.24"), kExitUsage, "неверный параметр --day \"1.3.24\": нужно ДД.ММ.ГГГГ"},
      {Spoiled(day, "--day", "30.02.2024"), kExitUsage, "неверный параметр --day"},
      {Spoiled(day, "--day", "31.12.2130"), kExitUsage, em::kDayOutOfRange},
      {Spoiled(range, "--from", "01.01.1859"), kExitUsage, "неверный параметр --from"},
      {Spoiled(range, "--from", "03.03.2024"), kExitUsage, "kelvara-cli events: Неверно задан временной диапазон.\n"},
      {With(range, {"--method", "sr"}), kExitUsage, "неизвестный метод \"sr\""},
      {With(day, {"--steps", "8"}), kExitUsage, em::kStepsInvalid},
      {With(range, {"--steps", "3"}), kExitUsage, "--steps задается только с --day"},
      {With(day, {"--method", "tr"}), kExitUsage, "--method задается только"},
      {With(day, {"--from", "01.03.2024"}), kExitUsage, "нужно одно из --day и --from/--to"},
      {With({"events", "--to", "01.03.2024"}, kBirth), kExitUsage, "нужны оба параметра --from и --to"},
      {With({"events"}, kBirth), kExitUsage, "нужен --day или --from и --to"},
      {With(day, {"--format", "xml"}), kExitUsage, "формат"},
      {With(day, {"--kind", "51"}), kExitUsage, "лишний параметр: --kind"},
      {With(day, {"--place", "Qqqzzx"}), kExitFailure, "населенный пункт \"Qqqzzx\" не найден"},
      {{"events", "--open", File("a.kvd"), "--day", "01.03.2024", "--place", "Qqqzzx"}, kExitFailure, "не найден"},
      {{"events", "--open", File("нет.kvd"), "--day", "01.03.2024"}, kExitFailure, "Не удается открыть файл "},
      {{"events", "--open", File("cut.kvd"), "--from", "01.03.2024", "--to", "02.03.2024"}, kExitFailure,
       "Файл поврежден: "},
  };
  for (const Refusal& refusal : refusals) ExpectRefused(refusal);
  ASSERT_EQ(Run({"--help"}), kExitOk);
  for (const char* piece : {"events ПАРАМЕТРЫ_РОЖДЕНИЯ | --open ФАЙЛ.kvd", "(--day ДД.ММ.ГГГГ [--steps 0-7] | --from",
                            "[--method tr|pr|dr|bg]) [--place НАЗВАНИЕ] [--format text|csv]", kHeader}) {
    EXPECT_NE(out_.str().find(piece), std::string::npos) << piece;
  }
}

}  // namespace
}  // namespace kelvara::cli
