#include "display/chart_view_stylus.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace kelvara::display {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr int kWindowOffsetPx = 2;

platform::Rect SquareAround(platform::Point centre, int side) {
  const int half = side / 2;
  return {centre.x - half, centre.y - half, centre.x - half + side, centre.y - half + side};
}

StylusAction Action(StylusActionKind kind, platform::Rect square = {}) {
  StylusAction action;
  action.kind = kind;
  action.square = square;
  return action;
}

platform::Point CornerOf(const platform::Rect& square) {
  return {square.right + kWindowOffsetPx, square.bottom + kWindowOffsetPx};
}

}  // namespace

std::optional<DropGeometry> DropGeometryOf(platform::Point centre, platform::Point drop) {
  const double dx = drop.x - centre.x;
  const double dy = drop.y - centre.y;
  if (dx == 0.0 && dy == 0.0) return std::nullopt;
  double alpha = std::atan(dy / dx) * kDegreesPerRadian;
  if (dx < 0.0) {
    alpha += 180.0;
  } else if (dy < 0.0) {
    alpha += 360.0;
  }
  const double radians = alpha / kDegreesPerRadian;
  const double distance = std::fabs(dx) < std::fabs(dy) ? std::fabs(dy / std::sin(radians))
                                                          : std::fabs(dx / std::cos(radians));
  return DropGeometry{alpha, distance};
}

std::string HexagramShortRequest(int number) { return std::to_string(number) + " И-Цзин short"; }

ChartViewStylus::ChartViewStylus(StylusTarget& target, ShortTextSource shortText)
    : target_(target), shortText_(std::move(shortText)) {}

StylusAction ChartViewStylus::OpenHexagramText(int number, platform::Point point) {
  if (number <= 0 || !shortText_) return {};
  const std::string text = shortText_(number);
  if (text.empty()) return {};
  StylusAction action;
  action.kind = StylusActionKind::kShowText;
  const std::size_t end = text.find('\n');
  action.title = text.substr(0, end);
  if (!action.title.empty() && action.title.back() == '\r') action.title.pop_back();
  action.body = end == std::string::npos ? std::string() : text.substr(end + 1);
  action.corner = {point.x + kWindowOffsetPx, point.y + kWindowOffsetPx};
  windowOpen_ = true;
  return action;
}

StylusAction ChartViewStylus::Down(platform::Point point) {
  down_ = last_ = point;
  moved_ = false;
  ignoreUp_ = false;
  if (windowOpen_) {
    windowOpen_ = false;
    ignoreUp_ = true;
    return Action(StylusActionKind::kCloseWindows);
  }
  if (const auto number = target_.HexagramAt(point)) {
    ignoreUp_ = true;
    return OpenHexagramText(*number, point);
  }
  const auto glyph = target_.GlyphAt(point);
  if (!glyph) return {};
  if (mode_ == GestureMode::kInformation) {
    ignoreUp_ = true;
    windowOpen_ = true;
    StylusAction action = Action(StylusActionKind::kShowInformation, glyph->square);
    action.corner = CornerOf(glyph->square);
    action.lines = target_.InformationLines(*glyph);
    return action;
  }
  dragged_ = glyph;
  dragSquare_ = SquareAround(point, target_.DragSquareSide());
  return Action(StylusActionKind::kStartDrag, dragSquare_);
}

StylusAction ChartViewStylus::Move(platform::Point point) {
  if (!dragged_) return {};
  if (!moved_) target_.DragStarted(*dragged_);
  moved_ = true;
  const int dx = point.x - last_.x, dy = point.y - last_.y;
  last_ = point;
  dragSquare_ = {dragSquare_.left + dx, dragSquare_.top + dy, dragSquare_.right + dx, dragSquare_.bottom + dy};
  return Action(StylusActionKind::kMoveDrag, dragSquare_);
}

StylusAction ChartViewStylus::Classify(platform::Point up) {
  const int dx = up.x - down_.x, dy = up.y - down_.y;
  mode_ = std::abs(dx) + std::abs(dy) > kTapTravelPx ? GestureMode::kDrag : GestureMode::kInformation;
  StylusAction action;
  if (dx > kSwipeTravelPx) {
    action.kind = StylusActionKind::kOpenPositionTable;
    action.chart = 1;
  } else if (dx < -kSwipeTravelPx && target_.SwipeLeftAllowed()) {
    action.kind = StylusActionKind::kOpenPositionTable;
    action.chart = 2;
  }
  return action;
}

StylusAction ChartViewStylus::Up(platform::Point point) {
  if (dragged_) {
    const GlyphUnder glyph = *dragged_;
    dragged_.reset();
    target_.Drop(glyph, point);
    return Action(StylusActionKind::kDrop);
  }
  if (ignoreUp_) {
    ignoreUp_ = false;
    return {};
  }
  return Classify(point);
}

}  // namespace kelvara::display
