// The series evaluator against the authors' check values: full series read from the
// published files, and the compiled truncated tables within the programs' 1860-2130.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "engine/ephemeris/moon.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/tables.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::engine {
namespace {

const std::string kSeries = std::string(KELVARA_SOURCE_DIR) + "/tools/seriesgen/series";

struct VsopCheck {
  std::string body;
  double julianDay;
  double l, b, r, lRate, bRate, rRate;
};

// Blocks of vsop87.chk for version D: " VSOP87D  EARTH  JD2451545.0 ..." then l/b/r and rates.
std::vector<VsopCheck> ReadVsopChecks() {
  std::ifstream in(kSeries + "/vsop87/vsop87.chk");
  std::vector<VsopCheck> checks;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream header(line);
    std::string version, body, jd;
    if (!(header >> version >> body >> jd) || version != "VSOP87D") continue;
    VsopCheck c{body, std::stod(jd.substr(2)), 0, 0, 0, 0, 0, 0};
    std::string values, rates, word;
    std::getline(in, values);
    std::getline(in, rates);
    std::istringstream v(values), r(rates);
    v >> word >> c.l >> word >> word >> c.b >> word >> word >> c.r;
    r >> word >> c.lRate >> word >> word >> c.bRate >> word >> word >> c.rRate;
    checks.push_back(c);
  }
  return checks;
}

std::string VsopFileOf(const std::string& body) {
  std::string three = body.substr(0, 3);
  for (char& ch : three) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return kSeries + "/vsop87/VSOP87D." + three;
}

TEST(Vsop87Series, FullSeriesReproduceTheOfficialCheckFile) {
  const auto checks = ReadVsopChecks();
  ASSERT_EQ(checks.size(), 80u);
  std::string loadedBody;
  tools::OwnedVsopSeries series;
  for (const auto& c : checks) {
    if (c.body != loadedBody) {
      series = tools::ReadVsop87File(VsopFileOf(c.body));
      loadedBody = c.body;
    }
    const SphericalState s = VsopHeliocentric(series.View(), c.julianDay);
    const double l = s.longitudeRad < 0 ? s.longitudeRad + kTwoPi : s.longitudeRad;
    EXPECT_NEAR(l, c.l, 1.5e-10) << c.body << " " << c.julianDay;
    EXPECT_NEAR(s.latitudeRad, c.b, 1.5e-10) << c.body << " " << c.julianDay;
    EXPECT_NEAR(s.distance, c.r, 1.5e-10) << c.body << " " << c.julianDay;
    EXPECT_NEAR(s.longitudeRateRadPerDay, c.lRate, 1.5e-10) << c.body << " " << c.julianDay;
    EXPECT_NEAR(s.latitudeRateRadPerDay, c.bRate, 1.5e-10) << c.body << " " << c.julianDay;
    EXPECT_NEAR(s.distanceRatePerDay, c.rRate, 1.5e-10) << c.body << " " << c.julianDay;
  }
}

