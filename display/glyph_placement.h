// Where the glyphs of one ring go: spread apart along the ring or staggered on two
// radii, with the display angles and radial fractions written back into the objects.
#pragma once

#include <vector>

#include "display/wheel_layout.h"
#include "workspace/chart_record.h"

namespace kelvara::display {

enum class Ring { kInner = 1, kOuter = 2 };

inline constexpr double kCrowdedDeg = 5.0;  // closer glyphs alternate their radii

struct PlacedGlyph {
  int slot = 0;
  double trueLongitudeDeg = 0.0;
  double longitudeDeg = 0.0;  // where the glyph is drawn
  double radiusPx = 0.0;
  bool leader = false;        // a line joins the glyph to its true place
};

// The slots a ring draws as glyphs: 1-16 and, with houses, 29-34.
std::vector<int> RingSlots(bool houses);

// The radius the ring's fractions are taken of: the ring's middle, or for the outer
// ring when spreading, two thirds of the way out.
double RingBaseRadius(const WheelLayout& layout, Ring ring, bool sort);

// The smallest angle, degrees, between two glyph centres on the ring.
double MinimumSeparationDeg(const WheelLayout& layout, Ring ring);

// The glyph's current display longitude: the stored angle, or its longitude when the
// stored one is not set or not a number.
double DisplayLongitudeDeg(const workspace::ChartObject& object);

// Objects drawn on the ring: visible and with a longitude.
bool IsDrawable(const workspace::ChartObject& object);

// The slots of visible, non-cusp objects that lie less than 5° from another one.
std::vector<bool> CrowdedMarks(const workspace::ObjectTable& objects, const std::vector<int>& slots);

std::vector<PlacedGlyph> PlaceRing(workspace::ObjectTable& objects, const WheelLayout& layout, Ring ring,
                                   bool sort);

}  // namespace kelvara::display
