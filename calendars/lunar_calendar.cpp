#include "calendars/lunar_calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "calendars/calendar_texts.h"
#include "engine/angles.h"
#include "workspace/driver_points.h"

namespace kelvara::calendars {

namespace {

constexpr double kDamping = 0.85;
constexpr double kNoSpeedStepHours = 192.0;
constexpr double kNearCrossingDeg = 90.0;
constexpr int kMaxTrials = 2000;
// Less than the shortest lunation: a search started this far after a phase meets the next one.
constexpr double kPhaseJumpHours = 672.0;
constexpr double kSecondsPerHour = 3600.0;

struct PhaseChoice {
  bool chosen;
  double target;
  std::string_view label;
};

struct SunMoon {
  double difference = 0.0;
  double speedSum = 0.0;
};

std::optional<SunMoon> SunMoonAt(const workspace::ChartEngine& engine, double hours, double latitudeDeg,
                                 double longitudeDeg, double targetDeg) {
  workspace::ObjectTable objects;
  if (!engine.RunChart(workspace::RequestAt(hours, latitudeDeg, longitudeDeg, workspace::kNoHouses),
                       objects, false)) {
    return std::nullopt;
  }
  const workspace::ChartObject& sun = objects[workspace::kSlotSun];
  const workspace::ChartObject& moon = objects[workspace::kSlotMoon];
  return SunMoon{workspace::SignedDifference(moon.longitude, workspace::Normalise360(sun.longitude - targetDeg)),
                 std::abs(moon.speed) + std::abs(sun.speed)};
}

long long SecondKey(double hours) { return static_cast<long long>(engine::RoundHalfAway(hours * kSecondsPerHour)); }

bool Contains(const CalendarEntry& entry, std::string_view mark) {
  return entry.before.find(mark) != std::string::npos;
}

CalendarEntry LabelledEntry(double hours, std::string_view label) {
  return {hours, std::string(label) + "|", "", true};
}

class LunarCalculation {
 public:
  LunarCalculation(const CalendarRequest& request, const CalendarRun& run)
      : request_(request), run_(run), start_(StartHours(request)), end_(EndHours(request)) {}

  std::optional<CalendarResult> Run() {
    const bool daysWanted = request_.lunarDays && !IsBeyondPolarCircle(request_.latitudeDeg);
    const std::optional<double> lastNewMoon =
        daysWanted ? Find(start_, kNewMoonTarget, false) : std::nullopt;
    ProgressCounter progress(run_.progress, StepTotal(lastNewMoon));
    for (const PhaseChoice& phase : Phases()) {
      if (phase.chosen && !PhaseLoop(phase, progress)) return std::nullopt;
    }
    if (lastNewMoon && !LunarDays(*lastNewMoon, progress)) return std::nullopt;
    OrderLunarEntries(entries_);
    CalendarResult result;
    FillResult(entries_, request_, run_.zones, result);
    if (request_.lunarDays && !daysWanted) result.refusal = std::string(texts::kPolarLunarDays);
    return result;
  }

 private:
  std::vector<PhaseChoice> Phases() const {
    return {{request_.newMoons, kNewMoonTarget, texts::kNewMoonLabel},
            {request_.firstQuarters, kFirstQuarterTarget, texts::kFirstQuarterLabel},
            {request_.fullMoons, kFullMoonTarget, texts::kFullMoonLabel},
            {request_.lastQuarters, kLastQuarterTarget, texts::kLastQuarterLabel}};
  }

  std::optional<double> Find(double from, double target, bool forward) const {
    return FindPhase(run_.engine, from, request_.latitudeDeg, request_.longitudeDeg, target, forward);
  }

  double StepTotal(std::optional<double> lastNewMoon) const {
    double total = 0.0;
    for (const PhaseChoice& phase : Phases()) {
      if (phase.chosen) total += engine::RoundHalfAway((end_ - start_) / kPhaseJumpHours) + 1.0;
    }
    if (lastNewMoon) total += engine::RoundHalfAway((end_ - *lastNewMoon) / kHoursPerDay);
    return total;
  }

  bool PhaseLoop(const PhaseChoice& phase, ProgressCounter& progress) {
    for (double t = start_; t - kHoursPerDay < end_;) {
      if (run_.StopRequested()) return false;
      progress.Step();
      const std::optional<double> found = Find(t, phase.target, true);
      if (!found) break;
      if (*found >= start_ && *found <= end_) entries_.push_back(LabelledEntry(*found, phase.label));
      t = *found + kPhaseJumpHours;
    }
    return true;
  }

