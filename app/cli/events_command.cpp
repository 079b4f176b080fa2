// events: the aspect events of a chart, either one day's lists of the event map's day
// scan or the event scanner's events over a range of days, with the times in UTC or in
// the local time of a place of the city base.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/asp_tables.h"
#include "app/chart_output.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"
#include "app/cli/moment_text.h"
#include "eventmap/day_event_rows.h"
#include "eventmap/day_scan.h"
#include "eventmap/event_scanner.h"
#include "eventmap/visible_events.h"
#include "places/chart_zones.h"
#include "places/city_base.h"
#include "places/name_search.h"
#include "platform/worker.h"
#include "workspace/birth_data.h"
#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"
#include "workspace/engine_driver.h"

namespace kelvara::cli {
namespace {

namespace em = eventmap;
namespace ws = workspace;

constexpr const char* kCommand = "kelvara-cli events: ";
constexpr const char* kBadRange = "Неверно задан временной диапазон.";
constexpr int kDefaultStepsIndex = 7;
constexpr double kHoursPerDay = 24.0;
constexpr double kMinutesPerHour = 60.0;
constexpr int kRectHeight = 50;

struct Method {
  std::string_view code;
  std::string_view name;
  ws::ChartKind movingKind;
  bool againstItself;  // the transit background compares the moving chart with itself
};

constexpr Method kMethods[] = {
    {"tr", em::kMethodTransits, ws::ChartKind::kNow, false},
    {"pr", em::kMethodProgressions, ws::ChartKind::kSecondaryProgression, false},
    {"dr", em::kMethodDirections, ws::ChartKind::kSymbolicDirection, false},
    {"bg", em::kMethodBackground, ws::ChartKind::kNow, true},
};

struct EventsOptions {
  std::optional<std::string> day, from, to, method, steps, format;
};

// What was asked, checked before anything is computed.
struct Request {
  std::optional<ws::CalendarMoment> day;
  ws::CalendarMoment from, to;  // whole days, both included
  const Method* method = &kMethods[0];
  int stepsIndex = kDefaultStepsIndex;
  bool csv = false;
};

Result<ws::CalendarMoment> DateOption(const std::string& option, const std::string& text) {
  ws::CalendarMoment moment;
  if (!ReadDate(text, moment) || !ws::IsValidMoment(moment)) {
    return Result<ws::CalendarMoment>::Fail("неверный параметр " + option + " \"" + text + "\": нужно " +
                                            kDateForm + " в 1860-2130 годах");
  }
  return {moment, {}};
}

// The chart options that make other charts than the one the events are found for.
std::optional<Failure> OtherChartOption(const ChartOptions& chart) {
  const std::pair<bool, const char*> others[] = {
      {chart.kind.has_value(), "--kind"},
      {chart.target.has_value(), "--target"},
      {chart.targetTime.has_value(), "--target-time"},
      {chart.composite, "--composite"},
      {chart.midpoint, "--midpoint"},
      {chart.second.name || chart.second.date || chart.second.time || chart.second.gmt || chart.second.place ||
           chart.second.lat || chart.second.lon,
       "данные второго человека"},
  };
  for (const auto& [given, option] : others) {
    if (given) return Failure{std::string("лишний параметр: ") + option};
  }
  return std::nullopt;
}

Result<Request> CheckRequest(const EventsOptions& options) {
  using R = Result<Request>;
  Request request;
  const std::string format = options.format.value_or("text");
  if (format != "text" && format != "csv") return R::Fail("формат должен быть text или csv");
  request.csv = format == "csv";
  if (options.day && (options.from || options.to)) return R::Fail("нужно одно из --day и --from/--to");
  if (options.day) {
    if (options.method) return R::Fail("--method задается только с --from и --to");
    if (options.steps) {
      const auto steps = WholeNumber(*options.steps);
      if (!steps || *steps < 0 || *steps >= em::kStepsChoices) return R::Fail(em::kStepsInvalid);
      request.stepsIndex = *steps;
    }
    auto day = DateOption("--day", *options.day);
    if (!day.value) return {std::nullopt, day.failure};
    request.day = *day.value;
    return {request, {}};
  }
  if (options.steps) return R::Fail("--steps задается только с --day");
  if (!options.from && !options.to) return R::Fail("нужен --day или --from и --to");
  if (!options.from || !options.to) return R::Fail("нужны оба параметра --from и --to");
  auto from = DateOption("--from", *options.from);
  if (!from.value) return {std::nullopt, from.failure};
  auto to = DateOption("--to", *options.to);
  if (!to.value) return {std::nullopt, to.failure};
  if (ws::HoursSince1860(*from.value) > ws::HoursSince1860(*to.value)) return R::Fail(kBadRange);
  request.from = *from.value;
  request.to = *to.value;
  const std::string code = options.method.value_or("tr");
  const auto method =
      std::find_if(std::begin(kMethods), std::end(kMethods), [&](const Method& m) { return m.code == code; });
  if (method == std::end(kMethods)) return R::Fail("неизвестный метод \"" + code + "\": нужно tr, pr, dr или bg");
  request.method = &*method;
  return {request, {}};
}

// The place whose clock the times are shown on; none shows UTC.
class ShownTime {
 public:
  // Loads the city base and finds the place; a missing base or place fails.
  std::optional<Failure> UsePlace(const std::filesystem::path& dataDir, const std::string& name) {
    const auto file = dataDir / places::kCityBaseFileName;
    const auto load = places::LoadCityBase(file, base_);
    if (const std::string failure = CityBaseFailure(load, file); !failure.empty()) {
      return Failure{failure, kExitFailure};
    }
    const auto found = places::FindCitiesByName(base_, name);
    if (found.empty()) return Failure{"населенный пункт \"" + name + "\" не найден", kExitFailure};
    city_ = &base_.cities[found.front()];
    zones_.emplace(base_);
    return std::nullopt;
  }

