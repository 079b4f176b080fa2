#include "app/step_shift.h"

#include <algorithm>
#include <cmath>

#include "workspace/chart_compute.h"

namespace kelvara::app {
namespace {

using workspace::CalendarMoment;
using workspace::StepShift;

// Layout lengths of the handheld screen, before the display scale. The boxes' edges are
// measured from the half's outer side; the row sits between the two insets from the bottom.
constexpr double kZoneMargin = 5.0;
constexpr std::array<double, 4> kZoneEdges = {kZoneMargin, 20.0, 35.0, 50.0};
constexpr double kZoneTopInset = 21.0;

constexpr int kMonthsPerYear = 12;
constexpr long long kSecondsPerMinute = 60;
constexpr long long kSecondsPerHour = 3600;
constexpr long long kSecondsPerDay = 86400;

int Scaled(double length, const ViewMetrics& metrics) {
  return static_cast<int>(std::lround(length * metrics.displayScale));
}

int Middle(const platform::Rect& rect) { return rect.left + rect.Width() / 2; }

// The box between the i-th and (i+1)-th edge, counted from the half's outer side.
platform::Rect ZoneBox(int chart, int index, const ViewMetrics& metrics) {
  const platform::Rect& view = metrics.rect;
  const int top = view.bottom - Scaled(kZoneTopInset, metrics);
  const int bottom = view.bottom - Scaled(kZoneMargin, metrics);
  const int near = Scaled(kZoneEdges[index], metrics);
  const int far = Scaled(kZoneEdges[index + 1], metrics);
  if (chart == kFirstChart) return {view.left + near, top, view.left + far, bottom};
  return {view.right - far, top, view.right - near, bottom};
}

std::optional<long long> Times(long long amount, int times) {
  long long product = 0;
  if (__builtin_mul_overflow(amount, static_cast<long long>(times), &product)) return std::nullopt;
  return product;
}

long long SecondsOf(const CalendarMoment& m) {
  return workspace::DaysSince1860(m.year, m.month, m.day) * kSecondsPerDay + m.hour * kSecondsPerHour +
         m.minute * kSecondsPerMinute + m.second;
}

long long ScaleEndSeconds() {
  return SecondsOf({workspace::kLastYear, 12, 31, 23, 59, 59});
}

std::optional<CalendarMoment> ShiftMonths(CalendarMoment m, long long months) {
  const long long index = static_cast<long long>(m.year) * kMonthsPerYear + (m.month - 1) + months;
  const long long year = index / kMonthsPerYear;
  if (index < 0 || year < workspace::kFirstYear || year > workspace::kLastYear) return std::nullopt;
  m.year = static_cast<int>(year);
  m.month = static_cast<int>(index % kMonthsPerYear) + 1;
  m.day = std::min(m.day, workspace::DaysInMonth(m.year, m.month));
  return m;
}

std::optional<CalendarMoment> ShiftSeconds(const CalendarMoment& m, long long seconds) {
  long long result = 0;
  if (__builtin_add_overflow(SecondsOf(m), seconds, &result)) return std::nullopt;
  if (result < 0 || result > ScaleEndSeconds()) return std::nullopt;
  return workspace::MomentFromHours(static_cast<double>(result) / kSecondsPerHour);
}

long long StepMonths(const StepShift& step) {
  return static_cast<long long>(step.years) * kMonthsPerYear + step.months;
}

long long StepSeconds(const StepShift& step) {
  return step.days * kSecondsPerDay + step.hours * kSecondsPerHour + step.minutes * kSecondsPerMinute +
         step.seconds;
}

}  // namespace

const platform::Rect& StepZones::Of(StepZone zone) const {
  switch (zone) {
    case StepZone::kBackward: return backward;
    case StepZone::kForward: return forward;
    case StepZone::kMiddle: break;
  }
  return middle;
}

int ChartOfPoint(platform::Point point, const ViewMetrics& metrics) {
  return point.x < Middle(metrics.rect) ? kFirstChart : kSecondChart;
}

StepZones StepZonesFor(int chart, const ViewMetrics& metrics) {
  const platform::Rect outer = ZoneBox(chart, 0, metrics);
  const platform::Rect middle = ZoneBox(chart, 1, metrics);
  const platform::Rect inner = ZoneBox(chart, 2, metrics);
  if (chart == kFirstChart) return {outer, middle, inner};
  return {inner, middle, outer};
}

std::optional<StepZoneHit> HitStepZone(platform::Point point, const ViewMetrics& metrics,
                                       bool secondChartShown) {
  const int chart = ChartOfPoint(point, metrics);
  if (chart == kSecondChart && !secondChartShown) return std::nullopt;
  const StepZones zones = StepZonesFor(chart, metrics);
  for (const StepZone zone : {StepZone::kBackward, StepZone::kMiddle, StepZone::kForward}) {
    if (zones.Of(zone).Contains(point)) return StepZoneHit{chart, zone};
  }
  return std::nullopt;
}

bool IsZeroStep(const StepShift& step) {
  return step.years == 0 && step.months == 0 && step.days == 0 && step.hours == 0 && step.minutes == 0 &&
         step.seconds == 0;
}

std::optional<CalendarMoment> ShiftMoment(const CalendarMoment& local, const StepShift& step, int times) {
  if (!workspace::IsValidMoment(local)) return std::nullopt;
  const auto months = Times(StepMonths(step), times);
  const auto seconds = Times(StepSeconds(step), times);
  if (!months || !seconds) return std::nullopt;
  const auto onCalendar = ShiftMonths(local, *months);
  if (!onCalendar) return std::nullopt;
  return ShiftSeconds(*onCalendar, *seconds);
}

bool StepChart(workspace::ChartRecord& chart, int direction) {
  const auto moved = ShiftMoment(chart.local, chart.step, direction);
  if (!moved) return false;
  chart.local = *moved;
  if (workspace::IsRunningNowName(chart.name)) chart.step.counter += direction;
  return true;
}

void StoreEditedStep(StepShift& step, const StepShift& edited) {
  const int counter = IsZeroStep(edited) ? 0 : step.counter;
  step = edited;
  step.counter = counter;
}

StepAction StepController::Press(StepZoneHit hit, const StepShift& step, double nowMs) {
  hold_.reset();
  ChartStepping& stepping = Of(hit.chart);
  if (hit.zone == StepZone::kMiddle || IsZeroStep(step)) {
    if (!stepping.repeating) return {StepCommand::kOpenDialog, hit.chart, 0};
    stepping.repeating = false;
    return {StepCommand::kStopRepeating, hit.chart, 0};
  }
  stepping.direction = hit.zone == StepZone::kForward ? 1 : -1;
  hold_ = Hold{hit, nowMs, true};
  return {StepCommand::kStep, hit.chart, stepping.direction};
}

void StepController::Release() { hold_.reset(); }

std::vector<StepAction> StepController::Tick(double nowMs) {
  std::vector<StepAction> due;
  std::optional<int> started;
  if (HoldIsDue(nowMs)) {
    ChartStepping& stepping = Of(hold_->hit.chart);
    stepping.repeating = true;
    started = hold_->hit.chart;
    due.push_back({StepCommand::kStartRepeating, *started, stepping.direction});
  }
  for (const int chart : {kFirstChart, kSecondChart}) {
    if (!Of(chart).repeating || chart == started) continue;
    due.push_back({StepCommand::kStep, chart, Of(chart).direction});
  }
  return due;
}

bool StepController::HoldIsDue(double nowMs) const {
  return hold_ && hold_->counts && !IsRepeating(hold_->hit.chart) && nowMs - hold_->sinceMs > kStepHoldMs;
}

void StepController::StopRepeating(int chart) {
  Of(chart).repeating = false;
  if (hold_ && hold_->hit.chart == chart) hold_->counts = false;
}

std::optional<StepZoneHit> StepController::Pressed() const {
  if (!hold_) return std::nullopt;
  return hold_->hit;
}

bool StepController::IsRepeating(int chart) const { return Of(chart).repeating; }

bool StepController::AnyRepeating() const { return IsRepeating(kFirstChart) || IsRepeating(kSecondChart); }

bool StepController::NeedsTicks() const { return (hold_ && hold_->counts) || AnyRepeating(); }

StepController::ChartStepping& StepController::Of(int chart) {
  return charts_[chart == kSecondChart ? 1 : 0];
}

const StepController::ChartStepping& StepController::Of(int chart) const {
  return charts_[chart == kSecondChart ? 1 : 0];
}

}  // namespace kelvara::app
