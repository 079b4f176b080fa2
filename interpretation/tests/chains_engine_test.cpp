// The chains of charts the engine casts at two instants of the ephemeris reference table:
// the signs from the table, the same signs from the cast, then every kind in both
// traditions against chains worked out by hand from the default tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "engine/ephemeris/tests/reference_positions.h"
#include "interpretation/dispositor_chains.h"
#include "interpretation/tradition_flags.h"
#include "workspace/engine_driver.h"

namespace kelvara::interpretation {

// A group as its type and members, so that a failure reads as the table does.
void PrintTo(const ChainGroup& group, std::ostream* out) {
  *out << "{type " << group.type << ", {";
  for (std::size_t i = 0; i < group.members.size(); ++i) *out << (i ? ", " : "") << group.members[i];
  *out << "}, " << group.flag << "}";
}

namespace {

namespace ws = workspace;
using ws::Tradition;

enum Object : int {
  kNone, kSun, kMoon, kMercury, kVenus, kMars, kJupiter, kSaturn, kChiron, kUranus, kNeptune, kPluto,
  kProserpina, kNorthNode, kSouthNode, kSelena, kLilith
};
enum Sign : int {
  kAries, kTaurus, kGemini, kCancer, kLeo, kVirgo, kLibra, kScorpio, kSagittarius, kCapricorn, kAquarius, kPisces
};

constexpr double kJulianDayOf1860 = 2400410.5;
constexpr double kHoursPerDay = 24.0;
// Further from a sign's edge than the engine and the reference ever differ.
constexpr double kEdgeMarginDeg = 0.01;

using Signs = std::array<int, kLastChainObject + 1>;  // by object; index 0 unused

struct Instant {
  const char* name;
  double julianDayUt;
  Signs signs;
};

// Chiron, Proserpina, the nodes and Selena are not in the table: their signs come from the
// cast alone (the table's node is the mean one, the program casts the true node).
const Instant kSummer1950 = {"1950-07-04", 2433467.325555,
                             {kNone, kCancer, kPisces, kCancer, kGemini, kLibra, kPisces, kVirgo, kSagittarius,
                              kCancer, kLibra, kLeo, kLibra, kAries, kLibra, kScorpio, kTaurus}};
const Instant kAutumn1980 = {"1980-09-09", 2444491.899882,
                             {kNone, kVirgo, kVirgo, kVirgo, kLeo, kScorpio, kVirgo, kVirgo, kTaurus,
                              kScorpio, kSagittarius, kLibra, kLibra, kLeo, kAquarius, kAquarius, kLibra}};

const std::map<std::string, Object> kTableBodies = {
    {"sun", kSun},         {"moon", kMoon},       {"mercury", kMercury}, {"venus", kVenus},
    {"mars", kMars},       {"jupiter", kJupiter}, {"saturn", kSaturn},   {"uranus", kUranus},
    {"neptune", kNeptune}, {"pluto", kPluto},     {"mean_apogee", kLilith}};

int SignOf(double longitudeDeg) { return static_cast<int>(std::floor(longitudeDeg / ws::kDegreesPerSign)); }

double EdgeDistance(double longitudeDeg) {
  const double within = std::fmod(longitudeDeg, ws::kDegreesPerSign);
  return std::min(within, ws::kDegreesPerSign - within);
}

const ws::EngineDriver& Driver() {
  static const ws::EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  return driver;
}

ws::ObjectTable Cast(const Instant& instant) {
  ws::ObjectTable objects{};
  const double hours = (instant.julianDayUt - kJulianDayOf1860) * kHoursPerDay;
  EXPECT_TRUE(Driver().RunChart(ws::RequestAt(hours, 0.0, 0.0, ws::kNoHouses), objects, false)) << instant.name;
  return objects;
}

TEST(ChainsOfCastCharts, TheTablesSignsAreTheSignsOfTheCast) {
  std::map<double, const Instant*> instants = {{kSummer1950.julianDayUt, &kSummer1950},
                                               {kAutumn1980.julianDayUt, &kAutumn1980}};
  std::map<const Instant*, int> rowsSeen;
  for (const auto& row : engine::testing::LoadReferencePositions(std::string(KELVARA_SOURCE_DIR) +
                                                                 "/engine/ephemeris/tests/data/positions.csv")) {
    const auto instant = instants.find(row.julianDayUt);
    const auto body = kTableBodies.find(row.body);
    if (instant == instants.end() || body == kTableBodies.end()) continue;
    const Instant& at = *instant->second;
    ++rowsSeen[&at];
    EXPECT_EQ(SignOf(row.longitudeDeg), at.signs[body->second]) << at.name << " " << row.body;
    EXPECT_GT(EdgeDistance(row.longitudeDeg), kEdgeMarginDeg) << at.name << " " << row.body;
  }
  for (const Instant* instant : {&kSummer1950, &kAutumn1980}) {
    EXPECT_EQ(rowsSeen[instant], static_cast<int>(kTableBodies.size())) << instant->name;
    const ws::ObjectTable objects = Cast(*instant);
    for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
      ASSERT_TRUE(objects[object].HasLongitude()) << instant->name << " " << object;
      EXPECT_EQ(SignOf(objects[object].longitude), instant->signs[object]) << instant->name << " " << object;
      EXPECT_EQ(objects[object].sign, instant->signs[object] + 1) << instant->name << " " << object;
      EXPECT_GT(EdgeDistance(objects[object].longitude), kEdgeMarginDeg) << instant->name << " " << object;
    }
  }
}

struct HandChains {
  const Instant* instant;
  Tradition tradition;
  ChainKind kind;
  Signs dispositor;  // the one dispositor of each object, kNone for a hidden object
  std::vector<ChainGroup> groups;
};

// Each default table gives every sign one object, so every object has one dispositor; a
// walk from the lowest unmarked object closes a group where it first meets itself, and a
// group of one is an own-sign group whichever walk reached it. In the Western tradition
// Хирон, Прозерпина, Н.Узел, Селена and Лилит are hidden; the Western tables name none of
// them, so every visible object keeps its dispositor.
const std::vector<HandChains>& Expected() {
  static const std::vector<HandChains> rows = {
      // 1950, rulership: Cancer Moon (Sun, Mercury, Uranus), Pisces Neptune (Moon, Jupiter),
      // Gemini and Virgo Mercury (Venus, Saturn), Libra Venus (Mars, Neptune), Leo Sun (Pluto),
      // Aries Mars (В.Узел). Sun -> Moon -> Neptune -> Venus -> Mercury -> Moon.
      {&kSummer1950, Tradition::kWestern, ChainKind::kRulership,
       {kNone, kMoon, kNeptune, kMoon, kMercury, kVenus, kNeptune, kMercury, kNone,
        kMoon, kVenus, kSun, kNone, kMars, kNone, kNone, kNone},
       {{kClosedCycle, {kMoon, kNeptune, kVenus, kMercury}, 1}}},
      // Exaltation: Cancer Jupiter, Pisces Venus, Gemini and Virgo Mercury, Libra Saturn, Leo
      // Pluto (its own), Aries Sun. Sun -> Jupiter -> Venus -> Mercury -> Jupiter.
      {&kSummer1950, Tradition::kWestern, ChainKind::kExaltation,
       {kNone, kJupiter, kVenus, kJupiter, kMercury, kSaturn, kVenus, kMercury, kNone,
        kJupiter, kSaturn, kPluto, kNone, kSun, kNone, kNone, kNone},
       {{kClosedCycle, {kJupiter, kVenus, kMercury}, 1}, {kOwnSign, {kPluto}, 1}}},
      // Exile: Cancer Saturn, Pisces Mercury, Gemini Jupiter, Libra Mars (its own), Virgo
      // Neptune, Leo Uranus, Aries Venus. Sun -> Saturn -> Neptune -> Mars -> Mars.
      {&kSummer1950, Tradition::kWestern, ChainKind::kExile,
       {kNone, kSaturn, kMercury, kSaturn, kJupiter, kMars, kMercury, kNeptune, kNone,
        kSaturn, kMars, kUranus, kNone, kVenus, kNone, kNone, kNone},
       {{kOwnSign, {kMars}, 1}}},
      // Fall: Cancer Mars, Pisces Mercury, Gemini and Virgo Venus (Venus's own), Libra Sun,
      // Leo Neptune, Aries Saturn. Sun -> Mars -> Sun; Venus is reached by no lower walk.
      {&kSummer1950, Tradition::kWestern, ChainKind::kFall,
       {kNone, kMars, kMercury, kMars, kVenus, kSun, kMercury, kVenus, kNone,
        kMars, kSun, kNeptune, kNone, kSaturn, kNone, kNone, kNone},
       {{kClosedCycle, {kSun, kMars}, 1}, {kOwnSign, {kVenus}, 1}}},
      // Avestan rulership: Libra is Chiron's (Mars, Neptune, Прозерпина, Н.Узел), Virgo
      // Прозерпина's (Saturn), Sagittarius Jupiter's (Chiron), Scorpio Pluto's (Selena),
      // Taurus Venus's (Лилит). Sun -> Moon -> Neptune -> Chiron -> Jupiter -> Neptune.
      {&kSummer1950, Tradition::kAvestan, ChainKind::kRulership,
       {kNone, kMoon, kNeptune, kMoon, kMercury, kChiron, kNeptune, kProserpina, kJupiter,
        kMoon, kChiron, kSun, kChiron, kMars, kChiron, kPluto, kVenus},
       {{kClosedCycle, {kNeptune, kChiron, kJupiter}, 1}}},
      // Avestan exaltation: Gemini Прозерпина (Venus), Sagittarius Chiron (its own), Scorpio
      // Uranus (Selena), Taurus Moon (Лилит), Libra Saturn. Sun -> Jupiter -> Venus ->
      // Прозерпина -> Saturn -> Mercury -> Jupiter; then Chiron and Pluto in their own signs.
      {&kSummer1950, Tradition::kAvestan, ChainKind::kExaltation,
       {kNone, kJupiter, kVenus, kJupiter, kProserpina, kSaturn, kVenus, kMercury, kChiron,
        kJupiter, kSaturn, kPluto, kSaturn, kSun, kSaturn, kUranus, kMoon},
       {{kClosedCycle, {kJupiter, kVenus, kProserpina, kSaturn, kMercury}, 1},
        {kOwnSign, {kChiron}, 1},
        {kOwnSign, {kPluto}, 1}}},
      // Avestan exile: Pisces Прозерпина (Moon, Jupiter), Aries Chiron (В.Узел), Sagittarius
      // Mercury (Chiron), Scorpio Venus (Selena), Taurus Pluto (Лилит). Sun -> Saturn ->
      // Neptune -> Mars -> Mars.
      {&kSummer1950, Tradition::kAvestan, ChainKind::kExile,
       {kNone, kSaturn, kProserpina, kSaturn, kJupiter, kMars, kProserpina, kNeptune, kMercury,
        kSaturn, kMars, kUranus, kMars, kChiron, kMars, kVenus, kPluto},
       {{kOwnSign, {kMars}, 1}}},
      // Avestan fall: Gemini Chiron (Venus, so no longer her own), Sagittarius Прозерпина
      // (Chiron), Scorpio Moon (Selena), Taurus Uranus (Лилит). Sun -> Mars -> Sun.
      {&kSummer1950, Tradition::kAvestan, ChainKind::kFall,
       {kNone, kMars, kMercury, kMars, kChiron, kSun, kMercury, kVenus, kProserpina,
        kMars, kSun, kNeptune, kSun, kSaturn, kSun, kMoon, kUranus},
       {{kClosedCycle, {kSun, kMars}, 1}}},

      // 1980, rulership: Virgo Mercury (its own; Sun, Moon, Jupiter, Saturn), Leo Sun (Venus,
      // В.Узел), Scorpio Pluto (Mars, Uranus), Sagittarius Jupiter (Neptune), Libra Venus
      // (Pluto). The Sun's walk reaches Mercury, which disposes itself.
      {&kAutumn1980, Tradition::kWestern, ChainKind::kRulership,
       {kNone, kMercury, kMercury, kMercury, kSun, kPluto, kMercury, kMercury, kNone,
        kPluto, kJupiter, kVenus, kNone, kSun, kNone, kNone, kNone},
       {{kOwnSign, {kMercury}, 1}}},
      // Exaltation: Virgo Mercury, Leo Pluto, Scorpio Uranus (its own), Sagittarius Venus,
      // Libra Saturn. Mercury from the Sun's walk, Uranus from Mars's.
      {&kAutumn1980, Tradition::kWestern, ChainKind::kExaltation,
       {kNone, kMercury, kMercury, kMercury, kPluto, kUranus, kMercury, kMercury, kNone,
        kUranus, kVenus, kSaturn, kNone, kPluto, kNone, kNone, kNone},
       {{kOwnSign, {kMercury}, 1}, {kOwnSign, {kUranus}, 1}}},
      // Exile: Virgo Neptune, Sagittarius Mercury, Leo Uranus, Scorpio Venus, Libra Mars.
      // Sun -> Neptune -> Mercury -> Neptune; Venus -> Uranus -> Venus.
      {&kAutumn1980, Tradition::kWestern, ChainKind::kExile,
       {kNone, kNeptune, kNeptune, kNeptune, kUranus, kVenus, kNeptune, kNeptune, kNone,
        kVenus, kMercury, kMars, kNone, kUranus, kNone, kNone, kNone},
       {{kClosedCycle, {kNeptune, kMercury}, 1}, {kClosedCycle, {kVenus, kUranus}, 1}}},
      // Fall: Virgo Venus, Leo Neptune, Sagittarius Mercury, Scorpio Moon, Libra Sun.
      // Sun -> Venus -> Neptune -> Mercury -> Venus.
      {&kAutumn1980, Tradition::kWestern, ChainKind::kFall,
       {kNone, kVenus, kVenus, kVenus, kNeptune, kMoon, kVenus, kVenus, kNone,
        kMoon, kMercury, kSun, kNone, kNeptune, kNone, kNone, kNone},
       {{kClosedCycle, {kVenus, kNeptune, kMercury}, 1}}},
      // Avestan rulership: Virgo Прозерпина, Libra Chiron (Pluto, Прозерпина, Лилит), Taurus
      // Venus (Chiron), Aquarius Uranus (Н.Узел, Selena). Sun -> Прозерпина -> Chiron ->
      // Venus -> Sun.
      {&kAutumn1980, Tradition::kAvestan, ChainKind::kRulership,
       {kNone, kProserpina, kProserpina, kProserpina, kSun, kPluto, kProserpina, kProserpina, kVenus,
        kPluto, kJupiter, kChiron, kChiron, kSun, kUranus, kUranus, kChiron},
       {{kClosedCycle, {kSun, kProserpina, kChiron, kVenus}, 1}}},
      // Avestan exaltation: as the Western one, with Taurus Moon (Chiron), Sagittarius Chiron
      // (Neptune), Aquarius Neptune (Н.Узел, Selena), Libra Saturn (Прозерпина, Лилит).
      {&kAutumn1980, Tradition::kAvestan, ChainKind::kExaltation,
       {kNone, kMercury, kMercury, kMercury, kPluto, kUranus, kMercury, kMercury, kMoon,
        kUranus, kChiron, kSaturn, kSaturn, kPluto, kNeptune, kNeptune, kSaturn},
       {{kOwnSign, {kMercury}, 1}, {kOwnSign, {kUranus}, 1}}},
      // Avestan exile: as the Western one, with Taurus Pluto (Chiron), Aquarius Sun (Н.Узел,
      // Selena), Libra Mars (Прозерпина, Лилит).
      {&kAutumn1980, Tradition::kAvestan, ChainKind::kExile,
       {kNone, kNeptune, kNeptune, kNeptune, kUranus, kVenus, kNeptune, kNeptune, kPluto,
        kVenus, kMercury, kMars, kMars, kUranus, kSun, kSun, kMars},
       {{kClosedCycle, {kNeptune, kMercury}, 1}, {kClosedCycle, {kVenus, kUranus}, 1}}},
      // Avestan fall: Sagittarius Прозерпина (Neptune), Taurus Uranus (Chiron), Aquarius Pluto
      // (Н.Узел, Selena), Libra Sun (Pluto, Прозерпина, Лилит). Sun -> Venus -> Neptune ->
      // Прозерпина -> Sun.
      {&kAutumn1980, Tradition::kAvestan, ChainKind::kFall,
       {kNone, kVenus, kVenus, kVenus, kNeptune, kMoon, kVenus, kVenus, kUranus,
        kMoon, kProserpina, kSun, kSun, kNeptune, kPluto, kPluto, kSun},
       {{kClosedCycle, {kSun, kVenus, kNeptune, kProserpina}, 1}}},
  };
  return rows;
}

bool InAGroup(const std::vector<ChainGroup>& groups, int object) {
  for (const ChainGroup& group : groups) {
    if (std::find(group.members.begin(), group.members.end(), object) != group.members.end()) return true;
  }
  return false;
}

TEST(ChainsOfCastCharts, EveryKindInBothTraditionsIsTheChainWorkedOutByHand) {
  const std::map<const Instant*, ws::ObjectTable> cast = {{&kSummer1950, Cast(kSummer1950)},
                                                          {&kAutumn1980, Cast(kAutumn1980)}};
  for (const HandChains& row : Expected()) {
    const std::string what = std::string(row.instant->name) +
                             (row.tradition == Tradition::kAvestan ? " Avestan" : " Western") + " kind " +
                             std::to_string(static_cast<int>(row.kind));
    ws::ObjectTable objects = cast.at(row.instant);
    ApplyTraditionFlags(objects, row.tradition);
    const ChartChains chains = BuildChains(objects, ws::DefaultDignityTables(row.tradition), row.kind);
    for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
      const std::vector<int> dispositors =
          row.dispositor[object] == kNone ? std::vector<int>{} : std::vector<int>{row.dispositor[object]};
      EXPECT_EQ(chains.objects[object].dispositors, dispositors) << what << ", object " << object;
      EXPECT_EQ(chains.objects[object].label == kCentreLabel, InAGroup(row.groups, object))
          << what << ", object " << object;
    }
    EXPECT_EQ(chains.groups, row.groups) << what;
  }
}

}  // namespace
}  // namespace kelvara::interpretation
