// Values carried with their time derivative (forward-mode differentiation), so a formula
// written once for doubles also gives its exact rate. Only the operations the apparent-place
// formulas use are defined.
#pragma once

#include <cmath>

#include "engine/ephemeris/geometry.h"

namespace kelvara::engine {

// A scalar and its rate (per day).
struct Dual {
  double value = 0.0;
  double rate = 0.0;
};

inline Dual operator+(const Dual& a, const Dual& b) { return {a.value + b.value, a.rate + b.rate}; }
inline Dual operator+(double a, const Dual& b) { return {a + b.value, b.rate}; }
inline Dual operator-(double a, const Dual& b) { return {a - b.value, -b.rate}; }
inline Dual operator*(const Dual& a, const Dual& b) {
  return {a.value * b.value, a.rate * b.value + a.value * b.rate};
}
inline Dual operator/(const Dual& a, const Dual& b) {
  const double quotient = a.value / b.value;
  return {quotient, (a.rate - quotient * b.rate) / b.value};
}
inline Dual operator/(double a, const Dual& b) {
  const double quotient = a / b.value;
  return {quotient, -quotient * b.rate / b.value};
}
inline Dual operator/(const Dual& a, double b) { return {a.value / b, a.rate / b}; }
inline Dual Sqrt(const Dual& a) {
  const double root = std::sqrt(a.value);
  return {root, a.rate / (2.0 * root)};
}
inline double Sqrt(double a) { return std::sqrt(a); }
// The larger of a and a constant floor (the floor has no rate).
inline Dual AtLeast(const Dual& a, double floor) { return a.value >= floor ? a : Dual{floor, 0.0}; }
inline double AtLeast(double a, double floor) { return a >= floor ? a : floor; }

// A vector and its rate (per day).
struct DualVec3 {
  Vec3 value;
  Vec3 rate;
};

inline DualVec3 operator+(const DualVec3& a, const DualVec3& b) { return {a.value + b.value, a.rate + b.rate}; }
inline DualVec3 operator*(double s, const DualVec3& a) { return {s * a.value, s * a.rate}; }
inline DualVec3 operator*(const Dual& s, const DualVec3& a) {
  return {s.value * a.value, s.rate * a.value + s.value * a.rate};
}
inline Dual Dot(const DualVec3& a, const DualVec3& b) {
  return {Dot(a.value, b.value), Dot(a.rate, b.value) + Dot(a.value, b.rate)};
}
inline DualVec3 Cross(const DualVec3& a, const DualVec3& b) {
  return {Cross(a.value, b.value), Cross(a.rate, b.value) + Cross(a.value, b.rate)};
}
inline Dual Norm(const DualVec3& a) { return Sqrt(Dot(a, a)); }

}  // namespace kelvara::engine
