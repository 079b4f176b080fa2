// Two-body orbits and the Gauss-Radau integrator on problems with known answers, the force
// model on a short arc of Ceres against JPL Horizons, and the file writer read back by the layer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

#include <unistd.h>

#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/planets.h"
#include "tools/ephemgen/ephemeris_writer.h"
#include "tools/ephemgen/forces.h"
#include "tools/ephemgen/initial_conditions.h"
#include "tools/ephemgen/de405.h"
#include "tools/ephemgen/orbit.h"
#include "tools/ephemgen/outer_planets.h"
#include "tools/ephemgen/planets.h"
#include "tools/ephemgen/radau.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {
namespace {

using engine::StateVector;
using engine::Vec3;

const std::string kSource = KELVARA_SOURCE_DIR;
const std::string kFolder = kSource + "/tools/ephemgen/data/minor-bodies";
constexpr double kSunGm = 2.9591220828411956e-04;
constexpr double kArcsecPerRad = engine::kRadToDeg * 3600.0;

Vec3 AsVec3(const std::vector<double>& flat) { return {flat[0], flat[1], flat[2]}; }
std::vector<double> Flat(const Vec3& v) { return {v.x, v.y, v.z}; }

GaussRadau15 TwoBody(bool relativity) {
  return GaussRadau15(
      [relativity](double, const std::vector<double>& x, const std::vector<double>& v, std::vector<double>& a) {
        const Vec3 r = AsVec3(x);
        const double d = engine::Norm(r);
        Vec3 acceleration = (-kSunGm / (d * d * d)) * r;
        if (relativity) {
          acceleration = acceleration + SolarRelativisticAcceleration(kSunGm, engine::kLightDaysPerAu, r, AsVec3(v));
        }
        a = {acceleration.x, acceleration.y, acceleration.z};
      },
      3);
}

// Pallas-like eccentric, inclined orbit over 30 revolutions, forwards, and back again.
TEST(GaussRadau15, FollowsAKeplerOrbitAndComesBack) {
  const StateVector start = StateFromElements({2.77, 0.23, 0.61, 3.0, 5.4, 0.3}, kSunGm);
  const double days = 50000.0;
  const StateVector exact = PropagateKepler(start, kSunGm, days);
  for (double step : {8.0, 16.0}) {
    GaussRadau15 radau = TwoBody(false);
    std::vector<double> x = Flat(start.position), v = Flat(start.velocity);
    double t = 0.0;
    radau.IntegrateTo(t, x, v, days, step);
    EXPECT_EQ(t, days);
    EXPECT_LT(engine::Norm(AsVec3(x) - exact.position), 1e-10) << step;
    radau.IntegrateTo(t, x, v, 0.0, step);
    EXPECT_LT(engine::Norm(AsVec3(x) - start.position), 1e-10) << step;
    EXPECT_LT(engine::Norm(AsVec3(v) - start.velocity), 1e-13) << step;
  }
}

// The Sun's post-Newtonian term turns Mercury's perihelion by 42.98" a century.
TEST(GaussRadau15, SolarRelativityAdvancesMercurysPerihelion) {
  const StateVector start = StateFromElements({0.387098, 0.205630, 0.0, 0.0, 0.0, 0.0}, kSunGm);
  GaussRadau15 radau = TwoBody(true);
  std::vector<double> x = Flat(start.position), v = Flat(start.velocity);
  double t = 0.0;
  radau.IntegrateTo(t, x, v, 36525.0, 1.0);
  // Direction of the eccentricity (Laplace-Runge-Lenz) vector.
  const Vec3 r = AsVec3(x), velocity = AsVec3(v);
  const Vec3 e = (1.0 / kSunGm) * engine::Cross(velocity, engine::Cross(r, velocity)) - (1.0 / engine::Norm(r)) * r;
  EXPECT_NEAR(std::atan2(e.y, e.x) * kArcsecPerRad, 42.98, 0.1);
}

// Ceres from its JPL solution (2020-01-01) to Horizons' heliocentric vectors of 2022 June-July,
// under the Sun, the inner planets and the outer planets started from DE405 at the same epoch:
// within 0.01". Halving the step changes nothing that matters.
TEST(BodyIntegrator, CarriesCeresOntoTheHorizonsVectors) {
  PerturbingPlanets planets(kSource + "/tools/seriesgen/series/vsop87", 1e-7, 0.4);
  const De405 de405 = ReadDe405(kSource + "/tools/ephemgen/data/de405");
  const EpochState ceres = ReadSbdbState(kFolder + "/sbdb_initial_conditions.csv", "1 Ceres");
  ForceModel model = OuterPlanetModel(de405.constants);
  model.bodies.push_back({"Ceres", ReadGm(kFolder + "/gm_de440.csv", 2000001), Pull::kMinorBodies});
  std::vector<StateVector> start = OuterPlanetStates(de405, ceres.julianDayTdb, Origin::kSun);
  start.push_back(ceres.state);
  struct Check {
    double julianDay;
    Vec3 position;
  };
  const Check checks[] = {{2459740.5, {-8.354726583796999e-01, 2.455132459520164e+00, 2.314862198331841e-01}},
                          {2459770.5, {-1.128387470845915e+00, 2.311682815778683e+00, 2.809145935195726e-01}}};
  std::vector<Vec3> coarse;
  for (double step : {8.0, 4.0}) {
    BodyIntegrator integrator(planets, model, step);
    std::vector<StateVector> states = start;
    double t = ceres.julianDayTdb;
    for (const Check& c : checks) {
      integrator.Advance(t, states, c.julianDay);
      const Vec3 p = states.back().position;
      EXPECT_LT(SeparationArcsec(p, c.position), 0.01) << c.julianDay;
      if (step == 8.0) coarse.push_back(p);
      else EXPECT_LT(engine::Norm(p - coarse[&c - checks]), 1e-11) << c.julianDay;
    }
  }
}

TEST(Kepler, CircularOrbitTurnsAQuarterInAQuarterPeriod) {
  const double mu = 2.959122e-4, a = 39.5;
  const double speed = std::sqrt(mu / a);
  const double period = 2.0 * engine::kPi * std::sqrt(a * a * a / mu);
  const StateVector later = PropagateKepler({{a, 0, 0}, {0, speed, 0}}, mu, period / 4.0);
  EXPECT_NEAR(later.position.x, 0.0, 1e-9);
  EXPECT_NEAR(later.position.y, a, 1e-9);
  EXPECT_NEAR(later.velocity.x, -speed, 1e-12);
}

TEST(Kepler, EccentricOrbitKeepsEnergyAndAngularMomentum) {
  const double mu = 2.959122e-4;
  const StateVector start{{30.0, 5.0, 9.0}, {-0.001, 0.0025, 0.0004}};
  const auto energy = [&](const StateVector& s) {
    return engine::Dot(s.velocity, s.velocity) / 2.0 - mu / engine::Norm(s.position);
  };
  for (double days : {-5000.0, 1234.5, 40000.0}) {
    const StateVector later = PropagateKepler(start, mu, days);
    EXPECT_NEAR(energy(later), energy(start), 1e-15) << days;
    const Vec3 h0 = engine::Cross(start.position, start.velocity);
    const Vec3 h1 = engine::Cross(later.position, later.velocity);
    EXPECT_NEAR(engine::Norm(h1 - h0), 0.0, 1e-12) << days;
  }
}

TEST(EphemerisWriter, RecordsAreBigEndianInTheFileUnits) {
  const auto bytes = EncodeRecord({{359.9999999999, -1.5, 5.2}});
  ASSERT_EQ(bytes.size(), 12u);
  const auto word = [&](int at) {
    std::uint32_t value = 0;
    for (int i = at; i < at + 4; ++i) value = (value << 8) | bytes[i];
    return static_cast<std::int32_t>(value);
  };
  EXPECT_EQ(word(0), 0);  // a longitude that rounds to a whole circle is stored as zero
  EXPECT_EQ(word(4), -15000000);
  EXPECT_EQ(word(8), 52000000);
}

// A file written from the full Jupiter series, read back through the layer's reader: the
// Everett interpolation between 80-day records stays within 0.03" of the series (1.3e-7 rad).
TEST(EphemerisWriter, InterpolatedFileFollowsTheSeries) {
  const OwnedVsopSeries jupiter = ReadVsop87File(kSource + "/tools/seriesgen/series/vsop87/VSOP87D.jup");
  const auto folder = std::filesystem::temp_directory_path() / ("kelvara_ephemgen_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string prefix = folder.string() + "/";
  const auto place = [&](double jd) {
    const engine::SphericalState s = engine::VsopHeliocentric(jupiter.View(), jd);
    return HeliocentricPlace{s.longitudeRad * engine::kRadToDeg, s.latitudeRad * engine::kRadToDeg, s.distance};
  };
  WriteEphemerisFile(engine::EphemerisFilePath(1, 24, prefix), 1, 24, [&](double jd) {
    return std::vector<HeliocentricPlace>(5, place(jd));
  });
  engine::EphemerisFileReader reader;
  for (double jd = 2400300.25; jd < 2499000.0; jd += 9876.54) {
    engine::SphericalState read;
    ASSERT_TRUE(reader.Heliocentric(5, jd, prefix, read)) << jd;
    const engine::SphericalState exact = engine::VsopHeliocentric(jupiter.View(), jd);
    EXPECT_NEAR(std::remainder(read.longitudeRad - exact.longitudeRad, engine::kTwoPi), 0.0, 0.03 * engine::kArcsecToRad) << jd;
    EXPECT_NEAR(read.latitudeRad, exact.latitudeRad, 0.03 * engine::kArcsecToRad) << jd;
    EXPECT_NEAR(read.distance, exact.distance, 5e-7) << jd;
    EXPECT_NEAR(read.longitudeRateRadPerDay, exact.longitudeRateRadPerDay, 1e-8) << jd;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kelvara::tools
