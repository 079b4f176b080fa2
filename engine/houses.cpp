#include "engine/houses.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

// Inside the Placidus iteration the equator would make every division degenerate.
constexpr double kPlacidusEquatorLatitudeRad = 0.0001;
// The Placidus root: radians, and a cap on the steps that is never reached in practice.
constexpr double kRootTolerance = 1e-14;
constexpr int kRootIterations = 200;

constexpr const char* kHouseSystemNames[kHouseSystemCount] = {
    "Placidus", "Koch",     "Equal",      "Campanus",     "Meridian",
    "Regiomontanus", "Porphyry", "Morinus", "Topocentric", "Alcabitius",
    "Equal (MC)", "Neo-Porphyry", "Whole", "Vedic", "Null"};

double ClampUnit(double x) { return std::clamp(x, -1.0, 1.0); }

// The offset of cusp i from the meridian in the equatorial systems, radians: 90 for
// cusp 1, 0 (360) for cusp 10.
double HouseOffsetRad(int i) { return (30.0 * i + 60.0) * kDegToRad; }

// Ecliptic longitude (degrees) of the ecliptic point whose right ascension is ra_rad.
double LongitudeOfRightAscension(double ra_rad, double obliquity_rad) {
  return Angle(std::cos(obliquity_rad) * std::cos(ra_rad), std::sin(ra_rad)) * kRadToDeg;
}

// Longitude (degrees) of the ecliptic point on a house circle through the north and south
// points of the horizon, given by the circle's right-ascension term k_rad and the pole
// factor; the Ascendant formula is the case k = RAMC + 90 with factor tan(latitude).
double LongitudeOnHouseCircle(double k_rad, double obliquity_rad, double pole_factor) {
  return Angle(std::cos(k_rad) * std::cos(obliquity_rad) -
                   std::sin(obliquity_rad) * pole_factor,
               std::sin(k_rad)) *
         kRadToDeg;
}

// Root of f inside [lo, hi], where f changes sign, by the Illinois variant of regula falsi:
// bracketed like bisection, but converging in a few steps.
template <typename Function>
double BracketedRoot(const Function& f, double lo, double hi) {
  double f_lo = f(lo);
  double f_hi = f(hi);
  int last_moved = 0;
  for (int n = 0; n < kRootIterations && f_hi != f_lo; ++n) {
    const double x = (lo * f_hi - hi * f_lo) / (f_hi - f_lo);
    const double f_x = f(x);
    if (std::fabs(f_x) < kRootTolerance || hi - lo < kRootTolerance) return x;
    if ((f_x < 0.0) == (f_lo < 0.0)) {
      lo = x;
      f_lo = f_x;
      if (last_moved < 0) f_hi /= 2.0;
      last_moved = -1;
    } else {
      hi = x;
      f_hi = f_x;
      if (last_moved > 0) f_lo /= 2.0;
      last_moved = 1;
    }
  }
  return std::fabs(f_lo) < std::fabs(f_hi) ? lo : hi;
}

// Placidus: the point that has covered the fraction 1/f of its semi-arc, found as the root
// of the semi-arc condition on its right ascension R. (A fixed number of fixed-point steps
// leaves errors of up to 0.6 degree near the polar circle, where they converge slowly.)
double PlacidusCusp(const HouseInput& in, double latitude_rad, double f, bool upper) {
  const double tan_product = std::tan(latitude_rad) * std::tan(in.obliquity_rad);
  // S is the nocturnal semi-arc for cusps 2 and 3 ("upper": measured back from the lower
  // meridian, R = RAMC + pi - S/f), the diurnal one for cusps 11 and 12 (R = RAMC + S/f).
  const auto residual = [&](double r) {
    const double b = upper ? tan_product * std::sin(r) : -tan_product * std::sin(r);
    const double s = std::acos(ClampUnit(b));
    return upper ? r - (in.ramc_rad + kPi - s / f) : r - (in.ramc_rad + s / f);
  };
  const double lo = upper ? in.ramc_rad + kPi - kPi / f : in.ramc_rad;
  const double hi = upper ? in.ramc_rad + kPi : in.ramc_rad + kPi / f;
  const double r = BracketedRoot(residual, lo, hi);
  double lon = std::atan(std::tan(r) / std::cos(in.obliquity_rad));
  if (lon < 0.0) lon += kPi;
  if (std::sin(r) < 0.0) lon += kPi;
  return lon * kRadToDeg;
}

void Placidus(const HouseInput& in, double latitude_rad, HouseCusps& c) {
  const double lat = latitude_rad == 0.0 ? kPlacidusEquatorLatitudeRad : latitude_rad;
  c[1] = in.ascendant_deg - in.offset_deg;
  c[4] = in.midheaven_deg + 180.0 - in.offset_deg;
  c[2] = PlacidusCusp(in, lat, 1.5, true);
  c[3] = PlacidusCusp(in, lat, 3.0, true);
  c[5] = PlacidusCusp(in, lat, 3.0, false) + 180.0;
  c[6] = PlacidusCusp(in, lat, 1.5, false) + 180.0;
  for (int i = 1; i <= 6; ++i) {
    c[i] += in.offset_deg;
    c[i + 6] = c[i] + 180.0;
  }
}

