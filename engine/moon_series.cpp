#include "engine/moon_series.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

constexpr double kArcsecPerDeg = 3600.0;
constexpr double kMicrodegToDeg = 1.0e-6;
constexpr double kMaxEccentricityFactor = 2.0;

// Mean arguments in arc seconds, T from 1900 January 0.5 (Brown's theory as tabulated in
// the Explanatory Supplement): the Moon's mean longitude, its perigee, its node, the Sun's
// mean longitude (Newcomb) and the Sun's perigee.
struct MeanArguments {
  double moon_rad, moon_perigee_rad, node_rad, sun_rad, sun_perigee_rad;
};

double ArcsecPolynomialRad(double c0, double c1, double c2, double t) {
  return Mod360((c0 + t * (c1 + t * c2)) / kArcsecPerDeg) * kDegToRad;
}

MeanArguments Arguments(double t) {
  return {ArcsecPolynomialRad(973563.0, 1732564379.0, -4.0, t),
          ArcsecPolynomialRad(1203586.0, 14648523.0, -37.0, t),
          ArcsecPolynomialRad(933060.0, -6962911.0, 7.5, t),
          ArcsecPolynomialRad(1006908.0, 129602768.0, 1.089, t),
          ArcsecPolynomialRad(1012395.0, 6189.0, 0.0, t)};
}

// Periodic term: multipliers of D, M (Sun's anomaly), M' (Moon's anomaly), F; amplitude in
// 1e-6 degree. Meeus, Astronomical Algorithms (1998), tables 47.A and 47.B.
struct LunarTerm {
  int d, m, mp, f;
  double amplitude;
};

constexpr std::array<LunarTerm, 59> kLongitudeTerms = {{
    {0, 0, 1, 0, 6288774}, {2, 0, -1, 0, 1274027}, {2, 0, 0, 0, 658314},
    {0, 0, 2, 0, 213618},  {0, 1, 0, 0, -185116},  {0, 0, 0, 2, -114332},
    {2, 0, -2, 0, 58793},  {2, -1, -1, 0, 57066},  {2, 0, 1, 0, 53322},
    {2, -1, 0, 0, 45758},  {0, 1, -1, 0, -40923},  {1, 0, 0, 0, -34720},
    {0, 1, 1, 0, -30383},  {2, 0, 0, -2, 15327},   {0, 0, 1, 2, -12528},
    {0, 0, 1, -2, 10980},  {4, 0, -1, 0, 10675},   {0, 0, 3, 0, 10034},
    {4, 0, -2, 0, 8548},   {2, 1, -1, 0, -7888},   {2, 1, 0, 0, -6766},
    {1, 0, -1, 0, -5163},  {1, 1, 0, 0, 4987},     {2, -1, 1, 0, 4036},
    {2, 0, 2, 0, 3994},    {4, 0, 0, 0, 3861},     {2, 0, -3, 0, 3665},
    {0, 1, -2, 0, -2689},  {2, 0, -1, 2, -2602},   {2, -1, -2, 0, 2390},
    {1, 0, 1, 0, -2348},   {2, -2, 0, 0, 2236},    {0, 1, 2, 0, -2120},
    {0, 2, 0, 0, -2069},   {2, -2, -1, 0, 2048},   {2, 0, 1, -2, -1773},
    {2, 0, 0, 2, -1595},   {4, -1, -1, 0, 1215},   {0, 0, 2, 2, -1110},
    {3, 0, -1, 0, -892},   {2, 1, 1, 0, -810},     {4, -1, -2, 0, 759},
    {0, 2, -1, 0, -713},   {2, 2, -1, 0, -700},    {2, 1, -2, 0, 691},
    {2, -1, 0, -2, 596},   {4, 0, 1, 0, 549},      {0, 0, 4, 0, 537},
    {4, -1, 0, 0, 520},    {1, 0, -2, 0, -487},    {2, 1, 0, -2, -399},
    {0, 0, 2, -2, -381},   {1, 1, 1, 0, 351},      {3, 0, -2, 0, -340},
    {4, 0, -3, 0, 330},    {2, -1, 2, 0, 327},     {0, 2, 1, 0, -323},
    {1, 1, -1, 0, 299},    {2, 0, 3, 0, 294},
}};

