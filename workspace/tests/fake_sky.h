// A sky of evenly moving points for the chart workspace's tests: positions follow
// straight lines in time, so every derived chart has an answer worked out by hand.
#pragma once

#include <cmath>
#include <string>

#include "platform/clock.h"
#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"

namespace kelvara::workspace::testing {

inline constexpr double kSunSpeed = 0.9856;    // degrees per day
inline constexpr double kMoonSpeed = 13.1764;
inline constexpr double kSunAtEpoch = 280.0;   // at 1 January 1860 00:00
inline constexpr double kMoonAtEpoch = 10.0;

class FakeSky : public ChartEngine {
 public:
  bool RunChart(const ChartRequest& request, ObjectTable& objects, bool) const override {
    if (!IsComputable(request)) return false;
    ++runs;
    const double days = GreenwichHoursOf(request.at) / 24.0;
    Set(objects[kSlotSun], kSunAtEpoch + sunSpeed * days, sunSpeed);
    Set(objects[kSlotMoon], kMoonAtEpoch + moonSpeed * days, moonSpeed);
    for (int slot = kSlotMercury; slot <= kSlotLilith; ++slot) Set(objects[slot], slot * 20.0, -0.1);
    objects[kSlotProserpina].longitude = kNotAvailable;
    objects[kSlotProserpina].speed = kNotAvailable;
    if (request.houseSystem != kNoHouses) {
      const double ascendant = 360.985647 * days + request.at.longitudeDeg;
      for (int house = 0; house < kCuspCount; ++house) {
        Set(objects[kSlotFirstCusp + house], ascendant + 30.0 * house, 360.985647);
      }
    }
    return true;
  }

  double sunSpeed = kSunSpeed;
  double moonSpeed = kMoonSpeed;
  mutable int runs = 0;

 private:
  static void Set(ChartObject& object, double longitude, double speed) {
    object.SetLongitude(Normalise360(longitude));
    object.speed = speed;
    object.retrograde = speed < 0.0 ? 1 : 0;
  }
};

// A clock stopped at 1 March 2024 10:00 local time, in the zone it is given.
class FixedClock : public platform::Clock {
 public:
  explicit FixedClock(platform::TimeZoneInfo zone) : zone_(std::move(zone)) {}
  platform::DateTime LocalNow() const override { return platform::DateTime::FromFields(2024, 3, 1, 10, 0, 0); }
  platform::TimeZoneInfo TimeZone() const override { return zone_; }

 private:
  platform::TimeZoneInfo zone_;
};

inline ChartRecord Person(std::string name, CalendarMoment local, double offsetHours = 0.0,
                          double latitude = 55.75, double longitude = 37.6, std::string place = "Москва") {
  ChartRecord chart;
  chart.name = std::move(name);
  chart.local = local;
  chart.gmtOffsetHours = offsetHours;
  chart.latitudeDeg = latitude;
  chart.longitudeDeg = longitude;
  chart.placeName = std::move(place);
  return chart;
}

}  // namespace kelvara::workspace::testing
