#include "display/position_table.h"

#include <array>
#include <cmath>
#include <string_view>

#include "display/chart_wheel.h"
#include "display/wheel_layout.h"
#include "platform/glyph.h"
#include "workspace/driver_points.h"
#include "workspace/hexagrams.h"
#include "workspace/position_text.h"

namespace kelvara::display {
namespace {

namespace ws = workspace;
using platform::GridCell;

constexpr const char* kRetrogradeMark = "R";
constexpr std::string_view kAspectSeparator = "; ";

std::vector<std::string> Headers() {
  return {"", "Объект", "Знак", "Положение", "R", "Скорость", "Дом", "Градус", "И-Цзин", "Аспекты"};
}

GridCell Text(std::string text) { return {std::move(text), std::nullopt, std::nullopt, std::nullopt}; }

GridCell Number(std::string text, double key) { return {std::move(text), key, std::nullopt, std::nullopt}; }

// A number shown only when it is there (non-zero).
GridCell CountCell(int value) { return value > 0 ? Number(std::to_string(value), value) : Text(""); }

using AspectTexts = std::array<std::string, ws::kSlotCount>;  // by slot

int SlotOnSide(const ws::FoundAspect& found, Ring side) {
  return side == Ring::kOuter ? found.outerSlot : found.innerSlot;
}

void Append(std::string& list, const std::string& text) {
  if (!list.empty()) list += kAspectSeparator;
  list += text;
}

// Each slot's descriptions of the wheel's aspects, in the finder's order.
AspectTexts AspectsBySlot(const PositionTableInput& input) {
  AspectTexts texts;
  const ws::AspectFinderInput& finder = input.aspects;
  if (!finder.table || !finder.inner || !finder.outer) return texts;
  for (const ws::FoundAspect& found : ws::FindAspects(finder)) {
    const std::string text = WheelAspectEntry(finder, found).text;
    if (finder.twoCharts) {
      Append(texts[SlotOnSide(found, input.side)], text);
    } else {
      Append(texts[found.innerSlot], text);
      Append(texts[found.outerSlot], text);
    }
  }
  return texts;
}

bool Listed(const ws::ObjectTable& objects, int slot, bool houses) {
  const ws::ChartObject& object = objects[slot];
  return object.visible && object.HasLongitude() && (houses || !ws::IsCuspSlot(slot));
}

GridCell SpeedCell(const ws::ChartObject& object, int slot) {
  const std::string text = ws::SpeedText(object, slot);
  return text.empty() ? Text("") : Number(text, object.speed);
}

GridCell HexagramCell(int number) {
  return number > 0 ? Number(std::to_string(number), number) : Text(kNoHexagramText);
}

platform::GridRow RowOf(const ws::ObjectTable& objects, int slot, bool houses, const PositionRowFacts& facts,
                        std::string aspects) {
  const ws::ChartObject& object = objects[slot];
  platform::GridRow row;
  row.cells = {Text(platform::GlyphText(platform::SlotGlyphCode(slot))),
               Text(ws::ObjectDisplayName(objects, slot)),
               Number(std::string(ws::SignName(facts.sign)), facts.sign),
               Number(ws::SignArcText(ws::RoundedSignArc(object.longitude)), object.longitude),
               Text(object.retrograde ? kRetrogradeMark : ""),
               SpeedCell(object, slot),
               CountCell(houses ? ws::HouseOfLongitude(objects, object.longitude) : 0),
               Number(std::to_string(facts.degree), facts.degree),
               HexagramCell(facts.hexagram),
               Text(std::move(aspects))};
  return row;
}

}  // namespace

int OrdinalDegree(double longitudeDeg) {
  return static_cast<int>(std::floor(std::fmod(longitudeDeg, ws::kDegreesPerSign))) + 1;
}

PositionTableModel::PositionTableModel() : GridTable(Headers()) {}

void PositionTableModel::Show(const PositionTableInput& input) {
  facts_.clear();
  std::vector<platform::GridRow> rows;
  if (input.objects) {
    const ws::ObjectTable& objects = *input.objects;
    const bool houses = input.houses && HasHouses(objects);
    AspectTexts aspects = AspectsBySlot(input);
    for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
      if (!Listed(objects, slot, houses)) continue;
      const ws::ChartObject& object = objects[slot];
      const PositionRowFacts facts{slot, object.sign, OrdinalDegree(object.longitude),
                                   ws::HexagramNumber(ws::HexagramCodeOfLongitude(object.longitude))};
      facts_.push_back(facts);
      rows.push_back(RowOf(objects, slot, houses, facts, std::move(aspects[slot])));
    }
  }
  SetRows(std::move(rows));
}

}  // namespace kelvara::display
