#include "eventmap/day_scan.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <set>
#include <tuple>

#include "workspace/driver_points.h"
#include "workspace/hour_scale.h"

namespace kelvara::eventmap {
namespace {

namespace ws = workspace;

constexpr double kHoursPerDay = 24.0;
constexpr int kWindowDays = 3;  // the day before, the day, the day after
constexpr int kHousesOffPoints = 16;
constexpr int kAllPoints = 34;
constexpr double kHalfCircle = 180.0;
// A pair whose orb lasts longer than this is a slow aspect, listed while in force.
constexpr double kInForceHours = 48.0;
constexpr double kSmallestOrb = 0.0001;
// Walking the sorted targets tolerates this much rounding at the arc's far end; the
// exact test decides.
constexpr double kWalkSlack = 1e-9;

constexpr std::array<double, kLastTransitingPoint + 1> kHoursPerDegree = {
    0.0,           24.349479938,  1.822,          5.866666666666667, 15.133333333333335, 45.8,
    288.78483206468, 728.0494501462, 1234.5186328566, 2047.7912627858, 4010.3593457886, 6038.671024624,
    16216.753638708, 455.3352748406, 455.3352748406, 170.446359566,   219.145319442};

enum Boundary { kLower = 0, kExact = 1, kUpper = 2 };

// One aspect point of a natal point: the orb's two boundaries around the exact point.
struct AspectPoint {
  std::array<double, 3> at{};  // by Boundary
  double orb = 0.0;            // the natal point's orb: the boundaries lie half of it away
  double angle = 0.0;
  double natalLongitude = 0.0;
  int aspect = 0;
  int natal = 0;
};

struct Target {
  double longitude = 0.0;
  int entry = 0;  // index into the aspect points
  Boundary boundary = kExact;
  bool operator<(const Target& other) const { return longitude < other.longitude; }
};

double OrbOf(const ws::AspectRecord& aspect, int slot) { return ws::OrbOfSlot(aspect.firstOrbs, slot); }

// Calls f for each target in [from, from + length] on the circle, in order from `from`.
template <typename F>
void WalkArc(const std::vector<Target>& sorted, double from, double length, F&& f) {
  if (sorted.empty()) return;
  const std::size_t n = sorted.size();
  std::size_t i = std::lower_bound(sorted.begin(), sorted.end(), Target{from}) - sorted.begin();
  for (std::size_t seen = 0; seen < n; ++seen, ++i) {
    const Target& target = sorted[i % n];
    if (ws::Normalise360(target.longitude - from) > length + kWalkSlack) return;
    f(target);
  }
}

class AspectPointTable {
 public:
  AspectPointTable(const ws::ChartRecord& natal, const ws::AspectTable& aspects) {
    const int points = natal.houseSystem == ws::kNoHouses ? kHousesOffPoints : kAllPoints;
    for (int slot = ws::kFirstSlot; slot <= points; ++slot) {
      const ws::ChartObject& object = natal.objects[slot];
      if (!object.HasLongitude() || !object.usedAsAspected) continue;
      for (int a = 0; a < ws::kAspectCount; ++a) AddAspect(object.longitude, slot, a, aspects[a]);
    }
    std::sort(targets_.begin(), targets_.end());
    std::sort(exactTargets_.begin(), exactTargets_.end());
  }

  const AspectPoint& Entry(int index) const { return entries_[index]; }
  const std::vector<Target>& Targets() const { return targets_; }
  const std::vector<Target>& ExactTargets() const { return exactTargets_; }
  double LargestOrb() const { return largestOrb_; }

 private:
  void AddAspect(double longitude, int slot, int index, const ws::AspectRecord& aspect) {
    if (!aspect.enabled) return;
    const double angle = ws::Normalise360(aspect.angle);
    const double orb = OrbOf(aspect, slot);
    AddSide(longitude, longitude + angle, orb, angle, index, slot);
    // A conjunction and an opposition meet the point from both sides at one place.
    if (angle != 0.0 && angle != kHalfCircle) AddSide(longitude, longitude - angle, orb, angle, index, slot);
  }

