#include "engine/angles.h"

#include <cmath>

namespace kelvara::engine {

double FoldBeyondOneTurn(double value, double turn) {
  // fmod is exact for every finite value, so even a huge one keeps its true remainder; a
  // fold by floor loses it once the quotient's rounding exceeds a turn.
  double folded = std::fmod(value, turn);
  if (folded < 0.0) folded += turn;
  // Rounding can land a tiny negative value exactly on the turn.
  return folded >= turn ? 0.0 : folded + 0.0;
}

double Sgn(double x) { return x < 0.0 ? -1.0 : (x > 0.0 ? 1.0 : 0.0); }

int Mod12(int n) {
  const int folded = n % 12;
  return folded <= 0 ? folded + 12 : folded;
}

double Angle(double x, double y) {
  if (x != 0.0) {
    if (y == 0.0) return x < 0.0 ? kPi : 0.0;
    double a = std::atan(y / x);
    if (a < 0.0) a += kPi;
    if (y < 0.0) a += kPi;
    return a;
  }
  return y >= 0.0 ? kPi / 2.0 : 3.0 * kPi / 2.0;
}

double RoundHalfAway(double x) { return std::round(x); }

double DecToDeg(double dmm) {
  const double a = std::fabs(dmm);
  const double whole = std::floor(a);
  return Sgn(dmm) * (whole + (a - whole) * 100.0 / 60.0);
}

double DegToDec(double deg) {
  const double a = std::fabs(deg);
  const double whole = std::floor(a);
  return Sgn(deg) * (whole + (a - whole) * 0.6);
}

Rect PolarToRect(double angle_rad, double radius) {
  if (angle_rad == 0.0) angle_rad = kPolarEpsilon;
  return {radius * std::cos(angle_rad), radius * std::sin(angle_rad)};
}

Polar RectToPolar(double x, double y) {
  if (y == 0.0) y = kPolarEpsilon;
  return {Angle(x, y), std::sqrt(x * x + y * y)};
}

Tilt TiltOf(double tilt_rad) { return {std::sin(tilt_rad), std::cos(tilt_rad)}; }

Spherical CoorXform(double azi_rad, double alt_rad, double tilt_rad) {
  return CoorXform(azi_rad, alt_rad, TiltOf(tilt_rad));
}

Spherical CoorXform(double azi_rad, double alt_rad, const Tilt& tilt) {
  const double sin_alt = std::sin(alt_rad);
  const double cos_alt = std::cos(alt_rad);
  const double sin_azi = std::sin(azi_rad);
  const double cos_azi = std::cos(azi_rad);
  double s = tilt.sin * cos_alt * sin_azi + tilt.cos * sin_alt;
  // Rounding may push the sine a hair past 1 at the poles.
  s = s > 1.0 ? 1.0 : (s < -1.0 ? -1.0 : s);
  return {Angle(cos_alt * cos_azi, tilt.cos * cos_alt * sin_azi - tilt.sin * sin_alt),
          std::asin(s)};
}

}  // namespace kelvara::engine
