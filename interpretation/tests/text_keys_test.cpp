#include "interpretation/text_keys.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/codepage.h"

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;
using Keys = std::set<std::string>;

ws::ChartRecord EmptyChart(int houseSystem = ws::kHousePlacidus) {
  ws::ChartRecord chart;
  chart.houseSystem = houseSystem;
  for (auto& object : chart.objects) object.SetLongitude(ws::kNotAvailable);
  return chart;
}

// Cusp 1 at 345° (Pisces), then every 30°, so house 1 wraps over 0° Aries.
void SetWrappingCusps(ws::ChartRecord& chart) {
  for (int house = 1; house <= ws::kCuspCount; ++house)
    chart.objects[ws::kSlotFirstCusp + house - 1].SetLongitude(std::fmod(345.0 + 30.0 * (house - 1), 360.0));
}

ws::ChartRecord HandBuiltChart() {
  ws::ChartRecord chart = EmptyChart();
  SetWrappingCusps(chart);
  chart.objects[ws::kSlotSun].SetLongitude(350.0);
  chart.objects[ws::kSlotMoon].SetLongitude(5.0);
  chart.objects[ws::kSlotMercury].SetLongitude(15.0);  // right on cusp 2
  chart.objects[ws::kSlotProserpina].SetLongitude(100.0);
  chart.objects[ws::kSlotMars].SetLongitude(40.0);
  chart.objects[ws::kSlotMars].sign = 13;
  chart.objects[ws::kSlotJupiter].SetLongitude(200.0);
  chart.objects[ws::kSlotJupiter].visible = 0;
  return chart;
}

Keys Utf8(const KeySets& sets, KeyFile file) {
  Keys keys;
  if (auto it = sets.find(file); it != sets.end())
    for (const auto& key : it->second) keys.insert(platform::Cp1251ToUtf8(key));
  return keys;
}

const ws::DignityTable kAvestanRulers = ws::DefaultDignityTables(ws::Tradition::kAvestan).rulership;

KeySets KeysOf(const ws::WorkspaceState& state, std::vector<std::string> aspects = {}) {
  return BuildKeySets({&state, &kAvestanRulers, std::move(aspects), {}});
}

TEST(TextKeysTest, SingleChartSignsHousesAndRulers) {
  ws::WorkspaceState state;
  state.main = HandBuiltChart();
  const KeySets sets = KeysOf(state);
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetInSign),
            (Keys{"Солнце -> Рыбы", "Луна -> Овен", "Меркурий -> Овен", "Прозерпина -> Рак"}));
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetInHouse),
            (Keys{"Солнце -> в 1-ом Доме гороскопа", "Луна -> в 1-ом Доме гороскопа",
                  "Меркурий -> в 2-ом Доме гороскопа", "Прозерпина -> в 4-ом Доме гороскопа"}));
  EXPECT_EQ(Utf8(sets, KeyFile::kRulerInHouse),
            (Keys{"Управитель 4-го Дома гороскопа -> в 2-ом Доме гороскопа",
                  "Управитель 5-го Дома гороскопа -> в 1-ом Доме гороскопа",
                  "Управитель 6-го Дома гороскопа -> в 1-ом Доме гороскопа",
                  "Управитель 7-го Дома гороскопа -> в 4-ом Доме гороскопа"}));
  const Keys cuspSigns = Utf8(sets, KeyFile::kCuspInSign);
  EXPECT_EQ(cuspSigns.size(), 12u);
  EXPECT_TRUE(cuspSigns.count("Куспид 1-го Дома гороскопа -> Рыбы"));
  EXPECT_TRUE(cuspSigns.count("Куспид 7-го Дома гороскопа -> Дева"));
  const Keys cuspHouses = Utf8(sets, KeyFile::kCuspInHouse);
  EXPECT_EQ(cuspHouses.size(), 12u);
  EXPECT_TRUE(cuspHouses.count("Куспид 1-го Дома гороскопа -> в 1-ом Доме гороскопа"));
  EXPECT_TRUE(Utf8(sets, KeyFile::kFirstInHouse).empty());
}

TEST(TextKeysTest, NoHousesNoHouseKeys) {
  ws::WorkspaceState state;
  state.main = HandBuiltChart();
  state.main.houseSystem = ws::kNoHouses;
  const KeySets sets = KeysOf(state, {"Луна + 90 + IV_Дом"});
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetInSign).size(), 4u);
  for (KeyFile file : {KeyFile::kPlanetInHouse, KeyFile::kCuspInSign, KeyFile::kCuspInHouse,
                       KeyFile::kRulerInHouse, KeyFile::kRulerAspectCusp})
    EXPECT_TRUE(Utf8(sets, file).empty());
}

