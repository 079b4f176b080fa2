// A year of each day-scan calendar at Moscow through the real engine.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "calendars/dated_aspects.h"
#include "calendars/calendar_files.h"
#include "calendars/calendar_view.h"
#include "calendars/lunar_calendar.h"
#include "calendars/planetary_hours.h"
#include "calendars/void_moon.h"
#include "workspace/chart_compute.h"
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

// A year of hours as the calculation leaves it: 24 hours and a blank line a day.
calendars::CalendarResult HoursYear() {
  calendars::CalendarResult result{{}, "Время местное", "Место: Москва", "Время местное|Место: Москва", ""};
  const double start = workspace::HoursSince1860({2025, 1, 1, 0, 0, 0});
  for (int hour = 0; hour < 365 * 24; ++hour) {
    result.lines.push_back(calendars::DateText(start + hour) + (hour % 12 ? "|Венера" : "|Солнце (Вс., восход Солнца)"));
    if (hour % 24 == 23) result.lines.emplace_back();
  }
  return result;
}

// Saving a year's ".PLH", reading it back and showing it in the result window's model.
void BM_HoursYearFileToView(benchmark::State& state) {
  const calendars::CalendarResult year = HoursYear();
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "kelvara_bench_year.plh";
  for (auto _ : state) {
    calendars::SavePlainCalendar(file, calendars::PlainCalendarKind::kPlanetaryHours, year);
    calendars::CalendarResults results;
    calendars::LoadPlainCalendar(file, calendars::PlainCalendarKind::kPlanetaryHours, results.hours);
    const calendars::CalendarView view(calendars::CalendarViewMode::kPlanetaryHours, results);
    benchmark::DoNotOptimize(view.RowCount());
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_HoursYearFileToView)->Unit(benchmark::kMillisecond);

// A chart at Moscow, cast: the frozen current moment for the void Moon, or a person.
workspace::ChartRecord MoscowChart(std::string name, workspace::CalendarMoment local) {
  workspace::ChartRecord chart;
  chart.name = std::move(name);
  chart.local = local;
  chart.gmtOffsetHours = 3.0;
  chart.latitudeDeg = 55.7558;
  chart.longitudeDeg = 37.6173;
  chart.placeName = "Москва";
  workspace::ComputeChart(chart, {Driver(), &chart, nullptr, nullptr, {}});
  return chart;
}

void BM_VoidMoonYear(benchmark::State& state) {
  const auto request = MoscowYear();
  const workspace::ChartRecord transit = MoscowChart(std::string(workspace::kNameStopped), {2025, 1, 1, 12, 0, 0});
  std::size_t lines = 0;
  for (auto _ : state) lines = calendars::CalculateVoidMoon(request, transit, {Driver()})->lines.size();
  state.counters["lines"] = double(lines);
}
BENCHMARK(BM_VoidMoonYear)->Unit(benchmark::kMillisecond);

// A year of transits to a natal chart with the default aspect tables.
void BM_AspectCalendarYear(benchmark::State& state) {
  const auto request = MoscowYear();
  const workspace::ChartRecord natal = MoscowChart("Пример", {1985, 7, 12, 14, 5, 0});
  const workspace::AspectTables aspects;
  std::size_t lines = 0;
  for (auto _ : state) {
    lines = calendars::CalculateAspectCalendar(request, {natal}, aspects, calendars::kInitialColumnOrder, {Driver()})
                ->lines.size();
  }
  state.counters["lines"] = double(lines);
}
BENCHMARK(BM_AspectCalendarYear)->Unit(benchmark::kMillisecond);

}  // namespace
