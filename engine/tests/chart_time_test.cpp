#include "engine/chart_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

double Fold(double deg) { return std::remainder(deg, 360.0); }

struct Equatorial {
  double ra_deg;
  double dec_deg;
};

Equatorial EquatorialOf(double lon_deg, double eps) {
  const double l = lon_deg * kDegToRad;
  return {Mod360(std::atan2(std::sin(l) * std::cos(eps), std::cos(l)) * kRadToDeg),
          std::asin(std::sin(l) * std::sin(eps)) * kRadToDeg};
}

// An ecliptic point in the frame of the local meridian: x to the upper meridian on the
// equator, y to the east point, z to the north celestial pole.
struct Vec {
  double x, y, z;
};
Vec MeridianFrame(double lon_deg, double ramc_deg, double eps) {
  const Equatorial e = EquatorialOf(lon_deg, eps);
  const double h = (ramc_deg - e.ra_deg) * kDegToRad;
  const double d = e.dec_deg * kDegToRad;
  return {std::cos(d) * std::cos(h), -std::cos(d) * std::sin(h), std::sin(d)};
}

ChartMoment Moscow1985() { return {7, 12, 1985, 14.05, 0.0, -3.0, -37.35, 55.45}; }

TEST(ChartTime, UniversalTimeAndWorkingUnits) {
  const TimeState t = ProcessChartTime(Moscow1985(), false, 0.0);
  EXPECT_NEAR(11.0 + 5.0 / 60.0, t.ut_hours, 1e-12);
  EXPECT_NEAR(-(37.0 + 35.0 / 60.0), t.longitude_deg, 1e-12);
  EXPECT_NEAR((55.0 + 45.0 / 60.0) * kDegToRad, t.latitude_rad, 1e-12);
  EXPECT_EQ(2446259, t.day_number);
  EXPECT_DOUBLE_EQ(0.0, t.offset_deg);
  EXPECT_NEAR(2.5, UniversalTimeHours(3.30, 0.0, 1.0), 1e-12);  // daylight time subtracts
}

TEST(ChartTime, CenturiesObliquityAndAyanamsaAtJ2000) {
  EXPECT_DOUBLE_EQ(1.0, JulianCenturies(2451545, 12.0));
  EXPECT_NEAR(23.4392815, ObliquityRadians(1.0) * kRadToDeg, 1e-9);
  // The sidereal zodiac of this ayanamsa stands about 24 deg 44 min behind the tropical.
  EXPECT_NEAR(-24.74, AyanamsaDegrees(1.0), 0.02);
  const TimeState sidereal = ProcessChartTime(Moscow1985(), true, 1.5);
  EXPECT_NEAR(AyanamsaDegrees(sidereal.t_centuries) + 1.5, sidereal.offset_deg, 1e-12);
}

TEST(ChartTime, LatitudeIsClampedInDegreesBeforeThePoles) {
  EXPECT_NEAR(kMaxLatitudeDeg, LatitudeRadians(90.00) * kRadToDeg, 1e-12);
  // 89.9999 in D.MM form would read as 90.67 degrees; it must not cross the pole.
  EXPECT_NEAR(kMaxLatitudeDeg, LatitudeRadians(89.9999) * kRadToDeg, 1e-12);
  EXPECT_NEAR(-kMaxLatitudeDeg, LatitudeRadians(-95.0) * kRadToDeg, 1e-12);
  EXPECT_NEAR(kMaxLatitudeDeg, LatitudeRadians(10000.0) * kRadToDeg, 1e-12);
  EXPECT_TRUE(std::isfinite(LatitudeRadians(std::nan(""))));
}

TEST(ChartTime, RamcFollowsGreenwichSiderealTime) {
  // IAU 1982 mean sidereal time (Meeus, Astronomical Algorithms, eq. 12.4).
  for (double jd : {2415020.5, 2446259.1, 2451545.0, 2462000.75}) {
    const double day = std::floor(jd + 0.5);
    const double ut = (jd + 0.5 - day) * 24.0;
    const double t2000 = (jd - 2451545.0) / 36525.0;
    const double gmst = 280.46061837 + 360.98564736629 * (jd - 2451545.0) +
                        0.000387933 * t2000 * t2000;
    const double ramc =
        RamcRadians(JulianCenturies(static_cast<long long>(day), ut), ut, -30.0) * kRadToDeg;
    EXPECT_NEAR(0.0, Fold(ramc - (gmst + 30.0)), 2e-3) << jd;
  }
}

