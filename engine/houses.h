// The fifteen house systems.
#pragma once

#include <array>

namespace kelvara::engine {

enum HouseSystem : int {
  kPlacidus = 0,
  kKoch = 1,
  kEqual = 2,
  kCampanus = 3,
  kMeridian = 4,
  kRegiomontanus = 5,
  kPorphyry = 6,
  kMorinus = 7,
  kTopocentric = 8,
  kAlcabitius = 9,
  kEqualMc = 10,
  kNeoPorphyry = 11,
  kWhole = 12,
  kVedic = 13,
  kNull = 14,
};

inline constexpr int kHouseSystemCount = 15;
// Beyond this latitude (90 degrees less the obliquity 23.4458) parts of the ecliptic never
// rise, so Placidus and Koch are computed at this latitude instead.
inline constexpr double kExtremeLatitudeRad = 1.16159011493689;

using HouseCusps = std::array<double, 13>;  // index 0 unused, cusps 1..12 in degrees

// The system's name as the engine's tables hold it; "Placidus" for numbers out of range.
const char* HouseSystemName(int system);

struct HouseInput {
  double ramc_rad;
  double obliquity_rad;
  double latitude_rad;
  double midheaven_deg;  // with the zodiac offset in effect
  double ascendant_deg;  // with the zodiac offset in effect
  double offset_deg;     // zodiac offset in effect
};

struct HouseResult {
  HouseCusps cusps{};
  double ascendant_deg = 0.0;  // turned by 180 when it lay behind the Midheaven
  bool latitude_clamped = false;
};

// Cusps of a system (numbers outside 1..14 are Placidus), after the extreme-latitude
// rule and the Ascendant turn.
HouseResult ComputeHouses(const HouseInput& input, int system);

}  // namespace kelvara::engine
