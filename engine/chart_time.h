// The chart's moment and place in working units, sidereal time, obliquity, ayanamsa and
// the chart angles that do not depend on the house system.
#pragma once

#include <array>

#include "engine/angles.h"               // Tilt
#include "engine/ephemeris/geometry.h"  // kDaysPerCentury

namespace kelvara::engine {

// Latitudes nearer the poles than this (degrees) are taken as this.
inline constexpr double kMaxLatitudeDeg = 89.9999;
// Obliquity (radians) fixed for the scans, the crossing table and the equatorial option.
inline constexpr double kFixedObliquityRad = 0.40920621;
// Julian date of 1900 January 0.5, the origin of the engine's centuries.
inline constexpr double kEpoch1900Jd = 2415020.0;

// What ProcessChartTime reads: H.MM and D.MM values as the chart input holds them.
struct ChartMoment {
  int month;
  int day;
  int year;
  double time_hmm;
  double dst_hmm;
  double zone_hmm;       // positive west
  double longitude_dmm;  // positive west
  double latitude_dmm;   // positive north
};

struct TimeState {
  long long day_number = 0;     // Julian day number of the date's noon
  double ut_hours = 0.0;
  double longitude_deg = 0.0;   // positive west
  double latitude_rad = 0.0;
  double t_centuries = 0.0;     // from JD 2415020.0
  double obliquity_rad = 0.0;
  double offset_deg = 0.0;      // zodiac offset in effect
  double ramc_rad = 0.0;
  double midheaven_deg = 0.0;
  double ascendant_deg = 0.0;
  double east_point_deg = 0.0;
  double vertex_deg = 0.0;
};

// Universal Time in hours from a local H.MM clock time, zone and daylight value.
double UniversalTimeHours(double time_hmm, double zone_hmm, double dst_hmm);
// A D.MM latitude in radians, held within +-89.9999 degrees.
double LatitudeRadians(double latitude_dmm);
// Julian centuries from JD 2415020.0 of a day number plus hours of UT.
double JulianCenturies(long long day_number, double ut_hours);
// Mean obliquity of date, radians (Newcomb, linear term).
double ObliquityRadians(double t_centuries);
// Ayanamsa in degrees (Newcomb's general precession with nutation terms in arc seconds).
double AyanamsaDegrees(double t_centuries);
// Right ascension of the Midheaven, radians, from sidereal time at Greenwich (Newcomb).
double RamcRadians(double t_centuries, double ut_hours, double longitude_west_deg);
// Ecliptic longitude of the Midheaven, degrees, without zodiac offset.
double MidheavenDegrees(double ramc_rad, double obliquity_rad);
double AscendantDegrees(double ramc_rad, double obliquity_rad, double latitude_rad);
double EastPointDegrees(double ramc_rad, double obliquity_rad);
// Western intersection of the prime vertical and the ecliptic, degrees.
double VertexDegrees(double ramc_rad, double obliquity_rad, double latitude_rad);

// Steps 1-7 of the chart time: working units, centuries, obliquity, offset in effect.
TimeState ProcessChartTime(const ChartMoment& moment, bool sidereal, double zodiac_offset_deg);
// RAMC, Midheaven, Ascendant, East Point and Vertex of a processed time, with the offset.
void ComputeChartAngles(TimeState& state);

// Azimuth and altitude of an ecliptic point for a sidereal angle (RAMC) and an observer.
struct HorizonPosition {
  double azimuth_deg;   // 0/360 rising due east, 90 north meridian, 180 west, 270 south
  double altitude_deg;
};

// A point of either frame: (longitude, latitude) or (right ascension, declination), degrees.
struct SkyPoint {
  double longitude_deg;
  double latitude_deg;
};
// Rotations between ecliptic and equatorial coordinates with the fixed obliquity.
SkyPoint EclipticToEquatorial(double longitude_deg, double latitude_deg);
SkyPoint EquatorialToEcliptic(double ra_deg, double declination_deg);

HorizonPosition HorizonCoords(double longitude_deg, double latitude_deg, double ramc_deg,
                              double geo_longitude_west_deg, double geo_latitude_rad);
// The same with the observer's horizon tilt (90 degrees less the latitude) worked out once.
HorizonPosition HorizonCoords(double longitude_deg, double latitude_deg, double ramc_deg,
                              double geo_longitude_west_deg, const Tilt& horizon_tilt);
Tilt HorizonTiltOf(double geo_latitude_rad);

// House 1..12 of a longitude among cusps 1..12 (index 0 unused).
int HousePlace(double longitude_deg, const std::array<double, 13>& cusps_deg);

}  // namespace kelvara::engine
