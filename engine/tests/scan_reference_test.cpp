// The scans against independent reference times: rising and setting of the Sun and the
// Moon at Moscow and Sydney, and the lunar phases of 2000-2030 (JPL DE405, IAU reductions).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/rise_set_scan.h"
#include "engine/tests/run_vector.h"
#include "engine/tests/scratch_folder.h"

namespace kelvara::engine {
namespace {

using testing::RepositoryArgv0;
using testing::RunTexts;

constexpr double kMinutesPerDay = 1440.0;

std::string DataPath(const std::string& name) {
  return std::string(KELVARA_SOURCE_DIR) + "/engine/tests/data/" + name;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
  std::ifstream in(DataPath(name));
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream cells_in(line);
    std::string cell;
    while (std::getline(cells_in, cell, ',')) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

struct Date {
  int year;
  int month;
  int day;
  auto operator<=>(const Date&) const = default;
};

Date ParseIsoDate(const std::string& text) {
  Date d{};
  std::sscanf(text.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day);
  return d;
}

double MidnightJd(const Date& d) { return MdyToJulian(d.month, d.day, d.year, 0.0, true); }

Date Shift(const Date& d, int days) {
  const CalendarDate c = JulianToMdy(MidnightJd(d) + days);
  return {c.year, c.month, c.day};
}

// Front-end style vector at Greenwich time (zone 0) for a place given as D.MM texts.
std::vector<std::string> UtDayVector(const std::string& scan, const Date& d,
                                     const std::string& lon, const std::string& lat) {
  return {RepositoryArgv0(), scan, "-b0", "-c", "0", "qa", std::to_string(d.month),
          std::to_string(d.day), std::to_string(d.year), "0:00", "0", lon, lat};
}

struct RiseSetLine {
  double jd;
  int object;
  int kind;
};

std::vector<RiseSetLine> ScanUtDay(const Date& d, const std::string& lon, const std::string& lat) {
  RunTexts(UtDayVector("-Zd", d, lon, lat));
  std::vector<RiseSetLine> events;
  for (const std::string& line : ReadLines("tmp.tmp")) {
    int hours = 0, object = 0, kind = 0;
    double minutes = 0.0;
    if (std::sscanf(line.c_str(), "%d:%lf %d %d", &hours, &minutes, &object, &kind) == 4) {
      events.push_back({MidnightJd(d) + (hours * 60.0 + minutes) / kMinutesPerDay, object, kind});
    }
  }
  return events;
}

struct Place {
  std::string lon;
  std::string lat;
  int upper_transit_kind;  // the Sun culminates south of Moscow, north of Sydney
};

const std::map<std::string, Place> kPlaces = {{"Moscow", {"037e37", "55n45", kSouthernMeridian}},
                                              {"Sydney", {"151e13", "33s52", kNorthernMeridian}}};

struct Expected {
  int object;
  int kind;
  double tolerance_min;
};

bool ExpectedOf(const std::string& body, const std::string& event, const Place& place,
                Expected& out) {
  const bool sun = body == "sun";
  if (!sun && body != "moon_geocentric" && !(body == "moon" && event == "upper_transit")) {
    return false;
  }
  const int kind = event == "rise" ? kRising : event == "set" ? kSetting : place.upper_transit_kind;
  out = {sun ? kSun : kMoon, kind, sun ? 1.0 : 3.0};
  return true;
}

TEST(ScanReference, RisingSettingAndCulminationAtMoscowAndSydney) {
  const ScratchFolder scratch("horizon_reference");
  // Every reference event lies within the Greenwich days around its local date.
  std::map<std::pair<std::string, Date>, std::vector<RiseSetLine>> scans;
  const auto rows = ReadCsv("horizon_events.csv");
  ASSERT_GT(rows.size(), 200u);
  std::map<std::string, double> worst_min;
  int compared = 0;
  for (const auto& row : rows) {
    const Place& place = kPlaces.at(row[0]);
    Expected expected{};
    if (!ExpectedOf(row[4], row[5], place, expected)) continue;
    const double reference_jd = std::stod(row[6]);
    double best = 1e9;
    for (int shift = -1; shift <= 1; ++shift) {
      const Date day = Shift(ParseIsoDate(row[3]), shift);
      auto& lines = scans[{row[0], day}];
      if (lines.empty()) lines = ScanUtDay(day, place.lon, place.lat);
      for (const RiseSetLine& e : lines) {
        if (e.object != expected.object || e.kind != expected.kind) continue;
        best = std::min(best, std::fabs(e.jd - reference_jd) * kMinutesPerDay);
      }
    }
    EXPECT_LE(best, expected.tolerance_min) << row[0] << " " << row[3] << " " << row[4] << " "
                                            << row[5];
    const std::string key = row[4] + " " + row[5];
    worst_min[key] = std::max(worst_min[key], best);
    ++compared;
  }
  EXPECT_GT(compared, 150);
  for (const auto& [key, minutes] : worst_min) {
    std::printf("  worst %-28s %.2f min\n", key.c_str(), minutes);
  }
}

TEST(ScanReference, MidsummerSunAtSeventyNorthNeitherRisesNorSets) {
  const ScratchFolder scratch("polar_day");
  int culminations = 0;
  for (const RiseSetLine& e : ScanUtDay({2024, 6, 21}, "0e00", "70n00")) {
    if (e.object != kSun) continue;
    EXPECT_NE(kSetting, e.kind);
    EXPECT_NE(kRising, e.kind);
    ++culminations;
  }
  EXPECT_EQ(2, culminations);  // above the horizon at both meridians
}

// Windows-1251 notes of the lunar phases.
const std::map<std::string, std::string> kPhaseNotes = {
    {"new_moon", "(\xcd\xee\xe2\xee\xeb\xf3\xed\xe8\xe5)"},
    {"full_moon", "(\xcf\xee\xeb\xed\xee\xeb\xf3\xed\xe8\xe5)"},
    {"first_quarter", "(\xd7\xe5\xf2\xe2\xe5\xf0\xf2\xfc)"},
    {"last_quarter", "(\xd7\xe5\xf2\xe2\xe5\xf0\xf2\xfc)"}};

struct PhaseLine {
  double jd;
  std::string note;
};

std::vector<PhaseLine> ScanUtMonth(int year, int month) {
  RunTexts(UtDayVector("-dm", {year, month, 1}, "0e00", "51n29"));
  std::vector<PhaseLine> phases;
  for (const std::string& line : ReadLines("tmp.tmp")) {
    for (const auto& [phase, note] : kPhaseNotes) {
      if (line.find(note) == std::string::npos) continue;
      Date d{};
      int hours = 0, minutes = 0;
      std::sscanf(line.c_str(), "%d.%d.%d %d:%d", &d.day, &d.month, &d.year, &hours, &minutes);
      phases.push_back({MidnightJd(d) + (hours * 60.0 + minutes) / kMinutesPerDay, note});
      break;
    }
  }
  return phases;
}

TEST(ScanReference, MonthScansFindEveryLunarPhaseOf2000To2030) {
  const ScratchFolder scratch("moon_phases");
  std::map<Date, std::vector<PhaseLine>> expected_by_month;
  for (const auto& row : ReadCsv("moon_phases.csv")) {
    const Date d = ParseIsoDate(row[2]);
    expected_by_month[{d.year, d.month, 1}].push_back({std::stod(row[1]), kPhaseNotes.at(row[0])});
  }
  ASSERT_GT(expected_by_month.size(), 180u);
  double worst = 0.0;
  for (const auto& [month, expected] : expected_by_month) {
    const std::vector<PhaseLine> found = ScanUtMonth(month.year, month.month);
    EXPECT_EQ(expected.size(), found.size()) << month.year << "-" << month.month;
    for (const PhaseLine& phase : expected) {
      double best = 1e9;
      for (const PhaseLine& line : found) {
        if (line.note == phase.note) best = std::min(best, std::fabs(line.jd - phase.jd));
      }
      best *= kMinutesPerDay;
      EXPECT_LE(best, 2.0) << month.year << "-" << month.month << " " << phase.jd;
      worst = std::max(worst, best);
    }
  }
  std::printf("  worst lunar phase %.2f min\n", worst);
}

}  // namespace
}  // namespace kelvara::engine
