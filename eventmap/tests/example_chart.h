// The README's example chart on the real engine, for the tests and benchmarks that check
// the scans against direct casts: 12 July 1985, 14:05 at UTC+3, 55°45' N 37°35' E.
#pragma once

#include <memory>
#include <string>

#include "eventmap/day_scan.h"
#include "eventmap/event_scanner.h"

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

// The scanner of a year of transits (2024) to a natal chart, one step a day, ready to prepare.
inline std::unique_ptr<EventScanner> YearOfTransitsScanner(const workspace::ChartRecord& natal) {
  workspace::ChartRecord transit = natal;
  transit.name.clear();
  transit.title = std::string(workspace::kTitleTransit);
  transit.gmtOffsetHours = 0.0;
  auto scanner = std::make_unique<EventScanner>(ExampleEngine(), workspace::AspectTables{});
  ScanCharts charts;
  charts.moving = &transit;
  charts.base = &natal;
  charts.method = std::string(kMethodTransits);
  scanner->SetCharts(charts);
  scanner->SetWindow(workspace::HoursSince1860({2024, 1, 1, 12, 0, 0}), workspace::HoursSince1860({2025, 1, 1, 0, 0, 0}));
  return scanner;
}

}  // namespace kelvara::eventmap::testing
