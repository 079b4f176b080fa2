#include "engine/aspects.h"

#include <cmath>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

// Beyond a quarter circle a sign change means passing the opposite point, not the aspect.
constexpr double kMaxCrossingSeparationDeg = 90.0;

constexpr std::array<AspectDefinition, kAspectCount + 1> kAspectTable = {{
    {0.0, 0.0, ""},
    {0.0, 7.0, "  0\xB0"},
    {180.0, 7.0, "180\xB0"},
    {90.0, 7.0, " 90\xB0"},
    {120.0, 7.0, "120\xB0"},
    {60.0, 6.0, " 60\xB0"},
    {150.0, 3.0, "150\xB0"},
    {30.0, 3.0, " 30\xB0"},
    {45.0, 3.0, " 45\xB0"},
    {135.0, 3.0, "135\xB0"},
    {72.0, 2.0, " 72\xB0"},
    {144.0, 2.0, "144\xB0"},
    {36.0, 1.0, " 36\xB0"},
    {108.0, 1.0, "108\xB0"},
    {40.0, 1.0, " 40\xB0"},
    {80.0, 1.0, " 80\xB0"},
    {20.0, 1.0, " 20\xB0"},
    {100.0, 1.0, "100\xB0"},
    {0.0, 1.0, " PP "},
    {0.0, 0.0, " CP "},
}};

}  // namespace

const std::array<AspectDefinition, kAspectCount + 1>& AspectTable() { return kAspectTable; }

AspectAbbreviations DefaultAspectAbbreviations() {
  AspectAbbreviations names{};
  for (int i = 0; i <= kAspectCount; ++i) names[i] = kAspectTable[i].abbreviation;
  return names;
}

bool AspectAllowed(int /*object_a*/, int aspect, int /*object_b*/) {
  if (aspect < 1 || aspect > kAspectCount) return false;
  return kAspectTable[aspect].orb_deg > 0.0;
}

bool AspectTriedInScan(int object_a, int aspect, int object_b) {
  return aspect == kContraparallel || AspectAllowed(object_a, aspect, object_b);
}

StepPair PairInStep(const StepPositions& p) {
  const double a_move = std::fabs(MinDifference(p.a_previous, p.a_current));
  const double b_move = std::fabs(MinDifference(p.b_previous, p.b_current));
  const bool a_moving = a_move >= b_move;
  StepPair pair{};
  pair.a_is_moving = a_moving;
  pair.separation_deg = std::fabs(MinDifference(p.b_previous, p.a_previous));
  pair.reach_deg = a_move + b_move;
  pair.m_previous = a_moving ? p.a_previous : p.b_previous;
  pair.m_current = a_moving ? p.a_current : p.b_current;
  pair.o_previous = a_moving ? p.b_previous : p.a_previous;
  pair.o_current = a_moving ? p.b_current : p.a_current;
  // One side for the whole step, so the shifted point cannot jump between samples.
  pair.m_mid = Midpoint(pair.m_previous, pair.m_current);
  pair.o_mid = Midpoint(pair.o_previous, pair.o_current);
  return pair;
}

StepExactness AspectExactInPair(double angle_deg, const StepPair& pair) {
  StepExactness result;
  result.a_is_moving = pair.a_is_moving;
  // The start lies at least | separation - angle | from either point the angle away.
  if (!MayBeExactInPair(angle_deg, pair)) return result;
  const double forward = MinDistance(pair.m_mid, pair.o_mid + angle_deg);
  const double backward = MinDistance(pair.m_mid, pair.o_mid - angle_deg);
  const double shift = forward <= backward ? angle_deg : -angle_deg;

  const double d_prev = MinDifference(pair.o_previous + shift, pair.m_previous);
  const double d_cur = MinDifference(pair.o_current + shift, pair.m_current);
  const bool crosses = (d_prev < 0.0 && d_cur >= 0.0) || (d_prev > 0.0 && d_cur <= 0.0);
  if (!crosses) return result;
  if (MinDistance(pair.m_mid, Midpoint(pair.o_previous + shift, pair.o_current + shift)) >
      kMaxCrossingSeparationDeg) {
    return result;
  }
  result.exact = true;
  result.fraction = std::fabs(d_prev) / (std::fabs(d_prev) + std::fabs(d_cur));
  return result;
}

StepExactness AspectExactInStep(double angle_deg, const StepPositions& p) {
  return AspectExactInPair(angle_deg, PairInStep(p));
}

}  // namespace kelvara::engine
