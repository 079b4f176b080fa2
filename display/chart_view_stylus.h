// The stylus on the chart view: glyphs dragged to new places, taps that open a glyph's
// information window or a hexagram's short text, and long swipes that open the
// position tables. The model answers each event with what the view should do; the
// picture under the stylus (the wheel, the chains) stands behind `StylusTarget`.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace kelvara::display {

inline constexpr int kTapTravelPx = 9;     // a gesture moving this far or less is a tap
inline constexpr int kSwipeTravelPx = 80;  // a sideways move beyond this opens a table

enum class GestureMode { kDrag, kInformation };

// A glyph under the stylus: its chart (1 or 2), slot and drawn square.
struct GlyphUnder {
  int chart = 1;
  int slot = 0;
  platform::Rect square;
  friend bool operator==(const GlyphUnder&, const GlyphUnder&) = default;
};

// The drop point seen from the picture's centre: the angle, degrees, measured as the
// screen's y grows (downwards), and the distance, pixels.
struct DropGeometry {
  double alphaDeg = 0.0;
  double distancePx = 0.0;
};

// None at the centre itself, where no angle exists.
std::optional<DropGeometry> DropGeometryOf(platform::Point centre, platform::Point drop);

class StylusTarget {
 public:
  virtual ~StylusTarget() = default;
  virtual std::optional<GlyphUnder> GlyphAt(platform::Point point) const = 0;
  // The hexagram's King Wen number under the point (0 for one without a number).
  virtual std::optional<int> HexagramAt(platform::Point) const { return std::nullopt; }
  virtual int DragSquareSide() const = 0;
  // The first move of a drag (the chains keep their arrangement from then on).
  virtual void DragStarted(const GlyphUnder&) {}
  // Stores the glyph's new place; false when the drop changed nothing.
  virtual bool Drop(const GlyphUnder& glyph, platform::Point point) = 0;
  // The information window's lines: the position first, then what the picture adds.
  virtual std::vector<std::string> InformationLines(const GlyphUnder& glyph) const = 0;
  virtual bool SwipeLeftAllowed() const = 0;  // a double chart, and not the chains
};

enum class StylusActionKind {
  kNone,
  kStartDrag,        // square: the drag square
  kMoveDrag,         // square: where the drag square is now
  kDrop,             // repaint the whole view
  kShowInformation,  // lines at corner
  kShowText,         // title and body at corner
  kOpenPositionTable,  // chart
  kCloseWindows,
};

struct StylusAction {
  StylusActionKind kind = StylusActionKind::kNone;
  platform::Rect square;
  platform::Point corner;
  std::vector<std::string> lines;
  std::string title;
  std::string body;
  int chart = 0;
};

// "%d И-Цзин short" answered: the hexagram's text, empty when there is none.
using ShortTextSource = std::function<std::string(int hexagramNumber)>;

// The request a hexagram tap sends for its short text.
std::string HexagramShortRequest(int number);

class ChartViewStylus {
 public:
  ChartViewStylus(StylusTarget& target, ShortTextSource shortText);

  StylusAction Down(platform::Point point);
  StylusAction Move(platform::Point point);
  StylusAction Up(platform::Point point);
  // The view closed its small windows (Esc, a command).
  void WindowsClosed() { windowOpen_ = false; }

  GestureMode Mode() const { return mode_; }
  bool Dragging() const { return dragged_.has_value(); }
  bool WindowOpen() const { return windowOpen_; }

 private:
  StylusAction OpenHexagramText(int number, platform::Point point);
  StylusAction Classify(platform::Point up);

  StylusTarget& target_;
  ShortTextSource shortText_;
  GestureMode mode_ = GestureMode::kDrag;
  platform::Point down_;
  platform::Point last_;
  std::optional<GlyphUnder> dragged_;
  platform::Rect dragSquare_;
  bool moved_ = false;
  bool windowOpen_ = false;
  bool ignoreUp_ = false;
};

}  // namespace kelvara::display
