// Apparent places against the independent reference (DE405 with IAU 2006/2000A reductions),
// evaluated at each row's own TT so that Delta T models do not enter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/tests/reference_positions.h"

namespace kelvara::engine {
namespace {

// Speeds are held to 1e-4 deg/day, ten times tighter than charts need: the reference's own
// two-sided difference is good to about that.
struct Bound {
  int body;
  double positionArcsec;
  double speedDegPerDay;
};

// Uranus and Neptune: the full VSOP87D series (fitted to DE200) themselves depart from DE405
// by up to 1.9" and 3.9" over 1860-2130, smoothly with time; the bounds are what the theory
// supports. Pluto comes from the files, integrated from JPL's DE440-era states of 1950 and 2000:
// it meets the reference (DE405) within 0.5" between those years, and DE405's own Pluto drifts
// away from the modern orbit outside them, to 2" in 1860 and 4" in 2130.
const std::map<std::string, Bound> kBounds = {
    {"sun", {kBodySun, 1.0, 1e-4}},           {"moon", {kBodyMoon, 2.0, 1e-4}},
    {"mercury", {kBodyMercury, 1.0, 1e-4}},   {"venus", {kBodyVenus, 1.0, 1e-4}},
    {"mars", {kBodyMars, 1.0, 1e-4}},         {"jupiter", {kBodyJupiter, 1.0, 1e-4}},
    {"saturn", {kBodySaturn, 1.0, 1e-4}},     {"uranus", {kBodyUranus, 2.0, 1e-4}},
    {"neptune", {kBodyNeptune, 4.5, 1e-4}},   {"pluto", {kBodyPluto, 4.5, 1e-4}},
    {"mean_node", {kBodyMeanNode, 0.1, 1e-4}}, {"mean_apogee", {kBodyLilith, 0.1, 1e-4}},
};

struct Errors {
  std::vector<double> longitude, latitude, speed;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

double Max(const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()); }

std::string DataPrefix() { return std::string(KELVARA_SOURCE_DIR) + "/data/"; }

TEST(EphemerisAccuracy, ApparentPlacesMatchTheReferenceOver1860To2130) {
  const auto rows = testing::LoadReferencePositions();
  ASSERT_EQ(rows.size(), 2400u);
  EphemerisLayer layer;
  std::map<std::string, Errors> errors;
  for (const auto& row : rows) {
    const Bound& bound = kBounds.at(row.body);

    EphemerisResult result;
    const double tt = row.julianDayUt + row.deltaTSeconds / kSecondsPerDay;
    if (!layer.PositionAtTt(bound.body, tt, DataPrefix(), result)) {
      ADD_FAILURE() << row.body << " not available at JD(UT) " << row.julianDayUt;
      continue;
    }
    const double dLon = std::fabs(std::remainder(result.longitudeDeg - row.longitudeDeg, 360.0)) * 3600.0;
    const double dLat = std::fabs(result.latitudeDeg - row.latitudeDeg) * 3600.0;
    const double dSpeed = std::fabs(result.motionDegPerDay - row.speedDegPerDay);
    Errors& e = errors[row.body];
    e.longitude.push_back(dLon);
    e.latitude.push_back(dLat);
    e.speed.push_back(dSpeed);
    EXPECT_LE(dLon, bound.positionArcsec) << row.body << " longitude at JD(UT) " << row.julianDayUt;
    EXPECT_LE(dLat, bound.positionArcsec) << row.body << " latitude at JD(UT) " << row.julianDayUt;
    EXPECT_LE(dSpeed, bound.speedDegPerDay) << row.body << " speed at JD(UT) " << row.julianDayUt;
  }
  std::printf("%-12s %10s %10s %10s %10s %12s %12s\n", "body", "lon max\"", "lon med\"", "lat max\"", "lat med\"",
              "speed max", "speed med");
  for (const auto& [body, e] : errors) {
    std::printf("%-12s %10.4f %10.4f %10.4f %10.4f %12.2e %12.2e\n", body.c_str(), Max(e.longitude),
                Median(e.longitude), Max(e.latitude), Median(e.latitude), Max(e.speed), Median(e.speed));
  }
}

}  // namespace
}  // namespace kelvara::engine
