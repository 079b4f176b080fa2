// Chiron, Ceres and Pallas from the ephemeris files in data/ against JPL Horizons
// (data/minor_bodies.csv): Ceres through the whole layer as an apparent place, and the files'
// heliocentric places as Horizons vectors and astrometric places.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/ephemeris/delta_t.h"
#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/precession.h"

namespace kelvara::engine {
namespace {

const std::string kData = std::string(KELVARA_SOURCE_DIR) + "/data/";
constexpr double kArcsecPerRad = kRadToDeg * 3600.0;
// The integration reaches about 1" against these references; the bound leaves room for the
// Delta T of the UT rows and for a later regeneration of the files.
constexpr double kBoundArcsec = 3.0;

struct Row {
  std::string kind, body;
  double julianDay, a, b, c;
};

std::vector<Row> LoadRows() {
  std::ifstream in(std::string(KELVARA_TEST_DATA_DIR) + "/minor_bodies.csv");
  std::vector<Row> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    Row row;
    if (fields >> row.kind >> row.body >> row.julianDay >> row.a >> row.b >> row.c) rows.push_back(row);
  }
  return rows;
}

const std::map<std::string, int> kBodies = {{"ceres", kBodyCeres}, {"pallas", kBodyPallas}, {"chiron", kBodyChiron}};

Vec3 Direction(double longitudeDeg, double latitudeDeg) {
  const double l = longitudeDeg * kDegToRad, b = latitudeDeg * kDegToRad;
  return {std::cos(b) * std::cos(l), std::cos(b) * std::sin(l), std::sin(b)};
}

double SeparationArcsec(const Vec3& a, const Vec3& b) {
  return std::atan2(Norm(Cross(a, b)), Dot(a, b)) * kArcsecPerRad;
}

// Heliocentric position from the files, ecliptic and mean equinox J2000, at a TT day.
Vec3 FileHeliocentricJ2000(EphemerisFileReader& reader, int body, double julianDayTt) {
  SphericalState place;
  EXPECT_TRUE(reader.Heliocentric(body, julianDayTt, kData, place)) << body << " " << julianDayTt;
  return PrecessEclipticDateToJ2000(SphericalToRectangular(place).position, julianDayTt);
}

// Geocentric astrometric direction (ICRF equatorial, light time applied) at a UT day.
Vec3 Astrometric(EphemerisFileReader& reader, int body, double julianDayUt) {
  const double tt = julianDayUt + DeltaTSeconds(julianDayUt) / kSecondsPerDay;
  const Vec3 earth = PrecessEclipticDateToJ2000(PlanetHeliocentricState(VsopBody::kEarth, tt).position, tt);
  Vec3 geocentric = FileHeliocentricJ2000(reader, body, tt) - earth;
  for (int i = 0; i < 3; ++i) {
    geocentric = FileHeliocentricJ2000(reader, body, tt - Norm(geocentric) * kLightDaysPerAu) - earth;
  }
  return EclipticJ2000ToEquatorial(geocentric);
}

TEST(MinorBodyFiles, AgreeWithHorizons) {
  const std::vector<Row> rows = LoadRows();
  ASSERT_EQ(rows.size(), 14u);
  EphemerisLayer layer;
  EphemerisFileReader reader;
  for (const Row& row : rows) {
    const int body = kBodies.at(row.body);
    double error = 0.0;
    if (row.kind == "apparent_ecliptic") {
      EphemerisResult result;
      ASSERT_TRUE(layer.Position(body, row.julianDay, kData, result));
      error = SeparationArcsec(Direction(result.longitudeDeg, result.latitudeDeg), Direction(row.a, row.b));
    } else if (row.kind == "heliocentric_j2000") {
      error = SeparationArcsec(FileHeliocentricJ2000(reader, body, row.julianDay), {row.a, row.b, row.c});
    } else {
      const Vec3 direction = Astrometric(reader, body, row.julianDay);
      const double ra = std::atan2(direction.y, direction.x) * kRadToDeg;
      const double dec = std::asin(direction.z / Norm(direction)) * kRadToDeg;
      error = SeparationArcsec(Direction(ra, dec), Direction(row.a, row.b));
    }
    std::printf("%-7s %-19s JD %.1f  %.3f\"\n", row.body.c_str(), row.kind.c_str(), row.julianDay, error);
    EXPECT_LE(error, kBoundArcsec) << row.body << " " << row.kind << " " << row.julianDay;
  }
}

}  // namespace
}  // namespace kelvara::engine
