#include "workspace/driver_points.h"

#include <cmath>
#include <cstdio>

#include "engine/angles.h"
#include "workspace/hexagrams.h"

namespace kelvara::workspace {
namespace {

constexpr double kHalfCircle = 180.0;
constexpr int kSignCount = 12;
constexpr double kHoursPerDay = 24.0;
constexpr int kSunBody = 1;
constexpr int kRisingEvent = 1;
constexpr int kSettingEvent = 3;
// A cycle point of a run that gave no positions.
constexpr double kCyclePointMissing = -1000.0;

// Engine object numbers of slots 1-34; -1 marks a slot the driver fills itself.
constexpr std::array<int, kSlotCount> kEngineObjectOfSlot = {
    -1, 1,  2,  3,  4,  5,  6,  7,  11, 8,  9,  10, -1, 16, -1, -1, 17, 21,
    22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 12, 13, 14, 15, -1, -1};

struct CyclePoint {
  CalendarMoment epoch;
  double speedDegPerDay;
  double (*rawPosition)(double days);
};

// Leap years 1918-1982 and 1900-1999 are 16 and 24.
constexpr double kProserpinaSpeed = 1800.0 / (23714.0 + 16.0) / 60.0;
constexpr double kSelenaSpeed = 308600.0 / (36500.0 + 24.0) / 60.0;

double ProserpinaRaw(double days) { return kHalfCircle + kProserpinaSpeed * days; }
double SelenaRaw(double days) { return (8350.0 + 308600.0 / 36524.0 * days) / 60.0; }

const CyclePoint kProserpina{{1918, 1, 20, 0, 0, 0}, kProserpinaSpeed, ProserpinaRaw};
const CyclePoint kSelena{{1900, 1, 1, 0, 0, 0}, kSelenaSpeed, SelenaRaw};

// Days from the epoch; the time of day counts hours and minutes.
double DaysSinceEpoch(const CalendarMoment& m, const CalendarMoment& epoch) {
  return static_cast<double>(DaysSince1860(m.year, m.month, m.day) -
                             DaysSince1860(epoch.year, epoch.month, epoch.day)) +
         (m.hour + m.minute / 60.0) / kHoursPerDay;
}

// Reduces a raw position by whole signs, moving a sign counter that starts at Aries.
// A position of exactly 30 stays in its sign.
void PlaceByWholeSigns(double raw, double speed, ChartObject& object) {
  long long sign = 1;
  if (raw < 0.0) {
    const double signsBack = std::ceil(-raw / kDegreesPerSign);
    raw += signsBack * kDegreesPerSign;
    sign = ((sign - 1 - static_cast<long long>(signsBack)) % kSignCount + kSignCount) % kSignCount + 1;
  }
  if (raw > kDegreesPerSign) {
    const double signsOn = std::ceil(raw / kDegreesPerSign) - 1.0;
    raw -= signsOn * kDegreesPerSign;
    sign = (sign - 1 + static_cast<long long>(signsOn)) % kSignCount + 1;
  }
  object.longitude = (sign - 1) * kDegreesPerSign + raw;
  object.signDegree = raw;
  const double minutes = (raw - std::floor(raw)) * 60.0;
  object.signMinutes = minutes;
  object.signSeconds = (minutes - std::floor(minutes)) * 60.0;
  object.sign = static_cast<int>(sign);
  object.hexagramCode = HexagramCodeOfLongitude(object.longitude);
  object.speed = speed;
  object.retrograde = 0;
}

void SetCyclePoint(const CyclePoint& point, const CalendarMoment& greenwich, ChartObject& object) {
  PlaceByWholeSigns(point.rawPosition(DaysSinceEpoch(greenwich, point.epoch)), point.speedDegPerDay,
                    object);
}

void SetLot(double longitudeDeg, ChartObject& lot) {
  lot.SetLongitude(Normalise360(longitudeDeg));
  lot.speed = kNotAvailable;
  lot.retrograde = 0;
}

void SetCusp(int house, double longitudeDeg, ObjectTable& objects) {
  objects[kSlotFirstCusp + house - 1].SetLongitude(Normalise360(longitudeDeg));
}

}  // namespace

double Normalise360(double degrees) {
  double result = std::fmod(degrees, kFullCircle);
  if (result < 0.0) result += kFullCircle;
  return result >= kFullCircle ? 0.0 : result;
}

double FoldArc(double arcDeg) { return arcDeg > kHalfCircle ? kFullCircle - arcDeg : arcDeg; }

double SignedDifference(double toDeg, double fromDeg) {
  const double d = Normalise360(toDeg - fromDeg);
  return d > kHalfCircle ? d - kFullCircle : d;
}

void FileEngineResults(const EngineResults& results, bool withHouses, ObjectTable& objects) {
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    objects[slot].display.radius = kNoDisplayRadius;
    objects[slot].display.angleDeg = kNoDisplayAngle;
  }
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    const int source = kEngineObjectOfSlot[slot];
    if (source < 0 || (IsCuspSlot(slot) && !withHouses)) continue;
    objects[slot].longitude = results.longitude[source];
    objects[slot].speed = results.speed[source];
  }
  for (int slot : {kSlotProserpina, kSlotSelena}) {
    objects[slot].longitude = kNotAvailable;
    objects[slot].speed = kNotAvailable;
  }
  const int lastFiled = withHouses ? kSlotCeres + 3 : kSlotFourthCusp;
  for (int slot = kFirstSlot; slot <= lastFiled; ++slot) {
    ChartObject& object = objects[slot];
    object.retrograde = 0;
    if (IsCuspSlot(slot)) object.house = slot;
    if (object.longitude < 0.0) {
      object.retrograde = 1;
      object.longitude = -object.longitude;
    }
  }
  ChartObject& south = objects[kSlotSouthNode];
  south.longitude = Normalise360(objects[kSlotNorthNode].longitude + kHalfCircle);
  south.speed = objects[kSlotNorthNode].speed;
  south.retrograde = objects[kSlotNorthNode].retrograde;
  for (int slot = kFirstSlot; slot <= lastFiled; ++slot) objects[slot].UpdateSignPosition();
}

