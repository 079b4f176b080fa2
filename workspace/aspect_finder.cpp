#include "workspace/aspect_finder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <charconv>
#include <cmath>

#include "workspace/driver_points.h"

namespace kelvara::workspace {
namespace {

constexpr double kHalfCircleDeg = 180.0;
constexpr double kOppositionDeg = 180.0;
// Two longitudes closer than this are the same point.
constexpr double kSamePointDeg = 0.0001;
constexpr int kAngleDecimals = 6;  // as "%lf" prints
constexpr std::string_view kDescriptionJoint = " + ";

bool SamePoint(double aDeg, double bDeg) {
  const double apart = Normalise360(aDeg - bDeg);
  return apart < kSamePointDeg || kFullCircle - apart < kSamePointDeg;
}

double KnownMotion(double speedDegPerDay) { return speedDegPerDay == kNotAvailable ? 0.0 : speedDegPerDay; }

bool Aspected(const ChartObject& object) {
  return object.visible != 0 && object.takesPartInAspects != 0 && object.HasLongitude();
}

struct Pair {
  int slotA;
  int slotB;
};

class Finder {
 public:
  explicit Finder(const AspectFinderInput& input) : in_(input) {}

  std::vector<FoundAspect> Run() {
    FillSeparations();
    for (int aspect = 0; aspect < kAspectCount; ++aspect) {
      if ((*in_.table)[aspect].enabled) PrepareAspect(aspect);
    }
    FindInPairs();
    std::vector<FoundAspect> found;
    for (const std::vector<FoundAspect>& ofAspect : found_) found.insert(found.end(), ofAspect.begin(), ofAspect.end());
    return found;
  }

 private:
  using AspectMask = std::uint32_t;  // one bit an aspect of the table
  static_assert(kAspectCount <= 32);
  static constexpr int kBuckets = 181;  // whole degrees of separation, 0-180

  int LastSlot() const { return std::min(in_.lastSlot, kLastSlot); }

  // The separation of every pair once, -1 where a pair takes no part, as the wheel's
  // separation table holds it.
  void FillSeparations() {
    for (auto& row : separation_) row.fill(kNoSeparation);
    for (int a = kFirstSlot; a <= LastSlot(); ++a) {
      const ChartObject& objectA = (*in_.inner)[a];
      if (!Aspected(objectA)) continue;
      for (int b = kFirstSlot; b <= LastSlot(); ++b) {
        const ChartObject& objectB = (*in_.outer)[b];
        if (Aspected(objectB)) separation_[a][b] = AngularSeparationDeg(objectA.longitude, objectB.longitude);
      }
    }
  }

  // Each slot's wider orb of the two kinds, so that most pairs are dismissed before the
  // applying test, and the whole degrees of separation where the aspect can be found
  // at all, so that a pair is tried only against the aspects near its separation.
  void PrepareAspect(int aspect) {
    const AspectRecord& record = (*in_.table)[aspect];
    double widest = 0.0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
      widestOrbs_[aspect][slot] = std::max(OrbOfSlot(record.firstOrbs, slot), OrbOfSlot(record.secondOrbs, slot));
      widest = std::max(widest, widestOrbs_[aspect][slot]);
    }
    const double from = record.angle - widest / 2.0;
    const double to = record.angle + widest / 2.0;
    if (!(to >= 0.0 && from <= kHalfCircleDeg)) return;
    const int first = int(std::clamp(std::floor(from), 0.0, double(kBuckets - 1)));
    const int last = int(std::clamp(std::floor(to), 0.0, double(kBuckets - 1)));
    for (int bucket = first; bucket <= last; ++bucket) near_[bucket] |= AspectMask{1} << aspect;
  }

  double WidestOrb(int aspect, Pair pair) const {
    return std::max(widestOrbs_[aspect][pair.slotA], widestOrbs_[aspect][pair.slotB]) / 2.0;
  }

  // A single chart takes each unordered pair once, lower slot first; two charts take
  // every inner object against every outer one. Each aspect keeps its pairs in that order.
  void FindInPairs() {
    const int last = LastSlot();
    for (int a = kFirstSlot; a <= last; ++a) {
      for (int b = in_.twoCharts ? kFirstSlot : a + 1; b <= last; ++b) {
        const double separation = separation_[a][b];
        if (separation < 0.0) continue;
        for (AspectMask aspects = near_[std::min(int(separation), kBuckets - 1)]; aspects != 0; aspects &= aspects - 1) {
          const int aspect = std::countr_zero(aspects);
          const double distance = std::fabs(separation - (*in_.table)[aspect].angle);
          if (distance < WidestOrb(aspect, {a, b})) TryPair(aspect, {a, b}, distance);
        }
      }
    }
  }

