#include "eventmap/event_map_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "workspace/chart_record.h"

namespace kelvara::eventmap {
namespace {

using platform::Brush;
using platform::Canvas;
using platform::Color;
using platform::Font;
using platform::Pen;
using platform::Point;
using platform::Rect;
using platform::Region;

constexpr double kDayHours = 24.0;
constexpr int kHoursOnDial = 24;
constexpr int kNoonHour = 12;
constexpr int kFrameSideDivisor = 80;      // of the smaller side, left and right
constexpr int kFrameTopDivisor = 70;       // likewise at the top and bottom
constexpr int kBandUnitDivisor = 50;       // R / 50 per event of an aspect
constexpr int kFaceGapDivisor = 20;        // C = B - R / 20
constexpr int kHubDivisor = 6;             // D = C / 6
constexpr int kLabelZoneDivisor = 8;       // the labels take C / 8
constexpr int kRingDivisor = 25;           // T = (C - C / 8) / 25
constexpr int kTickInset = 3;
constexpr int kTrapezoids = 48;
constexpr double kArcStepHours = 0.1;
constexpr int kEscapementFullTurn = 3600;  // tenths of a degree
constexpr int kMoonPoint = workspace::kSlotMoon;
// Labels fill three quarters of their zone, C / 8.
constexpr int kLabelFillPercent = 75;
// The in-force list's character height: R / 26, never below this.
constexpr int kListHeightDivisor = 26;
constexpr int kSmallestListHeight = 8;
constexpr const char* kInForceHeading = "В силе:";

struct Day {
  double startHours = 0.0;
  std::vector<EventRecord> events;  // culminating in the day, by aspect, then culmination
};

Color AspectColour(const EventMapInputs& inputs, const EventRecord& record) {
  if (inputs.aspects && record.aspectIndex >= 0 && record.aspectIndex < workspace::kAspectCount) {
    return Color::FromColorRef((*inputs.aspects)[record.aspectIndex].firstColor);
  }
  return Color::FromColorRef(record.colour);
}

Rect CircleBounds(Point centre, int radius) {
  return {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
}

void Circle(Canvas& canvas, Point centre, int radius, Pen pen, Brush brush) {
  canvas.SetPen(pen);
  canvas.SetBrush(brush);
  canvas.DrawEllipse(CircleBounds(centre, radius));
}

// The ring piece between two radii from one hour to another, with a corner every `step` hours.
std::vector<Point> RingPiece(Point centre, double fromHour, double toHour, int outer, int inner, double step) {
  std::vector<Point> outline;
  const int pieces = std::max(1, static_cast<int>(std::ceil((toHour - fromHour) / step - 1e-9)));
  for (int i = 0; i <= pieces; ++i) outline.push_back(DialPoint(centre, std::min(toHour, fromHour + i * step), outer));
  for (int i = pieces; i >= 0; --i) outline.push_back(DialPoint(centre, std::min(toHour, fromHour + i * step), inner));
  return outline;
}

Region FillPiece(Canvas& canvas, const std::vector<Point>& outline, Color colour) {
  canvas.SetPen({colour, 1});
  canvas.SetBrush(Brush::Solid(colour));
  canvas.DrawPolygon(outline);
  return Region::FromPolygon(outline);
}

Day SelectDay(const EventMapInputs& inputs) {
  Day day;
  day.startHours = workspace::HoursSince1860({inputs.day.year, inputs.day.month, inputs.day.day, 0, 0, 0});
  if (!inputs.exact) return day;
  for (const EventRecord& record : *inputs.exact) {
    const double hour = record.culminationHours - day.startHours;
    if (hour >= 0.0 && hour < kDayHours) day.events.push_back(record);
  }
  std::stable_sort(day.events.begin(), day.events.end(),
                   [](const EventRecord& a, const EventRecord& b) { return a.aspectIndex < b.aspectIndex; });
  return day;
}

std::vector<EventRecord> OfAspect(const Day& day, int aspect) {
  std::vector<EventRecord> events;
  for (const EventRecord& record : day.events) {
    if (record.aspectIndex == aspect && record.orbDeg > 0.0) events.push_back(record);
  }
  return events;
}

// Bands from the outside in; when they would take more than half the radius (a crowded
// day) they share that half in proportion, so the face keeps its room.
std::vector<BandRegion> LayOutBands(const Day& day, int outer, int& unit) {
  std::vector<BandRegion> bands;
  int total = 0;
  for (int aspect = 0; aspect <= kLastTableAspect; ++aspect) {
    std::vector<EventRecord> events = OfAspect(day, aspect);
    if (events.empty()) continue;
    total += static_cast<int>(events.size());
    bands.push_back({aspect, 0, 0, std::move(events), {}});
  }
  unit = outer / kBandUnitDivisor;
  const bool squeezed = total * unit > outer / 2;
  int before = 0;
  for (BandRegion& band : bands) {
    const int count = static_cast<int>(band.events.size());
    const auto depth = [&](int events) {
      return squeezed ? static_cast<int>(std::lround(double(events) * (outer / 2) / total)) : events * unit;
    };
    band.outerRadius = outer - depth(before);
    band.innerRadius = outer - depth(before + count);
    before += count;
  }
  if (squeezed && total > 0) unit = (outer / 2) / total;
  return bands;
}

void DrawBand(Canvas& canvas, Point centre, BandRegion& band, Color colour) {
  constexpr double kHalfHour = kDayHours / kTrapezoids;
  for (int i = 0; i < kTrapezoids; ++i) {
    const double from = i * kHalfHour;
    band.region.Add(FillPiece(canvas, RingPiece(centre, from, from + kHalfHour, band.outerRadius, band.innerRadius, kHalfHour),
                              colour));
  }
  Circle(canvas, centre, band.outerRadius, {platform::kBlack, 1}, Brush::Hollow());
  Circle(canvas, centre, band.innerRadius, {platform::kBlack, 1}, Brush::Hollow());
}

void DrawFace(Canvas& canvas, const EventMapGeometry& g, const EventMapInputs& inputs) {
  Circle(canvas, g.centre, g.face, {platform::kBlack, 1}, Brush::Solid(inputs.background));
  Circle(canvas, g.centre, g.hub, {platform::kBlack, 1}, Brush::Solid(inputs.background));
  Circle(canvas, g.centre, g.labelCircle, {inputs.window, 1}, Brush::Hollow());
  canvas.SetPen({platform::kBlack, 1});
  for (int hour = 0; hour < kHoursOnDial; ++hour) {
    canvas.DrawLine(DialPoint(g.centre, hour, g.hub + kTickInset), DialPoint(g.centre, hour, g.labelCircle - kTickInset));
  }
}

// Rings of arcs, greedily: an event joins a ring when it starts after the ring's last end.
std::vector<std::vector<ArcRegion>> PackRings(std::vector<ArcRegion> pending) {
  std::vector<std::vector<ArcRegion>> rings;
  while (!pending.empty()) {
    std::vector<ArcRegion> ring;
    std::vector<ArcRegion> rest;
    for (ArcRegion& arc : pending) {
      if (ring.empty() || arc.startHour > ring.back().endHour) {
        ring.push_back(std::move(arc));
      } else {
        rest.push_back(std::move(arc));
      }
    }
    rings.push_back(std::move(ring));
    pending = std::move(rest);
  }
  return rings;
}

ArcRegion ArcOf(const EventRecord& record, double dayStart) {
  ArcRegion arc;
  arc.event = record;
  arc.moon = record.movingPoint == kMoonPoint;
  arc.startHour = DialHour(record.startHours, dayStart);
  arc.endHour = DialHour(record.endHours, dayStart);
  // An aspect without an orb still shows as a sliver around its culmination.
  if (arc.endHour - arc.startHour < kArcStepHours) {
    const double middle = std::clamp(DialHour(record.culminationHours, dayStart), kArcStepHours / 2,
                                     kDayHours - kArcStepHours / 2);
    arc.startHour = middle - kArcStepHours / 2;
    arc.endHour = middle + kArcStepHours / 2;
  }
  return arc;
}

// The planets' rings from the label circle inwards, then, one ring apart, the Moon's: the
// same thickness T. When they would pass the hub, all share the room down to D.
void PlaceArcs(const Day& day, EventMapGeometry& g, std::vector<ArcRegion>& out) {
  std::vector<ArcRegion> planets;
  std::vector<ArcRegion> moon;
  for (const EventRecord& record : day.events) {
    if (record.orbDeg <= 0.0) continue;
    (record.movingPoint == kMoonPoint ? moon : planets).push_back(ArcOf(record, day.startHours));
  }
  auto byCulmination = [](const ArcRegion& a, const ArcRegion& b) {
    return a.event.culminationHours < b.event.culminationHours;
  };
  std::stable_sort(planets.begin(), planets.end(), byCulmination);
  std::stable_sort(moon.begin(), moon.end(), byCulmination);
  const auto planetRings = PackRings(std::move(planets));
  const auto moonRings = PackRings(std::move(moon));
  const int gap = !planetRings.empty() && !moonRings.empty() ? 1 : 0;
  const int slots = static_cast<int>(planetRings.size() + moonRings.size()) + gap;
  const int top = g.labelCircle - 1;
  const int room = top - g.hub;
  double step = g.ringThickness + 1;
  if (slots > 0 && slots * step > room) {
    step = std::max(1.0, double(room) / slots);
    g.ringThickness = std::max(1, static_cast<int>(step) - 1);
  }
  int slot = 0;
  for (const auto* rings : {&planetRings, &moonRings}) {
    if (rings == &moonRings) slot += gap;
    for (const auto& ring : *rings) {
      const int outer = top - static_cast<int>(slot * step);
      for (ArcRegion arc : ring) {
        arc.outerRadius = outer;
        arc.innerRadius = std::max(g.hub, outer - g.ringThickness);
        out.push_back(std::move(arc));
      }
      ++slot;
    }
  }
}

void DrawArc(Canvas& canvas, Point centre, ArcRegion& arc, Color colour) {
  arc.region = FillPiece(canvas, RingPiece(centre, arc.startHour, arc.endHour, arc.outerRadius, arc.innerRadius, kArcStepHours),
                         colour);
}

void DrawLabels(Canvas& canvas, const EventMapGeometry& g, const EventMapInputs& inputs) {
  canvas.SetTextColor(platform::kBlack);
  const bool civil = inputs.timeFormat == TimeFormat::kCivil;
  const int middleOfZone = (g.face + g.labelCircle) / 2;
  for (int hour = 1; hour <= kHoursOnDial; ++hour) {
    // Centred labels need no padding: midnight's trailing blanks would push it off its tick.
    std::string label = HourLabel(hour, inputs.timeFormat);
    label.erase(label.find_last_not_of(' ') + 1);
    if (label.empty()) continue;
    Font font{inputs.dialFace, g.labelHeight, 0, platform::kNormalWeight, 0};
    if (civil) font.escapement = kEscapementFullTurn - hour * kEscapementFullTurn / kHoursOnDial;
    canvas.SetFont(font);
    // Centred on their hour, so the label stands over its tick at any font size.
    if (civil) {
      canvas.DrawText(DialPoint(g.centre, hour, g.face), label, {platform::HorizontalAlign::Center, platform::VerticalAlign::Top});
    } else {
      canvas.DrawText(DialPoint(g.centre, hour, middleOfZone), label,
                      {platform::HorizontalAlign::Center, platform::VerticalAlign::Middle});
    }
  }
}

// The widest text a corner line may hold: from the frame's edge to the dial's circle.
int CornerWidth(const Rect& frame, const EventMapGeometry& g, int lineTop, int lineBottom) {
  const int nearest = lineBottom <= g.centre.y ? g.centre.y - lineBottom : lineTop >= g.centre.y ? lineTop - g.centre.y : 0;
  const double halfChord = nearest >= g.outer ? 0.0 : std::sqrt(double(g.outer) * g.outer - double(nearest) * nearest);
  return static_cast<int>(g.centre.x - halfChord) - frame.left - g.listHeight / 2;
}

// The in-force list fills the four corners beside the dial, top left first; what finds no
// room is counted on the last line.
std::vector<std::string> DrawInForceList(Canvas& canvas, const Rect& frame, const EventMapGeometry& g,
                                         const std::vector<std::string>& texts, const EventMapInputs& inputs) {
  std::vector<std::string> placed;
  if (texts.empty()) return placed;
  canvas.SetFont({inputs.dialFace, g.listHeight, 0, platform::kNormalWeight, 0});
  canvas.SetTextColor(platform::kBlack);
  std::vector<std::string> lines{kInForceHeading};
  lines.insert(lines.end(), texts.begin(), texts.end());
  const int rowsPerCorner = std::max(0, (frame.Height() / 2) / g.listHeight);
  std::size_t next = 0;
  for (int corner = 0; corner < 4 && next < lines.size(); ++corner) {
    const bool right = corner % 2 == 1;
    const bool bottom = corner >= 2;
    for (int row = 0; row < rowsPerCorner && next < lines.size(); ++row) {
      const int top = bottom ? frame.bottom - (row + 1) * g.listHeight : frame.top + row * g.listHeight;
      const int width = CornerWidth(frame, g, top, top + g.listHeight);
      std::string text = lines[next];
      const bool lastRoom = corner == 3 && row == rowsPerCorner - 1;
      if (lastRoom && next + 1 < lines.size()) text = "ещё " + std::to_string(lines.size() - next);
      if (canvas.TextExtent(text).width > width) break;
      const Point anchor{right ? frame.right : frame.left, top};
      canvas.DrawText(anchor, text, {right ? platform::HorizontalAlign::Right : platform::HorizontalAlign::Left,
                                     platform::VerticalAlign::Top});
      placed.push_back(text);
      ++next;
    }
  }
  return placed;
}

std::vector<std::string> InForceTexts(const EventMapInputs& inputs, double dayStart) {
  std::vector<std::string> texts;
  if (!inputs.inForce) return texts;
  for (const EventRecord& record : *inputs.inForce) {
    const double hour = record.culminationHours - dayStart;
    if (hour >= 0.0 && hour < kDayHours && record.orbDeg > 0.0) texts.push_back(EventPairText(record));
  }
  return texts;
}

EventMapGeometry FrameGeometry(const Rect& rect, Rect& frame) {
  const int smaller = std::min(rect.Width(), rect.Height());
  const int side = smaller / kFrameSideDivisor;
  const int top = smaller / kFrameTopDivisor;
  frame = {rect.left + side, rect.top + top, rect.right - side, rect.bottom - top};
  EventMapGeometry g;
  g.centre = frame.Center();
  g.outer = std::max(0, std::min(frame.Width(), frame.Height()) / 2 - 1);
  g.listHeight = std::max(kSmallestListHeight, g.outer / kListHeightDivisor);
  return g;
}

void FaceGeometry(EventMapGeometry& g) {
  g.face = std::max(0, g.bandsInner - g.outer / kFaceGapDivisor);
  g.hub = g.face / kHubDivisor;
  g.labelCircle = g.face - g.face / kLabelZoneDivisor;
  g.ringThickness = g.labelCircle / kRingDivisor;
  g.labelHeight = std::max(1, (g.face / kLabelZoneDivisor) * kLabelFillPercent / 100);
}

}  // namespace

Point DialPoint(Point centre, double hour, double radius) {
  const double angle = (hour - 6.0) * std::numbers::pi / 12.0;
  return {centre.x + static_cast<int>(std::lround(radius * std::cos(angle))),
          centre.y + static_cast<int>(std::lround(radius * std::sin(angle)))};
}

double DialHour(double hours, double dayStartHours) { return std::clamp(hours - dayStartHours, 0.0, kDayHours); }

std::string HourLabel(int hour, TimeFormat format) {
  if (format == TimeFormat::kMilitary) return std::to_string(hour);
  if (hour % 2 == 1) return {};
  if (hour == kHoursOnDial) return "12    ";
  // Noon is "12pm": the hours before it are the morning's, noon itself the afternoon's first.
  if (hour == kNoonHour) return "12pm";
  return hour < kNoonHour ? std::to_string(hour) + "am" : std::to_string(hour - kNoonHour) + "pm";
}

std::string EventPairText(const EventRecord& record) {
  char angle[32];
  std::snprintf(angle, sizeof angle, "%g°", record.aspectAngleDeg);
  return std::string(workspace::SlotName(record.movingPoint)) + " " + angle + " " +
         std::string(workspace::SlotName(record.basePoint));
}

std::vector<EventRecord> EventMapPicture::EventsAt(Point pixel) const {
  std::vector<EventRecord> found;
  for (const ArcRegion& arc : arcs) {
    if (arc.region.Contains(pixel)) found.push_back(arc.event);
  }
  if (!found.empty()) return found;
  for (const BandRegion& band : bands) {
    if (band.region.Contains(pixel)) return band.events;
  }
  return found;
}

EventMapPicture DrawEventMap(Canvas& canvas, const Rect& rect, const EventMapInputs& inputs) {
  EventMapPicture picture;
  Rect frame;
  EventMapGeometry& g = picture.geometry;
  g = FrameGeometry(rect, frame);
  const Day day = SelectDay(inputs);
  picture.bands = LayOutBands(day, g.outer, g.bandUnit);
  g.bandsInner = picture.bands.empty() ? g.outer : picture.bands.back().innerRadius;
  FaceGeometry(g);
  for (BandRegion& band : picture.bands) DrawBand(canvas, g.centre, band, AspectColour(inputs, band.events.front()));
  DrawFace(canvas, g, inputs);
  PlaceArcs(day, g, picture.arcs);
  for (ArcRegion& arc : picture.arcs) DrawArc(canvas, g.centre, arc, AspectColour(inputs, arc.event));
  DrawLabels(canvas, g, inputs);
  picture.inForceLines = DrawInForceList(canvas, frame, g, InForceTexts(inputs, day.startHours), inputs);
  return picture;
}

}  // namespace kelvara::eventmap
