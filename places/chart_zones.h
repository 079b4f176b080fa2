// The city base as the chart workspace's source of offsets from Greenwich.
#pragma once

#include "places/city_base.h"
#include "workspace/chart_compute.h"

namespace kelvara::places {

class CityBaseZones : public workspace::TimeZoneSource {
 public:
  explicit CityBaseZones(const CityBase& base) : base_(base) {}

  // The place is found by its display name (a city at the same position under another
  // name answers too); none when the base does not know it.
  std::optional<double> OffsetHoursAt(const std::string& placeName, double latitudeDeg,
                                      double longitudeDeg, double momentHours,
                                      bool momentIsGreenwich) const override;

 private:
  const CityBase& base_;
};

}  // namespace kelvara::places
