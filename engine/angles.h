// Angle arithmetic and spherical rotations shared by every engine computation.
// Degrees in the tables, radians inside the trigonometry.
#pragma once

// kPi, kTwoPi, kDegToRad and kRadToDeg, shared with the ephemeris layer.
#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

// Stand-in for an exact zero where the polar conversions would divide by it.
inline constexpr double kPolarEpsilon = 1.7453e-9;

struct Polar {
  double angle_rad;
  double radius;
};

struct Rect {
  double x;
  double y;
};

// A point on a sphere: azimuth-like and altitude-like angles, radians.
struct Spherical {
  double azi_rad;
  double alt_rad;
};

double Sgn(double x);

// value brought into [0, turn) when it lies beyond one turn either side; NaN stays NaN.
double FoldBeyondOneTurn(double value, double turn);

// value brought into [0, turn). The scans fold millions of angles that lie within a turn or
// two, so those take no division: within one turn either side fmod would return value or
// value - turn exactly (Sterbenz), and the shortcuts give the same bits.
inline double FoldIntoTurn(double value, double turn) {
  if (value >= 0.0 && value < turn) return value + 0.0;  // + 0.0 turns -0.0 into 0.0
  if (value >= turn && value < 2.0 * turn) return value - turn;
  if (value < 0.0 && value >= -turn) {
    const double folded = value + turn;
    return folded >= turn ? 0.0 : folded + 0.0;
  }
  return FoldBeyondOneTurn(value, turn);
}

// Degrees brought into [0, 360); NaN and infinities come back as NaN.
inline double Mod360(double deg) { return FoldIntoTurn(deg, 360.0); }
// Radians brought into [0, 2*pi); NaN and infinities come back as NaN.
inline double ModTwoPi(double rad) { return FoldIntoTurn(rad, kTwoPi); }
// |a - b| folded into [0, 180], degrees.
inline double MinDistance(double a_deg, double b_deg) {
  const double d = std::fabs(Mod360(a_deg) - Mod360(b_deg));
  return d >= 180.0 ? 360.0 - d : d;
}
// b - a folded into (-180, 180], degrees.
inline double MinDifference(double a_deg, double b_deg) {
  const double d = Mod360(b_deg - a_deg);
  return d > 180.0 ? d - 360.0 : d;
}
// Midpoint on the shorter arc, degrees in [0, 360).
inline double Midpoint(double a_deg, double b_deg) {
  const double a = Mod360(a_deg);
  const double b = Mod360(b_deg);
  double mid = (a + b) / 2.0;
  if (std::fabs(a - b) > 180.0) mid += 180.0;
  return Mod360(mid);
}
// The point the fraction f of the way from a to b along the shorter arc, degrees in [0, 360).
inline double InterpolateAngle(double a_deg, double b_deg, double f) {
  return Mod360(a_deg + f * MinDifference(a_deg, b_deg));
}
// Integer folded into 1..12.
int Mod12(int n);
// Polar angle of (x, y) in [0, 2*pi), radians.
double Angle(double x, double y);
// Nearest integer, halves away from zero.
double RoundHalfAway(double x);
// D.MM (degrees, then minutes as two decimals) to decimal degrees; also H.MM to hours.
double DecToDeg(double dmm);
// Decimal degrees to D.MM; also hours to H.MM.
double DegToDec(double deg);
Rect PolarToRect(double angle_rad, double radius);
Polar RectToPolar(double x, double y);
// Rotation of a spherical point about the x axis by tilt (radians); with tilt = +obliquity
// it turns ecliptic (longitude, latitude) into equatorial (right ascension, declination).
Spherical CoorXform(double azi_rad, double alt_rad, double tilt_rad);

// A tilt's sine and cosine, for the scans that turn many points by one tilt.
struct Tilt {
  double sin;
  double cos;
};
Tilt TiltOf(double tilt_rad);
Spherical CoorXform(double azi_rad, double alt_rad, const Tilt& tilt);

}  // namespace kelvara::engine
