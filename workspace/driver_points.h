// The steps of the chart form that work on the object table alone: filing the engine's
// results into the slots, the cycle points, the lots and the driver's house systems.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "workspace/chart_record.h"

namespace kelvara::workspace {

// The engine's result arrays cover objects 0-32.
inline constexpr int kEngineResultCount = 33;
struct EngineResults {
  std::array<double, kEngineResultCount> longitude{};  // negative when retrograde
  std::array<double, kEngineResultCount> speed{};      // degrees per day
};

// Brings an angle into 0 <= x < 360.
double Normalise360(double degrees);
// Folds an arc in 0-360 to the shorter way round (above 180 it becomes 360 minus itself).
double FoldArc(double arcDeg);
// A difference brought into -180 < x <= 180.
double SignedDifference(double toDeg, double fromDeg);

// Resets the display fields, copies the engine's positions into the slots (cusps only
// with houses), marks retrograde points and derives the south node and sign positions.
void FileEngineResults(const EngineResults& results, bool withHouses, ObjectTable& objects);

// "Прозерпина" and "Селена" for a Greenwich moment.
void SetCyclePoints(const CalendarMoment& greenwich, ObjectTable& objects);

// Part of Fortune and the second lot, by day or night formulas.
void SetLots(ObjectTable& objects);

// "Equal(Sun)": the first cusp on the Sun, then every 30 degrees.
void SetEqualSunCusps(ObjectTable& objects);

// "Brahmagupta" cusps from an Ascendant and the engine's Midheaven and fourth cusp.
void SetBrahmaguptaCusps(double ascendantDeg, ObjectTable& objects);

// The house (1-12) whose cusps enclose a longitude; 0 when the cusps are not there.
int HouseOfLongitude(const ObjectTable& objects, double longitudeDeg);

// Replaces cusp slots 17-28 with those of another table.
void CopyCusps(const ObjectTable& from, ObjectTable& to);

// One rising or setting of the Sun from a day scan.
struct SunEvent {
  double hours = 0.0;  // hours since 1860, Greenwich
  bool rising = false;
};

// The Sun's rising or setting in a "tmp.tmp" line ("%d:%lf %d %d"); none for other lines.
std::optional<SunEvent> ParseSunEvent(const std::string& line, const CalendarMoment& day,
                                      double zoneHours);

// The Ascendant of the "Brahmagupta" system: the Sun's longitude moved evenly through
// half a circle between the two events around the chart's moment.
double BrahmaguptaAscendant(const SunEvent& earlier, double earlierSunDeg, const SunEvent& later,
                            double laterSunDeg, double chartHours);

}  // namespace kelvara::workspace
