// The engine's 19 aspects and the test that finds the step in which one becomes exact.
#pragma once

#include <array>
#include <cmath>

namespace kelvara::engine {

inline constexpr int kAspectCount = 19;
inline constexpr int kParallel = 18;
inline constexpr int kContraparallel = 19;

struct AspectDefinition {
  double angle_deg;
  double orb_deg;
  const char* abbreviation;  // Windows-1251; the degree sign is byte 0xB0
};

// Entries 1..19; entry 0 is empty.
const std::array<AspectDefinition, kAspectCount + 1>& AspectTable();

// Abbreviations as a run may change them; restored by every reset.
using AspectAbbreviations = std::array<const char*, kAspectCount + 1>;
AspectAbbreviations DefaultAspectAbbreviations();

// False for aspects outside 1..19 and for those whose orb is 0 or less.
bool AspectAllowed(int object_a, int aspect, int object_b);
// The scans try every allowed aspect and the contraparallel whatever its orb.
bool AspectTriedInScan(int object_a, int aspect, int object_b);

// Positions of two objects at the start and end of a scan step: ecliptic longitudes, or
// declinations for the parallels (negated for one object in the contraparallel).
struct StepPositions {
  double a_previous;
  double a_current;
  double b_previous;
  double b_current;
};

struct StepExactness {
  bool exact = false;
  double fraction = 0.0;  // 0..1 within the step, linear
  bool a_is_moving = true;
};

// Whether the aspect of angle_deg becomes exact within the step. The faster object is
// followed against the other shifted by the angle on its nearer side; a sign change of
// their difference counts only when both stay within 90 degrees, and an exact hit at a
// sample belongs to the step that ends there.
StepExactness AspectExactInStep(double angle_deg, const StepPositions& p);

// The part of that test every aspect of one pair shares: which object moves faster, its
// positions and the other's, and both midpoints. A scan works it out once per pair and step.
struct StepPair {
  double m_previous;  // the faster object
  double m_current;
  double o_previous;  // the other object
  double o_current;
  double m_mid;
  double o_mid;
  double separation_deg;  // |shortest difference| of the two at the step's start
  double reach_deg;       // how far the two moved in the step, added
  bool a_is_moving;
};
StepPair PairInStep(const StepPositions& p);
StepExactness AspectExactInPair(double angle_deg, const StepPair& pair);

// False when the pair cannot make the aspect in the step: when the two move less than a
// quarter circle together, an accepted crossing starts no farther from the aspect than they
// move (within the quarter circle the test demands, their difference cannot wrap, so its
// sign changes only if its start is within the distance moved). Most pairs of a scan step
// are settled here, without the full test.
inline constexpr double kMaxReachForShortcutDeg = 90.0;
inline constexpr double kShortcutMarginDeg = 1e-9;  // rounding
inline bool MayBeExactInPair(double angle_deg, const StepPair& pair) {
  return pair.reach_deg >= kMaxReachForShortcutDeg ||
         std::fabs(pair.separation_deg - angle_deg) <= pair.reach_deg + kShortcutMarginDeg;
}

}  // namespace kelvara::engine