TEST(TextKeysTest, AspectKeysWithAndWithoutTrailingBlank) {
  ws::WorkspaceState state;
  state.main = HandBuiltChart();
  const KeySets sets = KeysOf(state, {"Солнце + 0 + Луна", "Луна + 90 + IV_Дом", "I_Дом + 60 + Меркурий"});
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetAspectPlanet),
            (Keys{"Солнце + 0 + Луна", "Луна + 90 + IV_Дом", "I_Дом + 60 + Меркурий"}));
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetAspectCusp),
            (Keys{"Луна + 90 + куспид 4-го Дома гороскопа", "Луна + 90 + куспид 4-го Дома гороскопа "}));
  EXPECT_EQ(Utf8(sets, KeyFile::kCuspAspectPlanet),
            (Keys{"Куспид 1-го Дома гороскопа + 60 + Меркурий", "Куспид 1-го Дома гороскопа  + 60 + Меркурий"}));
  EXPECT_EQ(Utf8(sets, KeyFile::kRulerAspectCusp),
            (Keys{"Управитель 5-го Дома гороскопа + 90 + куспид 4-го Дома гороскопа",
                  "Управитель 5-го Дома гороскопа + 90 + куспид 4-го Дома гороскопа ",
                  "Управитель 5-го Дома гороскопа  + 90 + куспид 4-го Дома гороскопа",
                  "Управитель 5-го Дома гороскопа  + 90 + куспид 4-го Дома гороскопа "}));
}

TEST(TextKeysTest, DoubleChartOuterPointsInInnerHouses) {
  ws::WorkspaceState state;
  state.doubleChart = true;
  state.main = HandBuiltChart();
  state.second = EmptyChart(ws::kNoHouses);
  state.second.name = "Пётр";
  state.second.objects[ws::kSlotSun].SetLongitude(20.0);
  const KeySets sets = KeysOf(state);
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetInSign), (Keys{"Солнце -> Овен"}));
  EXPECT_EQ(Utf8(sets, KeyFile::kPlanetInHouse), (Keys{"Солнце -> в 2-ом Доме гороскопа"}));
  EXPECT_EQ(Utf8(sets, KeyFile::kSecondInHouse), (Keys{"Солнце 2 -> в 2-ом Доме гороскопа."}));
  EXPECT_TRUE(Utf8(sets, KeyFile::kFirstInHouse).empty());  // the outer chart has no houses
  EXPECT_TRUE(Utf8(sets, KeyFile::kCuspInSign).empty());

  state.second.houseSystem = ws::kHouseEqual;
  SetWrappingCusps(state.second);
  EXPECT_TRUE(Utf8(KeysOf(state), KeyFile::kFirstInHouse).count("Прозерпина 1 -> в 4-ом Доме гороскопа."));
}

TEST(TextKeysTest, CompositePersonsInCompositeHouses) {
  ws::WorkspaceState state;
  state.main = EmptyChart();
  state.main.name = "Комп.карта (А + Б)";
  SetWrappingCusps(state.main);
  state.merged = ws::MergedSaves{EmptyChart(), EmptyChart()};
  state.merged->main.objects[ws::kSlotSun].SetLongitude(350.0);
  state.merged->second.objects[ws::kSlotMoon].SetLongitude(20.0);
  EXPECT_EQ(Utf8(KeysOf(state), KeyFile::kFirstInHouse),
            (Keys{"Солнце 1 -> в 1-ом Доме композита", "Луна 2 -> в 2-ом Доме композита"}));
}

TEST(TextKeysTest, HouseRuleAndFileNames) {
  ws::ChartRecord chart = EmptyChart();
  SetWrappingCusps(chart);
  EXPECT_TRUE(LiesInHouse(chart.objects, 345.0, 1));
  EXPECT_TRUE(LiesInHouse(chart.objects, 0.0, 1));
  EXPECT_FALSE(LiesInHouse(chart.objects, 344.9, 1));
  EXPECT_EQ(KeyFileOfName("RL_A_HS.TXT"), KeyFile::kRulerAspectCusp);
  EXPECT_FALSE(KeyFileOfName("pl_zs.txt"));
}

}  // namespace
}  // namespace kelvara::interpretation
