#include "display/wheel_layout.h"

#include <algorithm>
#include <cmath>


namespace kelvara::display {
namespace {

namespace ws = workspace;

constexpr int kWorkInsetDivisor = 25;   // of half the smaller side
constexpr int kTallExcessPx = 700;      // height over width of a tall screen
constexpr double kTallRatio = 4.0 / 3.0;

int RoundHalfAway(double value) { return static_cast<int>(std::lround(value)); }

bool IsTall(const platform::Rect& rect) {
  const int width = rect.Width(), height = rect.Height();
  return width > 0 && height - width > kTallExcessPx && static_cast<double>(height) / width > kTallRatio;
}

}  // namespace

WheelPercentages PercentagesFor(bool twoCharts) {
  if (!twoCharts) return {};
  return {95, 110, 100, 120, 250, 110};
}

int ApplyPercent(int value, int percent) { return RoundHalfAway(value * percent * 0.01); }

WheelLayout ComputeWheelLayout(const LayoutRequest& request) {
  const WheelPercentages pct = PercentagesFor(request.twoCharts);
  const platform::Rect& d = request.drawing;
  const int inset = std::min(d.Width(), d.Height()) / 2 / kWorkInsetDivisor;
  WheelLayout l;
  l.twoCharts = request.twoCharts;
  l.houses = request.houses;
  l.work = {d.left + inset, d.top + inset, d.right - inset, d.bottom - inset};
  l.centre = l.work.Center();
  l.r0 = std::max(0, std::min(l.work.Width(), l.work.Height()) / 2);
  l.r = ApplyPercent(l.r0 - (request.twoCharts ? l.r0 / 5 : l.r0 / 10), pct.baseRadius);
  if (!request.twoCharts && !request.houses) l.r += l.r / 10;
  l.r2 = ApplyPercent(l.r + (request.twoCharts ? l.r / 5 : l.r / 10), pct.outerRadius);
  l.w = l.r / 6;
  l.r1 = ApplyPercent(l.r - l.w, pct.signRing);
  l.g = ApplyPercent(l.w / 2, pct.glyphSize);
  l.m = l.r / 13;
  l.r3 = ApplyPercent(l.r1 - 2 * l.g - l.m, pct.glyphRing);
  l.s = ApplyPercent(3 * l.w / 4, pct.signGlyph);
  if (request.hexagramsShown && IsTall(d)) l.centre.y = l.work.top + l.Outermost();
  return l;
}

bool HasHouses(const ws::ObjectTable& objects) {
  const double asc = objects[ws::kSlotFirstCusp].longitude;
  return std::isfinite(asc) && asc >= 0.0 && asc < ws::kFullCircle;
}

double WheelRotationDeg(const ws::ObjectTable& objects, const WheelOptions& options) {
  const double turn = options.manualRotationDeg;
  if (options.fromAries || !HasHouses(objects)) return turn;
  return objects[ws::kSlotFirstCusp].longitude + turn;
}

double NormalizeDeg(double angleDeg) {
  double a = std::fmod(angleDeg, ws::kFullCircle);
  if (a < 0.0) a += ws::kFullCircle;
  return a >= ws::kFullCircle ? 0.0 : a;
}

double ScreenAngleDeg(const WheelLayout& layout, double longitudeDeg) {
  const double turned = longitudeDeg - layout.rotationDeg;
  return NormalizeDeg(layout.avesta ? turned : 180.0 - turned);
}

double LongitudeAtScreenAngle(const WheelLayout& layout, double screenAngleDeg) {
  const double turned = layout.avesta ? screenAngleDeg : 180.0 - screenAngleDeg;
  return NormalizeDeg(turned + layout.rotationDeg);
}

platform::Point PointAt(platform::Point centre, double radius, double screenAngleDeg) {
  const double a = screenAngleDeg * kRadiansPerDegree;
  return {centre.x + RoundHalfAway(radius * std::cos(a)), centre.y + RoundHalfAway(radius * std::sin(a))};
}

}  // namespace kelvara::display
