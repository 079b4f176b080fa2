#include "workspace/engine_driver.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "engine/engine_run.h"
#include "workspace/angle_search.h"

namespace kelvara::workspace {
namespace {

constexpr double kMaxLatitudeDeg = 90.0;
constexpr double kMaxLongitudeDeg = 180.0;
constexpr double kHoursPerDay = 24.0;
constexpr int kScanHour = 12;
// The Sun rises and sets at least once in half a year anywhere but near the poles;
// beyond that the search gives up and the engine's cusps stay.
constexpr int kMaxScanDays = 190;
constexpr const char* kScanFileName = "tmp.tmp";

bool WithinLimit(double value, double limit) { return std::isfinite(value) && std::fabs(value) <= limit; }

double DayStartHours(const CalendarMoment& moment) {
  return HoursSince1860({moment.year, moment.month, moment.day, 0, 0, 0});
}

std::optional<std::vector<std::string>> ReadAndDeleteScanFile() {
  std::error_code error;
  if (!std::filesystem::is_regular_file(kScanFileName, error)) return std::nullopt;
  std::ifstream file(kScanFileName);
  if (!file) return std::nullopt;
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  file.close();
  std::error_code ignored;  // a file that cannot be deleted is left behind
  std::filesystem::remove(kScanFileName, ignored);
  return lines;
}

// Of one day's Sun events, the latest before the chart's moment or the earliest after
// it (and within the hour scale).
std::optional<SunEvent> NearestOnSide(const std::vector<SunEvent>& events, double chartHours,
                                      bool after) {
  std::optional<SunEvent> best;
  for (const SunEvent& event : events) {
    if (after && event.hours > chartHours && event.hours <= ScaleEndHours() &&
        (!best || event.hours < best->hours)) {
      best = event;
    } else if (!after && event.hours < chartHours && (!best || event.hours > best->hours)) {
      best = event;
    }
  }
  return best;
}

}  // namespace

std::recursive_mutex& EngineLock() {
  static std::recursive_mutex lock;
  return lock;
}

bool IsComputable(const ChartRequest& request) {
  const EngineMoment& at = request.at;
  return IsValidMoment(NormalisedMoment(at.moment)) && WithinLimit(at.latitudeDeg, kMaxLatitudeDeg) &&
         WithinLimit(at.longitudeDeg, kMaxLongitudeDeg) && WithinLimit(at.zoneHours, kMaxOffsetHours);
}

double GreenwichHoursOf(const EngineMoment& at) { return HoursSince1860(at.moment) - at.zoneHours; }

ChartRequest RequestAt(double greenwichHours, double latitudeDeg, double longitudeDeg,
                       int houseSystem) {
  return {{MomentFromHours(greenwichHours), 0.0, latitudeDeg, longitudeDeg}, houseSystem};
}

bool EngineDriver::RunChart(const ChartRequest& request, ObjectTable& objects,
                            bool solarArcMidheaven) const {
  if (!IsComputable(request)) return false;
  std::lock_guard lock(EngineLock());
  // Before this run the table holds the natal chart, whose Sun and Midheaven the
  // solar arc starts from.
  const double natalSun = objects[kSlotSun].longitude;
  const double natalMidheaven = objects[kSlotMidheaven].longitude;
  RunChartForm(request, objects);
  if (solarArcMidheaven && request.houseSystem != kNoHouses) {
    SetSolarArcCusps(request, natalSun, natalMidheaven, objects);
    if (request.houseSystem == kHouseEqualSun) SetEqualSunCusps(objects);
  }
  return true;
}

void EngineDriver::RunChartForm(const ChartRequest& request, ObjectTable& objects) const {
  FileEngineResults(CallEngine(request), request.houseSystem != kNoHouses, objects);
  SetCyclePoints(MomentFromHours(GreenwichHoursOf(request.at)), objects);
  SetLots(objects);
  if (request.houseSystem == kHouseBrahmagupta) SetBrahmagupta(request, objects);
  if (request.houseSystem == kHouseEqualSun) SetEqualSunCusps(objects);
}

EngineResults EngineDriver::CallEngine(const ChartRequest& request) const {
  ArgumentVector vector(ChartFormTexts(programFolder_, request.at, request.houseSystem));
  EngineResults results;
  std::array<double, kEngineResultCount> latitudes{};
  std::lock_guard lock(EngineLock());
  engine::EngineRun(kEngineArgumentCount, vector.Data(), results.longitude.data(),
                    results.speed.data(), latitudes.data());
  return results;
}

std::optional<std::vector<std::string>> EngineDriver::RunDayScan(const EngineMoment& at) const {
  ArgumentVector vector(DayScanTexts(programFolder_, at));
  std::array<double, kEngineResultCount> scratch{};
  std::lock_guard lock(EngineLock());
  std::error_code ignored;  // a stale file from an interrupted run must not be read as this day's
  std::filesystem::remove(kScanFileName, ignored);
  engine::EngineRun(kEngineArgumentCount, vector.Data(), scratch.data(), scratch.data(),
                    scratch.data());
  return ReadAndDeleteScanFile();
}

double EngineDriver::SunLongitudeAt(const ChartRequest& request, double greenwichHours) const {
  ObjectTable objects;
  RunChartForm(RequestAt(greenwichHours, request.at.latitudeDeg, request.at.longitudeDeg, kNoHouses),
               objects);
  return objects[kSlotSun].longitude;
}

std::optional<std::vector<SunEvent>> EngineDriver::SunEventsOfDay(const ChartRequest& request,
                                                                 const CalendarMoment& day) const {
  EngineMoment scanAt = request.at;
  scanAt.moment = {day.year, day.month, day.day, kScanHour, 0, 0};
  const auto lines = RunDayScan(scanAt);
  if (!lines) return std::nullopt;
  std::vector<SunEvent> events;
  for (const std::string& line : *lines) {
    if (const auto event = ParseSunEvent(line, day, request.at.zoneHours)) events.push_back(*event);
  }
  return events;
}

// The latest Sun event before the chart's moment, or the earliest after it, walking one
// day at a time from the chart's own day, whose events the caller scanned once for both
// directions. None when a scan file is missing or none is found.
std::optional<SunEvent> EngineDriver::NearestSunEvent(const ChartRequest& request,
                                                      const std::vector<SunEvent>& chartDayEvents,
                                                      double chartHours, bool after) const {
  if (auto best = NearestOnSide(chartDayEvents, chartHours, after)) return best;
  const double firstDay = DayStartHours(NormalisedMoment(request.at.moment));
  for (int dayIndex = 1; dayIndex <= kMaxScanDays; ++dayIndex) {
    const CalendarMoment day = MomentFromHours(firstDay + (after ? dayIndex : -dayIndex) * kHoursPerDay);
    if (!IsValidMoment(day)) return std::nullopt;
    const auto events = SunEventsOfDay(request, day);
    if (!events) return std::nullopt;
    if (auto best = NearestOnSide(*events, chartHours, after)) return best;
  }
  return std::nullopt;
}

void EngineDriver::SetBrahmagupta(const ChartRequest& request, ObjectTable& objects) const {
  const double chartHours = GreenwichHoursOf(request.at);
  // The chart's day is valid: the request passed IsComputable.
  const auto chartDayEvents = SunEventsOfDay(request, NormalisedMoment(request.at.moment));
  if (!chartDayEvents) return;
  const auto earlier = NearestSunEvent(request, *chartDayEvents, chartHours, false);
  if (!earlier) return;
  const auto later = NearestSunEvent(request, *chartDayEvents, chartHours, true);
  if (!later) return;
  const double ascendant =
      BrahmaguptaAscendant(*earlier, SunLongitudeAt(request, earlier->hours), *later,
                           SunLongitudeAt(request, later->hours), chartHours);
  SetBrahmaguptaCusps(ascendant, objects);
}

void EngineDriver::SetSolarArcCusps(const ChartRequest& request, double natalSunDeg,
                                    double natalMidheavenDeg, ObjectTable& objects) const {
  const double target =
      std::fmod(natalMidheavenDeg + (objects[kSlotSun].longitude - natalSunDeg), kFullCircle);
  const double latitude = request.at.latitudeDeg;
  const double longitude = request.at.longitudeDeg;
  // The trials need only the Midheaven, which the driver's own systems do not move.
  const int trialSystem = EngineHouseSystem(request.houseSystem);
  const double found = SearchAngleMoment(GreenwichHoursOf(request.at), target, [&](double hours) {
    ObjectTable trial;
    RunChartForm(RequestAt(hours, latitude, longitude, trialSystem), trial);
    return trial[kSlotMidheaven].longitude;
  });
  ObjectTable atFound;
  RunChartForm(RequestAt(found, latitude, longitude, request.houseSystem), atFound);
  CopyCusps(atFound, objects);
}

}  // namespace kelvara::workspace
