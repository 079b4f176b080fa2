#include "interpretation/text_keys.h"

#include <array>
#include <utility>

#include "platform/codepage.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;

constexpr int kLastFactSlot = ws::kSlotLilith;  // objects 1-16 have sign and house texts
constexpr std::string_view kArrow = " -> ";
constexpr std::string_view kPlus = " + ";
constexpr std::string_view kChartHouses = "-ом Доме гороскопа";
constexpr std::string_view kCompositeHouses = "-ом Доме композита";
constexpr std::string_view kFirstPerson = "1";
constexpr std::string_view kSecondPerson = "2";
constexpr std::array<std::string_view, 2> kOptionalBlank = {"", " "};

constexpr std::array<std::pair<std::string_view, KeyFile>, 14> kFileNames = {{
    {"MOON_DAYS.TXT", KeyFile::kMoonDays},
    {"DEGREES.TXT", KeyFile::kDegrees},
    {"ICHING.TXT", KeyFile::kIChing},
    {"PL_ZS.TXT", KeyFile::kPlanetInSign},
    {"HS_ZS.TXT", KeyFile::kCuspInSign},
    {"PL_HS.TXT", KeyFile::kPlanetInHouse},
    {"RL_HS.TXT", KeyFile::kRulerInHouse},
    {"HS_HS.TXT", KeyFile::kCuspInHouse},
    {"SO1_HS.TXT", KeyFile::kFirstInHouse},
    {"SO2_HS.TXT", KeyFile::kSecondInHouse},
    {"PL_A_PL.TXT", KeyFile::kPlanetAspectPlanet},
    {"PL_A_HS.TXT", KeyFile::kPlanetAspectCusp},
    {"HS_A_PL.TXT", KeyFile::kCuspAspectPlanet},
    {"RL_A_HS.TXT", KeyFile::kRulerAspectCusp},
}};

std::string Numbered(std::string_view before, int number, std::string_view after) {
  return std::string(before) + std::to_string(number) + std::string(after);
}
std::string CuspPhrase(int house) { return Numbered("Куспид ", house, "-го Дома гороскопа"); }
std::string LowerCuspPhrase(int house) { return Numbered("куспид ", house, "-го Дома гороскопа"); }
std::string RulerPhrase(int house) { return Numbered("Управитель ", house, "-го Дома гороскопа"); }
std::string InHouse(int house, std::string_view houses = kChartHouses) { return Numbered("в ", house, houses); }

int CuspSlot(int house) { return ws::kSlotFirstCusp + house - 1; }

bool TellsFacts(const ws::ChartObject& object) {
  return object.visible != 0 && object.HasLongitude() && object.sign >= 1 && object.sign <= ws::kSignCount;
}

bool HasHouses(const ws::ChartRecord& chart) {
  if (chart.houseSystem == ws::kNoHouses) return false;
  for (int house = 1; house <= ws::kCuspCount; ++house)
    if (!chart.objects[CuspSlot(house)].HasLongitude()) return false;
  return true;
}

// The charts whose facts are told: points and cusps of one chart against the houses of
// another (the same chart unless both rings of a double chart are shown).
struct Charts {
  const ws::ChartRecord* points = nullptr;
  const ws::ChartRecord* houses = nullptr;
};

Charts ChartsOf(const ws::WorkspaceState& state) {
  if (!state.doubleChart || state.second.name.empty()) return {&state.main, &state.main};
  if (state.secondAlone) return {&state.second, &state.second};
  return {&state.second, &state.main};
}

// Calls `emit(house)` for every house of `houses` the longitude lies in.
template <typename Emit>
void ForHousesOf(const ws::ChartRecord& houses, double longitudeDeg, Emit emit) {
  if (!HasHouses(houses)) return;
  for (int house = 1; house <= ws::kCuspCount; ++house)
    if (LiesInHouse(houses.objects, longitudeDeg, house)) emit(house);
}

class KeyBuilder {
 public:
  explicit KeyBuilder(const KeyInput& input) : input_(input), charts_(ChartsOf(*input.state)) {}

  KeySets Build() {
    AddRequest();
    AddPlanetsInSignsAndHouses();
    AddCusps();
    AddRulers();
    AddPersons();
    for (const auto& description : input_.aspectDescriptions) AddAspect(description);
    return std::move(sets_);
  }

 private:
  void Add(KeyFile file, const std::string& utf8Key) { sets_[file].insert(platform::Utf8ToCp1251(utf8Key)); }

  void AddRequest() {
    if (input_.requestKey.empty()) return;
    for (KeyFile file : {KeyFile::kMoonDays, KeyFile::kDegrees, KeyFile::kIChing}) Add(file, input_.requestKey);
  }

  void AddPlanetsInSignsAndHouses() {
    for (int slot = ws::kFirstSlot; slot <= kLastFactSlot; ++slot) {
      const ws::ChartObject& object = charts_.points->objects[slot];
      if (!TellsFacts(object)) continue;
      const std::string name(ws::SlotName(slot));
      Add(KeyFile::kPlanetInSign, name + std::string(kArrow) + std::string(ws::SignName(object.sign)));
      ForHousesOf(*charts_.houses, object.longitude,
                  [&](int house) { Add(KeyFile::kPlanetInHouse, name + std::string(kArrow) + InHouse(house)); });
    }
  }

  void AddCusps() {
    if (!HasHouses(*charts_.points)) return;
    for (int cusp = 1; cusp <= ws::kCuspCount; ++cusp) {
      const ws::ChartObject& object = charts_.points->objects[CuspSlot(cusp)];
      if (!TellsFacts(object)) continue;
      Add(KeyFile::kCuspInSign, CuspPhrase(cusp) + std::string(kArrow) + std::string(ws::SignName(object.sign)));
      ForHousesOf(*charts_.houses, object.longitude, [&](int house) {
        Add(KeyFile::kCuspInHouse, CuspPhrase(cusp) + std::string(kArrow) + InHouse(house));
      });
    }
  }

