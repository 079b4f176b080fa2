#include "app/position_rows.h"

#include <cstdio>

#include "display/wheel_stylus_target.h"
#include "platform/glyph.h"

namespace kelvara::app {

namespace ws = workspace;

std::vector<PositionRow> PositionRows(const ws::ChartRecord& chart) {
  std::vector<PositionRow> rows;
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
    const ws::ChartObject& object = chart.objects[slot];
    if (!object.visible || !object.HasLongitude()) continue;
    PositionRow row;
    row.glyphCode = platform::SlotGlyphCode(slot);
    row.name = ws::ObjectDisplayName(chart.objects, slot);
    const std::string text = display::PositionText(object);
    const std::size_t blank = text.rfind(' ');
    row.position = text.substr(0, blank);
    row.sign = blank == std::string::npos ? std::string() : text.substr(blank + 1);
    if (object.speed != ws::kNotAvailable) {
      char speed[32];
      std::snprintf(speed, sizeof speed, "%.4f", object.speed);
      row.speed = speed;
    }
    row.retrograde = object.retrograde != 0;
    rows.push_back(row);
  }
  return rows;
}

std::string PositionTableTitle(const ws::ChartRecord& chart) {
  return chart.name.empty() ? chart.title : chart.name;
}

}  // namespace kelvara::app
