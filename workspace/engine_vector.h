// The switch vectors the driver hands to the engine: 13 strings, each in its own
// writable buffer (the engine rewrites the first one in place).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/hour_scale.h"

namespace kelvara::workspace {

inline constexpr int kEngineArgumentCount = 13;
inline constexpr std::size_t kArgumentBufferBytes = 80;

// A moment, zone and place as the driver's two forms take them.
struct EngineMoment {
  CalendarMoment moment;  // hour 24 means 0 of the next day
  double zoneHours = 0.0;  // offset of the given time from Greenwich, east positive
  double latitudeDeg = 0.0;   // north positive
  double longitudeDeg = 0.0;  // east positive
};

class ArgumentVector {
 public:
  explicit ArgumentVector(const std::array<std::string, kEngineArgumentCount>& texts);
  ArgumentVector(const ArgumentVector&) = delete;
  ArgumentVector& operator=(const ArgumentVector&) = delete;

  char** Data() { return pointers_.data(); }
  std::string_view Text(int index) const { return buffers_[index].data(); }

 private:
  std::array<std::vector<char>, kEngineArgumentCount> buffers_;
  std::array<char*, kEngineArgumentCount> pointers_{};
};

// The engine's number for a stored house system: the driver's own systems and any value
// the engine does not know are cast as Placidus.
int EngineHouseSystem(int houseSystem);

// Carries hour 24 (and any overflow) into the next day.
CalendarMoment NormalisedMoment(const CalendarMoment& moment);

// "14:0550": hour, minute, then the seconds in hundredths of a minute.
std::string EngineTimeText(const CalendarMoment& moment);
// The negated zone in the engine's H.MM form, 10 significant digits.
std::string EngineZoneText(double zoneHours);
// "037e35" / "55n45"; the day scan pads the degrees with blanks.
std::string EngineLongitudeText(double longitudeDeg, bool blankPadded);
std::string EngineLatitudeText(double latitudeDeg, bool blankPadded);

std::array<std::string, kEngineArgumentCount> ChartFormTexts(const std::string& programFolder,
                                                             const EngineMoment& at,
                                                             int houseSystem);
std::array<std::string, kEngineArgumentCount> DayScanTexts(const std::string& programFolder,
                                                           const EngineMoment& at);

}  // namespace kelvara::workspace
