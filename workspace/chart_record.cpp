#include "workspace/chart_record.h"

#include <cmath>

#include "workspace/hexagrams.h"

namespace kelvara::workspace {
namespace {

constexpr double kMinutesPerDegree = 60.0;

constexpr std::array<std::string_view, kSlotCount> kSlotNames = {
    "",        "Солнце",  "Луна",    "Меркурий", "Венера",   "Марс",    "Юпитер",
    "Сатурн",  "Хирон",   "Уран",    "Нептун",   "Плутон",   "Прозерпина", "В.Узел",
    "Н.Узел",  "Селена",  "Лилит",   "I_Дом",    "II_Дом",   "III_Дом", "IV_Дом",
    "V_Дом",   "VI_Дом",  "VII_Дом", "VIII_Дом", "IX_Дом",   "X_Дом",   "XI_Дом",
    "XII_Дом", "Церера",  "Паллада", "Юнона",    "Веста",    "Парс Фортуны", "Второй жребий",
};

// Ids 50-59 in order. Id 51 is written with a Latin "o" and "p" in "втop", as stored
// documents and settings carry it.
constexpr std::array<std::string_view, kLastKindId - kFirstKindId + 1> kKindNames = {
    "Сейчас",
    "Прогрессия втop. (1День=1ГодТроп)",
    "Дирекция симв. (1°= 1ГодТроп)",
    "Профекция (30°= 1ГодТроп)",
    "Соляр (вперед)",
    "Соляр (назад)",
    "Лунар (вперед)",
    "Лунар (назад)",
    "Прогрессия МС по солн.дуге",
    "Дирекция по солн.дуге",
};

}  // namespace

void ChartObject::SetLongitude(double longitudeDeg) {
  longitude = longitudeDeg;
  UpdateSignPosition();
}

void ChartObject::UpdateSignPosition() {
  signDegree = std::fmod(longitude, kDegreesPerSign);
  const double minutes = (signDegree - std::floor(signDegree)) * kMinutesPerDegree;
  signMinutes = minutes;
  signSeconds = (minutes - std::floor(minutes)) * kMinutesPerDegree;
  sign = 1 + static_cast<int>(longitude / kDegreesPerSign);
  hexagramCode = HexagramCodeOfLongitude(longitude);
}

std::string_view SlotName(int slot) {
  if (slot < 0 || slot >= kSlotCount) return {};
  return kSlotNames[slot];
}

std::string ObjectDisplayName(const ObjectTable& objects, int slot) {
  const std::string& name = objects[slot].display.name;
  return name.empty() ? std::string(SlotName(slot)) : name;
}

std::string_view SignName(int sign) {
  static constexpr std::array<std::string_view, 13> kSignNames = {
      "",     "Овен", "Телец",    "Близнецы", "Рак",     "Лев",    "Дева",
      "Весы", "Скорпион", "Стрелец", "Козерог", "Водолей", "Рыбы"};
  if (sign < 1 || sign > 12) return {};
  return kSignNames[sign];
}

std::string_view HouseSystemName(int houseSystem) {
  switch (houseSystem) {
    case kHousePlacidus: return "Placidus";
    case kHouseKoch: return "Koch";
    case kHouseEqual: return "Equal";
    case kHouseRegiomontanus: return "Regiomontanus";
    case kHouseMorinus: return "Morinus";
    case kHouseEqualMc: return "Equal(MC)";
    case kHouseBrahmagupta: return "Brahmagupta";
    case kHouseEqualSun: return "Equal(Sun)";
    default: return {};
  }
}

std::string_view KindName(ChartKind kind) {
  return kKindNames[static_cast<int>(kind) - kFirstKindId];
}

std::optional<ChartKind> KindOfId(int id) {
  if (id < kFirstKindId || id > kLastKindId) return std::nullopt;
  return static_cast<ChartKind>(id);
}

std::optional<ChartKind> KindOfName(std::string_view name) {
  for (int id = kFirstKindId; id <= kLastKindId; ++id) {
    if (kKindNames[id - kFirstKindId] == name) return static_cast<ChartKind>(id);
  }
  return std::nullopt;
}

bool IsMidpointName(std::string_view name) { return name.starts_with(kMidpointPrefix); }
bool IsCompositeName(std::string_view name) { return name.starts_with(kCompositePrefix); }
bool IsMergedName(std::string_view name) { return IsMidpointName(name) || IsCompositeName(name); }

bool IsNowName(std::string_view name) { return name == kNameNow || name == kNameStopped; }

bool IsPersonName(std::string_view name) {
  return !name.empty() && !IsNowName(name) && !KindOfName(name) && !IsMergedName(name);
}

std::string_view TitleForName(std::string_view name) {
  if (name.empty() || IsNowName(name)) return kTitleTransit;
  const auto kind = KindOfName(name);
  if (!kind) return kTitleNatal;
  switch (*kind) {
    case ChartKind::kSecondaryProgression:
    case ChartKind::kSolarArcMidheaven: return kTitleProgressed;
    case ChartKind::kSymbolicDirection:
    case ChartKind::kProfection:
    case ChartKind::kSolarArcDirection: return kTitleDirect;
    default: return kTitleNatal;
  }
}

}  // namespace kelvara::workspace
