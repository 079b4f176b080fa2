// One chart of the front-end and its object slots, the names of the slots, the chart
// kinds recognised by the chart's name, and the title each name gives.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "workspace/hour_scale.h"

namespace kelvara::workspace {

// Marks a point that this chart does not have, and a speed that is not known.
inline constexpr double kNotAvailable = 999.0;
inline constexpr int kHouseNotComputed = -1000;
inline constexpr double kNoDisplayRadius = -1.0;
inline constexpr double kNoDisplayAngle = -1000.0;

inline constexpr double kDegreesPerSign = 30.0;
inline constexpr double kFullCircle = 360.0;

// What the wheel needs to draw a point; filled by the display code.
struct ObjectDisplay {
  std::string name;
  std::uint32_t colourRgb = 0;
  std::string glyph;
  double angleDeg = kNoDisplayAngle;
  double radius = kNoDisplayRadius;
  friend bool operator==(const ObjectDisplay&, const ObjectDisplay&) = default;
};

struct ChartObject {
  double longitude = 0.0;  // degrees, 0 <= x < 360, or kNotAvailable
  double signDegree = 0.0;  // whole and fractional degrees within the sign
  double signMinutes = 0.0;
  double signSeconds = 0.0;
  double speed = 0.0;  // degrees per day, kNotAvailable when unknown
  int retrograde = 0;
  int usedAsMoving = 1;
  int usedAsAspected = 1;
  int visible = 1;
  int takesPartInAspects = 1;
  int house = kHouseNotComputed;
  int sign = 1;  // 1 Aries ... 12 Pisces
  int hexagramCode = 0;  // the I-Ching code of the longitude's arc, 0 without one
  ObjectDisplay display;

  // Stores the longitude and derives the sign and the position within it.
  void SetLongitude(double longitudeDeg);
  // Recomputes degree, minutes, seconds, sign and hexagram code from the stored longitude.
  void UpdateSignPosition();
  bool HasLongitude() const { return longitude >= 0.0 && longitude < kFullCircle; }
  friend bool operator==(const ChartObject&, const ChartObject&) = default;
};

// Slot numbers of the object table (index 0 is unused).
inline constexpr int kSlotCount = 35;
inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = 34;
inline constexpr int kSlotSun = 1;
inline constexpr int kSlotMoon = 2;
inline constexpr int kSlotMercury = 3;
inline constexpr int kSlotVenus = 4;
inline constexpr int kSlotMars = 5;
inline constexpr int kSlotJupiter = 6;
inline constexpr int kSlotSaturn = 7;
inline constexpr int kSlotChiron = 8;
inline constexpr int kSlotProserpina = 12;
inline constexpr int kSlotNorthNode = 13;
inline constexpr int kSlotSouthNode = 14;
inline constexpr int kSlotSelena = 15;
inline constexpr int kSlotLilith = 16;
inline constexpr int kSlotFirstCusp = 17;  // the Ascendant
inline constexpr int kSlotFourthCusp = 20;
inline constexpr int kSlotSeventhCusp = 23;
inline constexpr int kSlotMidheaven = 26;
inline constexpr int kSlotLastCusp = 28;
inline constexpr int kSlotCeres = 29;
inline constexpr int kSlotFortune = 33;
inline constexpr int kSlotSecondLot = 34;
inline constexpr int kCuspCount = 12;

using ObjectTable = std::array<ChartObject, kSlotCount>;

// The names the chart tables show for slots 0-34 (slot 0 has an empty name).
std::string_view SlotName(int slot);
// The object's own display name, else its slot's name.
std::string ObjectDisplayName(const ObjectTable& objects, int slot);
inline constexpr bool IsCuspSlot(int slot) { return slot >= kSlotFirstCusp && slot <= kSlotLastCusp; }

// Step of the step shift of the view.
struct StepShift {
  int years = 0;
  int months = 0;
  int days = 0;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  int counter = 0;
  friend bool operator==(const StepShift&, const StepShift&) = default;
};

// House system values as charts and the settings store them.
inline constexpr int kNoHouses = -1;
inline constexpr int kHousePlacidus = 0;
inline constexpr int kHouseKoch = 1;
inline constexpr int kHouseEqual = 2;
inline constexpr int kHouseRegiomontanus = 5;
inline constexpr int kHouseMorinus = 7;
inline constexpr int kHouseEqualMc = 10;
inline constexpr int kHouseBrahmagupta = 14;
inline constexpr int kHouseEqualSun = 21;

// Full Russian sign names, 1 Aries ... 12 Pisces; empty outside 1-12.
std::string_view SignName(int sign);

// The name a house system value is shown with; empty for a value the program does not offer.
std::string_view HouseSystemName(int houseSystem);

struct ChartRecord {
  CalendarMoment local;
  CalendarMoment greenwich;
  double gmtOffsetHours = 0.0;  // east positive
  std::string title;
  std::string name;
  std::string filePath;
  std::string placeName;
  ObjectTable objects;
  double latitudeDeg = 0.0;   // north positive
  double longitudeDeg = 0.0;  // east positive
  int houseSystem = kHousePlacidus;
  double directionRate = 0.0;  // days per degree of symbolic motion
  std::string note;
  StepShift step;
  friend bool operator==(const ChartRecord&, const ChartRecord&) = default;
};

// Titles; other parts read the title as the chart's kind for aspects and texts.
inline constexpr std::string_view kTitleNatal = "Натальная карта";
inline constexpr std::string_view kTitleTransit = "Транзитная карта";
inline constexpr std::string_view kTitleDirect = "Директная карта";
inline constexpr std::string_view kTitleProgressed = "Прогрессивная карта";

inline constexpr std::string_view kNameNow = "Сейчас";
inline constexpr std::string_view kNameStopped = "Останов";
inline constexpr std::string_view kNameUnknown = "Неизвестный";
inline constexpr std::string_view kMidpointPrefix = "Ср.карта (";
inline constexpr std::string_view kCompositePrefix = "Комп.карта (";

// Kinds of chart by their string-table ids 50-59.
enum class ChartKind {
  kNow = 50,
  kSecondaryProgression = 51,
  kSymbolicDirection = 52,
  kProfection = 53,
  kSolarReturnForward = 54,
  kSolarReturnBackward = 55,
  kLunarReturnForward = 56,
  kLunarReturnBackward = 57,
  kSolarArcMidheaven = 58,
  kSolarArcDirection = 59,
};
inline constexpr int kFirstKindId = 50;
inline constexpr int kLastKindId = 59;

std::string_view KindName(ChartKind kind);
// The kind a name denotes, compared as an exact string; none for a person's name.
std::optional<ChartKind> KindOfName(std::string_view name);
std::optional<ChartKind> KindOfId(int id);

bool IsMidpointName(std::string_view name);
bool IsCompositeName(std::string_view name);
bool IsMergedName(std::string_view name);
// A chart of the present moment, running or frozen.
bool IsNowName(std::string_view name);
// A person's name: none of the kind names, "Сейчас", "Останов", captions, nor empty.
bool IsPersonName(std::string_view name);

// The title rule: empty, "Сейчас" and "Останов" are transit charts, the kinds 51, 52,
// 53, 58 and 59 have their own titles, everything else is a natal chart.
std::string_view TitleForName(std::string_view name);

}  // namespace kelvara::workspace