  bool Excluded(const AspectRecord& record, Pair pair) const {
    // House cusps face each other by construction.
    return !in_.twoCharts && record.angle == kOppositionDeg && IsCuspSlot(pair.slotA) && IsCuspSlot(pair.slotB);
  }

  bool Shown(bool applying) const { return applying ? in_.applyingShown : in_.separatingShown; }

  void TryPair(int aspect, Pair pair, double distance) {
    const AspectRecord& record = (*in_.table)[aspect];
    if (Excluded(record, pair)) return;
    const ChartObject& a = (*in_.inner)[pair.slotA];
    const ChartObject& b = (*in_.outer)[pair.slotB];
    const double speedA = in_.twoCharts && in_.innerStandsStill ? kStandingStillDegPerDay : a.speed;
    const bool applying = IsApplying(a.longitude, speedA, b.longitude, b.speed, record.angle, distance);
    if (!Shown(applying)) return;
    const OrbArray& orbs = applying ? record.firstOrbs : record.secondOrbs;
    const double orb = std::max(OrbOfSlot(orbs, pair.slotA), OrbOfSlot(orbs, pair.slotB)) / 2.0;
    if (!(distance < orb)) return;
    found_[aspect].push_back({aspect, pair.slotA, pair.slotB, record.angle, distance, orb, applying});
  }

  static constexpr double kNoSeparation = -1.0;

  const AspectFinderInput& in_;
  std::array<std::array<double, kSlotCount>, kSlotCount> separation_;
  std::array<std::array<double, kSlotCount>, kAspectCount> widestOrbs_{};
  std::array<AspectMask, kBuckets> near_{};
  std::array<std::vector<FoundAspect>, kAspectCount> found_;
};

}  // namespace

std::vector<FoundAspect> FindAspects(const AspectFinderInput& input) {
  if (input.inner == nullptr || input.outer == nullptr || input.table == nullptr) return {};
  return Finder(input).Run();
}

double AngularSeparationDeg(double a, double b) {
  // Longitudes of a chart lie within one circle, which spares the division.
  const double apart = std::fabs(a - b);
  const double s = apart < kFullCircle ? apart : std::fmod(apart, kFullCircle);
  return s > kHalfCircleDeg ? kFullCircle - s : s;
}

bool IsApplying(double longitudeADeg, double speedADegPerDay, double longitudeBDeg, double speedBDegPerDay,
                double aspectDeg, double distanceDeg) {
  const double vA = KnownMotion(speedADegPerDay);
  const double vB = KnownMotion(speedBDegPerDay);
  const double x = AngularSeparationDeg(longitudeADeg, longitudeBDeg);
  // A's exact point lies on A's side of B.
  const bool aTrailsB = SamePoint(longitudeADeg, longitudeBDeg - x);
  const double exactDeg = aTrailsB ? longitudeBDeg - aspectDeg : longitudeBDeg + aspectDeg;
  const bool beforeExact = SamePoint(longitudeADeg, exactDeg - distanceDeg);
  // Before its exact point A closes in when it is the faster; past it when B is. Equal
  // motions of one sense count as applying before the exact point.
  if (beforeExact) return vA > vB || (vA == vB && vA != 0.0);
  return vB > vA;
}

std::string AspectAngleText(double angleDeg) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof(buffer), angleDeg, std::chars_format::fixed,
                                 kAngleDecimals).ptr;
  std::string text(buffer, end);
  if (text.find('.') == std::string::npos) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string AspectDescription(std::string_view firstName, double angleDeg, std::string_view secondName) {
  std::string text(firstName);
  text += kDescriptionJoint;
  text += AspectAngleText(angleDeg);
  text += kDescriptionJoint;
  text += secondName;
  return text;
}

bool StandsStillForOuter(std::string_view outerChartName) {
  if (outerChartName.empty() || IsNowName(outerChartName)) return true;
  const auto kind = KindOfName(outerChartName);
  if (!kind) return false;
  switch (*kind) {
    case ChartKind::kSecondaryProgression:
    case ChartKind::kSymbolicDirection:
    case ChartKind::kProfection:
    case ChartKind::kSolarArcMidheaven:
    case ChartKind::kSolarArcDirection: return true;
    default: return false;
  }
}

}  // namespace kelvara::workspace
