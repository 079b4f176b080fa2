#include "tools/citybase/zone_entries.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "workspace/hour_scale.h"
#include "places/place_time.h"
#include "tools/citybase/posix_tz.h"

namespace kelvara::citybase {
namespace {

constexpr std::string_view kLocalMeanTimeAbbreviation = "LMT";
constexpr int kSecondsPerHour = 3600;
constexpr double kHalfDaySeconds = 12.0 * kSecondsPerHour;

const int64_t kFirstMomentUtc = UnixSecondsOfDate(workspace::kFirstYear, 1, 1);
const int64_t kEndMomentUtc = UnixSecondsOfDate(workspace::kLastYear + 1, 1, 2);

struct Change {
  int64_t utc;
  int32_t offset;
  bool isDst;
  bool localMeanTime;
};

// Before the first transition the first standard type applies, as in the C library.
std::size_t InitialType(const TzifZone& zone) {
  for (std::size_t i = 0; i < zone.types.size(); ++i) {
    if (!zone.types[i].isDst) return i;
  }
  return 0;
}

Change ChangeOfType(const TzifZone& zone, std::size_t type, int64_t utc) {
  const TzifType& t = zone.types[type];
  return {utc, t.offsetSeconds, t.isDst, t.abbreviation == kLocalMeanTimeAbbreviation};
}

std::vector<Change> ListedChanges(const TzifZone& zone) {
  std::vector<Change> changes = {ChangeOfType(zone, InitialType(zone), kFirstMomentUtc)};
  for (std::size_t i = 0; i < zone.transitions.size(); ++i) {
    const int64_t utc = zone.transitions[i];
    if (utc >= kEndMomentUtc) break;
    const Change change = ChangeOfType(zone, zone.transitionTypes[i], std::max(utc, kFirstMomentUtc));
    if (utc <= kFirstMomentUtc) {
      changes.front() = change;
    } else {
      changes.push_back(change);
    }
  }
  return changes;
}

void AppendRuleChanges(const PosixTz& rule, int64_t after, std::vector<Change>& changes) {
  if (!rule.hasDst) return;
  // From the year before the last listed change: a southern summer spans the new year.
  const double afterHours = static_cast<double>(after - kFirstMomentUtc) / kSecondsPerHour;
  const int firstYear = std::max(workspace::kFirstYear, workspace::MomentFromHours(afterHours).year - 1);
  std::vector<Change> fromRule;
  for (int year = firstYear; year <= workspace::kLastYear + 1; ++year) {
    const auto [start, end] = SummerChangesUtc(rule, year);
    fromRule.push_back({start, rule.dstOffsetSeconds, true, false});
    fromRule.push_back({end, rule.standardOffsetSeconds, false, false});
  }
  std::sort(fromRule.begin(), fromRule.end(),
            [](const Change& a, const Change& b) { return a.utc < b.utc; });
  for (const Change& change : fromRule) {
    if (change.utc > after && change.utc < kEndMomentUtc) changes.push_back(change);
  }
}

// Summer time is measured against the standard offset before it, or after it
// when the zone starts in summer time.
std::vector<ZonePeriod> WithDaylight(const std::vector<Change>& changes) {
  std::vector<ZonePeriod> periods;
  std::optional<int32_t> standard;
  for (const Change& c : changes) {
    if (!c.isDst) {
      standard = c.offset;
      break;
    }
  }
  for (const Change& c : changes) {
    if (!c.isDst) standard = c.offset;
    const int32_t daylight = c.isDst && standard ? c.offset - *standard : 0;
    periods.push_back({c.utc, c.offset, daylight, c.localMeanTime});
  }
  return periods;
}

// A mean-time period whose zone counts the date from the other side of the date
// line becomes a plain period of the city's mean time moved by a day.
ZonePeriod AcrossDateLine(ZonePeriod period, double cityLongitudeDeg) {
  if (!period.localMeanTime) return period;
  const double cityMeanTime = cityLongitudeDeg / 15.0 * kSecondsPerHour;
  const double apart = period.offsetSeconds - cityMeanTime;
  if (std::fabs(apart) <= kHalfDaySeconds) return period;
  period.offsetSeconds =
      static_cast<int32_t>(std::lround(cityMeanTime + (apart > 0 ? 2 : -2) * kHalfDaySeconds));
  period.localMeanTime = false;
  period.daylightSeconds = 0;
  return period;
}

int KindOf(const ZonePeriod& period) {
  if (period.localMeanTime) return places::kKindLocalMeanTime;
  if (period.daylightSeconds == kSecondsPerHour) return places::kKindSummer;
  if (period.daylightSeconds == 2 * kSecondsPerHour) return places::kKindDoubleSummer;
  return places::kKindStandard;
}

int DaylightHoursOfKind(int kind) {
  if (kind == places::kKindSummer) return 1;
  if (kind == places::kKindDoubleSummer) return 2;
  return 0;
}

// The start in the local time of the period it begins, to the nearest minute.
workspace::CalendarMoment LocalStart(int64_t utc, int representedOffsetSeconds) {
  const double localMinutes = std::round((utc + representedOffsetSeconds) / 60.0);
  const double hoursFrom1860 =
      localMinutes / 60.0 - static_cast<double>(kFirstMomentUtc) / kSecondsPerHour;
  return workspace::MomentFromHours(hoursFrom1860);
}

places::TimeChangeEntry MakeEntry(const workspace::CalendarMoment& start, int zone, int kind) {
  const auto s = [](int v) { return static_cast<int16_t>(v); };
  return {s(start.year), s(start.month), s(start.day), s(start.hour),
          s(zone),       s(start.minute), s(kind)};
}

}  // namespace

std::vector<ZonePeriod> ZoneHistory(const TzifZone& zone) {
  std::vector<Change> changes = ListedChanges(zone);
  if (const auto rule = ParsePosixTz(zone.footer)) {
    const int64_t lastListed = zone.transitions.empty() ? kFirstMomentUtc : zone.transitions.back();
    AppendRuleChanges(*rule, std::max(lastListed, kFirstMomentUtc), changes);
  }
  return WithDaylight(changes);
}

places::TimeChangeList EntriesFromHistory(const std::vector<ZonePeriod>& history,
                                          double cityLongitudeDeg) {
  places::TimeChangeList entries;
  for (std::size_t i = 0; i < history.size(); ++i) {
    const ZonePeriod& period = AcrossDateLine(history[i], cityLongitudeDeg);
    const int kind = KindOf(period);
    const int daylight = DaylightHoursOfKind(kind) * kSecondsPerHour;
    const int zone = kind == places::kKindLocalMeanTime
                         ? 0
                         : static_cast<int>(std::lround(-(period.offsetSeconds - daylight) /
                                                        double(places::kZoneUnitSeconds)));
    const int represented = daylight - zone * places::kZoneUnitSeconds;
    const workspace::CalendarMoment start =
        i == 0 ? workspace::CalendarMoment{} : LocalStart(period.startUtc, represented);
    if (start.year > workspace::kLastYear) break;
    if (!entries.empty() && entries.back().zone == zone && entries.back().kind == kind) continue;
    entries.push_back(MakeEntry(start, zone, kind));
  }
  return entries;
}

double ZoneNumber(const TzifZone& zone, const std::vector<ZonePeriod>& history) {
  if (const auto rule = ParsePosixTz(zone.footer)) {
    return rule->standardOffsetSeconds / double(kSecondsPerHour);
  }
  for (auto it = history.rbegin(); it != history.rend(); ++it) {
    if (it->daylightSeconds == 0) return it->offsetSeconds / double(kSecondsPerHour);
  }
  return 0.0;
}

}  // namespace kelvara::citybase
