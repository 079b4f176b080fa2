// The wheel's radii and sizes for a drawing rectangle, and the angle at which a
// longitude is drawn. All lengths are whole pixels, found by integer division.
#pragma once

#include "display/wheel_options.h"
#include "platform/geometry.h"
#include "workspace/chart_record.h"

namespace kelvara::display {

inline constexpr double kRadiansPerDegree = 0.017453292519943295;

// Percentages of the layout values, set per kind of wheel.
struct WheelPercentages {
  int baseRadius = 100;
  int outerRadius = 100;
  int signRing = 100;
  int glyphRing = 110;
  int glyphSize = 210;
  int signGlyph = 110;
};

WheelPercentages PercentagesFor(bool twoCharts);

struct WheelLayout {
  platform::Rect work;
  platform::Point centre;
  int r0 = 0;
  int r = 0;   // base radius: the outside of the sign band
  int r2 = 0;  // outer radius
  int w = 0;   // sign-band width
  int r1 = 0;  // sign-ring inner radius
  int g = 0;   // glyph size
  int m = 0;   // cusp-mark length
  int r3 = 0;  // glyph-ring inner radius
  int s = 0;   // sign-glyph size
  bool twoCharts = false;
  bool houses = true;
  bool avesta = false;
  double rotationDeg = 0.0;

  // The middle of the inner glyph ring and of the outer one, pixels.
  int InnerRingMiddle() const { return r3 + (r1 - r3) / 2; }
  int OuterRingMiddle() const { return r + (r2 - r) / 2; }
  // The outermost circle drawn.
  int Outermost() const { return twoCharts || houses ? r2 : r; }
};

// value * percent / 100, rounded half away from zero.
int ApplyPercent(int value, int percent);

struct LayoutRequest {
  platform::Rect drawing;
  bool twoCharts = false;
  bool houses = true;
  bool hexagramsShown = false;
};
WheelLayout ComputeWheelLayout(const LayoutRequest& request);

// A chart has houses when its Ascendant lies in [0, 360).
bool HasHouses(const workspace::ObjectTable& objects);

// The wheel's rotation ρ: the Ascendant plus the manual turn; the turn alone from
// Aries or without houses.
double WheelRotationDeg(const workspace::ObjectTable& objects, const WheelOptions& options);

// The longitude mirrored (Western) and rotated, in [0, 360); screen angles grow clockwise
// because screen y grows downwards.
double ScreenAngleDeg(const WheelLayout& layout, double longitudeDeg);
// The inverse: the longitude drawn at a screen angle.
double LongitudeAtScreenAngle(const WheelLayout& layout, double screenAngleDeg);
double NormalizeDeg(double angleDeg);

platform::Point PointAt(platform::Point centre, double radius, double screenAngleDeg);

}  // namespace kelvara::display
