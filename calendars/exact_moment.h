// Exact moments of aspects to the minute. The event scanner steps a day at a time and
// draws straight lines between its steps, which leaves the Moon minutes off; here the
// charts are cast once per step and a root search runs on the cubic through the four
// casts around each moment, so a calendar of thousands of aspects costs no more casts
// than the scan itself.
#pragma once

#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "workspace/chart_compute.h"
#include "workspace/chart_record.h"
#include "workspace/engine_driver.h"

namespace kelvara::calendars {

// How the base chart's points move while the moving chart is cast through time.
enum class BaseMotion {
  kStill,       // a natal chart: its positions as given
  kSameChart,   // the transit background: the moving chart's own positions
  kOwnCasts,    // another moving chart, cast at each moment too
};

struct PairCharts {
  workspace::ChartRecord moving;
  workspace::ChartRecord base;
  // What derived moving charts (progressions, directions) start from; null: the base chart.
  const workspace::ChartRecord* natal = nullptr;
  BaseMotion baseMotion = BaseMotion::kStill;
  // Base points that keep their given position (the sign boundaries of the void Moon).
  std::bitset<workspace::kSlotCount> fixedBasePoints;
};

// Where a moving point and a base point stand at one moment, degrees 0-360.
struct PairPositions {
  double movingDeg = 0.0;
  double baseDeg = 0.0;
};

// The two charts' longitudes cast on an even grid of Greenwich moments.
class PairSamples {
 public:
  // Casts at first, first + step, ... up to `lastHours` (both inside the hour scale);
  // none when a cast is refused or `stopped` says so (tested every few casts).
  static std::optional<PairSamples> Cast(const workspace::ChartEngine& engine, const PairCharts& charts,
                                         double firstHours, double lastHours, double stepHours,
                                         const std::function<bool()>& stopped = {});

  double StepHours() const { return step_; }
  // Interpolated between the casts; the given position for still and fixed points.
  PairPositions At(int movingPoint, int basePoint, double hours) const;

 private:
  using Longitudes = std::array<double, workspace::kSlotCount>;
  double Interpolated(const std::vector<Longitudes>& casts, int point, double hours) const;

  double first_ = 0.0;
  double step_ = 0.0;
  std::vector<Longitudes> moving_;
  std::vector<Longitudes> base_;  // empty unless the base chart has casts of its own
  Longitudes given_{};            // the base chart as given
  BaseMotion baseMotion_ = BaseMotion::kStill;
  std::bitset<workspace::kSlotCount> fixed_;
};

// The moment within one sample step of `estimateHours` at which the separation of the
// moving point from the base point (moving - base, the short way round) equals the one
// of `separationsDeg` that is nearest to it at the estimate; the root nearest the
// estimate, to a fraction of a second. None when there is no such moment.
struct RefinedMoment {
  double hours = 0.0;
  PairPositions positions;
};
std::optional<RefinedMoment> RefineMoment(const PairSamples& samples, int movingPoint, int basePoint,
                                          std::span<const double> separationsDeg, double estimateHours);

// The separations of an aspect: both sides (one for 0 and 180), each moved by `shiftDeg`
// (half the orb, for the orb's boundaries) to both sides when it is not 0.
std::vector<double> AspectSeparations(double angleDeg, double shiftDeg = 0.0);

// Casts a chart record at a Greenwich moment as the scanner does: the local moment from
// the chart's offset, derived kinds from `natal`. False when it cannot be cast.
bool CastChartAt(const workspace::ChartEngine& engine, workspace::ChartRecord& chart,
                 const workspace::ChartRecord* natal, double greenwichHours);

}  // namespace kelvara::calendars
