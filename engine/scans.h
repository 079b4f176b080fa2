// What the rise/set scan and the event scan share: casting the core chart at another clock
// time, the objects a scan follows, and putting the chart of the vector back afterwards.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "engine/records.h"

namespace kelvara::engine {

// Both scans keep at most this many events a day; later ones are dropped, never written
// past the table.
inline constexpr int kMaxDayEvents = 150;
// Both scans write their lines to this scratch file in the current directory.
inline constexpr const char* kScanFileName = "tmp.tmp";
inline constexpr double kHoursPerDay = 24.0;
inline constexpr double kMinutesPerHour = 60.0;
inline constexpr double kMinutesPerDay = 1440.0;

// The events of one scanned day in discovery order; Event has a `minutes` field.
template <typename Event>
class DayEventTable {
 public:
  bool Add(const Event& event) {
    if (count_ >= events_.size()) return false;
    events_[count_++] = event;
    return true;
  }
  // Ascending time; equal times keep their discovery order.
  void SortByTime() {
    std::stable_sort(events_.begin(), events_.begin() + count_,
                     [](const Event& a, const Event& b) { return a.minutes < b.minutes; });
  }
  void Clear() { count_ = 0; }
  std::size_t size() const { return count_; }
  const Event& operator[](std::size_t i) const { return events_[i]; }

 private:
  std::array<Event, kMaxDayEvents> events_{};
  std::size_t count_ = 0;
};

// A scan never follows the Earth, Fortune, Vertex, East Point or the cusps.
bool ScannedObject(const EngineState& state, int object);

// Casts the chart on the date, zone, daylight value and place of `day` at a clock time in
// decimal hours (the chart input takes it in H.MM form), as one sample of a scan whose samples
// lie step_hours apart.
void CastAtHours(EngineState& state, const ChartInput& day, double hours, double step_hours);

// What a scan overwrites in the object tables and the time state, saved before its first
// sample and put back after its last, so the result arrays describe the chart of the vector
// (or, after a vector that did not parse, what the tables held before) and never the
// scan's last sample.
class ChartTablesKeeper {
 public:
  explicit ChartTablesKeeper(EngineState& state)
      : state_(state), objects_(state.objects), time_(state.time) {}
  ~ChartTablesKeeper() {
    state_.objects = objects_;
    state_.time = time_;
    state_.chartInput = state_.coreChart;
  }
  ChartTablesKeeper(const ChartTablesKeeper&) = delete;
  ChartTablesKeeper& operator=(const ChartTablesKeeper&) = delete;

 private:
  EngineState& state_;
  ObjectTables objects_;
  TimeState time_;
};

}  // namespace kelvara::engine
