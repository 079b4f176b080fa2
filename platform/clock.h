// The device's clock: the current local date and time and the time-zone information,
// both taken from the system's zone (the TZ variable is respected).
#pragma once

#include <ctime>
#include <string>

#include "platform/datetime.h"

namespace kelvara::platform {

// Biases follow the handheld's sign: minutes to add to local time to get Greenwich
// time, so a zone east of Greenwich has a negative bias (Moscow: -180).
struct TimeZoneInfo {
  bool known = false;
  int biasMinutes = 0;          // of standard time
  int daylightBiasMinutes = 0;  // added to the bias while daylight time is in force
  bool daylightNow = false;
  std::string standardName;
  std::string daylightName;

  int CurrentBiasMinutes() const { return biasMinutes + (daylightNow ? daylightBiasMinutes : 0); }
  // Hours east of Greenwich in force now, the front-end's sign.
  double CurrentOffsetHours() const { return -CurrentBiasMinutes() / 60.0; }
};

// Local date and time of a system time, to the second.
DateTime LocalDateTimeAt(std::time_t when);
TimeZoneInfo TimeZoneInfoAt(std::time_t when);

// The name of the system's zone ("Europe/Moscow"): the TZ variable when it names a
// zone, else the link /etc/localtime points to; empty when neither tells.
std::string SystemZoneName();

// The clock the front-end asks; tests hand in a fixed one.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime LocalNow() const = 0;
  virtual TimeZoneInfo TimeZone() const = 0;
};

class SystemClock : public Clock {
 public:
  DateTime LocalNow() const override;
  TimeZoneInfo TimeZone() const override;
};

}  // namespace kelvara::platform
