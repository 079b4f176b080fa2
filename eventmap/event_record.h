// One aspect event of a moving point to a base point: when it enters its orb, is exact
// and leaves it. The scanner, the day scan, the calendars and the event map share it.
#pragma once

#include <array>
#include <cstdint>

#include "workspace/driver_points.h"

namespace kelvara::eventmap {

// Both longitudes stay at this mark until the culmination sets them.
inline constexpr double kLongitudeNotSet = 999.0;

// Highest indexes of the event tables: points 0-28, aspects 0-20.
inline constexpr int kLastTablePoint = 28;
inline constexpr int kLastTableAspect = 20;

struct EventRecord {
  double startHours = 0.0;  // orb entry, hours since 1860; the scan start when not found
  bool startFound = false;
  double culminationHours = 0.0;  // exact moment, or the crossing of an entry/exit record
  double endHours = 0.0;  // orb exit; the scan end when not found
  bool endFound = false;
  bool exactFound = false;
  double aspectAngleDeg = 0.0;
  double orbDeg = 0.0;  // negative: kept but not shown
  double movingCoordinateDeg = 0.0;  // the moving point at the exact moment
  double aspectedLongitudeDeg = 0.0;  // the same value again, as the aspected longitude
  double durationHours = -1.0;  // used for drawing; -1 when not known
  int movingPoint = 0;
  int basePoint = 0;
  int aspectIndex = 0;
  double movingLongitudeDeg = kLongitudeNotSet;  // at culmination, within (-360, 360)
  double baseLongitudeDeg = kLongitudeNotSet;
  std::uint32_t colour = 0;  // 0x00BBGGRR, from the aspect settings

  bool IsHidden() const { return orbDeg < 0.0; }
};

// Records of one aspect between the same two points: pairing and duplicates match on this.
inline bool SameIdentity(const EventRecord& a, const EventRecord& b) {
  return a.aspectAngleDeg == b.aspectAngleDeg && a.aspectIndex == b.aspectIndex && a.orbDeg == b.orbDeg &&
         a.basePoint == b.basePoint && a.movingPoint == b.movingPoint;
}

// The orb's lower boundary, the exact point and the upper boundary of an aspect point, each
// in 0-360 degrees; the boundaries lie half the orb on either side.
inline std::array<double, 3> OrbBoundariesDeg(double exactDeg, double orbDeg) {
  return {workspace::Normalise360(exactDeg - orbDeg / 2), workspace::Normalise360(exactDeg),
          workspace::Normalise360(exactDeg + orbDeg / 2)};
}

}  // namespace kelvara::eventmap
