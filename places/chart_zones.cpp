#include "places/chart_zones.h"

#include "places/place_time.h"

namespace kelvara::places {

std::optional<double> CityBaseZones::OffsetHoursAt(const std::string& placeName, double latitudeDeg,
                                                   double longitudeDeg, double momentHours,
                                                   bool momentIsGreenwich) const {
  std::string name = placeName;  // a renaming is the dialog's business, not a computation's
  const PlaceTime time = FindPlaceTime(base_, name, latitudeDeg, longitudeDeg, nullptr);
  if (!time.found) return std::nullopt;
  const auto period = OffsetAt(time, momentHours, momentIsGreenwich);
  if (!period) return std::nullopt;
  return period->offsetHours;
}

}  // namespace kelvara::places
