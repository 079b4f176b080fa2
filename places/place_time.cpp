#include "places/place_time.h"

#include <algorithm>
#include <cmath>

#include "places/messages.h"

namespace kelvara::places {
namespace {

constexpr double kSecondsPerHour = 3600.0;
constexpr double kZoneUnitsPerHour = kSecondsPerHour / kZoneUnitSeconds;
constexpr double kDegreesPerHour = 15.0;
constexpr double kMaxLongitude = 180.0;
constexpr double kSamePositionDeg = 1.0 / 360.0;
constexpr int kSummerChangeHour = 2;
constexpr int kFirstYearOfEarlySummer = 1986;

std::optional<int> DaylightHours(int kind) {
  switch (kind) {
    case kKindStandard:
    case kKindGenerated:
      return 0;
    case kKindSummer:
    case kKindSummerAlt:
      return 1;
    case kKindDoubleSummer:
      return 2;
    default:
      return std::nullopt;
  }
}

std::optional<double> PeriodStart(const TimeChangeEntry& e) {
  const auto start = workspace::CarryOverflow({e.year, e.month, e.day, e.hour, e.minute, 0});
  if (!start || !workspace::IsValidMoment(*start)) return std::nullopt;
  return workspace::HoursSince1860(*start);
}

void AddPeriod(const TimeChangeEntry& entry, double longitudeDeg, std::vector<TimePeriod>& out) {
  const auto start = PeriodStart(entry);
  const auto offset = EntryOffsetHours(entry, longitudeDeg);
  if (start && offset) out.push_back({*start, *offset, entry.kind});
}

// Day of the month of a Sunday: the first one, or the last one of the month.
int SundayOfMonth(int year, int month, bool last) {
  // 1 January 1860 was a Sunday, so day counts from it give the weekday directly.
  const auto weekday = [&](int day) {
    const long long days = workspace::DaysSince1860(year, month, day) % 7;
    return static_cast<int>(days < 0 ? days + 7 : days);
  };
  if (!last) return 1 + (7 - weekday(1)) % 7;
  const int lastDay = workspace::DaysInMonth(year, month);
  return lastDay - weekday(lastDay);
}

double ChangeHours(int year, int month, int day) {
  return workspace::HoursSince1860({year, month, day, kSummerChangeHour, 0, 0});
}

// Summer time from April to October for every year from the marker's year to 2010.
void AddGeneratedPeriods(const TimeChangeEntry& marker, std::vector<TimePeriod>& out) {
  const auto markerStart = PeriodStart(marker);
  if (!markerStart) return;
  const double standard = -marker.zone / kZoneUnitsPerHour;
  out.push_back({*markerStart, standard, kKindStandard});
  for (int year = marker.year; year <= kGeneratedLastYear; ++year) {
    const bool early = year >= kFirstYearOfEarlySummer;
    const double summerStart = ChangeHours(year, 4, SundayOfMonth(year, 4, !early));
    const double summerEnd = ChangeHours(year, 10, SundayOfMonth(year, 10, true));
    if (summerStart > *markerStart) out.push_back({summerStart, standard + 1.0, kKindSummer});
    if (summerEnd > *markerStart) out.push_back({summerEnd, standard, kKindStandard});
  }
}

bool SamePosition(const CityRecord& city, double latitudeDeg, double longitudeDeg) {
  return std::fabs(city.Latitude() - latitudeDeg) <= kSamePositionDeg &&
         std::fabs(city.Longitude() - longitudeDeg) <= kSamePositionDeg;
}

std::string RenameQuestion(const std::string& oldName, const std::string& cityName) {
  return std::string(kRenameQuestion1) + oldName + kRenameQuestion2 + cityName +
         kRenameQuestion3 + kRenameQuestion4;
}

// Applies the renaming rule to one city; true when the place took the city's name.
bool OfferRename(const std::string& cityName, std::string& placeName, const RenameUi* ask) {
  if (ask) {
    if (!ask->askYesNo || !ask->askYesNo(RenameQuestion(placeName, cityName))) return false;
    placeName = cityName;
    if (ask->inform) ask->inform(kRenameReminder);
    return true;
  }
  placeName = cityName;
  return true;
}

}  // namespace

std::optional<double> EntryOffsetHours(const TimeChangeEntry& entry, double longitudeDeg) {
  if (entry.kind == kKindLocalMeanTime) {
    if (!std::isfinite(longitudeDeg)) return std::nullopt;
    return std::clamp(longitudeDeg, -kMaxLongitude, kMaxLongitude) / kDegreesPerHour;
  }
  const auto daylight = DaylightHours(entry.kind);
  if (!daylight) return std::nullopt;
  return *daylight - entry.zone / kZoneUnitsPerHour;
}

PlaceTime ExpandTimeChanges(const TimeChangeList& entries, double longitudeDeg) {
  PlaceTime result;
  result.found = true;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].kind == kKindGenerated) {
      AddGeneratedPeriods(entries[i], result.periods);
      if (i + 1 < entries.size()) result.warning = kEntriesAfterGeneratedWarning;
      break;
    }
    AddPeriod(entries[i], longitudeDeg, result.periods);
  }
  return result;
}

std::optional<TimePeriod> OffsetAt(const PlaceTime& placeTime, double momentHours,
                                   bool momentIsGreenwich) {
  for (auto period = placeTime.periods.rbegin(); period != placeTime.periods.rend(); ++period) {
    const double start =
        momentIsGreenwich ? period->startHours - period->offsetHours : period->startHours;
    if (start <= momentHours) return *period;
  }
  return std::nullopt;
}

std::optional<TimePeriod> OffsetAt(const PlaceTime& placeTime, const workspace::CalendarMoment& moment,
                                   bool momentIsGreenwich) {
  return OffsetAt(placeTime, workspace::HoursSince1860(moment), momentIsGreenwich);
}

PlaceTime PlaceTimeOfCity(const CityRecord& city) {
  if (!city.timeChanges) {
    PlaceTime empty;
    empty.found = true;
    return empty;
  }
  return ExpandTimeChanges(*city.timeChanges, city.Longitude());
}

PlaceTime FindPlaceTime(const CityBase& base, std::string& placeName, double latitudeDeg,
                        double longitudeDeg, const RenameUi* ask) {
  const bool positionGiven = latitudeDeg != kNoCoordinate && longitudeDeg != kNoCoordinate;
  for (const CityRecord& city : base.cities) {
    if (city.HasDisplayName(placeName)) return PlaceTimeOfCity(city);
    if (positionGiven && SamePosition(city, latitudeDeg, longitudeDeg) &&
        OfferRename(city.DisplayName(), placeName, ask)) {
      return PlaceTimeOfCity(city);
    }
  }
  return {};
}

}  // namespace kelvara::places
