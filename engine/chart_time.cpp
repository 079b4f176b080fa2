#include "engine/chart_time.h"

#include <cmath>

#include "engine/angles.h"
#include "engine/calendar.h"

namespace kelvara::engine {

double UniversalTimeHours(double time_hmm, double zone_hmm, double dst_hmm) {
  // UT = local time + zone - daylight, the zone being positive west.
  return DecToDeg(time_hmm) + DecToDeg(zone_hmm) - DecToDeg(dst_hmm);
}

double LatitudeRadians(double latitude_dmm) {
  // Clamped in degrees: a D.MM value such as 89.9999 reads as more than 90 degrees.
  double deg = DecToDeg(latitude_dmm);
  if (!(deg <= kMaxLatitudeDeg)) deg = std::isnan(deg) ? 0.0 : kMaxLatitudeDeg;
  if (deg < -kMaxLatitudeDeg) deg = -kMaxLatitudeDeg;
  return deg * kDegToRad;
}

double JulianCenturies(long long day_number, double ut_hours) {
  return (static_cast<double>(day_number) + ut_hours / 24.0 - (kEpoch1900Jd + 0.5)) /
         kDaysPerCentury;
}

double ObliquityRadians(double t_centuries) {
  return (23.452294 - 0.0130125 * t_centuries) * kDegToRad;
}

double AyanamsaDegrees(double t) {
  const double node = Mod360((933060.0 - 6962911.0 * t + 7.5 * t * t) / 3600.0) * kDegToRad;
  const double sun2 = (259205536.0 * t + 2013816.0) / 3600.0 * kDegToRad;
  return (17.23 * std::sin(node) + 1.27 * std::sin(sun2) - (5025.64 + 1.11 * t) * t -
          84038.27) / 3600.0;
}

double RamcRadians(double t, double ut_hours, double longitude_west_deg) {
  const double sidereal_hours = 6.6460656 + 2400.0513 * t + 0.0000258 * t * t + ut_hours;
  return Mod360(15.0 * sidereal_hours - longitude_west_deg) * kDegToRad;
}

double MidheavenDegrees(double ramc_rad, double obliquity_rad) {
  double mc = std::atan(std::tan(ramc_rad) / std::cos(obliquity_rad));
  if (mc < 0.0) mc += kPi;
  if (ramc_rad > kPi) mc += kPi;
  return Mod360(mc * kRadToDeg);
}

double AscendantDegrees(double ramc_rad, double obliquity_rad, double latitude_rad) {
  const double x = -(std::sin(ramc_rad) * std::cos(obliquity_rad)) -
                   std::sin(obliquity_rad) * std::tan(latitude_rad);
  return Mod360(Angle(x, std::cos(ramc_rad)) * kRadToDeg);
}

double EastPointDegrees(double ramc_rad, double obliquity_rad) {
  return AscendantDegrees(ramc_rad, obliquity_rad, 0.0);
}

double VertexDegrees(double ramc_rad, double obliquity_rad, double latitude_rad) {
  // The pole of the prime vertical lies on the lower meridian at the co-latitude; the
  // prime vertical meets the ecliptic 90 degrees from that pole's longitude.
  double colatitude = kPi / 2.0 - std::fabs(latitude_rad);
  if (latitude_rad < 0.0) colatitude = -colatitude;
  const Spherical pole = CoorXform(ramc_rad + kPi, colatitude, -obliquity_rad);
  return Mod360(pole.azi_rad * kRadToDeg + 90.0);
}

TimeState ProcessChartTime(const ChartMoment& moment, bool sidereal, double zodiac_offset_deg) {
  TimeState state;
  state.ut_hours = UniversalTimeHours(moment.time_hmm, moment.zone_hmm, moment.dst_hmm);
  state.longitude_deg = DecToDeg(moment.longitude_dmm);
  state.latitude_rad = LatitudeRadians(moment.latitude_dmm);
  state.day_number = DayNumber(moment.month, moment.day, moment.year);
  state.t_centuries = JulianCenturies(state.day_number, state.ut_hours);
  state.obliquity_rad = ObliquityRadians(state.t_centuries);
  state.offset_deg = (sidereal ? AyanamsaDegrees(state.t_centuries) : 0.0) + zodiac_offset_deg;
  return state;
}

void ComputeChartAngles(TimeState& s) {
  s.ramc_rad = RamcRadians(s.t_centuries, s.ut_hours, s.longitude_deg);
  s.midheaven_deg = Mod360(MidheavenDegrees(s.ramc_rad, s.obliquity_rad) + s.offset_deg);
  s.ascendant_deg =
      Mod360(AscendantDegrees(s.ramc_rad, s.obliquity_rad, s.latitude_rad) + s.offset_deg);
  s.east_point_deg = Mod360(EastPointDegrees(s.ramc_rad, s.obliquity_rad) + s.offset_deg);
  s.vertex_deg =
      Mod360(VertexDegrees(s.ramc_rad, s.obliquity_rad, s.latitude_rad) + s.offset_deg);
}

SkyPoint EclipticToEquatorial(double longitude_deg, double latitude_deg) {
  static const Tilt obliquity = TiltOf(kFixedObliquityRad);
  const Spherical eq = CoorXform(longitude_deg * kDegToRad, latitude_deg * kDegToRad, obliquity);
  return {eq.azi_rad * kRadToDeg, eq.alt_rad * kRadToDeg};
}

SkyPoint EquatorialToEcliptic(double ra_deg, double declination_deg) {
  const Spherical ecl =
      CoorXform(ra_deg * kDegToRad, declination_deg * kDegToRad, -kFixedObliquityRad);
  return {ecl.azi_rad * kRadToDeg, ecl.alt_rad * kRadToDeg};
}

Tilt HorizonTiltOf(double geo_latitude_rad) { return TiltOf(kPi / 2.0 - geo_latitude_rad); }

HorizonPosition HorizonCoords(double longitude_deg, double latitude_deg, double ramc_deg,
                              double geo_longitude_west_deg, double geo_latitude_rad) {
  return HorizonCoords(longitude_deg, latitude_deg, ramc_deg, geo_longitude_west_deg,
                       HorizonTiltOf(geo_latitude_rad));
}

HorizonPosition HorizonCoords(double longitude_deg, double latitude_deg, double ramc_deg,
                              double geo_longitude_west_deg, const Tilt& horizon_tilt) {
  const SkyPoint eq = EclipticToEquatorial(longitude_deg, latitude_deg);
  const double hour_angle =
      Mod360(Mod360(ramc_deg - eq.longitude_deg + geo_longitude_west_deg) -
             geo_longitude_west_deg + 90.0);
  const Spherical horizon =
      CoorXform(hour_angle * kDegToRad, eq.latitude_deg * kDegToRad, horizon_tilt);
  return {Mod360(360.0 - horizon.azi_rad * kRadToDeg), horizon.alt_rad * kRadToDeg};
}

int HousePlace(double longitude_deg, const std::array<double, 13>& cusps) {
  // Half an arc second forward, so a point printed on a cusp falls in the house it opens.
  const double x = Mod360(longitude_deg + 1.0 / 7200.0);
  for (int i = 1; i <= 11; ++i) {
    const double from = cusps[i];
    const double to = cusps[i + 1];
    const bool inside = from <= to ? (x >= from && x < to) : (x >= from || x < to);
    if (inside) return i;
  }
  return 12;
}

}  // namespace kelvara::engine
