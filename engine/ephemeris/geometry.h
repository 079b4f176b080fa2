// Small vector and angle helpers shared by the ephemeris layer.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvara::engine {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kRadToDeg = 180.0 / kPi;
inline constexpr double kArcsecToRad = kDegToRad / 3600.0;
inline constexpr double kJ2000Jd = 2451545.0;          // 2000 January 1.5 TT
inline constexpr double kDaysPerCentury = 36525.0;      // Julian century
inline constexpr double kDaysPerMillennium = 365250.0;  // Julian millennium
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kKmPerAu = 149597870.7;                 // IAU 2012
inline constexpr double kLightDaysPerAu = 499.004783836 / 86400.0;  // light time for 1 au, days

// Julian centuries from J2000, the time argument of most of the theories.
inline double CenturiesFromJ2000(double julianDay) { return (julianDay - kJ2000Jd) / kDaysPerCentury; }

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const Vec3& a) { return std::sqrt(Dot(a, a)); }

// Position and velocity, au and au/day unless a name says otherwise.
struct StateVector {
  Vec3 position;
  Vec3 velocity;
};

// A quantity with its first and second time derivatives (per day unless a name says otherwise).
struct Jet {
  double value = 0.0;
  double rate = 0.0;
  double acceleration = 0.0;
};

// Position, velocity and acceleration.
struct MotionState {
  Vec3 position;
  Vec3 velocity;
  Vec3 acceleration;
};

// The vector turned by angleRad about the z axis (counter-clockwise seen from +z).
Vec3 RotateAboutZ(const Vec3& v, double angleRad);

// The vector turned by angleRad about the x axis (counter-clockwise seen from +x).
Vec3 RotateAboutX(const Vec3& v, double angleRad);

// Spherical coordinates with their time derivatives (rad, rad, distance; per day).
struct SphericalState {
  double longitudeRad = 0.0;
  double latitudeRad = 0.0;
  double distance = 0.0;
  double longitudeRateRadPerDay = 0.0;
  double latitudeRateRadPerDay = 0.0;
  double distanceRatePerDay = 0.0;
};

// Rectangular state of a spherical state (chain rule on r cos b cos l, r cos b sin l, r sin b).
StateVector SphericalToRectangular(const SphericalState& s);

// Rectangular motion of spherical coordinates given with two derivatives each (the same chain
// rule carried one order further).
MotionState SphericalToRectangular(const Jet& longitudeRad, const Jet& latitudeRad, const Jet& distance);

// Angle in [0, 360) degrees.
double NormalizeDegrees(double degrees);

// Angle in (-pi, pi].
double WrapPi(double radians);

}  // namespace kelvara::engine
