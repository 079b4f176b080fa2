// The view's picture area and the scale factors every picture draws with. The pictures
// were laid out for a 240-pixel-wide handheld screen; a larger window scales them.
#pragma once

#include <algorithm>
#include <cmath>

#include "platform/geometry.h"
#include "platform/view_scale.h"

namespace kelvara::app {

// The short side of the handheld's screen, in pixels, that the layouts were made for.
inline constexpr double kDesignShortSide = 240.0;

struct ViewMetrics {
  platform::Rect rect;        // the picture area, logical pixels
  double displayScale = 1.0;  // lengths of the layout multiply by this
  int lineScale = 1;          // pen widths multiply by this, never below 1
  platform::ViewScale scale;  // the same factors as the pictures take them
  bool wallpaperUnder = false;  // the wallpaper is drawn: pictures fill no background

  friend bool operator==(const ViewMetrics&, const ViewMetrics&) = default;
};

// Metrics of a picture area of the given logical size at the origin.
inline ViewMetrics MetricsForSize(int width, int height) {
  ViewMetrics metrics;
  metrics.rect = {0, 0, std::max(width, 0), std::max(height, 0)};
  metrics.scale = platform::ViewScaleOf({metrics.rect.Width(), metrics.rect.Height()});
  metrics.displayScale = metrics.scale.display;
  metrics.lineScale = metrics.scale.line;
  return metrics;
}

}  // namespace kelvara::app
