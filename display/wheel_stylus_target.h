// The wheel as the stylus sees it: the glyph squares and hexagrams it drew, and where a
// dropped glyph goes.
#pragma once

#include <string>

#include "display/chart_view_stylus.h"
#include "display/chart_wheel.h"

namespace kelvara::display {

// "Солнце 15°23′45″ Рак R": the first line of an object's information window.
std::string ObjectPositionLine(const workspace::ObjectTable& objects, int slot);

struct WheelCharts {
  workspace::ObjectTable* first = nullptr;   // chart 1, the main chart
  workspace::ObjectTable* second = nullptr;  // chart 2, or null when it is not shown
  bool secondAlone = false;                  // chart 2 drawn by itself
};

class WheelStylusTarget : public StylusTarget {
 public:
  WheelStylusTarget(const WheelHits& hits, WheelCharts charts, const WheelOptions& options);

  std::optional<GlyphUnder> GlyphAt(platform::Point point) const override;
  std::optional<int> HexagramAt(platform::Point point) const override;
  int DragSquareSide() const override { return hits_.layout.g; }
  bool Drop(const GlyphUnder& glyph, platform::Point point) override;
  std::vector<std::string> InformationLines(const GlyphUnder& glyph) const override;
  bool SwipeLeftAllowed() const override { return charts_.second != nullptr && !charts_.secondAlone; }

 private:
  workspace::ObjectTable* TableOf(int chart) const;
  Ring RingOf(int chart) const;
  bool EntryConcerns(const AspectEntry& entry, const GlyphUnder& glyph) const;

  const WheelHits& hits_;
  WheelCharts charts_;
  WheelOptions options_;
};

}  // namespace kelvara::display
