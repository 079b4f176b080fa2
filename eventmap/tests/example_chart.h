// The README's example chart on the real engine, for the tests and benchmarks that check
// the scans against direct casts: 12 July 1985, 14:05 at UTC+3, 55°45' N 37°35' E.
#pragma once

#include <string>

#include "eventmap/day_scan.h"

#include "workspace/chart_compute.h"
#include "workspace/engine_driver.h"

namespace kelvara::eventmap::testing {

inline constexpr double kExampleOffsetHours = 3.0;
inline constexpr double kExampleLatitudeDeg = 55.75;
inline constexpr double kExampleLongitudeDeg = 37.0 + 35.0 / 60.0;

// The engine with the program's own data folder beside the binaries.
inline const workspace::EngineDriver& ExampleEngine() {
  static const workspace::EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  return driver;
}

// The natal chart, cast through the chart computation; kNoHouses leaves its cusps out.
inline workspace::ChartRecord ExampleChart(int houseSystem = workspace::kHousePlacidus) {
  workspace::ChartRecord chart;
  chart.name = "Пример";
  chart.local = {1985, 7, 12, 14, 5, 0};
  chart.gmtOffsetHours = kExampleOffsetHours;
  chart.latitudeDeg = kExampleLatitudeDeg;
  chart.longitudeDeg = kExampleLongitudeDeg;
  chart.houseSystem = houseSystem;
  const workspace::ComputeContext context{ExampleEngine(), &chart, nullptr, nullptr, {}};
  workspace::ComputeChart(chart, context);
  return chart;
}

// The day scan of one day at the example chart's place and offset.
inline DayScanRequest ExampleDayRequest(const workspace::CalendarMoment& day, int stepsIndex = 7) {
  DayScanRequest request;
  request.year = day.year, request.month = day.month, request.day = day.day, request.stepsIndex = stepsIndex;
  request.latitudeDeg = kExampleLatitudeDeg, request.longitudeDeg = kExampleLongitudeDeg;
  request.fixedOffsetHours = kExampleOffsetHours;
  return request;
}

}  // namespace kelvara::eventmap::testing
