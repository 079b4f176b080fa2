// Turns a zone's history (TZif transitions and the footer rule) into the city
// base's time-change entries from 1860 to 2130.
#pragma once

#include <cstdint>
#include <vector>

#include "places/city_base.h"
#include "tools/citybase/tzif.h"

namespace kelvara::citybase {

struct ZonePeriod {
  int64_t startUtc = 0;         // Unix seconds
  int32_t offsetSeconds = 0;    // east of Greenwich
  int32_t daylightSeconds = 0;  // summer time over the standard offset (may be negative)
  bool localMeanTime = false;
};

// The period in force at 1860-01-01 00:00 Greenwich time, then every change up to
// the end of 2130, the footer rule continuing where the listed transitions stop.
std::vector<ZonePeriod> ZoneHistory(const TzifZone& zone);

// Entries as OffsetAt reads them for a city at the given longitude. Summer time of
// one or two hours keeps its kind; any other amount (half an hour, negative) is
// written as kind 0 with the whole offset. Local mean time is the city's own
// (kind 30000), except where the zone kept the date of the other side of the date
// line (Alaska before 1867, the Chatham Islands): then it is written as kind 0,
// one day away from what the longitude alone would give.
places::TimeChangeList EntriesFromHistory(const std::vector<ZonePeriod>& history,
                                          double cityLongitudeDeg);

// The zone's standard offset in hours east today: field 7 of a city record.
double ZoneNumber(const TzifZone& zone, const std::vector<ZonePeriod>& history);

}  // namespace kelvara::citybase
