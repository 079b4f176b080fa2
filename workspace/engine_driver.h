// The engine driver: the only road from the front-end to the engine. The chart form
// fills a chart's object table for a moment and a place; the day-scan form returns the
// lines the engine wrote to "tmp.tmp" for one day.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "workspace/chart_record.h"
#include "workspace/driver_points.h"
#include "workspace/engine_vector.h"

namespace kelvara::workspace {

struct ChartRequest {
  EngineMoment at;
  int houseSystem = kHousePlacidus;  // kNoHouses for none
};

// The widest offset from Greenwich a chart may have, east or west.
inline constexpr double kMaxOffsetHours = 13.0;

// True when the request can be handed to the engine: a moment within 1860-2130,
// finite coordinates on the globe and an offset within +-13 hours.
bool IsComputable(const ChartRequest& request);

// What computes positions for the chart workspace; tests stand in their own sky.
class ChartEngine {
 public:
  virtual ~ChartEngine() = default;
  // Fills the table; false (and the table untouched) for a request that is not computable.
  virtual bool RunChart(const ChartRequest& request, ObjectTable& objects,
                        bool solarArcMidheaven) const = 0;
};

// The engine keeps process-wide state and "tmp.tmp" is one file, so every chart-form
// call, and every day scan with the reading and deletion of its file, holds this lock.
// It is recursive because a chart form runs further units inside itself.
std::recursive_mutex& EngineLock();

class EngineDriver : public ChartEngine {
 public:
  // The folder that holds data/, with its trailing separator.
  explicit EngineDriver(std::string programFolder) : programFolder_(std::move(programFolder)) {}

  bool RunChart(const ChartRequest& request, ObjectTable& objects,
                bool solarArcMidheaven) const override;

  // The lines of "tmp.tmp" for the day of the moment (callers pass 12:00), read and
  // deleted under the lock; none when the file could not be opened.
  std::optional<std::vector<std::string>> RunDayScan(const EngineMoment& at) const;

 private:
  // The twin without the solar-arc option, for the runs the driver makes inside itself.
  void RunChartForm(const ChartRequest& request, ObjectTable& objects) const;
  EngineResults CallEngine(const ChartRequest& request) const;
  void SetBrahmagupta(const ChartRequest& request, ObjectTable& objects) const;
  // The Sun's risings and settings in the day scan of one day; none when its file is missing.
  std::optional<std::vector<SunEvent>> SunEventsOfDay(const ChartRequest& request,
                                                      const CalendarMoment& day) const;
  std::optional<SunEvent> NearestSunEvent(const ChartRequest& request,
                                          const std::vector<SunEvent>& chartDayEvents,
                                          double chartHours, bool after) const;
  double SunLongitudeAt(const ChartRequest& request, double greenwichHours) const;
  void SetSolarArcCusps(const ChartRequest& request, double natalSunDeg, double natalMidheavenDeg,
                        ObjectTable& objects) const;

  std::string programFolder_;
};

// The chart form's request for a Greenwich moment on the hour scale.
ChartRequest RequestAt(double greenwichHours, double latitudeDeg, double longitudeDeg,
                       int houseSystem);
double GreenwichHoursOf(const EngineMoment& at);

}  // namespace kelvara::workspace
