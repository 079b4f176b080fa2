// The engine's 19 aspects and the test that finds the step in which one becomes exact.
#pragma once

#include <array>

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

}  // namespace kelvara::engine