  // Whether the object in `slot` (1-16) rules the sign on cusp `house` of the points chart.
  bool Rules(int slot, int house) const {
    if (!input_.rulership || slot < ws::kFirstSlot || slot > kLastFactSlot || !HasHouses(*charts_.points)) return false;
    const ws::ChartObject& cusp = charts_.points->objects[CuspSlot(house)];
    if (cusp.sign < 1 || cusp.sign > ws::kSignCount) return false;
    return (*input_.rulership)[cusp.sign - 1][slot - 1] != 0;
  }

  void AddRulers() {
    for (int house = 1; house <= ws::kCuspCount; ++house) {
      for (int slot = ws::kFirstSlot; slot <= kLastFactSlot; ++slot) {
        const ws::ChartObject& ruler = charts_.points->objects[slot];
        if (!Rules(slot, house) || !TellsFacts(ruler)) continue;
        ForHousesOf(*charts_.houses, ruler.longitude, [&](int where) {
          Add(KeyFile::kRulerInHouse, RulerPhrase(house) + std::string(kArrow) + InHouse(where));
        });
      }
    }
  }

  void AddPersonObjects(KeyFile file, const ws::ChartRecord& person, std::string_view mark,
                        const ws::ChartRecord& houses, std::string_view houseWords, std::string_view end) {
    for (int slot = ws::kFirstSlot; slot <= kLastFactSlot; ++slot) {
      const ws::ChartObject& object = person.objects[slot];
      if (!TellsFacts(object)) continue;
      const std::string name = std::string(ws::SlotName(slot)) + " " + std::string(mark) + std::string(kArrow);
      ForHousesOf(houses, object.longitude,
                  [&](int house) { Add(file, name + InHouse(house, houseWords) + std::string(end)); });
    }
  }

  void AddPersons() {
    const ws::WorkspaceState& state = *input_.state;
    if (charts_.points != charts_.houses) {
      AddPersonObjects(KeyFile::kFirstInHouse, state.main, kFirstPerson, state.second, kChartHouses, ".");
      AddPersonObjects(KeyFile::kSecondInHouse, state.second, kSecondPerson, state.main, kChartHouses, ".");
    } else if (ws::IsCompositeName(charts_.points->name) && state.merged) {
      const ws::ChartRecord& composite = *charts_.points;
      AddPersonObjects(KeyFile::kFirstInHouse, state.merged->main, kFirstPerson, composite, kCompositeHouses, "");
      AddPersonObjects(KeyFile::kFirstInHouse, state.merged->second, kSecondPerson, composite, kCompositeHouses, "");
    }
  }

  void AddAspect(std::string_view description) {
    const auto firstJoint = description.find(kPlus);
    const auto lastJoint = description.rfind(kPlus);
    if (firstJoint == std::string_view::npos || lastJoint == firstJoint) return;
    const std::string first(description.substr(0, firstJoint));
    const std::string middle(description.substr(firstJoint, lastJoint + kPlus.size() - firstJoint));
    const std::string second(description.substr(lastJoint + kPlus.size()));
    Add(KeyFile::kPlanetAspectPlanet, std::string(description));
    const int firstCusp = CuspOfName(first);
    const int secondCusp = CuspOfName(second);
    for (std::string_view blank : kOptionalBlank) {
      if (secondCusp)
        Add(KeyFile::kPlanetAspectCusp, first + middle + LowerCuspPhrase(secondCusp) + std::string(blank));
      if (firstCusp) Add(KeyFile::kCuspAspectPlanet, CuspPhrase(firstCusp) + std::string(blank) + middle + second);
    }
    if (secondCusp) AddRulerAspects(SlotOfName(first), middle, secondCusp);
  }

  void AddRulerAspects(int rulerSlot, const std::string& middle, int cusp) {
    for (int house = 1; house <= ws::kCuspCount; ++house) {
      if (!Rules(rulerSlot, house)) continue;
      for (std::string_view rulerBlank : kOptionalBlank)
        for (std::string_view cuspBlank : kOptionalBlank)
          Add(KeyFile::kRulerAspectCusp, RulerPhrase(house) + std::string(rulerBlank) + middle +
                                             LowerCuspPhrase(cusp) + std::string(cuspBlank));
    }
  }

  static int SlotOfName(std::string_view name) {
    for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot)
      if (ws::SlotName(slot) == name) return slot;
    return 0;
  }
  static int CuspOfName(std::string_view name) {
    const int slot = SlotOfName(name);
    return ws::IsCuspSlot(slot) ? slot - ws::kSlotFirstCusp + 1 : 0;
  }

  const KeyInput& input_;
  Charts charts_;
  KeySets sets_;
};

}  // namespace

std::optional<KeyFile> KeyFileOfName(std::string_view upperName) {
  for (const auto& [name, file] : kFileNames)
    if (name == upperName) return file;
  return std::nullopt;
}

bool LiesInHouse(const ws::ObjectTable& houses, double longitudeDeg, int house) {
  if (house < 1 || house > ws::kCuspCount) return false;
  double start = houses[CuspSlot(house)].longitude;
  const double end = houses[CuspSlot(house % ws::kCuspCount + 1)].longitude;
  if (end < start) start -= ws::kFullCircle;
  if (longitudeDeg >= start + ws::kFullCircle) longitudeDeg -= ws::kFullCircle;
  return start <= longitudeDeg && longitudeDeg < end;
}

KeySets BuildKeySets(const KeyInput& input) {
  if (!input.state) return {};
  return KeyBuilder(input).Build();
}

}  // namespace kelvara::interpretation