  const places::CityRecord* City() const { return city_; }
  const ws::TimeZoneSource* Zones() const { return zones_ ? &*zones_ : nullptr; }

  // The offset in force at a moment on the place's clock or on Greenwich's; 0 for UTC.
  std::optional<double> OffsetAt(double hours, bool greenwich) const {
    if (!city_) return 0.0;
    return zones_->OffsetHoursAt(city_->DisplayName(), city_->Latitude(), city_->Longitude(), hours, greenwich);
  }

  // Greenwich hours of a moment on the place's clock; the offset of the scale's last
  // moment serves the midnight after it.
  Result<double> Greenwich(double localHours) const {
    const auto offset = OffsetAt(std::min(localHours, ws::ScaleEndHours()), false);
    if (!offset) {
      return Result<double>::Fail("нет сведений о поясном времени в \"" + city_->DisplayName() + "\"", kExitFailure);
    }
    return {localHours - *offset, {}};
  }

 private:
  places::CityBase base_;
  const places::CityRecord* city_ = nullptr;
  std::optional<places::CityBaseZones> zones_;
};

// --- printing ---

// Times of records in the hours they are to be shown in.
using ToShown = std::function<double(double)>;

std::string Degrees(double value, const char* form) {
  char text[32];
  std::snprintf(text, sizeof text, form, value);
  return text;
}

std::string Longitude(double deg, const char* none) {
  return deg == em::kLongitudeNotSet ? none : Degrees(ws::Normalise360(deg), "%.4f");
}

// "12.07.2024 14:05", to the nearest minute.
std::string TextTime(double hours) {
  const ws::CalendarMoment m = ws::MomentFromHours(std::round(hours * kMinutesPerHour) / kMinutesPerHour);
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", m.day, m.month, m.year, m.hour, m.minute);
  return text;
}

void PrintTextLine(const em::EventRecord& r, const ToShown& shown, std::ostream& out) {
  // The dash keeps the column of a time that was not found as wide as a time.
  const auto time = [&](bool found, double hours) { return found ? TextTime(shown(hours)) : "-               "; };
  out << time(r.exactFound, r.culminationHours) << "  " << time(r.startFound, r.startHours) << "  "
      << time(r.endFound, r.endHours) << "  " << ws::SlotName(r.movingPoint) << "  "
      << Degrees(r.aspectAngleDeg, "%g") << "°  " << ws::SlotName(r.basePoint) << "  "
      << Longitude(r.movingLongitudeDeg, "-") << "  " << Longitude(r.baseLongitudeDeg, "-") << "\n";
}

void PrintCsvLine(const em::EventRecord& r, const ToShown& shown, std::ostream& out) {
  const auto time = [&](bool found, double hours) { return found ? IsoTime(shown(hours)) : std::string(); };
  out << time(r.exactFound, r.culminationHours) << ',' << time(r.startFound, r.startHours) << ','
      << time(r.endFound, r.endHours) << ',' << app::CsvField(ws::SlotName(r.movingPoint)) << ','
      << Degrees(r.aspectAngleDeg, "%g") << ',' << app::CsvField(ws::SlotName(r.basePoint)) << ','
      << Longitude(r.movingLongitudeDeg, "") << ',' << Longitude(r.baseLongitudeDeg, "") << '\n';
}

constexpr const char* kCsvHeader = "exact,entry,exit,moving,aspect_deg,base,moving_lon,base_lon\n";

void PrintRecords(const std::vector<const em::EventRecord*>& records, bool csv, const ToShown& shown,
                  std::ostream& out) {
  for (const em::EventRecord* r : records) (csv ? PrintCsvLine : PrintTextLine)(*r, shown, out);
}

// --- the two scans ---

struct Prepared {
  ws::ChartRecord natal;
  app::AspectTables tables;
  ws::EngineDriver engine;
};

int RunDayScan(const Request& request, const Prepared& prepared, const ShownTime& shown, std::ostream& out,
               std::ostream& err) {
  em::DayScanRequest scan;
  scan.year = request.day->year;
  scan.month = request.day->month;
  scan.day = request.day->day;
  scan.stepsIndex = request.stepsIndex;
  if (const places::CityRecord* city = shown.City()) {
    const auto midnight = shown.Greenwich(ws::HoursSince1860(*request.day));
    if (!midnight.value) return Report(kCommand, midnight.failure, err);
    scan.placeName = city->DisplayName();
    scan.latitudeDeg = city->Latitude();
    scan.longitudeDeg = city->Longitude();
    scan.zones = shown.Zones();
  } else {
    scan.placeName = prepared.natal.placeName;
    scan.latitudeDeg = prepared.natal.latitudeDeg;
    scan.longitudeDeg = prepared.natal.longitudeDeg;
  }
  const em::DayScanOutcome outcome = em::DayScan(prepared.natal, prepared.tables.between, scan, prepared.engine);
  if (!outcome.lists) {
    // A day the map is not drawn for is the user's date; transits that cannot be cast are the data's.
    const bool dataFault = outcome.refusal == em::kTransitsNotComputed;
    return Report(kCommand, {outcome.refusal, dataFault ? kExitFailure : kExitUsage}, err);
  }
  // The scan steps through the days around the day too; only the day's own records are
  // printed. Their times are on the display clock already.
  const double dayStart = double(ws::DaysSince1860(scan.year, scan.month, scan.day)) * kHoursPerDay;
  const auto ofTheDay = [dayStart](const std::vector<em::EventRecord>& records) {
    std::vector<const em::EventRecord*> kept;
    for (const em::EventRecord& r : records) {
      if (em::OnTheDay(r, dayStart)) kept.push_back(&r);
    }
    return kept;
  };
  const ToShown asGiven = [](double hours) { return hours; };
  out << (request.csv ? kCsvHeader : "Точные аспекты:\n");
  PrintRecords(ofTheDay(outcome.lists->exact), request.csv, asGiven, out);
  if (!request.csv) out << "Аспекты в силе:\n";
  PrintRecords(ofTheDay(outcome.lists->inForce), request.csv, asGiven, out);
  return kExitOk;
}

// Keeps what the scanner reports; reaching the record cap is the only report a plain scan makes.
class ScanReports : public platform::MessageSink {
 public:
  void Post(const platform::PostedMessage& message) override {
    if (message.message == em::kWmScanOutOfMemory) recordsDropped_ = true;
  }
  bool RecordsDropped() const { return recordsDropped_.load(); }