TEST(ChartTime, AnglesLieWhereTheirDefinitionsPutThem) {
  const double eps = 23.44 * kDegToRad;
  for (double ramc_deg = 3.0; ramc_deg < 360.0; ramc_deg += 29.0) {
    for (double lat_deg : {-60.0, -33.9, 0.0, 40.7, 55.75, 66.0}) {
      const double ramc = ramc_deg * kDegToRad, lat = lat_deg * kDegToRad;
      SCOPED_TRACE(::testing::Message() << "ramc " << ramc_deg << " lat " << lat_deg);
      const double mc = MidheavenDegrees(ramc, eps);
      EXPECT_NEAR(0.0, Fold(EquatorialOf(mc, eps).ra_deg - ramc_deg), 1e-9);

      // The Ascendant is on the horizon, on the eastern side.
      const Vec asc = MeridianFrame(AscendantDegrees(ramc, eps, lat), ramc_deg, eps);
      const Vec zenith{std::cos(lat), 0.0, std::sin(lat)};
      EXPECT_NEAR(0.0, asc.x * zenith.x + asc.z * zenith.z, 1e-12);
      EXPECT_GT(asc.y, 0.0);

      // The Vertex is on the prime vertical (perpendicular to the north point), western;
      // on the equator the prime vertical is the equator itself and no side is defined.
      const Vec vertex = MeridianFrame(VertexDegrees(ramc, eps, lat), ramc_deg, eps);
      const Vec north{-std::sin(lat), 0.0, std::cos(lat)};
      EXPECT_NEAR(0.0, vertex.x * north.x + vertex.z * north.z, 1e-9);
      if (lat_deg != 0.0) {
        EXPECT_LT(vertex.y, 0.0);
      }

      EXPECT_DOUBLE_EQ(AscendantDegrees(ramc, eps, 0.0), EastPointDegrees(ramc, eps));
    }
  }
}

TEST(ChartTime, ChartAnglesCarryTheZodiacOffset) {
  TimeState plain = ProcessChartTime(Moscow1985(), false, 0.0);
  TimeState shifted = ProcessChartTime(Moscow1985(), false, 10.0);
  ComputeChartAngles(plain);
  ComputeChartAngles(shifted);
  EXPECT_DOUBLE_EQ(plain.ramc_rad, shifted.ramc_rad);
  for (auto member : {&TimeState::midheaven_deg, &TimeState::ascendant_deg,
                      &TimeState::east_point_deg, &TimeState::vertex_deg}) {
    EXPECT_NEAR(0.0, Fold(shifted.*member - plain.*member - 10.0), 1e-9);
  }
}

TEST(ChartTime, HorizonCoordinatesOfMeridianAndHorizonPoints) {
  const double lat_deg = 55.75, ramc_deg = 134.0, geo_lon = -37.58;
  // On the upper meridian at declination 0: due south, at the co-latitude.
  const SkyPoint south = EquatorialToEcliptic(ramc_deg, 0.0);
  HorizonPosition p =
      HorizonCoords(south.longitude_deg, south.latitude_deg, ramc_deg, geo_lon, lat_deg * kDegToRad);
  EXPECT_NEAR(270.0, p.azimuth_deg, 1e-9);
  EXPECT_NEAR(90.0 - lat_deg, p.altitude_deg, 1e-9);
  // An equator point six hours east of the meridian rises due east.
  const SkyPoint east = EquatorialToEcliptic(ramc_deg + 90.0, 0.0);
  p = HorizonCoords(east.longitude_deg, east.latitude_deg, ramc_deg, geo_lon, lat_deg * kDegToRad);
  EXPECT_NEAR(0.0, Fold(p.azimuth_deg), 1e-9);
  EXPECT_NEAR(0.0, p.altitude_deg, 1e-9);
  const SkyPoint west = EquatorialToEcliptic(ramc_deg - 90.0, 0.0);
  p = HorizonCoords(west.longitude_deg, west.latitude_deg, ramc_deg, geo_lon, lat_deg * kDegToRad);
  EXPECT_NEAR(180.0, p.azimuth_deg, 1e-9);
}

TEST(ChartTime, HousePlaceAcrossAriesAndOnTheCusps) {
  std::array<double, 13> cusps{};
  for (int i = 1; i <= 12; ++i) cusps[i] = Mod360(200.0 + 30.0 * (i - 1));
  EXPECT_EQ(1, HousePlace(215.0, cusps));
  EXPECT_EQ(6, HousePlace(359.0, cusps));  // house 6 runs from 350 over Aries to 20
  EXPECT_EQ(6, HousePlace(10.0, cusps));
  EXPECT_EQ(7, HousePlace(20.0, cusps));
  // A point a tenth of an arc second before a cusp already belongs to the house it opens.
  EXPECT_EQ(2, HousePlace(230.0 - 1.0 / 36000.0, cusps));
  EXPECT_EQ(1, HousePlace(230.0 - 1.0 / 3600.0, cusps));
  EXPECT_EQ(12, HousePlace(std::nan(""), cusps));
}

}  // namespace
}  // namespace kelvara::engine
