// Shared pieces of the calendars' tests: the real driver, requests and reading back times.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calendars/calendar_common.h"
#include "workspace/engine_driver.h"

namespace kelvara::calendars::testing {

inline constexpr double kMoscowLatitude = 55.7558;
inline constexpr double kMoscowLongitude = 37.6173;

inline const workspace::EngineDriver& Driver() {
  static const workspace::EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  return driver;
}

inline CalendarRun DriverRun(const workspace::TimeZoneSource* zones = nullptr, StopTest stop = {}) {
  return {Driver(), [](const workspace::EngineMoment& at) { return Driver().RunDayScan(at); }, zones, {}, stop};
}

inline CalendarRequest RequestFor(workspace::CalendarMoment from, workspace::CalendarMoment to, double latitude,
                                  double longitude = kMoscowLongitude, std::string place = "") {
  return {from, to, std::move(place), latitude, longitude};
}

// Hours since 1860 of "dd.mm.yyyy hh:mm" (day first) or "yyyy-mm-ddThh:mm:ss" (year first).
inline double HoursOf(const std::string& text, bool yearFirst = false) {
  workspace::CalendarMoment m;
  if (yearFirst) {
    std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d", &m.year, &m.month, &m.day, &m.hour, &m.minute, &m.second);
  } else {
    std::sscanf(text.c_str(), "%d.%d.%d %d:%d", &m.day, &m.month, &m.year, &m.hour, &m.minute);
  }
  return workspace::HoursSince1860(m);
}

// The rows of one of the engine's reference tables, header dropped.
inline std::vector<std::vector<std::string>> CsvRows(const std::string& name) {
  std::ifstream in(std::string(KELVARA_SOURCE_DIR) + "/engine/tests/data/" + name);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  for (std::getline(in, line); std::getline(in, line);) {
    std::stringstream parts(line);
    rows.emplace_back();
    for (std::string field; std::getline(parts, field, ',');) rows.back().push_back(field);
  }
  return rows;
}

// The driver's events of one kind in the scan of a Greenwich day.
inline std::vector<double> DriverEvents(double dayHours, const CalendarRequest& request, int body, int event) {
  std::vector<double> found;
  const std::vector<HorizonEvent> events =
      DayEvents(DriverRun().dayScan, dayHours, request, body).value_or(std::vector<HorizonEvent>{});
  for (const HorizonEvent& e : events) {
    if (e.event == event) found.push_back(e.hours);
  }
  return found;
}

// A place whose clock moves from `before` to `after` hours east of Greenwich at a
// Greenwich moment, as at a change to summer time.
class SteppedZone : public workspace::TimeZoneSource {
 public:
  SteppedZone(double changeHours, double before, double after) : change_(changeHours), before_(before), after_(after) {}
  std::optional<double> OffsetHoursAt(const std::string&, double, double, double moment, bool greenwich) const override {
    const double asGreenwich = greenwich ? moment : moment - before_;
    return asGreenwich < change_ ? before_ : after_;
  }

 private:
  double change_, before_, after_;
};

}  // namespace kelvara::calendars::testing