// Koch: the circles through the points whose oblique ascension divides the Midheaven
// degree's diurnal semi-arc in three.
void Koch(const HouseInput& in, double latitude_rad, HouseCusps& c) {
  const double tan_lat = std::tan(latitude_rad);
  const double a_deg =
      std::asin(ClampUnit(std::tan(in.obliquity_rad) * tan_lat * std::sin(in.ramc_rad))) *
      kRadToDeg;
  for (int i = 1; i <= 12; ++i) {
    const double r = Mod360(30.0 * i + 60.0);
    const bool eastern = r < 180.0;
    const double k = eastern ? r / 90.0 - 1.0 : r / 90.0 - 3.0;
    const double k_rad = Mod360(in.ramc_rad * kRadToDeg + a_deg * k + r) * kDegToRad;
    c[i] = LongitudeOnHouseCircle(k_rad, in.obliquity_rad, eastern ? tan_lat : -tan_lat) +
           in.offset_deg;
  }
}

void Campanus(const HouseInput& in, HouseCusps& c) {
  const double tan_lat = std::tan(in.latitude_rad);
  for (int i = 1; i <= 12; ++i) {
    // The millionth of a degree keeps tan away from its poles at 90 and 270.
    const double h = (30.0 * i + 60.000001) * kDegToRad;
    double o = std::atan(std::cos(in.latitude_rad) * std::tan(h));
    if (o < 0.0) o += kPi;
    if (std::sin(h) < 0.0) o += kPi;
    c[i] = LongitudeOnHouseCircle(in.ramc_rad + o, in.obliquity_rad, tan_lat * std::sin(o)) +
           in.offset_deg;
  }
}

void Meridian(const HouseInput& in, HouseCusps& c) {
  for (int i = 1; i <= 12; ++i) {
    c[i] = LongitudeOfRightAscension(in.ramc_rad + HouseOffsetRad(i), in.obliquity_rad) +
           in.offset_deg;
  }
}

void Regiomontanus(const HouseInput& in, HouseCusps& c) {
  const double tan_lat = std::tan(in.latitude_rad);
  for (int i = 1; i <= 12; ++i) {
    const double d = HouseOffsetRad(i);
    c[i] = LongitudeOnHouseCircle(in.ramc_rad + d, in.obliquity_rad, tan_lat * std::sin(d)) +
           in.offset_deg;
  }
}

// Porphyry: each quadrant trisected along the ecliptic. The arcs are taken modulo 360, so
// a Midheaven late in the zodiac does not stretch the lower quadrant by a full circle.
void Porphyry(const HouseInput& in, HouseCusps& c) {
  const double mc = in.midheaven_deg;
  const double asc = in.ascendant_deg;
  const double q = Mod360(asc - mc) / 3.0;
  const double p = Mod360(mc + 180.0 - asc) / 3.0;
  c[1] = asc;
  c[2] = asc + p;
  c[3] = asc + 2.0 * p;
  c[4] = asc + 3.0 * p;
  c[5] = mc + 180.0 + q;
  c[6] = mc + 180.0 + 2.0 * q;
  for (int i = 1; i <= 6; ++i) c[i + 6] = c[i] + 180.0;
}

void Morinus(const HouseInput& in, HouseCusps& c) {
  for (int i = 1; i <= 12; ++i) {
    const double h = in.ramc_rad + HouseOffsetRad(i);
    c[i] = Angle(std::cos(h), std::cos(in.obliquity_rad) * std::sin(h)) * kRadToDeg +
           in.offset_deg;
  }
}

// Topocentric: the Ascendant of the oblique ascension a + RAMC under a pole psi. Written
// with Angle rather than tangents, which lose the cusp where a + RAMC is 90 or 270.
double TopoCusp(const HouseInput& in, double a_deg, double pole_rad) {
  const double x = ModTwoPi(a_deg * kDegToRad + in.ramc_rad);
  return LongitudeOnHouseCircle(x, in.obliquity_rad, std::tan(pole_rad)) * kDegToRad;
}

void Topocentric(const HouseInput& in, HouseCusps& c) {
  const double tan_lat = std::tan(in.latitude_rad);
  const double pole1 = std::atan(tan_lat / 3.0);
  const double pole2 = std::atan(2.0 * tan_lat / 3.0);
  std::array<double, 7> rad{};
  rad[4] = ModTwoPi((in.midheaven_deg + 180.0 - in.offset_deg) * kDegToRad);
  rad[5] = TopoCusp(in, 30.0, pole1) + kPi;
  rad[6] = TopoCusp(in, 60.0, pole2) + kPi;
  rad[1] = TopoCusp(in, 90.0, in.latitude_rad);
  rad[2] = TopoCusp(in, 120.0, pole2);
  rad[3] = TopoCusp(in, 150.0, pole1);
  for (int i = 1; i <= 6; ++i) {
    c[i] = rad[i] * kRadToDeg + in.offset_deg;
    c[i + 6] = c[i] + 180.0;
  }
}

