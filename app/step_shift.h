// The step shift of the wheel: the tap zones of each chart, the moment arithmetic of a
// step and the reading of presses, releases and timer ticks on the zones.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "app/view_metrics.h"
#include "platform/geometry.h"
#include "workspace/chart_record.h"

namespace kelvara::app {

// The window's step timer runs at this period; a press held longer than the hold time
// starts the repetition.
inline constexpr double kStepTickMs = 500.0;
inline constexpr double kStepHoldMs = 3000.0;

inline constexpr int kFirstChart = 1;
inline constexpr int kSecondChart = 2;

enum class StepZone { kBackward, kMiddle, kForward };

// Each chart's zones form a row of three equal boxes along the bottom edge of its half of
// the picture: chart 1 in the bottom-left corner, chart 2 mirrored into the bottom-right
// one, so the two rows never meet and neither covers the wheel. Backward is always the
// leftmost box, forward the rightmost.
struct StepZones {
  platform::Rect backward;
  platform::Rect middle;
  platform::Rect forward;

  const platform::Rect& Of(StepZone zone) const;
};

struct StepZoneHit {
  int chart = kFirstChart;
  StepZone zone = StepZone::kMiddle;
  friend bool operator==(const StepZoneHit&, const StepZoneHit&) = default;
};

// 1 for a point in the left half of the picture, 2 for the right half.
int ChartOfPoint(platform::Point point, const ViewMetrics& metrics);
StepZones StepZonesFor(int chart, const ViewMetrics& metrics);
// Chart 2's zones count only while the second chart is shown.
std::optional<StepZoneHit> HitStepZone(platform::Point point, const ViewMetrics& metrics,
                                       bool secondChartShown);

// All six parts zero: a tap on a step zone then opens the step dialog.
bool IsZeroStep(const workspace::StepShift& step);

// The local moment moved by `times` steps (negative goes back): years and months on the
// calendar, a day beyond the new month's end becoming its last day, then days, hours,
// minutes and seconds as one span. None when the moment would leave 1 January 1860 -
// 31 December 2130: each of the two parts must stay on the scale.
std::optional<workspace::CalendarMoment> ShiftMoment(const workspace::CalendarMoment& local,
                                                     const workspace::StepShift& step, int times);

// Moves the chart's local moment by one step (+1 forward, -1 back); a running "now" chart
// counts the step, so its clock keeps the shift from the present. False, with the chart
// unchanged, when the step is refused. The caller recomputes the chart.
bool StepChart(workspace::ChartRecord& chart, int direction);

// Takes the six parts the user edited; a zero step also clears the counter.
void StoreEditedStep(workspace::StepShift& step, const workspace::StepShift& edited);

enum class StepCommand {
  kNone,
  kStep,            // step the chart by `direction`
  kStartRepeating,  // stop the "now" clock, then step the chart by `direction`
  kStopRepeating,   // the repetition ended: start the "now" clock again where it applies
  kOpenDialog,      // edit the chart's step
};

struct StepAction {
  StepCommand command = StepCommand::kNone;
  int chart = kFirstChart;
  int direction = 0;
  friend bool operator==(const StepAction&, const StepAction&) = default;
};

// Reads the stylus on the zones. Times are milliseconds on any steady count the window
// chooses; the controller never reads a clock, so the window's timer drives it.
class StepController {
 public:
  // `step` is the pressed chart's step.
  StepAction Press(StepZoneHit hit, const workspace::StepShift& step, double nowMs);
  void Release();
  // A timer tick: the steps that are due, one per repeating chart.
  std::vector<StepAction> Tick(double nowMs);
  // The caller ends a repetition whose step was refused; a held press stops counting too.
  void StopRepeating(int chart);

  // The step zone to draw as an arrow, while it is pressed.
  std::optional<StepZoneHit> Pressed() const;
  bool IsRepeating(int chart) const;
  bool AnyRepeating() const;
  // False when the window may stop its timer.
  bool NeedsTicks() const;

 private:
  struct Hold {
    StepZoneHit hit;
    double sinceMs = 0.0;
    bool counts = true;  // the press may still turn into a repetition
  };
  struct ChartStepping {
    bool repeating = false;
    int direction = 0;  // of the last step
  };

  // A press held past the hold time that has not turned into a repetition yet.
  bool HoldIsDue(double nowMs) const;
  ChartStepping& Of(int chart);
  const ChartStepping& Of(int chart) const;

  std::optional<Hold> hold_;
  std::array<ChartStepping, 2> charts_{};
};

}  // namespace kelvara::app
