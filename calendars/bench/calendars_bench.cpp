// A year of each day-scan calendar at Moscow through the real engine.
#include <benchmark/benchmark.h>

#include "calendars/lunar_calendar.h"
#include "calendars/planetary_hours.h"
#include "workspace/engine_driver.h"

namespace {

using namespace kelvara;

const workspace::EngineDriver& Driver() {
  static const workspace::EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  return driver;
}

calendars::CalendarRequest MoscowYear() {
  calendars::CalendarRequest request;
  request.from = {2025, 1, 1};
  request.to = {2026, 1, 1};
  request.placeName = "Москва";
  request.latitudeDeg = 55.7558;
  request.longitudeDeg = 37.6173;
  return request;
}

calendars::CalendarRun DriverRun() {
  return {Driver(), [](const workspace::EngineMoment& at) { return Driver().RunDayScan(at); }, nullptr, {}, {}};
}

void BM_LunarCalendarYear(benchmark::State& state) {
  const auto request = MoscowYear();
  const auto run = DriverRun();
  for (auto _ : state) benchmark::DoNotOptimize(calendars::CalculateLunarCalendar(request, run));
}
BENCHMARK(BM_LunarCalendarYear)->Unit(benchmark::kMillisecond);

void BM_PlanetaryHoursYear(benchmark::State& state) {
  const auto request = MoscowYear();
  const auto run = DriverRun();
  for (auto _ : state) benchmark::DoNotOptimize(calendars::CalculatePlanetaryHours(request, run));
}
BENCHMARK(BM_PlanetaryHoursYear)->Unit(benchmark::kMillisecond);

}  // namespace
