// The chains of dispositors: the worked cases, the mends, and a brute-force check of the
// centres over random charts.
#include "interpretation/dispositor_chains.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
using Signs = std::map<int, int>;  // object number -> sign 0-11

enum Sign { kAries, kTaurus, kGemini, kCancer, kLeo, kVirgo, kLibra, kScorpio, kSagittarius, kCapricorn };

// Objects 1-16 placed in mid-sign; the ones not given sit in Sagittarius (ruled by Jupiter)
// unless hidden.
ws::ObjectTable Chart(const Signs& signs, const std::set<int>& hidden = {}) {
  ws::ObjectTable objects{};
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    const auto given = signs.find(object);
    objects[object].SetLongitude((given == signs.end() ? kSagittarius : given->second) * 30.0 + 15.0);
    objects[object].visible = hidden.count(object) ? 0 : 1;
  }
  return objects;
}

ws::ObjectTable ChartWithAllHiddenBut(const Signs& signs) {
  std::set<int> hidden;
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    if (!signs.count(object)) hidden.insert(object);
  }
  return Chart(signs, hidden);
}

const ws::DignityTables kWestern = ws::DefaultDignityTables(ws::Tradition::kWestern);
const ws::DignityTables kAvestan = ws::DefaultDignityTables(ws::Tradition::kAvestan);
constexpr int kSun = 1, kMoon = 2, kMercury = 3, kVenus = 4, kMars = 5, kJupiter = 6, kSaturn = 7, kProserpina = 12;

TEST(BuildChains, WorkedCasesOfOwnSignsReceptionsAndHiddenRulers) {
  // The Sun in Leo rules itself.
  auto chains = BuildChains(ChartWithAllHiddenBut({{kSun, kLeo}}), kWestern, ChainKind::kRulership);
  EXPECT_EQ(chains.objects[kSun].dispositors, std::vector<int>{kSun});
  EXPECT_EQ(chains.objects[kSun].label, kCentreLabel);
  ASSERT_EQ(chains.groups.size(), 1u);
  EXPECT_EQ(chains.groups[0], (ChainGroup{kOwnSign, {kSun}, 1}));

  // Venus in Gemini and Mercury in Libra: one cycle, entered at Mercury.
  chains = BuildChains(ChartWithAllHiddenBut({{kMercury, kLibra}, {kVenus, kGemini}}), kWestern, ChainKind::kRulership);
  ASSERT_EQ(chains.groups.size(), 1u);
  EXPECT_EQ(chains.groups[0], (ChainGroup{kClosedCycle, {kMercury, kVenus}, 1}));
  EXPECT_EQ(chains.objects[kVenus].label, kCentreLabel);
  EXPECT_EQ(chains.objects[kVenus].mark, kMercury);
  // A Sun in Taurus walks first and enters the cycle at Venus.
  chains = BuildChains(ChartWithAllHiddenBut({{kSun, kTaurus}, {kMercury, kLibra}, {kVenus, kGemini}}), kWestern,
                       ChainKind::kRulership);
  ASSERT_EQ(chains.groups.size(), 1u);
  EXPECT_EQ(chains.groups[0].members, (std::vector<int>{kVenus, kMercury}));
  EXPECT_TRUE(chains.objects[kSun].label.empty());

  // Avestan Virgo is Proserpina's; hidden, she ends the chain without a centre.
  const Signs virgo = {{kMoon, kVirgo}, {kProserpina, kVirgo}};
  chains = BuildChains(Chart(virgo, {kProserpina}), kAvestan, ChainKind::kRulership);
  EXPECT_TRUE(chains.objects[kMoon].dispositors.empty());
  EXPECT_TRUE(chains.objects[kMoon].label.empty());
  chains = BuildChains(ChartWithAllHiddenBut(virgo), kAvestan, ChainKind::kRulership);
  EXPECT_EQ(chains.objects[kMoon].dispositors, std::vector<int>{kProserpina});

  // Every other table follows its own kind: the Sun is exalted in Aries.
  chains = BuildChains(ChartWithAllHiddenBut({{kSun, kAries}}), kWestern, ChainKind::kExaltation);
  EXPECT_EQ(chains.groups, (std::vector<ChainGroup>{{kOwnSign, {kSun}, 1}}));
  EXPECT_TRUE(BuildChains(ChartWithAllHiddenBut({{kSun, kAries}}), kWestern, ChainKind::kNone).groups.empty());
}