constexpr std::array<LunarTerm, 60> kLatitudeTerms = {{
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693},
    {2, 0, 0, -1, 173237}, {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271},
    {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},   {2, 0, 1, -1, 9266},
    {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},
    {2, -1, 0, 1, 2211},   {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870},
    {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},  {0, 0, 0, 3, -1749},
    {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},  {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},  {0, 1, 0, -1, -1344}, {1, 0, 0, -1, -1335},
    {0, 0, 3, 1, 1107},    {4, 0, 0, -1, 1021},  {4, 0, -1, 1, 833},
    {0, 0, 1, -3, 777},    {4, 0, -2, 1, 671},   {2, 0, 0, -3, 607},
    {2, 0, 2, -1, 596},    {2, -1, 1, -1, 491},  {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},    {2, 0, 2, 1, 422},    {2, 0, -3, -1, 421},
    {2, 1, -1, 1, -366},   {2, 1, 0, 1, -351},   {4, 0, 0, 1, 331},
    {2, -1, 1, 1, 315},    {2, -2, 0, -1, 302},  {0, 0, 1, 3, -283},
    {2, 1, 1, -1, -229},   {1, 1, 0, -1, 223},   {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},  {2, 1, -1, -1, -220}, {1, 0, 1, 1, -185},
    {2, -1, -2, -1, 181},  {0, 1, 2, 1, -177},   {4, 0, -2, -1, 176},
    {4, -1, -1, -1, 166},  {1, 0, 1, -1, -164},  {4, 0, 1, -1, 132},
    {1, 0, -1, -1, -119},  {4, -1, 0, -1, 115},  {2, -2, 0, 1, 107},
}};

// Sum of a table: the terms with the Sun's anomaly shrink with the Earth's eccentricity
// (factor E per unit of M).
double SumTerms(const LunarTerm* terms, std::size_t count, double d, double m, double mp,
                double f, double e_factor) {
  double sum = 0.0;
  for (std::size_t k = 0; k < count; ++k) {
    const LunarTerm& term = terms[k];
    double amplitude = term.amplitude;
    for (int power = std::abs(term.m); power > 0; --power) amplitude *= e_factor;
    sum += amplitude * std::sin(term.d * d + term.m * m + term.mp * mp + term.f * f);
  }
  return sum;
}

// Venus, Jupiter and the Earth's flattening (Meeus 1998, ch. 47), 1e-6 degree; their
// arguments count from J2000, one century after the series' origin.
struct AdditiveTerms {
  double longitude, latitude;
};

AdditiveTerms Additive(double t, double moon_rad, double mp, double f) {
  const double t2000 = t - 1.0;
  const double a1 = Mod360(119.75 + 131.849 * t2000) * kDegToRad;
  const double a2 = Mod360(53.09 + 479264.290 * t2000) * kDegToRad;
  const double a3 = Mod360(313.45 + 481266.484 * t2000) * kDegToRad;
  return {3958.0 * std::sin(a1) + 1962.0 * std::sin(moon_rad - f) + 318.0 * std::sin(a2),
          -2235.0 * std::sin(moon_rad) + 382.0 * std::sin(a3) + 175.0 * std::sin(a1 - f) +
              175.0 * std::sin(a1 + f) + 127.0 * std::sin(moon_rad - mp) -
              115.0 * std::sin(moon_rad + mp)};
}

}  // namespace

MoonSeriesPlace MoonSeries(double t) {
  const MeanArguments a = Arguments(t);
  const double d = a.moon_rad - a.sun_rad;
  const double m = a.sun_rad - a.sun_perigee_rad;
  const double mp = a.moon_rad - a.moon_perigee_rad;
  const double f = a.moon_rad - a.node_rad;
  // Eccentricity of the Earth's orbit relative to 1900 (Meeus 1979); held within reason
  // far outside the series' centuries, where the quadratic would run off.
  const double e_factor =
      std::clamp(1.0 - 0.002495 * t - 0.00000752 * t * t, 0.0, kMaxEccentricityFactor);
  const AdditiveTerms extra = Additive(t, a.moon_rad, mp, f);
  const double lon = SumTerms(kLongitudeTerms.data(), kLongitudeTerms.size(), d, m, mp, f,
                              e_factor) + extra.longitude;
  const double lat = SumTerms(kLatitudeTerms.data(), kLatitudeTerms.size(), d, m, mp, f,
                              e_factor) + extra.latitude;
  MoonSeriesPlace place;
  place.longitude_deg = Mod360(a.moon_rad * kRadToDeg + lon * kMicrodegToDeg);
  place.latitude_deg = lat * kMicrodegToDeg;
  place.node_deg = Mod360(a.node_rad * kRadToDeg);
  return place;
}

}  // namespace kelvara::engine
