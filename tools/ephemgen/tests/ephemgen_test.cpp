// Two-body orbits, and the file writer read back by the layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/planets.h"
#include "tools/ephemgen/ephemeris_writer.h"
#include "tools/ephemgen/orbit.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {
namespace {

const std::string kSource = KELVARA_SOURCE_DIR;

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