TEST(Vsop87Series, CompiledTablesMatchTheCheckFileWithinTheTruncation) {
  // 0.2" and 1e-6 au cover the truncation error seriesgen reports for 1860-2130.
  const double angle = 0.2 / 206264.806, radius = 1e-6;
  const std::pair<std::string, VsopBody> bodies[] = {
      {"MERCURY", VsopBody::kMercury}, {"VENUS", VsopBody::kVenus}, {"EARTH", VsopBody::kEarth}, {"MARS", VsopBody::kMars}};
  int compared = 0;
  for (const auto& c : ReadVsopChecks()) {
    if (c.julianDay < 2400000.5) continue;  // the tables are cut for 1860-2130
    for (const auto& [name, body] : bodies) {
      if (name != c.body) continue;
      const SphericalState s = VsopHeliocentric(CompiledVsopSeries(body), c.julianDay);
      EXPECT_NEAR(std::remainder(s.longitudeRad - c.l, kTwoPi), 0.0, angle) << c.body << " " << c.julianDay;
      EXPECT_NEAR(s.latitudeRad, c.b, angle) << c.body << " " << c.julianDay;
      EXPECT_NEAR(s.distance, c.r, radius) << c.body << " " << c.julianDay;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 8);
}

TEST(SeriesFiles, MalformedFilesAreRejected) {
  const std::string path = ::testing::TempDir() + "kelvara_bad_series_" + std::to_string(::getpid());
  const auto write = [&](const std::string& text) { std::ofstream(path, std::ios::trunc) << text; };
  // A header that promises more terms than follow.
  write(" VSOP87 VERSION D4    EARTH     VARIABLE 1 (LBR)       *T**0      2 TERMS\n");
  EXPECT_THROW(tools::ReadVsop87File(path), std::runtime_error);
  // A term line cut before its amplitude.
  write(" VSOP87 VERSION D4    EARTH     VARIABLE 1 (LBR)       *T**0      1 TERMS\n 4310    1  0  0\n");
  EXPECT_THROW(tools::ReadVsop87File(path), std::runtime_error);
  EXPECT_THROW(tools::ReadVsop87File(path + ".missing"), std::runtime_error);
  EXPECT_THROW(tools::ReadElpMpp02(path + ".missing"), std::runtime_error);
  std::remove(path.c_str());
}

struct LunarCheck {
  double julianDay;
  Vec3 position, velocity;
};

// ELPMPP02.jpl.ctl: "JD <day>", then "X = .. Y = .. Z = .. km" and "X'= .. km/day".
std::vector<LunarCheck> ReadLunarChecks() {
  std::ifstream in(kSeries + "/elpmpp02/ELPMPP02.jpl.ctl");
  std::vector<LunarCheck> checks;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream header(line);
    std::string word;
    LunarCheck c{};
    if (!(header >> word >> c.julianDay) || word != "JD") continue;
    std::string positions, velocities;
    std::getline(in, positions);
    std::getline(in, velocities);
    for (char& ch : positions) if (ch == '=') ch = ' ';
    for (char& ch : velocities) if (ch == '=') ch = ' ';
    std::istringstream p(positions), v(velocities);
    p >> word >> c.position.x >> word >> c.position.y >> word >> c.position.z;
    v >> word >> c.velocity.x >> word >> c.velocity.y >> word >> c.velocity.z;
    checks.push_back(c);
  }
  return checks;
}

void ExpectNear(const Vec3& a, const Vec3& b, double tolerance, const std::string& what) {
  EXPECT_NEAR(a.x, b.x, tolerance) << what;
  EXPECT_NEAR(a.y, b.y, tolerance) << what;
  EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST(ElpMpp02Series, FullSeriesReproduceTheAuthorsCheckValues) {
  const tools::OwnedLunarSeries full = tools::ReadElpMpp02(kSeries + "/elpmpp02");
  const auto checks = ReadLunarChecks();
  ASSERT_EQ(checks.size(), 51u);
  for (const auto& c : checks) {
    // Far from J2000 the authors' z drifts from ours by metres (0.003" at -300 years); the
    // programs' range is where it must agree.
    if (c.julianDay < 2378496.5) continue;
    const StateVector s = MoonEclipticJ2000Km(full.View(), c.julianDay);
    ExpectNear(s.position, c.position, 2e-3, "position at JD " + std::to_string(c.julianDay));
    // Two metres and 5 m/day: the printed digits are those of the authors' routine, whose
    // velocity also carries the rate of the P, Q rotation left out here.
    ExpectNear(s.velocity, c.velocity, 5e-3, "velocity at JD " + std::to_string(c.julianDay));
  }
}

TEST(ElpMpp02Series, CompiledTablesMatchTheCheckValuesWithinTheTruncation) {
  // 0.5" at the Moon's distance is about 1 km; seriesgen reports 0.39" at most.
  int compared = 0;
  for (const auto& c : ReadLunarChecks()) {
    if (c.julianDay < 2400000.5 || c.julianDay > 2499999.5) continue;
    const StateVector s = MoonEclipticJ2000Km(kElpMpp02Moon, c.julianDay);
    ExpectNear(s.position, c.position, 1.0, "position at JD " + std::to_string(c.julianDay));
    ++compared;
  }
  EXPECT_GE(compared, 3);
}

}  // namespace
}  // namespace kelvara::engine
