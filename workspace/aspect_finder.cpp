#include "workspace/aspect_finder.h"

#include <algorithm>
#include <array>
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

// The orb arrays stop at slot 33; the last slot has no orb of its own.
double OrbOf(const OrbArray& orbs, int slot) { return slot < kOrbSlotCount ? orbs[slot] : 0.0; }

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
      if ((*in_.table)[aspect].enabled) FindForAspect(aspect);
    }
    return std::move(found_);
  }

 private:
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

  // The wider of the two orb kinds, so that most pairs are dismissed before the
  // applying test.
  static double WidestOrb(const AspectRecord& record, Pair pair) {
    return std::max({OrbOf(record.firstOrbs, pair.slotA), OrbOf(record.firstOrbs, pair.slotB),
                     OrbOf(record.secondOrbs, pair.slotA), OrbOf(record.secondOrbs, pair.slotB)}) / 2.0;
  }

  // A single chart takes each unordered pair once, lower slot first; two charts take
  // every inner object against every outer one.
  void FindForAspect(int aspect) {
    for (int a = kFirstSlot; a <= LastSlot(); ++a) {
      for (int b = in_.twoCharts ? kFirstSlot : a + 1; b <= LastSlot(); ++b) TryPair(aspect, {a, b});
    }
  }

  bool Excluded(const AspectRecord& record, Pair pair) const {
    // House cusps face each other by construction.
    return !in_.twoCharts && record.angle == kOppositionDeg && IsCuspSlot(pair.slotA) && IsCuspSlot(pair.slotB);
  }

  bool Shown(bool applying) const { return applying ? in_.applyingShown : in_.separatingShown; }

  void TryPair(int aspect, Pair pair) {
    const AspectRecord& record = (*in_.table)[aspect];
    const double separation = separation_[pair.slotA][pair.slotB];
    if (separation < 0.0 || Excluded(record, pair)) return;
    const double distance = std::fabs(separation - record.angle);
    if (!(distance < WidestOrb(record, pair))) return;
    const ChartObject& a = (*in_.inner)[pair.slotA];
    const ChartObject& b = (*in_.outer)[pair.slotB];
    const double speedA = in_.twoCharts && in_.innerStandsStill ? kStandingStillDegPerDay : a.speed;
    const bool applying = IsApplying(a.longitude, speedA, b.longitude, b.speed, record.angle, distance);
    if (!Shown(applying)) return;
    const OrbArray& orbs = applying ? record.firstOrbs : record.secondOrbs;
    const double orb = std::max(OrbOf(orbs, pair.slotA), OrbOf(orbs, pair.slotB)) / 2.0;
    if (!(distance < orb)) return;
    found_.push_back({aspect, pair.slotA, pair.slotB, record.angle, distance, orb, applying});
  }

  static constexpr double kNoSeparation = -1.0;

  const AspectFinderInput& in_;
  std::array<std::array<double, kSlotCount>, kSlotCount> separation_;
  std::vector<FoundAspect> found_;
};

}  // namespace

std::vector<FoundAspect> FindAspects(const AspectFinderInput& input) {
  if (input.inner == nullptr || input.outer == nullptr || input.table == nullptr) return {};
  return Finder(input).Run();
}

double AngularSeparationDeg(double a, double b) {
  const double s = std::fmod(std::fabs(a - b), kFullCircle);
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
