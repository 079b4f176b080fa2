#include "workspace/engine_vector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/angles.h"

namespace kelvara::workspace {
namespace {

constexpr int kLastEngineHouseSystem = 14;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kMinutesPerUnit = 60.0;
constexpr int kZoneSignificantDigits = 10;
constexpr std::size_t kZoneTextLimit = 10;
constexpr std::size_t kZoneTextCut = 9;
constexpr int kLongitudeDegreeWidth = 3;
constexpr int kLatitudeDegreeWidth = 2;
// The engine reads argv[0] from its fourth character on: a mode character and two fillers.
constexpr std::string_view kFolderFillers = "---";

std::string Decimal(int value) { return std::to_string(value); }

struct DegreesMinutes {
  int degrees = 0;
  int minutes = 0;
};

// Whole degrees and rounded minutes of the absolute value.
DegreesMinutes SplitDegrees(double value) {
  const double magnitude = std::fabs(value);
  const double whole = std::floor(magnitude);
  return {static_cast<int>(whole),
          static_cast<int>(engine::RoundHalfAway((magnitude - whole) * kMinutesPerUnit))};
}

// The day-scan form pads the degrees with blanks, but the minutes always with zeros:
// the engine stops reading at a blank, so "55n 3" would lose its three minutes.
std::string CoordinateText(double value, char positive, char negative, int degreeWidth,
                           bool blankPadded) {
  const DegreesMinutes parts = SplitDegrees(value);
  char text[kArgumentBufferBytes];
  std::snprintf(text, sizeof(text), blankPadded ? "%*d%c%02d" : "%0*d%c%02d",
                degreeWidth, parts.degrees, value >= 0.0 ? positive : negative,
                parts.minutes);
  return text;
}

std::array<std::string, kEngineArgumentCount> VectorTexts(std::string first, std::string scanSwitch,
                                                          int engineHouseSystem,
                                                          const EngineMoment& at,
                                                          bool blankPadded) {
  const CalendarMoment m = NormalisedMoment(at.moment);
  return {std::move(first),
          std::move(scanSwitch),
          "-b0",
          "-c",
          Decimal(engineHouseSystem),
          "qa",
          Decimal(m.month),
          Decimal(m.day),
          Decimal(m.year),
          EngineTimeText(m),
          EngineZoneText(at.zoneHours),
          EngineLongitudeText(at.longitudeDeg, blankPadded),
          EngineLatitudeText(at.latitudeDeg, blankPadded)};
}

}  // namespace

ArgumentVector::ArgumentVector(const std::array<std::string, kEngineArgumentCount>& texts) {
  for (int i = 0; i < kEngineArgumentCount; ++i) {
    // 80 bytes each; a longer text (a deep program folder) gets a buffer that holds it
    // rather than being cut or overrunning.
    buffers_[i].assign(std::max(kArgumentBufferBytes, texts[i].size() + 1), '\0');
    std::copy(texts[i].begin(), texts[i].end(), buffers_[i].begin());
    pointers_[i] = buffers_[i].data();
  }
}

int EngineHouseSystem(int houseSystem) {
  if (houseSystem < 0 || houseSystem >= kLastEngineHouseSystem) return 0;
  return houseSystem;
}

CalendarMoment NormalisedMoment(const CalendarMoment& moment) {
  return CarryOverflow(moment).value_or(moment);
}

std::string EngineTimeText(const CalendarMoment& m) {
  const int hundredths = static_cast<int>(engine::RoundHalfAway(m.second * 100.0 / kSecondsPerMinute));
  char text[kArgumentBufferBytes];
  std::snprintf(text, sizeof(text), "%d:%02d%02d", m.hour, m.minute, hundredths);
  return text;
}

std::string EngineZoneText(double zoneHours) {
  // The engine reads zones as H.MM, so 5.5 hours must be written 5.30, not 5.5.
  const double engineZone = -zoneHours;
  const double magnitude = std::fabs(engineZone);
  const double whole = std::floor(magnitude);
  const double hmm = std::copysign(whole + (magnitude - whole) * kMinutesPerUnit / 100.0, engineZone);
  char text[kArgumentBufferBytes];
  std::snprintf(text, sizeof(text), "%.*g", kZoneSignificantDigits, hmm == 0.0 ? 0.0 : hmm);
  std::string result = text;
  if (result.size() > kZoneTextLimit) result.resize(kZoneTextCut);
  return result;
}

std::string EngineLongitudeText(double longitudeDeg, bool blankPadded) {
  return CoordinateText(longitudeDeg, 'e', 'w', kLongitudeDegreeWidth, blankPadded);
}

std::string EngineLatitudeText(double latitudeDeg, bool blankPadded) {
  return CoordinateText(latitudeDeg, 'n', 's', kLatitudeDegreeWidth, blankPadded);
}

std::array<std::string, kEngineArgumentCount> ChartFormTexts(const std::string& programFolder,
                                                             const EngineMoment& at,
                                                             int houseSystem) {
  return VectorTexts(std::string(kFolderFillers) + programFolder, "-Yn",
                     EngineHouseSystem(houseSystem), at, false);
}

std::array<std::string, kEngineArgumentCount> DayScanTexts(const std::string& programFolder,
                                                           const EngineMoment& at) {
  // The folder is given here too: the working directory is the state folder, where
  // the engine would not find its ephemeris files.
  return VectorTexts(std::string(kFolderFillers) + programFolder, "-Zd", 0, at, true);
}

}  // namespace kelvara::workspace
