#include "engine/ephemeris/precession.h"

#include <array>

#include "engine/ephemeris/series.h"

namespace kelvara::engine {
namespace {

constexpr std::array<double, 5> kPrecessionArcsec = {0.0, 5029.0966 + kPrecessionCorrectionArcsecPerCentury, 1.1120,
                                                     0.000077, -0.00002353};
constexpr std::array<double, 6> kLaskarP = {0.0, 0.10180391e-4, 0.47020439e-6, -0.5417367e-9, -0.2507948e-11,
                                            0.463486e-14};
constexpr std::array<double, 6> kLaskarQ = {0.0, -0.113469002e-3, 0.12372674e-6, 0.1265417e-8, -0.1371808e-10,
                                            -0.320334e-14};
constexpr double kObliquityJ2000Rad = 84381.448 * kArcsecToRad;

// The P, Q rotation matrix, applied directly or transposed.
Vec3 RotatePQ(const Vec3& v, double julianDayTdb, bool transposed) {
  const double t = CenturiesFromJ2000(julianDayTdb);
  const double p = EvaluatePolynomial(kLaskarP, t).value, q = EvaluatePolynomial(kLaskarQ, t).value;
  const double root = std::sqrt(1.0 - p * p - q * q);
  const double m[3][3] = {{1.0 - 2.0 * p * p, 2.0 * p * q, 2.0 * p * root},
                          {2.0 * p * q, 1.0 - 2.0 * q * q, -2.0 * q * root},
                          {-2.0 * p * root, 2.0 * q * root, 1.0 - 2.0 * p * p - 2.0 * q * q}};
  const auto at = [&](int i, int j) { return transposed ? m[j][i] : m[i][j]; };
  return {at(0, 0) * v.x + at(0, 1) * v.y + at(0, 2) * v.z, at(1, 0) * v.x + at(1, 1) * v.y + at(1, 2) * v.z,
          at(2, 0) * v.x + at(2, 1) * v.y + at(2, 2) * v.z};
}

}  // namespace

PrecessionAngle GeneralPrecessionInLongitude(double julianDayTdb) {
  const Jet p = EvaluatePolynomial(kPrecessionArcsec, CenturiesFromJ2000(julianDayTdb));
  return {p.value * kArcsecToRad, p.rate * kArcsecToRad / kDaysPerCentury};
}

Vec3 EclipticOfDateToJ2000(const Vec3& v, double julianDayTdb) { return RotatePQ(v, julianDayTdb, false); }

Vec3 EclipticJ2000ToOfDate(const Vec3& v, double julianDayTdb) { return RotatePQ(v, julianDayTdb, true); }

Vec3 PrecessEclipticJ2000ToDate(const Vec3& v, double julianDayTdb) {
  return RotateAboutZ(EclipticJ2000ToOfDate(v, julianDayTdb), GeneralPrecessionInLongitude(julianDayTdb).angleRad);
}

Vec3 PrecessEclipticDateToJ2000(const Vec3& v, double julianDayTdb) {
  return EclipticOfDateToJ2000(RotateAboutZ(v, -GeneralPrecessionInLongitude(julianDayTdb).angleRad), julianDayTdb);
}

// The frame turns by the obliquity about the equinox: the vectors turn the other way.
Vec3 EquatorialJ2000ToEcliptic(const Vec3& v) { return RotateAboutX(v, -kObliquityJ2000Rad); }

Vec3 EclipticJ2000ToEquatorial(const Vec3& v) { return RotateAboutX(v, kObliquityJ2000Rad); }

}  // namespace kelvara::engine
