// The least position table of a chart: one row per visible object with a place.
#pragma once

#include <string>
#include <vector>

#include "workspace/chart_record.h"

namespace kelvara::app {

struct PositionRow {
  int glyphCode = 0;  // of the glyph font
  std::string name;
  std::string sign;
  std::string position;  // "12°34′56″" within the sign
  std::string speed;     // degrees a day, "" when unknown
  bool retrograde = false;
};

std::vector<PositionRow> PositionRows(const workspace::ChartRecord& chart);

// The caption of the table window: the chart's name, or its title when it has none.
std::string PositionTableTitle(const workspace::ChartRecord& chart);

}  // namespace kelvara::app
