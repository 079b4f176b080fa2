// Time of a place: the periods of a city's time-change list and the offset from
// Greenwich in force at a moment.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "places/city_base.h"
#include "workspace/hour_scale.h"

namespace kelvara::places {

// Kinds of a time-change entry: the daylight amount over the zone, local mean
// time, and the marker after which summer time is generated year by year.
inline constexpr int kKindStandard = 0;
inline constexpr int kKindSummer = 1;
inline constexpr int kKindSummerAlt = 2;
inline constexpr int kKindDoubleSummer = 3;
inline constexpr int kKindGenerated = 10;
inline constexpr int kKindLocalMeanTime = 30000;

inline constexpr int kZoneUnitSeconds = 4;
inline constexpr int kGeneratedLastYear = 2010;

struct TimePeriod {
  double startHours = 0.0;   // hours since 1860, local time of this period
  double offsetHours = 0.0;  // offset from Greenwich, east positive
  int kind = kKindStandard;
};

struct PlaceTime {
  bool found = false;
  std::vector<TimePeriod> periods;  // valid periods in list order
  std::string warning;              // shown when entries after kind 10 were dropped
};

// Offset of an entry: the daylight amount minus the zone (4-second units, west positive).
std::optional<double> EntryOffsetHours(const TimeChangeEntry& entry, double longitudeDeg);

// Expands a city's list into periods; invalid periods are left out.
PlaceTime ExpandTimeChanges(const TimeChangeList& entries, double longitudeDeg);

// The period in force at a moment (hours since 1860), local time or Greenwich.
std::optional<TimePeriod> OffsetAt(const PlaceTime& placeTime, double momentHours,
                                   bool momentIsGreenwich);
std::optional<TimePeriod> OffsetAt(const PlaceTime& placeTime, const workspace::CalendarMoment& moment,
                                   bool momentIsGreenwich);

// The dialog's answers for the renaming rule. Without it names are replaced silently.
struct RenameUi {
  std::function<bool(const std::string& question)> askYesNo;
  std::function<void(const std::string& message)> inform;
};

inline constexpr double kNoCoordinate = 999.0;

// Finds the place in the city base by display name and returns its periods. A
// city at the caller's position (within 10 arc-seconds) under another name may
// rename the place, asking first when `ask` is given.
PlaceTime FindPlaceTime(const CityBase& base, std::string& placeName, double latitudeDeg,
                        double longitudeDeg, const RenameUi* ask);

// The periods of one city of the base.
PlaceTime PlaceTimeOfCity(const CityRecord& city);

}  // namespace kelvara::places
