#include "workspace/angle_search.h"

#include <algorithm>
#include <cmath>

#include "workspace/driver_points.h"
#include "workspace/hour_scale.h"

namespace kelvara::workspace {
namespace {

constexpr int kMaxTrials = 60;

double LimitedStep(double stepHours) {
  if (!std::isfinite(stepHours)) return 0.0;
  return std::clamp(stepHours, -kMaxAngleStepHours, kMaxAngleStepHours);
}

// The secant's step, or the mean rate's where the two trials straddle a wrap of the
// difference and the secant would point the wrong way.
double NextStep(double t0, double f0, double t1, double f1) {
  const double slope = (f1 - f0) / (t1 - t0);
  if (slope > 0.0 && std::isfinite(slope)) return LimitedStep(-f1 / slope);
  return LimitedStep(-f1 / kAngleRateDegPerHour);
}

}  // namespace

double SearchAngleMoment(double startHours, double targetDeg,
                         const std::function<double(double hours)>& angleAt) {
  double t0 = ClampToScale(startHours);
  double f0 = SignedDifference(angleAt(t0), targetDeg);
  double step = LimitedStep(-f0 / kAngleRateDegPerHour);
  for (int trial = 0; trial < kMaxTrials && std::fabs(step) >= kAngleSearchPrecisionHours; ++trial) {
    const double t1 = ClampToScale(t0 + step);
    if (t1 == t0) break;
    const double f1 = SignedDifference(angleAt(t1), targetDeg);
    step = f1 == 0.0 ? 0.0 : NextStep(t0, f0, t1, f1);
    t0 = t1;
    f0 = f1;
  }
  return ClampToScale(t0 + step);
}

}  // namespace kelvara::workspace
