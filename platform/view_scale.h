// How much larger than the handheld's 240 x 320 screen a picture is drawn. The short
// and the long side stand for the handheld's width and height, so a landscape window
// scales as the portrait screen did.
#pragma once

#include <algorithm>

#include "platform/geometry.h"

namespace kelvara::platform {

inline constexpr double kDesignWidth = 240.0;
inline constexpr int kDesignHeight = 320;

struct ViewScale {
  double display = 1.0;          // layout lengths multiply by this
  int line = 1;                  // vertical layout units and pen widths multiply by this
  double lineWidthFactor = 1.0;  // aspect pens of width 2 or more multiply by this
  friend bool operator==(const ViewScale&, const ViewScale&) = default;
};

inline ViewScale ViewScaleOf(Size size) {
  const int shortSide = std::min(size.width, size.height);
  const int longSide = std::max(size.width, size.height);
  ViewScale scale;
  scale.display = std::max(1.0, shortSide / kDesignWidth);
  scale.line = std::max(1, longSide / kDesignHeight);
  scale.lineWidthFactor = scale.display;
  return scale;
}

}  // namespace kelvara::platform
