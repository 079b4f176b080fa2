#include "calendars/void_moon.h"

#include <algorithm>
#include <array>

#include "calendars/calendar_common.h"
#include "calendars/calendar_texts.h"
#include "calendars/number_text.h"
#include "platform/worker.h"

namespace kelvara::calendars {
namespace {

using workspace::kSlotMoon;
using workspace::kSlotSun;

constexpr int kSlotUranus = 9;
constexpr int kSlotNeptune = 10;
constexpr int kSlotPluto = 11;

// The bodies whose aspects keep the Moon in course: the Sun and the planets. The nodes,
// the fictitious points and the asteroids are left out, as the tradition does.
constexpr std::array<int, 9> kVoidBodies = {kSlotSun,          workspace::kSlotMercury, workspace::kSlotVenus,
                                            workspace::kSlotMars, workspace::kSlotJupiter, workspace::kSlotSaturn,
                                            kSlotUranus,       kSlotNeptune,            kSlotPluto};

bool IsVoidBody(int slot) { return std::find(kVoidBodies.begin(), kVoidBodies.end(), slot) != kVoidBodies.end(); }
bool IsSignBoundary(int slot) { return slot >= kFirstSignBoundary && slot <= kLastSignBoundary; }

workspace::AspectRecord VoidRow(double angleDeg, bool bodies, bool signBoundaries) {
  workspace::AspectRecord row;
  row.enabled = true;
  row.angle = angleDeg;
  for (int slot = 0; slot < workspace::kOrbSlotCount; ++slot) {
    const bool aspected = IsSignBoundary(slot) ? signBoundaries : bodies;
    row.firstOrbs[slot] = aspected ? kVoidOrbDeg : 0.0;
  }
  return row;
}

// The Moon moving, and the Sun for its aspects to the Moon (the transit background pairs
// each two points once, the lower index moving); the chosen bodies and the sign
// boundaries as base points, the boundaries held where they are.
PairCharts VoidCharts(const workspace::ChartRecord& transit) {
  PairCharts pair;
  workspace::ChartRecord chart = transit;
  chart.name = std::string(workspace::kNameStopped);  // cast at the scan's moments, never the clock's
  chart.houseSystem = workspace::kNoHouses;
  pair.moving = chart;
  pair.base = chart;
  const bool sunCounts = transit.objects[kSlotSun].usedAsAspected != 0;
  for (int slot = 0; slot < workspace::kSlotCount; ++slot) {
    workspace::ChartObject& moving = pair.moving.objects[slot];
    workspace::ChartObject& base = pair.base.objects[slot];
    moving.usedAsMoving = slot == kSlotMoon || (slot == kSlotSun && sunCounts);
    base.usedAsAspected = slot == kSlotMoon ? sunCounts : IsVoidBody(slot) && transit.objects[slot].usedAsAspected;
    if (!IsSignBoundary(slot)) continue;
    base.SetLongitude(workspace::kDegreesPerSign * (slot - kFirstSignBoundary));
    base.usedAsAspected = 1;
    pair.fixedBasePoints.set(slot);
  }
  pair.baseMotion = BaseMotion::kSameChart;
  return pair;
}

bool IsMoonsEvent(const CalendarEvent& e) {
  return e.movingPoint == kSlotMoon || (e.movingPoint == kSlotSun && e.basePoint == kSlotMoon);
}

std::string VoidHeader(const CalendarRequest& request, const PlaceClock& clock, const std::string& place) {
  if (clock.ZoneKnown()) return DateRangeText(request) + std::string(texts::kVoidLocalTime) + place;
  return GmtOffsetText(clock.StartOffsetHours()) + " " + DateRangeText(request);
}

// The spans that reach into the window: the scan starts up to a day before it.
bool Overlaps(const VoidSpan& span, double windowStartHours, double windowEndHours) {
  return span.ingress.culminationHours >= windowStartHours && span.lastAspect.culminationHours <= windowEndHours;
}

// The Moon's exact events over the window (Greenwich hours); none when stopped. Without
// a chosen aspect there is nothing to scan for.
std::optional<ScanEvents> ScanTheMoon(const CalendarRequest& request, const workspace::ChartRecord& transit,
                                      double startHours, double endHours, const ScanCalendarRun& run) {
  const auto& chosen = request.voidAspects;
  if (std::find(chosen.begin(), chosen.end(), true) == chosen.end()) return ScanEvents{};
  const PairCharts pair = VoidCharts(transit);
  eventmap::EventScanner scanner(run.engine, VoidAspectTables(request));
  scanner.SetCharts({&pair.moving, &pair.base, std::string(eventmap::kMethodBackground), nullptr, pair.fixedBasePoints});
  scanner.SetExactOnly(true);
  ScanEvents scan = ScanExactEvents(scanner, pair, startHours, endHours, run);
  if (scan.status == ScanStatus::kStopped) return std::nullopt;
  std::erase_if(scan.events, [](const CalendarEvent& e) { return !IsMoonsEvent(e); });
  return scan;
}

}  // namespace

workspace::AspectTables VoidAspectTables(const CalendarRequest& request) {
  workspace::AspectTable rows{};
  std::size_t next = 0;
  bool conjunction = false;
  for (std::size_t i = 0; i < kVoidAspectAnglesDeg.size(); ++i) {
    if (!request.voidAspects[i]) continue;
    const double angle = kVoidAspectAnglesDeg[i];
    conjunction = conjunction || angle == 0.0;
    rows[next++] = VoidRow(angle, true, angle == 0.0);
  }
  if (!conjunction) rows[next] = VoidRow(0.0, false, true);
  return {rows, rows};
}

std::vector<VoidSpan> PairVoidSpans(const std::vector<CalendarEvent>& events) {
  std::vector<VoidSpan> spans;
  std::optional<CalendarEvent> lastAspect;
  for (const CalendarEvent& e : events) {
    if (!IsSignBoundary(e.basePoint)) {
      lastAspect = e;
    } else if (e.angleDeg == 0.0 && lastAspect) {
      spans.push_back({*lastAspect, e});
      lastAspect.reset();
    }
  }
  return spans;
}

std::string VoidResultLine(int basePoint, double angleDeg, double shownHours) {
  return TwoDigits(kSlotMoon) + "#" + FixedText(angleDeg, 6, 2) + "#" + TwoDigits(basePoint) + "#" +
         FixedText(shownHours, 14, 4);
}

std::string VoidEventLine(const CalendarEvent& event, const PlaceClock& clock) {
  const int base = event.movingPoint == kSlotSun ? kSlotSun : event.basePoint;
  return VoidResultLine(base, event.angleDeg, clock.ShownHours(event.culminationHours));
}

std::optional<CalendarResult> CalculateVoidMoon(const CalendarRequest& request, const workspace::ChartRecord& transit,
                                                const ScanCalendarRun& run) {
  const PlaceClock clock(run.zones, request.placeName, transit.latitudeDeg, transit.longitudeDeg,
                         transit.gmtOffsetHours, StartHours(request));
  const double start = clock.GreenwichOf(StartHours(request));
  const double end = clock.GreenwichOf(EndHours(request));
  const std::optional<ScanEvents> scan = ScanTheMoon(request, transit, start, end, run);
  if (!scan) return std::nullopt;
  CalendarResult result;
  result.header = VoidHeader(request, clock, request.placeName);
  if (scan->status == ScanStatus::kRefused) result.refusal = std::string(texts::kScanRefused);
  for (const VoidSpan& span : PairVoidSpans(scan->events)) {
    if (!Overlaps(span, start, end)) continue;
    result.lines.push_back(VoidEventLine(span.lastAspect, clock));
    result.lines.push_back(VoidEventLine(span.ingress, clock));
  }
  if (run.worker) run.worker->Post(kVoidProgressMessage, 0);
  return result;
}

}  // namespace kelvara::calendars
