#include "engine/records.h"

namespace kelvara::engine {
namespace {

constexpr std::array<const char*, kObjectCount> kObjectNames = {
    "Earth", "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus",
    "Neptune", "Pluto", "Chiron", "Ceres", "Pallas", "Juno", "Vesta", "Node", "Lilith",
    "Fortune", "Vertex", "East Point", "Ascendant", "2nd Cusp", "3rd Cusp", "Nadir",
    "5th Cusp", "6th Cusp", "Descendant", "8th Cusp", "9th Cusp", "Midheaven", "11th Cusp",
    "12th Cusp", "Cupido", "Hades", "Zeus", "Kronos", "Apollon", "Admetos", "Vulkanus",
    "Poseidon", "Achernar", "Polaris", "Zeta Retic.", "Pleiades", "Aldebaran", "Capella",
    "Rigel", "Bellatrix", "Alnath", "Orion", "Betelgeuse", "Menkalinan", "Murzim",
    "Canopus", "Alhena", "Sirius", "Adara", "Wezen", "Castor", "Procyon", "Pollux",
    "Suhail", "Avior", "Miaplacidus", "Alphard", "Regulus", "Dubhe", "Acrux", "Gacrux",
    "Becrux", "Alioth", "Spica", "Alkaid", "Agena", "Arcturus", "Rigel Kent.", "Antares",
    "Shaula", "Sargas", "Kaus Austr.", "Vega", "Altair", "Peacock", "Deneb", "Alnair",
    "Fomalhaut", "Andromeda"};

// Windows-1251: Овен, Телец, Близнецы, Рак, Лев, Дева, Весы, Скорпион, Стрелец, Козерог,
// Водолей, Рыбы.
constexpr std::array<const char*, kSignCount + 1> kSignNames = {
    "", "\xCE\xE2\xE5\xED", "\xD2\xE5\xEB\xE5\xF6", "\xC1\xEB\xE8\xE7\xED\xE5\xF6\xFB",
    "\xD0\xE0\xEA", "\xCB\xE5\xE2", "\xC4\xE5\xE2\xE0", "\xC2\xE5\xF1\xFB",
    "\xD1\xEA\xEE\xF0\xEF\xE8\xEE\xED", "\xD1\xF2\xF0\xE5\xEB\xE5\xF6",
    "\xCA\xEE\xE7\xE5\xF0\xEE\xE3", "\xC2\xEE\xE4\xEE\xEB\xE5\xE9", "\xD0\xFB\xE1\xFB"};

// Windows-1251: Ов, Тл, Бл, Рк, Лв, Дв, Вс, Ск, Ст, Кз, Вд, Рб.
constexpr std::array<const char*, kSignCount + 1> kSignShortNames = {
    "", "\xCE\xE2", "\xD2\xEB", "\xC1\xEB", "\xD0\xEA", "\xCB\xE2", "\xC4\xE2",
    "\xC2\xF1", "\xD1\xEA", "\xD1\xF2", "\xCA\xE7", "\xC2\xE4", "\xD0\xE1"};

constexpr std::array<const char*, 13> kMonthNames = {
    "", "January", "February", "March", "April", "May", "June", "July", "August",
    "September", "October", "November", "December"};

constexpr std::array<const char*, 7> kDayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

constexpr std::array<int, kRuledSignCount> kRuledSigns = {
    0, 5, 4, 3, 7, 1, 9, 10, 11, 12, 8,   // Earth, Sun .. Pluto
    12, 2, 6, 7, 8,                       // Chiron, Ceres .. Vesta
    11, 8, 12, 7, 1,                      // Node, Lilith, Fortune, Vertex, East Point
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,  // cusps
    7, 8, 5, 10, 9, 6, 1, 9};             // hypothetical bodies

}  // namespace

const std::array<const char*, kObjectCount>& DefaultObjectNames() { return kObjectNames; }
const std::array<const char*, kSignCount + 1>& SignNames() { return kSignNames; }
const std::array<const char*, kSignCount + 1>& SignShortNames() { return kSignShortNames; }
const std::array<const char*, 13>& MonthNames() { return kMonthNames; }
const std::array<const char*, 7>& DayNames() { return kDayNames; }
const std::array<int, kRuledSignCount>& DefaultRuledSigns() { return kRuledSigns; }

ObjectTables InitialObjectTables() {
  ObjectTables tables;
  tables.motion.fill(1.0);
  return tables;
}

void ResetEngineState(EngineState& state) {
  ObjectTables kept = std::move(state.objects);
  state = EngineState{};
  state.objects = std::move(kept);
  state.objectNames = kObjectNames;
  state.aspectAbbreviations = DefaultAspectAbbreviations();
  state.signNames = kSignNames;
  state.signShortNames = kSignShortNames;
  state.ruledSign = kRuledSigns;
}

EngineState& ProcessEngineState() {
  static EngineState state = [] {
    EngineState initial;
    initial.objects = InitialObjectTables();
    ResetEngineState(initial);
    return initial;
  }();
  return state;
}

}  // namespace kelvara::engine
