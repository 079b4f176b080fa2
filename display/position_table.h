// The position table of a chart: one row for each visible object with a place, its
// glyph, name, sign, place in the sign, motion, house, ordinal degree, hexagram and the
// aspects the wheel finds for it.
#pragma once

#include <string>
#include <vector>

#include "display/glyph_placement.h"
#include "platform/grid_model.h"
#include "workspace/aspect_finder.h"
#include "workspace/chart_record.h"

namespace kelvara::display {

enum PositionColumn : int {
  kGlyphColumn,
  kNameColumn,
  kSignColumn,
  kPlaceColumn,
  kRetrogradeColumn,
  kSpeedColumn,
  kHouseColumn,
  kDegreeColumn,
  kHexagramColumn,
  kAspectsColumn,
  kPositionColumnCount
};

inline constexpr const char* kNoHexagramText = "—";

struct PositionTableInput {
  const workspace::ObjectTable* objects = nullptr;  // the table's chart
  // The wheel's question to the aspect finder (WheelAspectFinder); no table, no aspects.
  workspace::AspectFinderInput aspects;
  // The side of the found pairs the table's chart stands on, in a double chart.
  Ring side = Ring::kInner;
  // The chart has a house system; a chart without one keeps stale cusps.
  bool houses = true;
};

// What a row's cells were made of.
struct PositionRowFacts {
  int slot = 0;
  int sign = 0;      // 1-12
  int degree = 0;    // ordinal degree within the sign, 1-30
  int hexagram = 0;  // King Wen number, 0 for none
};

// 1 for 0°00′ up to 30 for the last degree of a sign.
int OrdinalDegree(double longitudeDeg);

class PositionTableModel : public platform::GridTable {
 public:
  PositionTableModel();
  // Rebuilds the rows and tells the grid.
  void Show(const PositionTableInput& input);
  const PositionRowFacts& Facts(int row) const { return facts_[row]; }
  // The glyphs are characters of the glyph font, no text anywhere else.
  bool ColumnExported(int column) const override { return column != kGlyphColumn; }

 private:
  std::vector<PositionRowFacts> facts_;
};

}  // namespace kelvara::display
