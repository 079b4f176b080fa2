#include "calendars/exact_moment.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "workspace/driver_points.h"

namespace kelvara::calendars {
namespace {

using workspace::kFullCircle;
using workspace::Normalise360;
using workspace::SignedDifference;

constexpr int kCubicPoints = 4;
constexpr int kCastsPerStopTest = 8;
// A last moment one whole number of steps after the first is still cast.
constexpr double kGridSlackSteps = 1e-9;
// The search cuts the step around the estimate into this many pieces to find where the
// separation changes sign; a piece is far shorter than any turn of a planet.
constexpr int kBracketPieces = 24;
constexpr double kToleranceHours = 0.1 / 3600.0;
constexpr int kMaxBisections = 60;
// A change of sign between values this far from the target is the fold at 180, not a root.
constexpr double kNearTargetDeg = 90.0;

using Bracket = std::pair<double, double>;

double NearestSeparation(std::span<const double> separationsDeg, double separationDeg) {
  return *std::min_element(separationsDeg.begin(), separationsDeg.end(), [&](double a, double b) {
    return std::fabs(SignedDifference(separationDeg, a)) < std::fabs(SignedDifference(separationDeg, b));
  });
}

// Of the pieces of one step to either side of the estimate, the one nearest it in which
// the separation passes its target.
template <typename OffTarget>
std::optional<Bracket> NearestBracket(const OffTarget& offTarget, double estimateHours, double stepHours) {
  const double piece = stepHours / (kBracketPieces / 2);
  std::optional<Bracket> nearest;
  double nearestDistance = 0.0;
  double t0 = estimateHours - stepHours;
  double f0 = offTarget(t0);
  for (int i = 1; i <= kBracketPieces; ++i) {
    const double t1 = t0 + piece;
    const double f1 = offTarget(t1);
    const bool crosses = (f0 <= 0.0) != (f1 <= 0.0) && std::fabs(f0) < kNearTargetDeg && std::fabs(f1) < kNearTargetDeg;
    const double distance = std::min(std::fabs(t0 - estimateHours), std::fabs(t1 - estimateHours));
    if (crosses && (!nearest || distance < nearestDistance)) {
      nearest = Bracket{t0, t1};
      nearestDistance = distance;
    }
    t0 = t1;
    f0 = f1;
  }
  return nearest;
}

template <typename OffTarget>
double Bisected(const OffTarget& offTarget, Bracket bracket) {
  auto [low, high] = bracket;
  const bool lowBelow = offTarget(low) <= 0.0;
  for (int i = 0; i < kMaxBisections && high - low > kToleranceHours; ++i) {
    const double middle = (low + high) / 2.0;
    ((offTarget(middle) <= 0.0) == lowBelow ? low : high) = middle;
  }
  return (low + high) / 2.0;
}

// Lagrange's polynomial through the nodes x = 0, 1, ..., n - 1 at position x.
double LagrangeAt(const double* values, int n, double x) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    double weight = 1.0;
    for (int j = 0; j < n; ++j) {
      if (j != i) weight *= (x - j) / double(i - j);
    }
    sum += weight * values[i];
  }
  return sum;
}

}  // namespace

bool CastChartAt(const workspace::ChartEngine& engine, workspace::ChartRecord& chart,
                 const workspace::ChartRecord* natal, double greenwichHours) {
  chart.local = workspace::MomentFromHours(greenwichHours + chart.gmtOffsetHours);
  const workspace::ComputeContext context{engine, natal ? natal : &chart, nullptr, nullptr, {}};
  std::lock_guard lock(workspace::EngineLock());
  return workspace::ComputeChart(chart, context) == workspace::ComputeResult::kComputed;
}