// Alcabitius: the Ascendant's diurnal and nocturnal semi-arcs trisected in right
// ascension; each division is taken to the ecliptic along its hour circle.
void Alcabitius(const HouseInput& in, HouseCusps& c) {
  const double asc_rad = (in.ascendant_deg - in.offset_deg) * kDegToRad;  // tropical
  const double declination = std::asin(std::sin(asc_rad) * std::sin(in.obliquity_rad));
  const double day_arc =
      std::acos(ClampUnit(-std::tan(declination) * std::tan(in.latitude_rad))) * kRadToDeg;
  const double night_arc = 180.0 - day_arc;
  const double r = in.ramc_rad * kRadToDeg;
  const std::array<double, 6> right_ascensions = {
      r - night_arc, r - 2.0 * night_arc / 3.0, r - night_arc / 3.0,
      r,             r + day_arc / 3.0,         r + 2.0 * day_arc / 3.0};
  for (int i = 7; i <= 12; ++i) {
    c[i] = LongitudeOfRightAscension(right_ascensions[i - 7] * kDegToRad, in.obliquity_rad) +
           in.offset_deg;
    c[i - 6] = c[i] + 180.0;
  }
}

void EqualFrom(double first_cusp_deg, HouseCusps& c) {
  for (int i = 1; i <= 12; ++i) c[i] = first_cusp_deg + 30.0 * (i - 1);
}

void NeoPorphyry(const HouseInput& in, HouseCusps& c) {
  const double v = (MinDistance(in.midheaven_deg, in.ascendant_deg) - 90.0) / 4.0;
  const double offset = in.offset_deg;
  c[7] = in.ascendant_deg + 180.0;
  c[10] = in.midheaven_deg;
  c[11] = offset + in.midheaven_deg + v + 30.0;
  c[12] = c[11] + 2.0 * v + offset + 30.0;
  c[9] = c[10] - 30.0 + offset + v;
  c[8] = c[9] - 30.0 + 2.0 * v + offset;
  for (int i = 7; i <= 12; ++i) c[i - 6] = c[i] - 180.0;
}

void ComputeSystem(const HouseInput& in, int system, double latitude_rad, HouseCusps& c) {
  switch (system) {
    case kKoch: Koch(in, latitude_rad, c); break;
    case kEqual: EqualFrom(in.ascendant_deg, c); break;
    case kCampanus: Campanus(in, c); break;
    case kMeridian: Meridian(in, c); break;
    case kRegiomontanus: Regiomontanus(in, c); break;
    case kPorphyry: Porphyry(in, c); break;
    case kMorinus: Morinus(in, c); break;
    case kTopocentric: Topocentric(in, c); break;
    case kAlcabitius: Alcabitius(in, c); break;
    case kEqualMc: EqualFrom(in.midheaven_deg - 270.0, c); break;
    case kNeoPorphyry: NeoPorphyry(in, c); break;
    case kWhole: EqualFrom(30.0 * std::floor(in.ascendant_deg / 30.0), c); break;
    case kVedic: EqualFrom(in.ascendant_deg - 15.0, c); break;
    case kNull: EqualFrom(0.0, c); break;
    default: Placidus(in, latitude_rad, c); break;
  }
}

}  // namespace

const char* HouseSystemName(int system) {
  return system >= 0 && system < kHouseSystemCount ? kHouseSystemNames[system]
                                                   : kHouseSystemNames[kPlacidus];
}

HouseResult ComputeHouses(const HouseInput& input, int system) {
  HouseResult result;
  HouseInput in = input;
  double latitude = in.latitude_rad;
  const bool semi_arc_system = system == kKoch || !(system >= 1 && system < kHouseSystemCount);
  if (semi_arc_system && std::fabs(latitude) > kExtremeLatitudeRad) {
    latitude = std::copysign(kExtremeLatitudeRad, latitude);
    result.latitude_clamped = true;
  }
  if (MinDifference(in.midheaven_deg, in.ascendant_deg) < 0.0) {
    in.ascendant_deg = Mod360(in.ascendant_deg + 180.0);
  }
  result.ascendant_deg = in.ascendant_deg;
  ComputeSystem(in, system, latitude, result.cusps);
  result.cusps[0] = 0.0;
  for (int i = 1; i <= 12; ++i) result.cusps[i] = Mod360(result.cusps[i]);
  return result;
}

}  // namespace kelvara::engine
