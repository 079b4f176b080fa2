// Positions returned by EngineRun against the independent reference table (DE405 with the
// IAU 2006/2000A reductions, 200 instants 1860-2130), each row compared at its own TT.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/ephemeris/tests/reference_positions.h"
#include "engine/layer_places.h"
#include "engine/records.h"
#include "engine/tests/run_vector.h"

namespace kelvara::engine {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kArcsecPerDeg = 3600.0;

struct Bound {
  int object;
  double position_arcsec;
};

// Files on ("-b0"): the ephemeris layer's reach. Uranus and Neptune carry VSOP87D's own
// departure from DE405; Pluto, integrated from JPL's modern states, DE405's departure from them
// (up to 4" in 2130).
const std::map<std::string, Bound> kLayerBounds = {
    {"sun", {kSun, 1.0}},         {"moon", {kMoon, 2.0}},       {"mercury", {kMercury, 1.0}},
    {"venus", {kVenus, 1.0}},     {"mars", {kMars, 1.0}},       {"jupiter", {kJupiter, 1.0}},
    {"saturn", {kSaturn, 1.0}},   {"uranus", {kUranus, 2.0}},   {"neptune", {kNeptune, 4.5}},
    {"pluto", {kPluto, 4.5}},    {"mean_node", {kNode, 0.1}},  {"mean_apogee", {kLilith, 0.1}},
};
constexpr double kLayerSpeedBoundDegPerDay = 0.001;

// Files off: the elements model (Meeus 1979 and Standish mean elements, the Jupiter-Saturn
// inequalities) and the lunar series (Meeus ch. 47), bounded by what they reach over
// 1860-2130 with a margin; Uranus is a two-century fit used up to 2130.
const std::map<std::string, double> kModelBoundsArcsec = {
    {"sun", 30.0},      {"moon", 15.0},    {"mercury", 45.0}, {"venus", 90.0},
    {"mars", 420.0},    {"jupiter", 130.0}, {"saturn", 210.0}, {"uranus", 650.0},
    {"neptune", 160.0}, {"pluto", 90.0},   {"mean_node", 15.0}};
constexpr double kModelSpeedBoundDegPerDay = 0.002;

struct Errors {
  std::vector<double> longitude, latitude, speed;
};

using testing::RunOutput;

RunOutput RunJulianDay(double jd_ut, bool true_node, bool files) {
  char number[64];
  std::snprintf(number, sizeof number, "%.10f", jd_ut);
  std::vector<std::string> texts = {testing::RepositoryArgv0()};
  if (true_node) texts.push_back("-Yn");
  if (files) texts.push_back("-b0");
  texts.insert(texts.end(), {"qj", number});
  return testing::RunTexts(texts);
}

// The UT at which the engine's own Delta T reaches the row's TT.
double UtForRowTt(const testing::ReferenceRow& row) {
  const double tt = row.julianDayUt + row.deltaTSeconds / kSecondsPerDay;
  double ut = row.julianDayUt;
  for (int i = 0; i < 2; ++i) ut = tt - LayerDeltaTSeconds(ut) / kSecondsPerDay;
  return ut;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

double Max(const std::vector<double>& v) {
  return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

void PrintErrors(const char* title, const std::map<std::string, Errors>& errors) {
  std::printf("%s\n%-12s %9s %9s %9s %9s %10s %10s\n", title, "body", "lon max\"", "lon med\"",
              "lat max\"", "lat med\"", "spd max", "spd med");
  for (const auto& [body, e] : errors) {
    std::printf("%-12s %9.3f %9.3f %9.3f %9.3f %10.2e %10.2e\n", body.c_str(), Max(e.longitude),
                Median(e.longitude), Max(e.latitude), Median(e.latitude), Max(e.speed),
                Median(e.speed));
  }
}

std::vector<testing::ReferenceRow> Reference() {
  return testing::LoadReferencePositions(std::string(KELVARA_SOURCE_DIR) +
                                         "/engine/ephemeris/tests/data/positions.csv");
}

// One body of one run against its reference row, within the bounds; speed_bound < 0 skips
// the speed.
void CompareRow(const testing::ReferenceRow& row, const RunOutput& run, int object,
                double position_arcsec, double speed_bound, Errors& e) {
  const double lon = std::fabs(run.longitude[object]);
  e.longitude.push_back(std::fabs(std::remainder(lon - row.longitudeDeg, 360.0)) * kArcsecPerDeg);
  e.latitude.push_back(std::fabs(run.latitude[object] - row.latitudeDeg) * kArcsecPerDeg);
  e.speed.push_back(std::fabs(run.speed[object] - row.speedDegPerDay));
  EXPECT_LE(e.longitude.back(), position_arcsec) << row.body << " longitude, JD(UT) " << row.julianDayUt;
  EXPECT_LE(e.latitude.back(), position_arcsec) << row.body << " latitude, JD(UT) " << row.julianDayUt;
  if (speed_bound >= 0.0) {
    EXPECT_LE(e.speed.back(), speed_bound) << row.body << " speed, JD(UT) " << row.julianDayUt;
  }
}

TEST(CastingAccuracy, FilesGiveReferencePlacesAtEachRowsTerrestrialTime) {
  const auto rows = Reference();
  ASSERT_EQ(rows.size(), 2400u);
  std::map<std::string, Errors> errors;
  double last_jd = -1.0;
  RunOutput true_node_run, mean_node_run;
  for (const auto& row : rows) {
    const double ut = UtForRowTt(row);
    if (row.julianDayUt != last_jd) {
      true_node_run = RunJulianDay(ut, true, true);
      mean_node_run = RunJulianDay(ut, false, true);
      last_jd = row.julianDayUt;
      // The reported Delta T is the one that brought the cast to the row's TT.
      EXPECT_NEAR(row.julianDayUt + row.deltaTSeconds / kSecondsPerDay,
                  ut + true_node_run.delta_t_s / kSecondsPerDay, 1e-8);
    }
    const Bound& bound = kLayerBounds.at(row.body);
    CompareRow(row, bound.object == kNode ? mean_node_run : true_node_run, bound.object,
               bound.position_arcsec, kLayerSpeedBoundDegPerDay, errors[row.body]);
  }
  PrintErrors("EngineRun -b0 against the reference (arcseconds, deg/day):", errors);
}

TEST(CastingAccuracy, ElementsModelAndLunarSeriesWithoutFiles) {
  std::map<std::string, Errors> errors;
  double last_jd = -1.0;
  RunOutput run;
  for (const auto& row : Reference()) {
    if (row.body == "mean_apogee") continue;  // object 17 is the south node without files
    if (row.julianDayUt != last_jd) {
      run = RunJulianDay(UtForRowTt(row), false, false);
      last_jd = row.julianDayUt;
    }
    const int object = kLayerBounds.at(row.body).object;
    // Without files the Moon's motion is a fixed 12.5 deg/day.
    CompareRow(row, run, object, kModelBoundsArcsec.at(row.body),
               object == kMoon ? -1.0 : kModelSpeedBoundDegPerDay, errors[row.body]);
  }
  PrintErrors("EngineRun without files against the reference (arcseconds, deg/day):", errors);
}

}  // namespace
}  // namespace kelvara::engine