  std::optional<double> NewMoonAfter(double newMoon) const {
    return Find(newMoon + kPhaseJumpHours, kNewMoonTarget, true);
  }

  void AddDay(int number, double hours) {
    if (hours < start_ || hours > end_ || !seenDays_.insert(SecondKey(hours)).second) return;
    char label[40];
    std::snprintf(label, sizeof label, texts::kLunarDayLabel, number);
    entries_.push_back(LabelledEntry(hours, label));
  }

  // A lunar month renews at the first moonrise after the next new moon, however many
  // moonrises the month had: at high latitudes some months have fewer than 27.
  bool LunarDays(double lastNewMoon, ProgressCounter& progress) {
    double monthStart = lastNewMoon;
    std::optional<double> nextNewMoon = NewMoonAfter(monthStart);
    int day = 1;
    for (double t = lastNewMoon; t - kHoursPerDay < end_; t += kHoursPerDay) {
      if (run_.StopRequested()) return false;
      progress.Step();
      const auto events = DayEvents(run_.dayScan, t, request_, kMoonBody);
      if (!events) continue;
      for (const HorizonEvent& rise : *events) {
        if (rise.event != kRisingEvent || rise.hours <= monthStart || rise.hours >= end_) continue;
        if (nextNewMoon && rise.hours > *nextNewMoon) {
          monthStart = *nextNewMoon;
          day = 1;
          AddDay(day, monthStart);
          nextNewMoon = NewMoonAfter(monthStart);
        }
        AddDay(++day, rise.hours);
      }
    }
    return true;
  }

  const CalendarRequest& request_;
  const CalendarRun& run_;
  double start_;
  double end_;
  std::vector<CalendarEntry> entries_;
  std::set<long long> seenDays_;
};

}  // namespace

void OrderLunarEntries(std::vector<CalendarEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const CalendarEntry& a, const CalendarEntry& b) {
    return SecondKey(a.hours) < SecondKey(b.hours);
  });
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
    CalendarEntry& first = entries[i];
    CalendarEntry& second = entries[i + 1];
    if (Contains(first, texts::kNewMoonMark) && Contains(second, texts::kFirstLunarDayMark)) {
      first.hours = second.hours;
    } else if (Contains(first, texts::kFirstLunarDayMark) && Contains(second, texts::kNewMoonMark)) {
      second.hours = first.hours;
      std::swap(first, second);
    }
  }
}

std::optional<double> FindPhase(const workspace::ChartEngine& engine, double startHours,
                                double latitudeDeg, double longitudeDeg, double targetDeg,
                                bool forward) {
  double t = startHours;
  std::optional<SunMoon> now = SunMoonAt(engine, t, latitudeDeg, longitudeDeg, targetDeg);
  if (!now) return std::nullopt;
  double d = now->difference;
  double h = now->speedSum == 0.0 ? kNoSpeedStepHours : kDamping * std::abs(d) / now->speedSum * kHoursPerDay;
  if (!forward) h = -h;
  for (int trial = 0; trial < kMaxTrials; ++trial) {
    if (std::abs(h) < kMinuteHours) h = std::copysign(kMinuteHours, h);
    t += h;
    if (!workspace::IsWithinScale(t)) return std::nullopt;
    const std::optional<SunMoon> next = SunMoonAt(engine, t, latitudeDeg, longitudeDeg, targetDeg);
    if (!next) return std::nullopt;
    const double dNext = next->difference;
    if (d * dNext < 0.0 && std::abs(dNext) < kNearCrossingDeg && std::abs(d) < kNearCrossingDeg) {
      if (std::abs(h) <= kMinuteHours) return t;
      // Past the crossing: back up and walk to it minute by minute.
      t -= h;
      h = std::copysign(kMinuteHours, h);
      continue;
    }
    if (d != 0.0) {
      const double rate = std::abs(d / h);
      const double step = std::abs(dNext) / rate;
      h = std::copysign(std::min(step, step / 60.0 + std::abs(h)), h);
    }
    d = dNext;
  }
  return std::nullopt;
}

std::optional<CalendarResult> CalculateLunarCalendar(const CalendarRequest& request, const CalendarRun& run) {
  return LunarCalculation(request, run).Run();
}

}  // namespace kelvara::calendars