  void AddSide(double natalLongitude, double exact, double orb, double angle, int aspect, int slot) {
    AspectPoint point{OrbBoundariesDeg(exact, orb), orb, angle, natalLongitude, aspect, slot};
    const int entry = static_cast<int>(entries_.size());
    for (Boundary b : {kLower, kExact, kUpper}) targets_.push_back({point.at[b], entry, b});
    exactTargets_.push_back({point.at[kExact], entry, kExact});
    largestOrb_ = std::max(largestOrb_, orb);
    entries_.push_back(point);
  }

  std::vector<AspectPoint> entries_;
  std::vector<Target> targets_;
  std::vector<Target> exactTargets_;
  double largestOrb_ = 0.0;
};

// An orb entry or exit, kept until the exact records have taken theirs.
struct BoundaryCrossing {
  int moving = 0;
  int entry = 0;
  double hours = 0.0;  // Greenwich
  bool used = false;
};

class DayScanner {
 public:
  DayScanner(const ws::ChartRecord& natal, const ws::AspectTable& aspects, const DayScanRequest& request,
             const ws::ChartEngine& engine)
      : aspects_(aspects), request_(request), engine_(engine), table_(natal, aspects) {}

  std::optional<DayScanLists> Run();

 private:
  double OffsetAt(double hours, bool greenwich) const;
  double GreenwichOfLocalMidnight(int dayOffset) const;
  bool Cast(double greenwichHours, ws::ObjectTable& objects) const;
  void Step(double t0, double t1, int day);
  void SearchCrossings(int point, double from, double to, double t0, double t1);
  void Cross(int point, const Target& target, bool retrograde, double hours);
  void CheckInForce(int point, double longitude, double hours, int day);
  EventRecord Record(int point, const AspectPoint& entry, double hours) const;
  struct PendingExact {
    EventRecord record;
    int entry = 0;
  };
  void PairWithBoundaries(PendingExact& exact);
  void ShiftToDisplay(EventRecord& record) const;