std::optional<PairSamples> PairSamples::Cast(const workspace::ChartEngine& engine, const PairCharts& charts,
                                             double firstHours, double lastHours, double stepHours,
                                             const std::function<bool()>& stopped) {
  if (!(stepHours > 0.0) || !(lastHours >= firstHours)) return std::nullopt;
  PairSamples samples;
  samples.first_ = firstHours;
  samples.step_ = stepHours;
  samples.baseMotion_ = charts.baseMotion;
  samples.fixed_ = charts.fixedBasePoints;
  for (int slot = 0; slot < workspace::kSlotCount; ++slot) samples.given_[slot] = charts.base.objects[slot].longitude;
  workspace::ChartRecord moving = charts.moving;
  workspace::ChartRecord base = charts.base;
  const workspace::ChartRecord* natal = charts.natal ? charts.natal : &charts.base;
  const auto longitudes = [](const workspace::ChartRecord& chart) {
    Longitudes l{};
    for (int slot = 0; slot < workspace::kSlotCount; ++slot) l[slot] = chart.objects[slot].longitude;
    return l;
  };
  const int count = int(std::floor((lastHours - firstHours) / stepHours + kGridSlackSteps)) + 1;
  for (int k = 0; k < count; ++k) {
    if (k % kCastsPerStopTest == 0 && stopped && stopped()) return std::nullopt;
    const double hours = firstHours + k * stepHours;
    if (!CastChartAt(engine, moving, natal, hours)) return std::nullopt;
    samples.moving_.push_back(longitudes(moving));
    if (charts.baseMotion != BaseMotion::kOwnCasts) continue;
    if (!CastChartAt(engine, base, natal, hours)) return std::nullopt;
    samples.base_.push_back(longitudes(base));
  }
  return samples;
}

double PairSamples::Interpolated(const std::vector<Longitudes>& casts, int point, double hours) const {
  const int n = int(casts.size());
  const int used = std::min(kCubicPoints, n);
  const double x = (hours - first_) / step_;
  // The nodes around x: one before its step and two after where the casts allow.
  const int start = std::clamp(int(std::floor(x)) - 1, 0, n - used);
  double values[kCubicPoints];
  values[0] = casts[start][point];
  // Unwrapped node by node, so a pass through 0 degrees is one continuous motion.
  for (int i = 1; i < used; ++i) {
    values[i] = values[i - 1] + SignedDifference(casts[start + i][point], casts[start + i - 1][point]);
  }
  return Normalise360(LagrangeAt(values, used, x - start));
}

PairPositions PairSamples::At(int movingPoint, int basePoint, double hours) const {
  PairPositions p;
  p.movingDeg = Interpolated(moving_, movingPoint, hours);
  if (fixed_[basePoint] || baseMotion_ == BaseMotion::kStill) {
    p.baseDeg = given_[basePoint];
  } else {
    p.baseDeg = Interpolated(baseMotion_ == BaseMotion::kOwnCasts ? base_ : moving_, basePoint, hours);
  }
  return p;
}

std::vector<double> AspectSeparations(double angleDeg, double shiftDeg) {
  std::vector<double> sides = {angleDeg};
  if (std::fmod(angleDeg, 180.0) != 0.0) sides.push_back(-angleDeg);
  if (shiftDeg == 0.0) return sides;
  std::vector<double> shifted;
  for (const double side : sides) {
    shifted.push_back(side - shiftDeg);
    shifted.push_back(side + shiftDeg);
  }
  return shifted;
}

std::optional<RefinedMoment> RefineMoment(const PairSamples& samples, int movingPoint, int basePoint,
                                          std::span<const double> separationsDeg, double estimateHours) {
  if (separationsDeg.empty()) return std::nullopt;
  const auto separation = [&](double hours) {
    const PairPositions p = samples.At(movingPoint, basePoint, hours);
    return SignedDifference(p.movingDeg, p.baseDeg);
  };
  const double target = NearestSeparation(separationsDeg, separation(estimateHours));
  const auto offTarget = [&](double hours) { return SignedDifference(separation(hours), target); };
  const auto bracket = NearestBracket(offTarget, estimateHours, samples.StepHours());
  if (!bracket) return std::nullopt;
  const double hours = Bisected(offTarget, *bracket);
  return RefinedMoment{hours, samples.At(movingPoint, basePoint, hours)};
}

}  // namespace kelvara::calendars