void SetCyclePoints(const CalendarMoment& greenwich, ObjectTable& objects) {
  SetCyclePoint(kProserpina, greenwich, objects[kSlotProserpina]);
  SetCyclePoint(kSelena, greenwich, objects[kSlotSelena]);
  // A Jupiter beyond the circle means the run gave no positions.
  if (std::fabs(objects[kSlotJupiter].longitude) > kFullCircle) {
    objects[kSlotProserpina].longitude = kCyclePointMissing;
    objects[kSlotSelena].longitude = kCyclePointMissing;
  }
}

void SetLots(ObjectTable& objects) {
  const double sun = objects[kSlotSun].longitude;
  const double moon = objects[kSlotMoon].longitude;
  const double mars = objects[kSlotMars].longitude;
  const double saturn = objects[kSlotSaturn].longitude;
  const double ascendant = objects[kSlotFirstCusp].longitude;
  const bool sunAboveHorizon = Normalise360(sun - ascendant) > kHalfCircle;
  if (sunAboveHorizon) {
    SetLot(ascendant + moon - sun, objects[kSlotFortune]);
    SetLot(ascendant + mars - saturn, objects[kSlotSecondLot]);
  } else {
    SetLot(ascendant + sun - moon, objects[kSlotFortune]);
    SetLot(ascendant + saturn - mars, objects[kSlotSecondLot]);
  }
}

void SetEqualSunCusps(ObjectTable& objects) {
  const double sun = objects[kSlotSun].longitude;
  for (int house = 1; house <= kCuspCount; ++house) {
    SetCusp(house, sun + (house - 1) * kDegreesPerSign, objects);
  }
}