  const ws::AspectTable& aspects_;
  const DayScanRequest& request_;
  const ws::ChartEngine& engine_;
  AspectPointTable table_;
  ws::ObjectTable previous_{};
  ws::ObjectTable current_{};
  double windowStart_ = 0.0;
  double windowEnd_ = 0.0;
  std::vector<PendingExact> exact_;
  std::vector<BoundaryCrossing> entries_;
  std::vector<BoundaryCrossing> exits_;
  std::vector<EventRecord> inForce_;
  std::set<std::tuple<int, int, int>> inForceSeen_;  // point, entry, day
};

double DayScanner::OffsetAt(double hours, bool greenwich) const {
  if (request_.zones) {
    if (const auto offset = request_.zones->OffsetHoursAt(request_.placeName, request_.latitudeDeg,
                                                          request_.longitudeDeg, hours, greenwich)) {
      return *offset;
    }
  }
  return request_.fixedOffsetHours;
}

double DayScanner::GreenwichOfLocalMidnight(int dayOffset) const {
  const double local =
      static_cast<double>(ws::DaysSince1860(request_.year, request_.month, request_.day) + dayOffset) * kHoursPerDay;
  return std::clamp(local - OffsetAt(local, false), ws::kScaleStartHours, ws::ScaleEndHours());
}

bool DayScanner::Cast(double greenwichHours, ws::ObjectTable& objects) const {
  std::lock_guard lock(ws::EngineLock());
  return engine_.RunChart(ws::RequestAt(greenwichHours, request_.latitudeDeg, request_.longitudeDeg, ws::kNoHouses),
                          objects, false);
}

std::optional<DayScanLists> DayScanner::Run() {
  const int stepsPerDay = kStepsPerDay[request_.stepsIndex];
  windowStart_ = GreenwichOfLocalMidnight(-1);
  windowEnd_ = GreenwichOfLocalMidnight(kWindowDays - 1);
  if (!Cast(windowStart_, previous_)) return std::nullopt;
  double dayStart = windowStart_;
  for (int day = 0; day < kWindowDays; ++day) {
    // Local days: across a clock change a day has 23 or 25 hours and its steps shrink or grow.
    const double dayEnd = GreenwichOfLocalMidnight(day);
    const double step = (dayEnd - dayStart) / stepsPerDay;
    for (int s = 1; s <= stepsPerDay; ++s) {
      const double t0 = dayStart + (s - 1) * step;
      const double t1 = s == stepsPerDay ? dayEnd : dayStart + s * step;
      if (!Cast(t1, current_)) return std::nullopt;
      Step(t0, t1, day);
      previous_ = current_;
    }
    dayStart = dayEnd;
  }
  std::stable_sort(exact_.begin(), exact_.end(), [](const PendingExact& a, const PendingExact& b) {
    return a.record.culminationHours < b.record.culminationHours;
  });
  DayScanLists lists{{}, std::move(inForce_), kWindowDays, windowStart_, windowEnd_};
  for (PendingExact& exact : exact_) {
    PairWithBoundaries(exact);
    lists.exact.push_back(exact.record);
  }
  // Pairing compares Greenwich times; the shown times are local.
  for (EventRecord& record : lists.exact) ShiftToDisplay(record);
  for (EventRecord& record : lists.inForce) ShiftToDisplay(record);
  auto byCulmination = [](const EventRecord& a, const EventRecord& b) { return a.culminationHours < b.culminationHours; };
  std::stable_sort(lists.exact.begin(), lists.exact.end(), byCulmination);
  std::stable_sort(lists.inForce.begin(), lists.inForce.end(), byCulmination);
  return lists;
}

void DayScanner::Step(double t0, double t1, int day) {
  for (int point = ws::kFirstSlot; point <= kLastTransitingPoint; ++point) {
    if (!request_.transiting[point]) continue;
    const ws::ChartObject& from = previous_[point];
    const ws::ChartObject& to = current_[point];
    if (!from.HasLongitude() || !to.HasLongitude()) continue;
    SearchCrossings(point, from.longitude, to.longitude, t0, t1);
    CheckInForce(point, to.longitude, t1, day);
  }
}

// A target is met when it lies in the swept arc, open at the previous position and closed
// at the current one, so a target reached exactly at a step is met once.
void DayScanner::SearchCrossings(int point, double from, double to, double t0, double t1) {
  const double change = ws::SignedDifference(to, from);  // a change across 0° is the short way round
  if (change == 0.0) return;
  const bool retrograde = change < 0.0;
  const double length = std::fabs(change);
  WalkArc(table_.Targets(), retrograde ? to : from, length, [&](const Target& target) {
    const double travelled = ws::Normalise360(retrograde ? from - target.longitude : target.longitude - from);
    if (travelled <= 0.0 || travelled > length) return;
    Cross(point, target, retrograde, t0 + (t1 - t0) * travelled / length);
  });
}

void DayScanner::Cross(int point, const Target& target, bool retrograde, double hours) {
  const AspectPoint& entry = table_.Entry(target.entry);
  if (target.boundary == kExact) {
    exact_.push_back({Record(point, entry, hours), target.entry});
    return;
  }
  // Moving backwards, the upper boundary is the one met first.
  const bool isEntry = (target.boundary == kLower) != retrograde;
  (isEntry ? entries_ : exits_).push_back({point, target.entry, hours});
}

void DayScanner::CheckInForce(int point, double longitude, double hours, int day) {
  const double hoursPerDegree = kHoursPerDegree[point];
  if (table_.LargestOrb() * hoursPerDegree <= kInForceHours) return;
  const double reach = table_.LargestOrb() / 2;
  WalkArc(table_.ExactTargets(), ws::Normalise360(longitude - reach), 2 * reach, [&](const Target& target) {
    const AspectPoint& entry = table_.Entry(target.entry);
    if (entry.orb <= kSmallestOrb || entry.orb * hoursPerDegree <= kInForceHours) return;
    if (std::fabs(ws::SignedDifference(longitude, entry.at[kExact])) > entry.orb / 2) return;
    if (!inForceSeen_.insert({point, target.entry, day}).second) return;
    EventRecord record = Record(point, entry, hours);
    record.exactFound = false;
    record.movingLongitudeDeg = longitude;
    inForce_.push_back(record);
  });
}

EventRecord DayScanner::Record(int point, const AspectPoint& entry, double hours) const {
  const ws::AspectRecord& aspect = aspects_[entry.aspect];
  EventRecord record;
  record.movingPoint = point;
  record.basePoint = entry.natal;
  record.aspectAngleDeg = entry.angle;
  record.aspectIndex = entry.aspect;
  record.orbDeg = std::max(OrbOf(aspect, point), OrbOf(aspect, entry.natal));
  record.durationHours = record.orbDeg * kHoursPerDegree[point];
  record.culminationHours = hours;
  record.startHours = windowStart_;
  record.endHours = windowEnd_;
  record.exactFound = true;
  record.movingCoordinateDeg = record.aspectedLongitudeDeg = record.movingLongitudeDeg = entry.at[kExact];
  record.baseLongitudeDeg = entry.natalLongitude;
  record.colour = aspect.firstColor;
  return record;
}

// Takes the latest unused entry at or before the culmination and the earliest unused exit
// at or after it, of the same aspect point.
void DayScanner::PairWithBoundaries(PendingExact& exact) {
  EventRecord& record = exact.record;
  BoundaryCrossing* start = nullptr;
  for (BoundaryCrossing& c : entries_) {
    if (c.used || c.moving != record.movingPoint || c.entry != exact.entry) continue;
    if (c.hours <= record.culminationHours && c.hours > record.startHours && (!start || c.hours > start->hours)) start = &c;
  }
  BoundaryCrossing* end = nullptr;
  for (BoundaryCrossing& c : exits_) {
    if (c.used || c.moving != record.movingPoint || c.entry != exact.entry) continue;
    if (c.hours >= record.culminationHours && c.hours < record.endHours && (!end || c.hours < end->hours)) end = &c;
  }
  if (start) {
    record.startHours = start->hours;
    record.startFound = start->used = true;
  }
  if (end) {
    record.endHours = end->hours;
    record.endFound = end->used = true;
  }
  record.durationHours = std::max(record.durationHours, record.endHours - record.startHours);
}

// Each time by the offset valid at that moment: an orb entered before the clocks change and
// left after it shows both on the clock of its own moment.
void DayScanner::ShiftToDisplay(EventRecord& record) const {
  for (double* hours : {&record.startHours, &record.culminationHours, &record.endHours}) {
    *hours += OffsetAt(*hours, true);
  }
}

}  // namespace

double HoursPerDegree(int point) {
  return point >= 0 && point <= kLastTransitingPoint ? kHoursPerDegree[point] : 0.0;
}

DayScanOutcome DayScan(const ws::ChartRecord& natal, const ws::AspectTable& aspects, const DayScanRequest& request,
                       const ws::ChartEngine& engine) {
  if (request.stepsIndex < 0 || request.stepsIndex >= kStepsChoices) return {std::nullopt, kStepsInvalid};
  if (request.month < 1 || request.month > 12 || request.day < 1 ||
      request.day > ws::DaysInMonth(request.year, request.month)) {
    return {std::nullopt, kDayInvalid};
  }
  const long long day = ws::DaysSince1860(request.year, request.month, request.day);
  if (day < ws::DaysSince1860(ws::kFirstYear, 1, 3) || day > ws::DaysSince1860(ws::kLastYear, 12, 30)) {
    return {std::nullopt, kDayOutOfRange};
  }
  DayScanner scanner(natal, aspects, request, engine);
  auto lists = scanner.Run();
  if (!lists) return {std::nullopt, kTransitsNotComputed};
  return {std::move(lists), {}};
}

}  // namespace kelvara::eventmap