 private:
  std::atomic<bool> recordsDropped_ = false;
};

// The moving chart of the method, derived from the natal chart at the window's start.
Result<ws::ChartRecord> MovingChart(const Method& method, const ws::ChartRecord& natal, double startHours,
                                    const ws::ChartEngine& engine) {
  ws::ChartRecord moving = natal;
  moving.name = ws::KindName(method.movingKind);
  moving.filePath.clear();
  moving.local = ws::MomentFromHours(startHours + natal.gmtOffsetHours);
  const ws::ComputeContext context{engine, &natal, nullptr, nullptr, {}};
  std::lock_guard lock(ws::EngineLock());
  if (ws::ComputeChart(moving, context) != ws::ComputeResult::kComputed) {
    return Result<ws::ChartRecord>::Fail(std::string(ws::kMessageBadData) + " (карта метода не рассчитывается)",
                                         kExitFailure);
  }
  return {moving, {}};
}

// One column per minute of the window: the mapping of times to columns only ever keeps
// their order, so every event inside the scanned part spans at least one column and none
// is lost to rounding, whatever its length.
platform::Rect SelectionRect(double startHours, double endHours) {
  const double minutes = std::ceil((endHours - startHours) * kMinutesPerHour);
  return {0, 0, int(std::clamp(minutes, 1.0, double(INT_MAX))), kRectHeight};
}

int RunRangeScan(const Request& request, const Prepared& prepared, const ShownTime& shown, std::ostream& out,
                 std::ostream& err) {
  const auto start = shown.Greenwich(ws::HoursSince1860(request.from));
  if (!start.value) return Report(kCommand, start.failure, err);
  const auto end = shown.Greenwich(ws::HoursSince1860(request.to) + kHoursPerDay);
  if (!end.value) return Report(kCommand, end.failure, err);
  const Method& method = *request.method;
  auto moving = MovingChart(method, prepared.natal, *start.value, prepared.engine);
  if (!moving.value) return Report(kCommand, moving.failure, err);

  em::EventScanner scanner(prepared.engine, prepared.tables);
  scanner.SetCharts({&*moving.value, method.againstItself ? &*moving.value : &prepared.natal, std::string(method.name),
                     &prepared.natal, {}});
  scanner.SetWindow(*start.value, *end.value);
  // The command line has no one to ask: the slower scan through the houses is agreed to.
  if (scanner.HouseQuestion()) scanner.AcceptHouses();
  if (scanner.Prepare() != em::PrepareResult::kReady) {
    return Report(kCommand, {em::kTransitsNotComputed, kExitFailure}, err);
  }
  // On a worker only to hear the record cap, which a scan without one cannot tell.
  ScanReports reports;
  em::ScanOutcome outcome = em::ScanOutcome::kIdle;
  {
    platform::Worker worker(&reports);
    worker.Start([&](platform::Worker& self) { outcome = scanner.Run(&self); }, platform::ThreadPriority::Normal);
    worker.Join();
    if (worker.Failure()) return Report(kCommand, {std::string(em::kOutOfMemoryText), kExitFailure}, err);
  }
  if (outcome != em::ScanOutcome::kFinished) {
    const auto snapshot = scanner.Snapshot();
    const double at = snapshot ? snapshot->coveredEndHours : *start.value;
    return Report(kCommand, {"карта метода не рассчитывается на " + TextTime(at) + " UTC", kExitFailure}, err);
  }
  // The scan goes on in time order, so past the cap every later crossing is missing:
  // a list that looks whole but is not is worse than none.
  if (reports.RecordsDropped()) {
    return Report(kCommand,
                  {std::string(em::kOutOfMemoryText) + " Событий больше, чем помещается в памяти: сократите "
                   "временной диапазон.", kExitFailure},
                  err);
  }
  const em::VisibleEvents visible =
      em::SelectVisibleEvents(scanner, *start.value, *end.value, SelectionRect(*start.value, *end.value));
  const ToShown onClock = [&shown](double hours) { return hours + shown.OffsetAt(hours, true).value_or(0.0); };
  if (request.csv) out << kCsvHeader;
  PrintRecords(visible.events, request.csv, onClock, out);
  return kExitOk;
}

}  // namespace

int RunEventsCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                     std::ostream& err) {
  ChartOptions chart;
  EventsOptions own;
  const CommandOptions ownOptions{{{"--day", &own.day},
                                   {"--from", &own.from},
                                   {"--to", &own.to},
                                   {"--method", &own.method},
                                   {"--steps", &own.steps},
                                   {"--format", &own.format}},
                                  {}};
  if (auto failure = ParseChartOptions(args, chart, ownOptions)) return Report(kCommand, *failure, err);
  if (auto failure = OtherChartOption(chart)) return Report(kCommand, *failure, err);
  const auto request = CheckRequest(own);
  if (!request.value) return Report(kCommand, request.failure, err);

  // --place names the clock of the times; with birth data it is the birth place too.
  const std::optional<std::string> placeName = chart.first.place;
  if (chart.open) chart.first.place.reset();
  ShownTime shown;
  if (placeName) {
    if (auto failure = shown.UsePlace(context.dataDir, *placeName)) return Report(kCommand, *failure, err);
  }
  auto charts = ComputeRequestedCharts(chart, context, SecondPerson::kMergedOnly);
  if (!charts.value) return Report(kCommand, charts.failure, err);

  Prepared prepared{std::move(charts.value->main), {}, ws::EngineDriver(ProgramFolder(context.dataDir))};
  for (const std::string& message : app::LoadAspectTables((context.dataDir / "").string(), prepared.tables)) {
    err << kCommand << "предупреждение: " << message << "\n";
  }
  return request.value->day ? RunDayScan(*request.value, prepared, shown, out, err)
                            : RunRangeScan(*request.value, prepared, shown, out, err);
}

}  // namespace kelvara::cli
