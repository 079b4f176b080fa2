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
// Degrees brought into [0, 360); NaN and infinities come back as NaN.
double Mod360(double deg);
// Radians brought into [0, 2*pi); NaN and infinities come back as NaN.
double ModTwoPi(double rad);
// |a - b| folded into [0, 180], degrees.
double MinDistance(double a_deg, double b_deg);
// b - a folded into (-180, 180], degrees.
double MinDifference(double a_deg, double b_deg);
// Midpoint on the shorter arc, degrees in [0, 360).
double Midpoint(double a_deg, double b_deg);
// The point the fraction f of the way from a to b along the shorter arc, degrees in [0, 360).
double InterpolateAngle(double a_deg, double b_deg, double f);
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

}  // namespace kelvara::engine
