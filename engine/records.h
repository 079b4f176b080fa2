// The engine's process-wide records and their default images. Every run restores the
// defaults before it parses its switches; only the object tables outlive a run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/aspects.h"
#include "engine/chart_time.h"
#include "engine/houses.h"

namespace kelvara::engine {

// ObjectIndex: the engine's numbering of its 88 objects.
enum ObjectIndex : int {
  kEarth = 0,
  kSun = 1,
  kMoon = 2,
  kMercury = 3,
  kVenus = 4,
  kMars = 5,
  kJupiter = 6,
  kSaturn = 7,
  kUranus = 8,
  kNeptune = 9,
  kPluto = 10,
  kChiron = 11,
  kCeres = 12,
  kPallas = 13,
  kJuno = 14,
  kVesta = 15,
  kNode = 16,
  kLilith = 17,
  kFortune = 18,
  kVertex = 19,
  kEastPoint = 20,
  kFirstCusp = 21,
  kAscendant = 21,
  kNadir = 24,
  kDescendant = 27,
  kMidheaven = 30,
  kLastCusp = 32,
  kFirstHypothetical = 33,
  kLastHypothetical = 40,
  kFirstStar = 41,
  kLastStar = 87,
};

inline constexpr int kObjectCount = 88;
// The result arrays of a run hold objects 0..32.
inline constexpr int kResultCount = 33;
// Bodies that have a ruled sign.
inline constexpr int kRuledSignCount = 41;
inline constexpr int kSignCount = 12;
inline constexpr int kLeo = 5;
// Objects 0..40 keep heliocentric coordinates for the chart-positions file.
inline constexpr int kHeliocentricCount = 41;

struct EngineSettings {
  int houseSystem = 0;
  std::uint8_t useEphemerisFiles = 0;
  std::uint8_t secondsFlag = 0;
  std::uint8_t flagBa = 0;
  std::uint8_t trueNode = 0;
  std::uint8_t flagY = 0;
  std::uint8_t sidereal = 0;
  std::uint8_t equatorial = 0;
  int siderealDisplay = 0;
  double zodiacOffset = 0.0;  // degrees
  std::uint8_t horizonScan = 0;
  std::uint8_t horizonZero = 0;
  std::uint8_t riseSetScan = 0;
  std::uint8_t crossingTable = 0;
  std::uint8_t crossingZero = 0;
  int crossingStep = 5;
  std::uint8_t eventScan = 0;
  std::uint8_t scanMonthYear = 0;
  int scanYears = 0;
  int scanDivisions = 12;
  std::uint8_t progressedScan = 0;
  std::uint8_t progressedZero = 0;
  std::uint8_t writeChartFile = 0;
  std::uint8_t chartFileZero = 0;
  std::string chartFileName;
  std::string outputFileName;
  double defaultDst = 0.0;          // hours
  double defaultZone = 8.0;         // H.MM, positive west
  double defaultLongitude = 122.2;  // D.MM, positive west
  double defaultLatitude = 47.36;   // D.MM
  double progressionRate = 365.25;  // days of life per year of progression
  int harmonic = 1;
  int aspectCount = 5;
  int argv0Mode = 0;  // 0 when argv[0] starts with '-'
  // Part of Fortune: negative always reverses Moon - Sun, 0 reverses it for night births,
  // positive never. No switch sets it.
  int fortuneFormula = 0;
};

// The chart being cast: date, local clock time (H.MM), daylight value (hours), zone (H.MM,
// positive west; 24 means local mean time), place (D.MM, longitude positive west).
struct ChartInput {
  int month = 11;
  int day = 19;
  int year = 1971;
  double time = 11.01;
  double dst = 0.0;
  double zone = 8.0;
  double longitude = 122.2;
  double latitude = 47.36;
  std::string name;
  std::string location;
};

// The target of a progressed scan; its month field also marks month or year scans.
using ProgressionInput = ChartInput;
inline constexpr int kYearScanMarker = 0;
inline constexpr int kMonthScanMarker = 1;

// 1 = the object is left out of the run's computations, scans and listings.
using IgnoreFlags = std::array<std::uint8_t, kObjectCount>;

// Positions of the last cast chart; motion in radians per day, negative when retrograde.
struct ObjectTables {
  std::array<double, kObjectCount> longitude{};
  std::array<double, kObjectCount> latitude{};
  std::array<double, kObjectCount> motion{};
  HouseCusps cusps{};
  std::array<int, kObjectCount> housePlace{};
  // Heliocentric ecliptic x, y, z (au) of objects 0..40 as their source gave them; the
  // Earth's in slot 0 and for the Sun.
  std::array<std::array<double, 3>, kHeliocentricCount> heliocentric{};
  // TT - UT (seconds) the ephemeris layer applies at the chart's moment.
  double deltaTSeconds = 0.0;
};

struct EngineState {
  EngineSettings settings;
  ChartInput chartInput;
  ProgressionInput progressionInput;
  ChartInput coreChart;   // the natal chart of the scans
  ChartInput thirdChart;  // saved and restored around the rise/set scan
  IgnoreFlags ignore{};
  std::array<std::uint8_t, 4> riseSetEventMask{};
  std::array<const char*, kObjectCount> objectNames{};
  AspectAbbreviations aspectAbbreviations{};
  std::array<const char*, kSignCount + 1> signNames{};
  std::array<const char*, kSignCount + 1> signShortNames{};
  std::array<int, kRuledSignCount> ruledSign{};
  std::string programFolder;  // argv[0] without its three leading characters
  bool initialParse = false;
  // The -o file name and the elements after it, written at the end of the chart file.
  std::vector<std::string> chartFileSwitches;
  TimeState time;
  ObjectTables objects;
  // Azimuth and altitude of the kept objects, as the horizon listing last computed them.
  std::array<HorizonPosition, kObjectCount> horizon{};
};

// English object names as the reset restores them (ASCII).
const std::array<const char*, kObjectCount>& DefaultObjectNames();
// Sign names, index 0 empty, Windows-1251.
const std::array<const char*, kSignCount + 1>& SignNames();
const std::array<const char*, kSignCount + 1>& SignShortNames();
const std::array<const char*, 13>& MonthNames();  // index 0 empty
const std::array<const char*, 7>& DayNames();     // 0 = Sunday
const std::array<int, kRuledSignCount>& DefaultRuledSigns();

// Object tables before any chart is cast: every position 0, every motion 1.0.
ObjectTables InitialObjectTables();
// Restores every record except the object tables to its default image.
void ResetEngineState(EngineState& state);

// The single instance the entry point works on; the engine is not re-entrant.
EngineState& ProcessEngineState();

}  // namespace kelvara::engine
