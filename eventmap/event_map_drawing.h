// The event map: a 24-hour dial for one day (midnight at the top, time running clockwise)
// with a coloured band per aspect around it, each exact event of the day as an arc from its
// orb entry to its orb exit inside it, and the slow aspects in force listed in the corners.
// Drawn through the canvas only; every band and arc keeps its screen region for taps.
#pragma once

#include <string>
#include <vector>

#include "eventmap/event_record.h"
#include "platform/canvas.h"
#include "platform/region.h"
#include "workspace/aspect_tables.h"
#include "workspace/hour_scale.h"

namespace kelvara::eventmap {

enum class TimeFormat { kCivil, kMilitary };  // "2pm" or "14"

inline constexpr const char* kDialFace = "Arial";

struct EventMapInputs {
  const std::vector<EventRecord>* exact = nullptr;    // by culmination, display hours
  const std::vector<EventRecord>* inForce = nullptr;  // likewise
  workspace::CalendarMoment day;                      // only the date counts
  const workspace::AspectTable* aspects = nullptr;    // colours; null takes each record's own
  platform::Color background = platform::kWhite;
  platform::Color window = platform::kWhite;  // the circle that closes the hour labels
  TimeFormat timeFormat = TimeFormat::kMilitary;
  std::string dialFace = kDialFace;
};

// Radii in pixels, from the centre.
struct EventMapGeometry {
  platform::Point centre;
  int outer = 0;         // R: where the outermost band starts
  int bandsInner = 0;    // B: what the bands leave inside
  int face = 0;          // C: the clock face's outer radius
  int hub = 0;           // D: its inner radius
  int labelCircle = 0;   // C - C/8: the hour labels lie outside it
  int ringThickness = 0; // T
  int bandUnit = 0;      // thickness per event of a band (after squeezing, the average)
  int labelHeight = 0;
  int listHeight = 0;
};

struct BandRegion {
  int aspectIndex = 0;
  int outerRadius = 0;
  int innerRadius = 0;
  std::vector<EventRecord> events;  // the day's events of this aspect
  platform::Region region;
};

struct ArcRegion {
  EventRecord event;
  int outerRadius = 0;
  int innerRadius = 0;
  double startHour = 0.0;  // on the dial, 0-24
  double endHour = 0.0;
  bool moon = false;
  platform::Region region;
};

struct EventMapPicture {
  EventMapGeometry geometry;
  std::vector<BandRegion> bands;  // outside in
  std::vector<ArcRegion> arcs;
  std::vector<std::string> inForceLines;  // as listed, in order

  // The events under a point: an arc's event, or a band's events of the day; none between.
  std::vector<EventRecord> EventsAt(platform::Point pixel) const;
};

EventMapPicture DrawEventMap(platform::Canvas& canvas, const platform::Rect& rect, const EventMapInputs& inputs);

// The dial's point for an hour of the day at a radius.
platform::Point DialPoint(platform::Point centre, double hour, double radius);

// The hour of the day (0-24) of a display time, for the day starting at dayStartHours.
double DialHour(double hours, double dayStartHours);

// The label of hour 1-24 in a time format; civil labels of odd hours are empty.
std::string HourLabel(int hour, TimeFormat format);

// "Юпитер 90° Солнце": one event as the dial lists it.
std::string EventPairText(const EventRecord& record);

}  // namespace kelvara::eventmap
