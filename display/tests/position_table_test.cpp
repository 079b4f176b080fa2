#include "display/position_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "display/chart_wheel.h"
#include "platform/glyph.h"
#include "platform/recording_canvas.h"
#include "workspace/engine_driver.h"
#include "workspace/hexagrams.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::display {
namespace {

namespace ws = workspace;
using ws::testing::Person;

// Cast by the engine from the ephemeris files beside the programs.
ws::ChartRecord Computed(int houseSystem, ws::CalendarMoment local = {1985, 7, 12, 14, 5, 0}) {
  static const ws::EngineDriver driver(std::string(KELVARA_BIN_DIR) + "/");
  ws::ChartRecord chart = Person("Иван", local, 4.0);
  chart.houseSystem = houseSystem;
  EXPECT_EQ(ws::ComputeChart(chart, ws::ComputeContext{driver, nullptr, nullptr, nullptr, ""}),
            ws::ComputeResult::kComputed);
  return chart;
}

PositionTableInput Alone(const ws::ChartRecord& chart) {
  return {&chart.objects, {}, Ring::kInner, chart.houseSystem != ws::kNoHouses};
}

std::string Cell(const PositionTableModel& model, int row, int column) { return model.Cell(row, column).text; }

int RowOfSlot(const PositionTableModel& model, int slot) {
  for (int row = 0; row < model.RowCount(); ++row) {
    if (model.Facts(row).slot == slot) return row;
  }
  return -1;
}

// Degrees, minutes and seconds worked out step by step, carrying by hand.
std::string HandPlace(double longitudeDeg) {
  const double within = longitudeDeg - 30.0 * std::floor(longitudeDeg / 30.0);
  int degrees = int(within);
  int minutes = int((within - degrees) * 60.0);
  int seconds = int(std::lround(((within - degrees) * 60.0 - minutes) * 60.0));
  if (seconds == 60) seconds = 0, ++minutes;
  if (minutes == 60) minutes = 0, ++degrees;
  char text[32];
  std::snprintf(text, sizeof text, "%d°%02d′%02d″", degrees, minutes, seconds);
  return text;
}

int HandHouse(double longitudeDeg, double firstCuspDeg) {
  return int(std::fmod(longitudeDeg - firstCuspDeg + 720.0, 360.0) / 30.0) + 1;
}

TEST(PositionTable, EachVisibleObjectWithAPlaceIsARowOfItsOwnTexts) {
  ws::ChartRecord chart = Computed(ws::kHousePlacidus);
  ws::ObjectTable& objects = chart.objects;
  objects[ws::kSlotChiron].longitude = ws::kNotAvailable;
  objects[ws::kSlotCeres].longitude = -1000.0;
  objects[ws::kSlotMars].visible = 0;
  objects[ws::kSlotSun].SetLongitude(29.0 + 59.0 / 60 + 59.7 / 3600);
  objects[ws::kSlotMoon].SetLongitude(60.0);

  PositionTableModel model;
  model.Show(Alone(chart));
  std::set<int> expected;
  for (int slot = 1; slot <= 34; ++slot) expected.insert(slot);
  for (int gone : {ws::kSlotChiron, ws::kSlotCeres, ws::kSlotMars}) expected.erase(gone);
  std::set<int> listed;
  for (int row = 0; row < model.RowCount(); ++row) {
    const int slot = model.Facts(row).slot;
    listed.insert(slot);
    const ws::ChartObject& object = objects[slot];
    const int sign = int(object.longitude / 30.0) + 1;
    EXPECT_EQ(Cell(model, row, kGlyphColumn), platform::GlyphText(platform::kSlotGlyphCodes[slot])) << slot;
    EXPECT_EQ(Cell(model, row, kNameColumn), ws::ObjectDisplayName(objects, slot));
    EXPECT_EQ(Cell(model, row, kSignColumn), ws::SignName(sign));
    EXPECT_EQ(Cell(model, row, kPlaceColumn), HandPlace(object.longitude)) << slot;
    EXPECT_EQ(Cell(model, row, kRetrogradeColumn), object.speed < 0 ? "R" : "") << slot;
    const bool moving = !ws::IsCuspSlot(slot) && object.speed != ws::kNotAvailable;
    EXPECT_EQ(model.Cell(row, kSpeedColumn).sortNumber.has_value(), moving) << slot;
    if (moving) {
      EXPECT_NEAR(std::stod(Cell(model, row, kSpeedColumn)), object.speed, 5e-5);
    }
    EXPECT_EQ(Cell(model, row, kDegreeColumn), std::to_string(int(object.longitude - 30.0 * (sign - 1)) + 1));
    const int hexagram = ws::HexagramNumber(ws::HexagramCodeOfLongitude(object.longitude));
    EXPECT_EQ(Cell(model, row, kHexagramColumn), hexagram ? std::to_string(hexagram) : "—");
  }
  EXPECT_EQ(listed, expected);
  const int sun = RowOfSlot(model, ws::kSlotSun);
  EXPECT_EQ(Cell(model, sun, kPlaceColumn), "30°00′00″") << "never 60″ nor 60′";
  EXPECT_EQ(Cell(model, sun, kSignColumn), "Овен");
  EXPECT_EQ(Cell(model, sun, kDegreeColumn), "30");
  EXPECT_EQ(Cell(model, RowOfSlot(model, ws::kSlotMoon), kDegreeColumn), "1");
  EXPECT_EQ(Cell(model, RowOfSlot(model, ws::kSlotMoon), kPlaceColumn), "0°00′00″");
}

TEST(PositionTable, HousesComeFromTheChartsCuspsAndAChartWithoutHousesHasNoCusps) {
  const ws::ChartRecord equalSun = Computed(ws::kHouseEqualSun);
  const double sun = equalSun.objects[ws::kSlotSun].longitude;
  PositionTableModel model;
  model.Show(Alone(equalSun));
  for (int row = 0; row < model.RowCount(); ++row) {
    const int slot = model.Facts(row).slot;
    const double longitude = equalSun.objects[slot].longitude;
    if (ws::IsCuspSlot(slot)) {
      EXPECT_NEAR(std::fmod(longitude - sun + 360.0, 30.0), 0.0, 1e-9) << slot;
    }
    EXPECT_EQ(Cell(model, row, kHouseColumn), std::to_string(HandHouse(longitude, sun))) << slot;
  }
  EXPECT_EQ(Cell(model, RowOfSlot(model, ws::kSlotSun), kHouseColumn), "1");

  const ws::ChartRecord noHouses = Computed(ws::kNoHouses);
  model.Show(Alone(noHouses));
  EXPECT_GT(model.RowCount(), 10);
  for (int row = 0; row < model.RowCount(); ++row) {
    EXPECT_FALSE(ws::IsCuspSlot(model.Facts(row).slot));
    EXPECT_EQ(Cell(model, row, kHouseColumn), "");
  }
}

// The wheel's own list, drawn: each object's entries on its side, a repeated entry once.
std::map<int, std::string> DrawnAspects(const WheelInput& wheel, Ring side) {
  platform::RecordingCanvas canvas;
  const WheelHits hits = DrawWheel(canvas, {0, 0, 400, 400}, wheel);
  std::map<int, std::string> bySlot;
  const AspectEntry* previous = nullptr;
  for (const AspectEntry& entry : hits.aspects) {
    if (previous && previous->text == entry.text && previous->innerSlot == entry.innerSlot) continue;
    previous = &entry;
    std::vector<int> slots{side == Ring::kOuter ? entry.outerSlot : entry.innerSlot};
    if (!wheel.outer) slots = {entry.innerSlot, entry.outerSlot};
    for (int slot : slots) bySlot[slot] += (bySlot[slot].empty() ? "" : "; ") + entry.text;
  }
  return bySlot;
}

void ExpectAspectsOfTheWheel(WheelInput wheel, ws::ObjectTable& objects, Ring side) {
  PositionTableModel model;
  model.Show({&objects, WheelAspectFinder(wheel), side, true});
  std::map<int, std::string> drawn = DrawnAspects(wheel, side);
  int withAspects = 0;
  for (int row = 0; row < model.RowCount(); ++row) {
    const int slot = model.Facts(row).slot;
    EXPECT_EQ(Cell(model, row, kAspectsColumn), drawn[slot]) << slot;
    withAspects += !drawn[slot].empty();
  }
  EXPECT_GT(withAspects, 3);
}

TEST(PositionTable, AnObjectsAspectsAreThoseTheWheelDrawsForIt) {
  ws::ChartRecord main = Computed(ws::kHousePlacidus);
  ws::ChartRecord second = Computed(ws::kHousePlacidus, {1990, 3, 1, 8, 0, 0});
  const ws::AspectTable single = ws::DefaultSingleChartAspects();
  const ws::AspectTable between = ws::DefaultTwoChartAspects();
  WheelInput one;
  one.inner = &main.objects;
  one.aspects = &single;
  ExpectAspectsOfTheWheel(one, main.objects, Ring::kInner);
  WheelInput two = one;
  two.outer = &second.objects;
  two.outerName = second.name;
  two.aspects = &between;
  ExpectAspectsOfTheWheel(two, main.objects, Ring::kInner);
  ExpectAspectsOfTheWheel(two, second.objects, Ring::kOuter);
}

TEST(PositionTable, NumericColumnsSortByTheirNumberStably) {
  ws::ChartRecord chart = Computed(ws::kHousePlacidus);
  chart.objects[ws::kSlotMercury].speed = 10.0;
  chart.objects[ws::kSlotVenus].speed = 9.0;
  PositionTableModel model;
  model.Show(Alone(chart));
  platform::GridRowOrder order;
  order.HeaderClicked(model, kSpeedColumn);
  std::vector<double> speeds;
  std::vector<int> unmoving;  // cusps and points without a known speed
  for (int row : order.ModelRows()) {
    const auto& key = model.Cell(row, kSpeedColumn).sortNumber;
    if (key) speeds.push_back(*key);
    if (!key) unmoving.push_back(model.Facts(row).slot);
  }
  EXPECT_TRUE(std::is_sorted(speeds.begin(), speeds.end()));
  EXPECT_LT(std::find(speeds.begin(), speeds.end(), 9.0), std::find(speeds.begin(), speeds.end(), 10.0))
      << "+9.0000 before +10.0000, not by its text";
  EXPECT_TRUE(std::is_sorted(unmoving.begin(), unmoving.end())) << "equal keys keep the chart's order";
  EXPECT_GE(unmoving.size(), 12u);
}

}  // namespace
}  // namespace kelvara::display
