// PLUTO95 against the authors' test values, and the file writer read back by the layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/planets.h"
#include "tools/ephemgen/ephemeris_writer.h"
#include "tools/ephemgen/pluto95.h"
#include "tools/ephemgen/provisional_pluto.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {
namespace {

const std::string kSource = KELVARA_SOURCE_DIR;

TEST(Pluto95, ReproducesTheAuthorsTestValues) {
  const Pluto95Tables tables = ReadPluto95(kSource + "/tools/ephemgen/series/pluto95/pluto.txt");
  struct Check {
    double jd;
    engine::Vec3 position;
  };
  const Check checks[] = {
      {2341972.5, {-25.48366603086599, 22.25190224179014, 14.61666566142614}},
      {2378497.75, {36.33316699469712, -11.84871881208418, -14.64079073464049}},
      {2415023.0, {10.29158303131287, 44.52906466047693, 10.79081191605171}},
      {2451548.25, {-9.86615874601937, -27.98285304568784, -5.75779357947923}},
  };
  for (const Check& c : checks) {
    const engine::Vec3 p = Pluto95Position(tables, c.jd);
    EXPECT_NEAR(p.x, c.position.x, 1e-12) << c.jd;
    EXPECT_NEAR(p.y, c.position.y, 1e-12) << c.jd;
    EXPECT_NEAR(p.z, c.position.z, 1e-12) << c.jd;
  }
}

TEST(Pluto95, ShortTablesAreRejected) {
  const auto path = std::filesystem::temp_directory_path() / ("kelvara_pluto_" + std::to_string(::getpid()));
  { std::ofstream(path) << "001  0.0000645003954767\n"; }
  EXPECT_THROW(ReadPluto95(path.string()), std::runtime_error);
  std::filesystem::remove(path);
}

TEST(Kepler, CircularOrbitTurnsAQuarterInAQuarterPeriod) {
  const double mu = 2.959122e-4, a = 39.5;
  const double speed = std::sqrt(mu / a);
  const double period = 2.0 * engine::kPi * std::sqrt(a * a * a / mu);
  const engine::StateVector later = PropagateKepler({{a, 0, 0}, {0, speed, 0}}, mu, period / 4.0);
  EXPECT_NEAR(later.position.x, 0.0, 1e-9);
  EXPECT_NEAR(later.position.y, a, 1e-9);
  EXPECT_NEAR(later.velocity.x, -speed, 1e-12);
}

TEST(Kepler, EccentricOrbitKeepsEnergyAndAngularMomentum) {
  const double mu = 2.959122e-4;
  const engine::StateVector start{{30.0, 5.0, 9.0}, {-0.001, 0.0025, 0.0004}};
  const auto energy = [&](const engine::StateVector& s) {
    return engine::Dot(s.velocity, s.velocity) / 2.0 - mu / engine::Norm(s.position);
  };
  for (double days : {-5000.0, 1234.5, 40000.0}) {
    const engine::StateVector later = PropagateKepler(start, mu, days);
    EXPECT_NEAR(energy(later), energy(start), 1e-15) << days;
    const engine::Vec3 h0 = engine::Cross(start.position, start.velocity);
    const engine::Vec3 h1 = engine::Cross(later.position, later.velocity);
    EXPECT_NEAR(engine::Norm(h1 - h0), 0.0, 1e-12) << days;
  }
}

TEST(ProvisionalPluto, ContinuesPluto95WithoutAJump) {
  std::vector<OwnedVsopSeries> outer;
  for (const char* file : {"jup", "sat", "ura", "nep"}) {
    outer.push_back(ReadVsop87File(kSource + "/tools/seriesgen/series/vsop87/VSOP87D." + file));
  }
  const ProvisionalPluto pluto(ReadPluto95(kSource + "/tools/ephemgen/series/pluto95/pluto.txt"), outer);
  const engine::Vec3 last = pluto.EclipticOfDate(kPluto95LastJd);
  const engine::Vec3 next = pluto.EclipticOfDate(kPluto95LastJd + 0.01);
  // Pluto moves about 1e-5 au in 0.01 day.
  EXPECT_LT(engine::Norm(next - last), 5e-5);
  // Thirty years on it is still on a Pluto-like orbit.
  const double r = engine::Norm(pluto.EclipticOfDate(2499400.5));
  EXPECT_GT(r, 29.0);
  EXPECT_LT(r, 50.0);
}

TEST(EphemerisWriter, RecordsAreBigEndianInTheFileUnits) {
  const auto bytes = EncodeRecord({{359.9999999999, -1.5, 5.2}});
  ASSERT_EQ(bytes.size(), 12u);
  // A longitude that rounds to a whole circle is stored as zero.
  EXPECT_EQ((std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4)), (std::vector<unsigned char>{0, 0, 0, 0}));
  const std::int32_t latitude = static_cast<std::int32_t>((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]);
  EXPECT_EQ(latitude, -15000000);
  const std::int32_t radius = (bytes[8] << 24) | (bytes[9] << 16) | (bytes[10] << 8) | bytes[11];
  EXPECT_EQ(radius, 52000000);
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
  WriteEphemerisFile(engine::EphemerisFilePath(1, 24, prefix), 24, [&](double jd) {
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