void SetBrahmaguptaCusps(double ascendantDeg, ObjectTable& objects) {
  const double ascendant = Normalise360(ascendantDeg);
  const double midheaven = objects[kSlotMidheaven].longitude;
  const double fourth = objects[kSlotFourthCusp].longitude;
  const double descendant = ascendant + kHalfCircle;
  const double a = FoldArc(Normalise360(fourth - ascendant));
  const double b = FoldArc(Normalise360(ascendant - midheaven));
  const double c = FoldArc(Normalise360(midheaven - descendant));
  const double e = FoldArc(Normalise360(descendant - fourth));
  SetCusp(1, ascendant, objects);
  SetCusp(2, ascendant + a / 3.0, objects);
  SetCusp(3, ascendant + 2.0 * a / 3.0, objects);
  SetCusp(12, ascendant - b / 3.0, objects);
  SetCusp(11, ascendant - 2.0 * b / 3.0, objects);
  SetCusp(7, descendant, objects);
  SetCusp(8, descendant + c / 3.0, objects);
  SetCusp(9, descendant + 2.0 * c / 3.0, objects);
  SetCusp(6, descendant - e / 3.0, objects);
  SetCusp(5, descendant - 2.0 * e / 3.0, objects);
  SetCusp(4, fourth, objects);
  SetCusp(10, midheaven, objects);
}

int HouseOfLongitude(const ObjectTable& objects, double longitudeDeg) {
  for (int house = 1; house <= kCuspCount; ++house) {
    const ChartObject& cusp = objects[kSlotFirstCusp + house - 1];
    const ChartObject& next = objects[kSlotFirstCusp + house % kCuspCount];
    if (!cusp.HasLongitude() || !next.HasLongitude()) return 0;
    const double width = Normalise360(next.longitude - cusp.longitude);
    if (Normalise360(longitudeDeg - cusp.longitude) < width) return house;
  }
  return 0;
}

void CopyCusps(const ObjectTable& from, ObjectTable& to) {
  for (int slot = kSlotFirstCusp; slot <= kSlotLastCusp; ++slot) to[slot] = from[slot];
}

std::optional<SunEvent> ParseSunEvent(const std::string& line, const CalendarMoment& day,
                                      double zoneHours) {
  int hour = 0;
  double minutes = 0.0;
  int body = 0;
  int event = 0;
  if (std::sscanf(line.c_str(), "%d:%lf %d %d", &hour, &minutes, &body, &event) != 4) {
    return std::nullopt;
  }
  if (body != kSunBody || (event != kRisingEvent && event != kSettingEvent)) return std::nullopt;
  if (hour < 0 || hour > 24 || !(minutes >= 0.0 && minutes < 60.0)) return std::nullopt;
  const double wholeMinutes = std::floor(minutes);
  const double seconds = engine::RoundHalfAway((minutes - wholeMinutes) * 60.0);
  const double dayStart = HoursSince1860({day.year, day.month, day.day, 0, 0, 0});
  return SunEvent{dayStart + hour + wholeMinutes / 60.0 + seconds / 3600.0 - zoneHours,
                  event == kRisingEvent};
}

double BrahmaguptaAscendant(const SunEvent& earlier, double earlierSunDeg, const SunEvent& later,
                            double laterSunDeg, double chartHours) {
  // The Sun's own motion between the events, the short way: across 0° Aries it is a
  // small step, not most of a circle.
  const double sunMotion = SignedDifference(laterSunDeg, earlierSunDeg);
  const double fraction = (chartHours - earlier.hours) / (later.hours - earlier.hours);
  double ascendant = earlierSunDeg + (sunMotion + kHalfCircle) * fraction;
  const bool daytime = earlier.rising || !later.rising;
  if (!daytime) ascendant += kHalfCircle;
  return Normalise360(ascendant);
}

}  // namespace kelvara::workspace
