#include "calendars/dated_aspects.h"

#include <algorithm>
#include <cmath>

#include "calendars/calendar_common.h"
#include "calendars/calendar_texts.h"
#include "calendars/number_text.h"
#include "platform/worker.h"

namespace kelvara::calendars {
namespace {

using workspace::ChartKind;
using workspace::ChartRecord;

constexpr double kLongitudeRounding = 1000.0;  // "%07.3lf"

// Transit cusps turn about once a scan step and are never scanned: casting them is waste.
ChartRecord TransitCopy(const ChartRecord& chart) {
  ChartRecord transit = chart;
  transit.name = std::string(workspace::kNameStopped);
  transit.houseSystem = workspace::kNoHouses;
  transit.filePath.clear();
  return transit;
}

// A longitude as "%07.3lf" prints it, kept below 360.
std::string LongitudeText(double deg) {
  double rounded = std::round(workspace::Normalise360(deg) * kLongitudeRounding) / kLongitudeRounding;
  if (rounded >= workspace::kFullCircle) rounded -= workspace::kFullCircle;
  return FixedText(rounded, 7, 3);
}

std::string TimeField(const std::optional<double>& greenwichHours, const PlaceClock& clock, std::string_view none) {
  return greenwichHours ? TimeFieldText(clock.ShownHours(*greenwichHours)) : std::string(none);
}

std::string AspectHeader(const AspectMethod& method, const CalendarRequest& request, const PlaceClock& clock) {
  const std::string tail = "|" + method.shortCode + ": ";
  if (clock.ZoneKnown()) return method.code + "|" + DateRangeText(request) + tail + request.placeName;
  const std::string place = request.placeName.empty() ? std::string(texts::kWithoutHouses) : request.placeName;
  return method.code + "|" + GmtOffsetText(clock.StartOffsetHours()) + " " + DateRangeText(request) + tail + place;
}

bool IsKind(const ChartRecord* chart, ChartKind kind) {
  if (chart == nullptr) return false;
  const std::optional<ChartKind> found = workspace::KindOfName(chart->name);
  return found.has_value() && *found == kind;
}

}  // namespace

AspectMethod ChooseAspectMethod(const ChartRecord& main, const ChartRecord* second) {
  AspectMethod m;
  const bool directed = IsKind(second, ChartKind::kSymbolicDirection);
  const bool progressed = IsKind(second, ChartKind::kSecondaryProgression);
  const bool secondStopped = second && second->name == workspace::kNameStopped;
  m.charts.base = main;
  m.charts.natal = &main;
  if (main.name == workspace::kNameStopped) {
    m.method = std::string(eventmap::kMethodBackground);
    m.code = std::string(texts::kBackgroundCode);
    m.shortCode = std::string(texts::kTransitShortCode);
    m.charts.moving = TransitCopy(main);
    m.charts.base = m.charts.moving;
    m.charts.natal = nullptr;
    m.charts.baseMotion = BaseMotion::kSameChart;
  } else if (directed || progressed) {
    m.method = std::string(directed ? eventmap::kMethodDirections : eventmap::kMethodProgressions);
    m.shortCode = std::string(directed ? texts::kDirectionShortCode : texts::kProgressionShortCode);
    m.code = m.shortCode + std::string(texts::kNatalCodePart) + main.name;
    m.charts.moving = *second;  // with the second chart's rate
  } else {
    m.method = std::string(eventmap::kMethodTransits);
    m.shortCode = std::string(texts::kTransitShortCode);
    m.code = m.shortCode + std::string(texts::kNatalCodePart) + main.name;
    m.charts.moving = TransitCopy(secondStopped ? *second : main);
  }
  if (!(secondStopped || directed || progressed)) m.charts.base.houseSystem = workspace::kNoHouses;
  return m;
}

std::string PointFieldText(int point, double longitudeDeg) {
  return TwoDigits(point) + "(" + LongitudeText(longitudeDeg) + ")";
}

std::string AngleFieldText(double angleDeg) { return FixedText(angleDeg, 7, 3); }
std::string TimeFieldText(double shownHours) { return FixedText(shownHours, 14, 4); }

AspectFields RawFields(const CalendarEvent& e, const PlaceClock& clock) {
  return {PointFieldText(e.movingPoint, e.movingDeg),
          AngleFieldText(e.angleDeg),
          PointFieldText(e.basePoint, e.baseDeg),
          TimeField(e.culminationHours, clock, {}),
          TimeField(e.startHours, clock, kStartNotFoundField),
          TimeField(e.endHours, clock, kEndNotFoundField)};
}

std::string ArrangedLine(const AspectFields& fields, const ColumnOrder& order) {
  std::string line;
  for (const int field : order) {
    line += '#';
    if (field >= 1 && field <= kAspectFieldCount) line += fields[field - 1];
  }
  return line;
}

std::vector<std::string> AspectCalendarLines(const std::vector<CalendarEvent>& events, const PlaceClock& clock,
                                             const ColumnOrder& order) {
  std::vector<std::string> lines;
  for (const CalendarEvent& e : events) lines.push_back(ArrangedLine(RawFields(e, clock), order));
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::optional<CalendarResult> CalculateAspectCalendar(const CalendarRequest& request, const AspectCalendarCharts& charts,
                                                      const workspace::AspectTables& aspects, const ColumnOrder& order,
                                                      const ScanCalendarRun& run) {
  const AspectMethod method = ChooseAspectMethod(charts.main, charts.second);
  const PlaceClock clock(run.zones, request.placeName, charts.main.latitudeDeg, charts.main.longitudeDeg,
                         method.charts.moving.gmtOffsetHours, StartHours(request));
  eventmap::EventScanner scanner(run.engine, aspects);
  scanner.SetCharts({&method.charts.moving, &method.charts.base, method.method, method.charts.natal, {}});
  scanner.SetCalendarProgress(true);
  const ScanEvents scan = ScanExactEvents(scanner, method.charts, clock.GreenwichOf(StartHours(request)),
                                          clock.GreenwichOf(EndHours(request)), run);
  if (scan.status == ScanStatus::kStopped) return std::nullopt;
  CalendarResult result;
  result.header = AspectHeader(method, request, clock);
  if (scan.status == ScanStatus::kRefused) result.refusal = std::string(texts::kScanRefused);
  result.lines = AspectCalendarLines(scan.events, clock, order);
  if (result.lines.empty()) result.header.clear();
  if (run.worker) run.worker->Post(kAspectProgressMessage, 0);
  return result;
}

}  // namespace kelvara::calendars