TEST(BuildChains, LongerChainsJoinEarlierWalksAndShareOneFinalDispositor) {
  // Moon in Aries -> Mars in Capricorn -> Saturn in Sagittarius -> Jupiter in Sagittarius.
  // Every object not given stands in Sagittarius, so all end at Jupiter.
  const auto chains =
      BuildChains(Chart({{kMoon, kAries}, {kMars, kCapricorn}, {kSaturn, kSagittarius}}), kWestern, ChainKind::kRulership);
  ASSERT_EQ(chains.groups.size(), 1u);
  EXPECT_EQ(chains.groups[0], (ChainGroup{kOwnSign, {kJupiter}, 1}));
  EXPECT_EQ(chains.objects[kJupiter].dispositees.size(), 14u);  // all but the Moon and Mars
  EXPECT_EQ(chains.objects[kSaturn].mark, kMoon) << "the Moon's walk reached Saturn first";
  EXPECT_EQ(chains.objects[kJupiter].mark, kSun);
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    EXPECT_EQ(chains.objects[object].label.empty(), object != kJupiter) << object;
  }
}

TEST(BuildChains, MendedCases) {
  // Sun and Mars in Aries: Mars's first dispositee is the Sun, yet Mars is in its own sign.
  auto chains = BuildChains(ChartWithAllHiddenBut({{kSun, kAries}, {kMars, kAries}}), kWestern, ChainKind::kRulership);
  EXPECT_EQ(chains.groups, (std::vector<ChainGroup>{{kOwnSign, {kMars}, 1}}));
  // A three-object cycle: Mars in Taurus -> Venus in Aquarius -> Uranus in Aries -> Mars.
  constexpr int kUranus = 9;
  chains = BuildChains(ChartWithAllHiddenBut({{kMars, kTaurus}, {kVenus, 10}, {kUranus, kAries}}), kWestern,
                       ChainKind::kRulership);
  EXPECT_EQ(chains.groups, (std::vector<ChainGroup>{{kClosedCycle, {kVenus, kUranus, kMars}, 1}}));
  // An object without a position keeps a stale sign: it neither disposes nor is disposed.
  ws::ObjectTable objects = ChartWithAllHiddenBut({{kSun, kLeo}, {kMoon, kLeo}});
  objects[kSun].longitude = -1000.0;
  chains = BuildChains(objects, kWestern, ChainKind::kRulership);
  EXPECT_TRUE(chains.objects[kMoon].dispositors.empty());
  EXPECT_TRUE(chains.objects[kSun].dispositors.empty() && chains.objects[kSun].dispositees.empty());
  EXPECT_TRUE(chains.groups.empty());
  // Edited tables with a sign of no object, or of several, build without fault.
  ws::DignityTables edited = kWestern;
  edited.rulership[kLeo] = {};
  edited.rulership[kAries].fill(1);
  chains = BuildChains(Chart({{kSun, kLeo}, {kMoon, kAries}}), edited, ChainKind::kRulership);
  EXPECT_TRUE(chains.objects[kSun].dispositors.empty());
  EXPECT_EQ(chains.objects[kMoon].dispositors.size(), 16u);
}

// The first dispositor of each object, followed from it, comes back to it exactly for the
// centres; the groups partition the centres, and a group of one is an own-sign group.
TEST(BuildChains, CentresAreTheObjectsThatReturnToThemselves) {
  std::mt19937 random(20261209);
  const ChainKind kinds[] = {ChainKind::kRulership, ChainKind::kExaltation, ChainKind::kExile, ChainKind::kFall};
  for (int trial = 0; trial < 10000; ++trial) {
    ws::ObjectTable objects{};
    for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
      objects[object].SetLongitude(static_cast<double>(random() % 360));
      objects[object].visible = random() % 4 != 0;
    }
    const ws::DignityTables& tables = trial % 2 ? kAvestan : kWestern;
    const ChainKind kind = kinds[trial % 4];
    const ChartChains chains = BuildChains(objects, tables, kind);
    std::multiset<int> grouped;
    for (const ChainGroup& group : chains.groups) {
      grouped.insert(group.members.begin(), group.members.end());
      EXPECT_EQ(group.type == kOwnSign, group.members.size() == 1) << trial;
    }
    for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
      int at = object;
      bool returns = false;
      for (int step = 0; step < kLastChainObject && !returns; ++step) {
        const std::vector<int>& next = chains.objects[at].dispositors;
        if (next.empty()) break;
        at = next.front();
        returns = at == object;
      }
      ASSERT_EQ(chains.objects[object].label == kCentreLabel, returns) << "trial " << trial << " object " << object;
      ASSERT_EQ(grouped.count(object), returns ? 1u : 0u) << "trial " << trial << " object " << object;
    }
  }
}

}  // namespace
}  // namespace kelvara::interpretation
