// ComputeChart: turns a chart's name (its kind) into moments and positions, and the
// return search it uses.
#pragma once

#include <optional>
#include <string>

#include "platform/clock.h"
#include "workspace/chart_record.h"
#include "workspace/engine_driver.h"

namespace kelvara::workspace {

// The places database as the chart workspace needs it: the offset from Greenwich (hours,
// east positive) in force at a place at a moment; none when the place is not known.
class TimeZoneSource {
 public:
  virtual ~TimeZoneSource() = default;
  virtual std::optional<double> OffsetHoursAt(const std::string& placeName, double latitudeDeg,
                                              double longitudeDeg, double momentHours,
                                              bool momentIsGreenwich) const = 0;
};

struct ComputeContext {
  const ChartEngine& engine;
  const ChartRecord* natal = nullptr;  // the main chart; derived kinds start from it
  const platform::Clock* clock = nullptr;  // a running "now" chart takes its moment here
  const TimeZoneSource* zones = nullptr;
  std::string nowPlace;  // the place of "now" charts
};

enum class ComputeResult {
  kComputed,
  kNotComputable,   // moment, offset or place out of range: the positions are unchanged
  kReturnNotFound,  // the search left 1860-2130: the chart holds the last moment computed
};

inline constexpr double kTropicalYearDays = 365.242199;
inline constexpr double kSymbolicRateDaysPerDegree = 365.24219907;
inline constexpr double kProfectionRateDaysPerDegree = 12.174739969;
inline constexpr double kProgressionFactor = 1.0 / kTropicalYearDays;

ComputeResult ComputeChart(ChartRecord& chart, const ComputeContext& context);

// Greenwich = local - offset, with the full offset (5.5 hours moves the time 5 h 30 min).
double GreenwichHoursFromLocal(const CalendarMoment& local, double offsetHours);

// A running "now" chart: the main chart's empty name or "Сейчас" ("Останов" is frozen).
bool IsRunningNowName(std::string_view name);

// Sets a chart's local moment and offset from the device clock; the "now" place's
// offset in the places database wins over the device's zone, and the local time is
// the present instant on the now place's clock.
void TakePresentMoment(ChartRecord& chart, const platform::Clock& clock,
                       const TimeZoneSource* zones, const std::string& nowPlace);

struct ReturnSearch {
  const ChartEngine& engine;
  const ChartObject& natalObject;
  int movingSlot = kSlotSun;
  bool forward = true;
  double offsetDeg = 0.0;
};

struct ReturnResult {
  double hours = 0.0;  // Greenwich, hours since 1860: the answer, or the last moment computed
  bool found = false;
};

// Moves the chart (whose table holds the positions at startHours) until its moving slot
// reaches the natal object's longitude minus the offset. When found, the table holds
// the positions at the returned moment.
ReturnResult FindReturn(const ReturnSearch& search, ChartRecord& chart, double startHours);

}  // namespace kelvara::workspace
