#include "eventmap/event_scanner.h"

#include <algorithm>
#include <cmath>

#include "platform/worker.h"
#include "workspace/chart_compute.h"
#include "workspace/driver_points.h"

namespace kelvara::eventmap {
namespace {

using workspace::ChartRecord;
using workspace::kSlotFirstCusp;
using workspace::kSlotLastCusp;
using workspace::Normalise360;

constexpr double kHoursPerDay = 24.0;
constexpr double kNoonHour = 12.0;
// A natal chart does not move: in effect one step for the whole window.
constexpr double kNatalStepHours = 365.0 * 7200.0;
constexpr double kTransitStepHours = 24.0;
constexpr double kYearStepHours = 365.0 * 24.0;
constexpr double kSecondOf1860Hours = 24.0;  // 2 January 1860 00:00
constexpr int kHouseSubSteps = 24;
constexpr int kStepsPerSlice = 2;
constexpr int kMaxPercent = 99;

constexpr double kNoValueFrom = 380.0;
using workspace::kFullCircle;
constexpr double kHalfCircle = 180.0;
constexpr double kNearZeroDeg = 20.0;
constexpr double kSameMomentHours = 0.001;
constexpr double kStillDeg = 0.001;
constexpr double kLevelDeg = 0.000001;
constexpr double kUnusedHouseCoordinate = -774.0;
constexpr int kNeverShownAspect = 20;
constexpr int kNorthNode = workspace::kSlotNorthNode;
constexpr int kSouthNode = workspace::kSlotSouthNode;
constexpr int kOppositeCuspDistance = 6;

constexpr double kProgressionDurationFactor = 15.218424961250001;  // 365.24219907 / 24
constexpr double kTropicalYearHours = 8765.81277768;
constexpr double kNoDuration = -1.0;

// Scan states; post-processing runs 0, 1, 2, 3, 4, 5, 9, 6, 7, then 8.
constexpr int kStateIdle = -2;
constexpr int kStateScanning = -1;
constexpr int kStateDropRunning = 0;
constexpr int kStateSort = 1;
constexpr int kStatePairExact = 2;
constexpr int kStateRemoveUsed = 3;
constexpr int kStatePairEntries = 4;
constexpr int kStateHouses = 5;
constexpr int kStateDisplayTables = 6;
constexpr int kStatePublish = 7;
constexpr int kStateFinished = 8;
constexpr int kStateRows = 9;

int NextState(int state) {
  switch (state) {
    case kStateHouses: return kStateRows;
    case kStateRows: return kStateDisplayTables;
    default: return state + 1;
  }
}

enum class ChartClass { kNatal, kTransit, kProgressed, kDirected };

// By the name, as the chart computation titles the chart at every cast.
ChartClass ClassOf(const ChartRecord& chart) {
  const std::string_view title = workspace::TitleForName(chart.name);
  if (title == workspace::kTitleTransit) return ChartClass::kTransit;
  if (title == workspace::kTitleProgressed) return ChartClass::kProgressed;
  if (title == workspace::kTitleDirect) return ChartClass::kDirected;
  return ChartClass::kNatal;
}

// Cusps of these charts turn about once a day of the chart's own time.
bool HousesSwingRound(ChartClass c) { return c == ChartClass::kTransit || c == ChartClass::kProgressed; }

// A rate of 0 (a secondary progression) would give a step of 0 and a scan without end.
double RateDays(const ChartRecord& chart) {
  const double rate = chart.directionRate;
  return std::isfinite(rate) && rate > 0.0 ? rate : workspace::kTropicalYearDays;
}

double ChartStep(ChartClass c, const ChartRecord& chart, std::string_view method) {
  switch (c) {
    case ChartClass::kNatal: return kNatalStepHours;
    case ChartClass::kTransit: return kTransitStepHours;
    case ChartClass::kProgressed:
      return method == kMethodProgressions ? kYearStepHours : kHoursPerDay * RateDays(chart);
    case ChartClass::kDirected:
      return method == kMethodDirections ? kYearStepHours : kHoursPerDay * RateDays(chart);
  }
  return kTransitStepHours;
}

bool HasCoordinate(double x) { return x >= 0.0 && x < kNoValueFrom; }
bool IsCusp(int point) { return point >= kSlotFirstCusp && point <= kSlotLastCusp; }
double IntoOpenRange(double deg) { return std::fmod(deg, kFullCircle); }
double DayStart(double hours) { return std::floor(hours / kHoursPerDay) * kHoursPerDay; }
int HourOfDay(double hours) { return int(std::floor(hours - DayStart(hours))); }

// A pair of values across 0 degrees is read as one continuous motion.
bool Unwrap(double& a, double& b) {
  if (std::fabs(b - a) <= kHalfCircle) return false;
  (a < b ? a : b) += kFullCircle;
  return true;
}

double Change(double a, double b) {
  Unwrap(a, b);
  return b - a;
}

struct Crossing {
  double fraction = 0.0;  // of the step
  double movingDeg = 0.0;
};

std::optional<Crossing> FindCrossing(double m0, double m1, double g0, double g1) {
  const bool movingWrapped = Unwrap(m0, m1);
  const bool targetWrapped = Unwrap(g0, g1);
  if (movingWrapped && !targetWrapped && g0 < kNearZeroDeg) {
    g0 += kFullCircle;
    g1 += kFullCircle;
  } else if (targetWrapped && !movingWrapped && m0 < kNearZeroDeg) {
    m0 += kFullCircle;
    m1 += kFullCircle;
  }
  // Half-open: a target met exactly at a step time belongs to the step that ends there,
  // so it is found once rather than lost to a product of zero in both steps.
  const double before = m0 - g0;
  if (!(before != 0.0 && before * (m1 - g1) <= 0.0)) return std::nullopt;
  const double dm = m1 - m0;
  const double dg = g1 - g0;
  double u = 0.0;
  if (std::fabs(dm) < kStillDeg && std::fabs(dg) < kStillDeg) {
    u = 0.0;
  } else if (std::fabs(dm) < kLevelDeg) {
    u = (m0 - g0) / dg;
  } else if (std::fabs(dg) < kLevelDeg) {
    u = (g0 - m0) / dm;
  } else {
    u = (g0 - m0) / (dm - dg);
  }
  return Crossing{u, m0 + dm * u};
}

struct AspectRow {
  bool enabled = false;
  double angle = 0.0;
  std::uint32_t colour = 0;
  std::array<double, kTablePoints> orbs{};
};
using AspectRows = std::array<AspectRow, kTableAspects>;

// Rows past the settings' 18 (the declination aspects and row 20) stay off: a chart
// record carries no declinations, so their exact point would be the no-value mark.
AspectRows RowsOf(const workspace::AspectTable& table) {
  AspectRows rows;
  for (int a = 0; a < workspace::kAspectCount; ++a) {
    const workspace::AspectRecord& record = table[a];
    rows[a].enabled = record.enabled;
    rows[a].angle = Normalise360(record.angle);  // a hand-edited 360 is a conjunction
    rows[a].colour = record.firstColor;
    for (int point = 0; point < kTablePoints; ++point) rows[a].orbs[point] = workspace::OrbOfSlot(record.firstOrbs, point);
  }
  return rows;
}

struct Positions {
  std::array<double, kTablePoints> lon{};
  std::array<double, kTablePoints> speed{};
};

Positions PositionsOf(const workspace::ObjectTable& objects) {
  Positions p;
  for (int i = 0; i < kTablePoints; ++i) {
    p.lon[i] = objects[i].longitude;
    p.speed[i] = objects[i].speed;
  }
  return p;
}

// One side of one aspect to one base point.
struct AspectPoint {
  int base = 0;
  int aspect = 0;
  double offsetDeg = 0.0;  // +angle or -angle
  double orb = 0.0;
};

// The direct version; the retrograde one exchanges the boundaries.
struct Targets {
  double first = 0.0;
  double exact = 0.0;
  double second = 0.0;
};

double HoursPerDegree(double speed0, double speed1) {
  const double mean = (speed0 + speed1) / 2.0;
  return mean == 0.0 ? kNoDuration : kHoursPerDay / std::fabs(mean);
}

using RecordList = std::vector<EventRecord>;

// Removes the first record of the identity within the moment's tolerance.
void RemoveAt(RecordList& list, const EventRecord& like, double hours) {
  const auto it = std::find_if(list.begin(), list.end(), [&](const EventRecord& r) {
    return SameIdentity(r, like) && std::fabs(r.culminationHours - hours) < kSameMomentHours;
  });
  if (it != list.end()) list.erase(it);
}

}  // namespace

EventTable::EventTable() : cells_(std::size_t(kTablePoints) * kTableAspects * kTablePoints) {}

std::vector<EventRecord>& EventTable::Cell(int moving, int aspect, int base) {
  return cells_[(std::size_t(moving) * kTableAspects + aspect) * kTablePoints + base];
}

const std::vector<EventRecord>& EventTable::Cell(int moving, int aspect, int base) const {
  return cells_[(std::size_t(moving) * kTableAspects + aspect) * kTablePoints + base];
}

std::size_t EventTable::RecordCount() const {
  std::size_t count = 0;
  for (const auto& cell : cells_) count += cell.size();
  return count;
}

struct EventScanner::Scan {
  Scan(const workspace::ChartEngine& e, const workspace::AspectTables& t) : engine(e), aspectTables(t) {}

  // ---- inputs ----
  const workspace::ChartEngine& engine;
  workspace::AspectTables aspectTables;
  std::optional<ChartRecord> moving;
  std::optional<ChartRecord> base;
  std::optional<ChartRecord> natal;
  std::string method;
  std::bitset<workspace::kSlotCount> fixedBase;
  double windowStart = 0.0;
  double windowEnd = 0.0;
  bool exactOnly = false;
  bool calendarProgress = false;
  bool housesAccepted = false;
  std::size_t recordCap = kDefaultRecordCap;

  // ---- prepared ----
  ChartClass movingClass = ChartClass::kNatal;
  ChartClass baseClass = ChartClass::kNatal;
  bool singleChart = false;
  ChartRecord baseAsGiven;
  AspectRows rows;
  double step = kTransitStepHours;
  double stepAdvance = kTransitStepHours;
  double scanStart = 0.0;
  double scanEnd = 0.0;
  int subSteps = 1;
  int totalSteps = 0;
  int currentStep = 0;
  double stepTime = 0.0;
  bool started = false;
  bool stopped = false;
  int state = kStateIdle;
  std::vector<int> movingPoints;
  std::vector<AspectPoint> aspectPoints;
  Positions prevMoving, curMoving, prevBase, curBase;
  std::vector<Targets> prevTargets, curTargets;
  std::array<EventTable, kEventKindCount> tables;
  std::size_t recordCount = 0;
  bool capReported = false;
  platform::Worker* worker = nullptr;
  std::shared_ptr<ScanSnapshot> pending;

  EventTable& Table(EventKind kind) { return tables[static_cast<int>(kind)]; }
  RecordList& CellOf(EventKind kind, int m, int a, int b) { return Table(kind).Cell(m, a, b); }

  // ---- preparation ----
  bool NeedsHouseSteps() const {
    const auto slowsDown = [](const ChartRecord& chart, ChartClass c) {
      return HousesSwingRound(c) && chart.houseSystem != workspace::kNoHouses;
    };
    const bool spared = method == kMethodBackground || method == kMethodTransits || method == kMethodProgressions;
    return !spared && (slowsDown(*moving, ClassOf(*moving)) || slowsDown(*base, ClassOf(*base)));
  }

  void Reset() {
    tables = {};
    recordCount = 0;
    capReported = false;
    currentStep = 0;
    started = false;
    stopped = false;
    pending.reset();
  }

  void ComputeLimits() {
    step = std::min(ChartStep(movingClass, *moving, method), ChartStep(baseClass, *base, method));
    const double start = std::round(windowStart);
    scanStart = DayStart(start);
    if (start - scanStart < kNoonHour) scanStart -= step;
    scanEnd = DayStart(windowEnd);
    if (HourOfDay(windowEnd + kHoursPerDay) > kNoonHour) scanEnd += step;
    if (scanStart < workspace::kScaleStartHours) scanStart = kSecondOf1860Hours;
    const double lastDay = workspace::HoursSince1860({workspace::kLastYear, 12, 31, 0, 0, 0});
    scanEnd = std::min(scanEnd, lastDay);
    // The step dates are whole hours.
    scanStart = std::round(scanStart);
    scanEnd = std::round(scanEnd);
    const double span = scanEnd - scanStart;
    int steps = 0;
    if (span > 0.0) {
      if (span < step) step = span;
      steps = int(span / step);
    }
    subSteps = NeedsHouseSteps() ? kHouseSubSteps : 1;
    totalSteps = steps * subSteps;
    stepAdvance = std::max(1.0, std::round(step / subSteps));
  }

  bool MovingPointScanned(int j) const {
    const workspace::ChartObject& object = moving->objects[j];
    if (!object.usedAsMoving) return false;
    if (!IsCusp(j)) return true;
    // Stepping a day, transit and progressed cusps would turn about once per step.
    return moving->houseSystem != workspace::kNoHouses && !(HousesSwingRound(movingClass) && subSteps == 1);
  }

  bool BasePointScanned(int k) const {
    if (!base->objects[k].usedAsAspected) return false;
    if (!IsCusp(k) || fixedBase[k]) return true;
    if (base->houseSystem == workspace::kNoHouses) return false;
    return !(baseClass != ChartClass::kNatal && HousesSwingRound(baseClass) && subSteps == 1);
  }

  void BuildPointLists() {
    movingPoints.clear();
    aspectPoints.clear();
    for (int j = 1; j < kTablePoints; ++j) {
      if (MovingPointScanned(j)) movingPoints.push_back(j);
    }
    for (int k = 1; k < kTablePoints; ++k) {
      if (!BasePointScanned(k)) continue;
      for (int a = 0; a < kTableAspects; ++a) {
        const AspectRow& row = rows[a];
        // Rows that are off and orbs of 0 could only give records that are never shown.
        if (!row.enabled || !(row.orbs[k] > 0.0)) continue;
        aspectPoints.push_back({k, a, row.angle, row.orbs[k]});
        // The aspect point on the other side, unless both sides coincide (0 and 180).
        if (row.angle != 0.0 && row.angle != kHalfCircle) aspectPoints.push_back({k, a, -row.angle, row.orbs[k]});
      }
    }
  }

  PrepareResult Prepare() {
    state = kStateIdle;
    Reset();
    if (!moving || !base) return PrepareResult::kMissingChart;
    if (NeedsHouseSteps() && !housesAccepted) return PrepareResult::kHousesNotAccepted;
    movingClass = ClassOf(*moving);
    baseClass = ClassOf(*base);
    singleChart = method == kMethodBackground;
    baseAsGiven = *base;
    rows = RowsOf(singleChart ? aspectTables.single : aspectTables.between);
    ComputeLimits();
    BuildPointLists();
    state = kStateScanning;
    return PrepareResult::kReady;
  }

  // ---- step loop ----
  bool Cast(ChartRecord& chart, double greenwichHours) {
    chart.local = workspace::MomentFromHours(greenwichHours + chart.gmtOffsetHours);
    const ChartRecord& from = natal ? *natal : *base;
    const workspace::ComputeContext context{engine, &from, nullptr, nullptr, {}};
    std::lock_guard lock(workspace::EngineLock());
    return workspace::ComputeChart(chart, context) == workspace::ComputeResult::kComputed;
  }

  Targets TargetsOf(const AspectPoint& point, const Positions& positions) const {
    const auto [first, exact, second] = OrbBoundariesDeg(positions.lon[point.base] + point.offsetDeg, point.orb);
    return {first, exact, second};
  }

  bool CastAt(double hours) {
    if (movingClass != ChartClass::kNatal) {
      if (!Cast(*moving, hours)) return false;
    }
    if (baseClass != ChartClass::kNatal) {
      if (!Cast(*base, hours)) return false;
      for (int k = 0; k < workspace::kSlotCount; ++k) {
        if (fixedBase[k]) base->objects[k] = baseAsGiven.objects[k];
      }
    }
    curMoving = PositionsOf(moving->objects);
    curBase = PositionsOf(base->objects);
    curTargets.resize(aspectPoints.size());
    for (std::size_t e = 0; e < aspectPoints.size(); ++e) curTargets[e] = TargetsOf(aspectPoints[e], curBase);
    return true;
  }

  void KeepAsPrevious() {
    prevMoving = curMoving;
    prevBase = curBase;
    prevTargets = curTargets;
  }

  bool PairAllowed(int j, int k) const {
    if (!singleChart) return true;
    if (j >= k || (j == kNorthNode && k == kSouthNode)) return false;
    if (j < kSlotFirstCusp) return true;
    const int opposite = j + kOppositeCuspDistance <= kSlotLastCusp ? j + kOppositeCuspDistance : j - kOppositeCuspDistance;
    return k != opposite;
  }

  double Duration(int j, int k) const {
    const bool bothNatal = movingClass == ChartClass::kNatal && baseClass == ChartClass::kNatal;
    const bool sameDirection = movingClass == ChartClass::kDirected && baseClass == ChartClass::kDirected &&
                               RateDays(*moving) == RateDays(*base);
    if (bothNatal || sameDirection) return kNoDuration;
    const double movingValue = HoursPerDegree(prevMoving.speed[j], curMoving.speed[j]);
    const bool progressions = method == kMethodProgressions;
    double result = kNoDuration;
    switch (movingClass) {
      case ChartClass::kTransit: result = movingValue; break;
      case ChartClass::kProgressed:
        result = progressions ? movingValue * kProgressionDurationFactor
                              : movingValue * RateDays(*moving) / kHoursPerDay;
        break;
      case ChartClass::kDirected:
        result = progressions ? kTropicalYearHours : RateDays(*moving) * kHoursPerDay;
        break;
      case ChartClass::kNatal: break;
    }
    if (baseClass == ChartClass::kTransit) {
      const double baseValue = HoursPerDegree(prevBase.speed[k], curBase.speed[k]);
      if (result == kNoDuration || result > baseValue) result = baseValue;
    }
    return result;
  }

  void ReportOutOfMemory() {
    if (capReported) return;
    capReported = true;
    if (worker) worker->Post(kWmScanOutOfMemory);
  }

  void Add(EventKind kind, const EventRecord& record) {
    RecordList& cell = CellOf(kind, record.movingPoint, record.aspectIndex, record.basePoint);
    for (const EventRecord& r : cell) {
      if (SameIdentity(r, record) && std::fabs(r.culminationHours - record.culminationHours) < kSameMomentHours) return;
    }
    if (recordCount >= recordCap) return ReportOutOfMemory();
    cell.push_back(record);
    ++recordCount;
  }

  EventRecord NewRecord(int j, const AspectPoint& point) const {
    EventRecord r;
    r.startHours = scanStart;
    r.endHours = scanEnd;
    r.culminationHours = scanEnd;
    r.aspectAngleDeg = rows[point.aspect].angle;
    r.orbDeg = point.orb;
    r.movingPoint = j;
    r.basePoint = point.base;
    r.aspectIndex = point.aspect;
    r.durationHours = Duration(j, point.base);
    return r;
  }

  struct StepSpan {
    double t0, t1;
    double m0, m1;
  };

  double BaseAt(int k, double fraction) const {
    double l0 = prevBase.lon[k];
    double l1 = curBase.lon[k];
    Unwrap(l0, l1);
    return IntoOpenRange(l0 + (l1 - l0) * fraction);
  }

  bool Try(EventKind kind, const StepSpan& s, int j, const AspectPoint& point, double g0, double g1) {
    const std::optional<Crossing> crossing = FindCrossing(s.m0, s.m1, g0, g1);
    if (!crossing) return false;
    EventRecord r = NewRecord(j, point);
    const double t = s.t0 + (s.t1 - s.t0) * crossing->fraction;
    r.culminationHours = t;
    if (kind == EventKind::kExact) {
      r.exactFound = true;
      r.movingCoordinateDeg = Normalise360(crossing->movingDeg);
      r.aspectedLongitudeDeg = r.movingCoordinateDeg;
      r.movingLongitudeDeg = IntoOpenRange(crossing->movingDeg);
      r.baseLongitudeDeg = BaseAt(point.base, crossing->fraction);
    } else if (kind == EventKind::kEntry) {
      r.startHours = t;
      r.startFound = true;
    } else {
      r.endHours = t;
      r.endFound = true;
    }
    Add(kind, r);
    return true;
  }

  // An aspect already in orb when the scan begins.
  void CheckRunning(const StepSpan& s, int j, const AspectPoint& point, const Targets& before) {
    if (std::fabs(workspace::SignedDifference(s.m0, before.exact)) >= point.orb / 2.0) return;
    if (!CellOf(EventKind::kRunning, j, point.aspect, point.base).empty()) return;
    Add(EventKind::kRunning, NewRecord(j, point));
  }

  void SearchPair(const StepSpan& s, int j, const AspectPoint& point, const Targets& a, const Targets& b) {
    if (exactOnly) {
      Try(EventKind::kExact, s, j, point, a.exact, b.exact);
      return;
    }
    // The boundary met first is always the entry, whichever way the point moves.
    const bool direct = Change(s.m0, s.m1) > Change(a.exact, b.exact);
    Try(EventKind::kEntry, s, j, point, direct ? a.first : a.second, direct ? b.first : b.second);
    const bool exact = Try(EventKind::kExact, s, j, point, a.exact, b.exact);
    Try(EventKind::kExit, s, j, point, direct ? a.second : a.first, direct ? b.second : b.first);
    if (!exact && currentStep == 1) CheckRunning(s, j, point, a);
  }

  void SearchStep(double t0, double t1) {
    for (int j : movingPoints) {
      const StepSpan s{t0, t1, prevMoving.lon[j], curMoving.lon[j]};
      if (!HasCoordinate(s.m0) || !HasCoordinate(s.m1)) continue;
      for (std::size_t e = 0; e < aspectPoints.size(); ++e) {
        const AspectPoint& point = aspectPoints[e];
        if (!PairAllowed(j, point.base)) continue;
        if (!HasCoordinate(prevBase.lon[point.base]) || !HasCoordinate(curBase.lon[point.base])) continue;
        SearchPair(s, j, point, prevTargets[e], curTargets[e]);
      }
    }
  }

  enum class Slice { kMore, kDone, kRefused };

  Slice Advance() {
    if (stepTime >= scanEnd) return Slice::kDone;
    // The last step ends at the scan end, so whole-hour steps never leave a tail unscanned.
    const double next = std::min(stepTime + stepAdvance, scanEnd);
    if (!CastAt(next)) return Slice::kRefused;
    ++currentStep;
    SearchStep(stepTime, next);
    stepTime = next;
    KeepAsPrevious();
    return Slice::kMore;
  }

  Slice Begin() {
    started = true;
    stepTime = scanStart;
    if (totalSteps == 0) return Slice::kDone;
    if (!CastAt(scanStart)) return Slice::kRefused;
    KeepAsPrevious();
    return Slice::kMore;
  }

  void ReportProgress() {
    const unsigned message = exactOnly ? kWmExactOnlyProgress : calendarProgress ? kWmCalendarProgress : 0;
    if (worker == nullptr || message == 0 || totalSteps == 0) return;
    const double percent = std::round(double(currentStep) / totalSteps * 100.0);
    worker->Post(message, std::uintptr_t(std::min<double>(percent, kMaxPercent)));
  }

  void ScanSlice() {
    Slice result = started ? Slice::kMore : Begin();
    for (int i = 0; i < kStepsPerSlice && result == Slice::kMore; ++i) result = Advance();
    if (result == Slice::kMore && stepTime >= scanEnd) result = Slice::kDone;
    ReportProgress();
    const bool stopAsked = worker != nullptr && worker->StopRequested();
    if (result == Slice::kMore && !stopAsked) return;
    stopped = result != Slice::kDone;
    state = kStateDropRunning;
  }

  // ---- post-processing ----
  double CoveredEnd() const { return stopped ? stepTime : scanEnd; }

  template <typename Fn>
  static void ForEachCell(Fn&& fn) {
    for (int m = 0; m < kTablePoints; ++m)
      for (int a = 0; a < kTableAspects; ++a)
        for (int b = 0; b < kTablePoints; ++b) fn(m, a, b);
  }

  template <typename Fn>
  void ForEachRecord(Fn&& fn) {
    ForEachCell([&](int m, int a, int b) {
      for (EventTable& table : tables)
        for (EventRecord& r : table.Cell(m, a, b)) fn(r);
    });
  }

  // A stopped scan ends where its steps ended.
  void CutToCovered() {
    const double end = CoveredEnd();
    ForEachRecord([&](EventRecord& r) {
      if (!r.endFound && r.endHours > end) r.endHours = end;
      if (!r.exactFound && !r.startFound && !r.endFound) r.culminationHours = std::min(r.culminationHours, end);
    });
  }

  static bool HasIdentity(const RecordList& list, const EventRecord& like) {
    return std::any_of(list.begin(), list.end(), [&](const EventRecord& r) { return SameIdentity(r, like); });
  }

  void DropRunning(int m, int a, int b) {
    RecordList& running = CellOf(EventKind::kRunning, m, a, b);
    std::erase_if(running, [&](const EventRecord& r) {
      return HasIdentity(CellOf(EventKind::kExact, m, a, b), r) || HasIdentity(CellOf(EventKind::kEntry, m, a, b), r) ||
             HasIdentity(CellOf(EventKind::kExit, m, a, b), r);
    });
  }

  void SortCell(int m, int a, int b) {
    const auto earlier = [](const EventRecord& x, const EventRecord& y) { return x.culminationHours < y.culminationHours; };
    for (EventKind kind : {EventKind::kEntry, EventKind::kExact, EventKind::kExit}) {
      RecordList& list = CellOf(kind, m, a, b);
      std::stable_sort(list.begin(), list.end(), earlier);
    }
  }

  static void PairExact(EventRecord& x, const RecordList& entries, const RecordList& exits) {
    const EventRecord* entry = nullptr;
    for (const EventRecord& e : entries) {
      const double t = e.culminationHours;
      if (SameIdentity(e, x) && x.startHours < t && t <= x.culminationHours && t < x.endHours) entry = &e;
    }
    if (entry) {
      x.startHours = entry->culminationHours;
      x.startFound = true;
    }
    for (const EventRecord& e : exits) {
      const double t = e.culminationHours;
      if (SameIdentity(e, x) && x.culminationHours <= t && t < x.endHours && t > x.startHours) {
        x.endHours = t;
        x.endFound = true;
        break;
      }
    }
    const double span = x.endHours - x.startHours;
    if ((x.startFound && x.endFound) || span > x.durationHours) x.durationHours = span;
  }

  void PairExactCell(int m, int a, int b) {
    for (EventRecord& x : CellOf(EventKind::kExact, m, a, b)) {
      PairExact(x, CellOf(EventKind::kEntry, m, a, b), CellOf(EventKind::kExit, m, a, b));
    }
  }

  void RemoveUsed(int m, int a, int b) {
    for (const EventRecord& x : CellOf(EventKind::kExact, m, a, b)) {
      if (x.startFound) RemoveAt(CellOf(EventKind::kEntry, m, a, b), x, x.startHours);
      if (x.endFound) RemoveAt(CellOf(EventKind::kExit, m, a, b), x, x.endHours);
    }
  }

  // An aspect that entered the orb and left it without becoming exact.
  void PairEntries(int m, int a, int b) {
    RecordList& exits = CellOf(EventKind::kExit, m, a, b);
    for (EventRecord& e : CellOf(EventKind::kEntry, m, a, b)) {
      const auto exit = std::find_if(exits.begin(), exits.end(), [&](const EventRecord& x) {
        const double t = x.culminationHours;
        return SameIdentity(x, e) && e.culminationHours <= t && t < e.endHours;
      });
      if (exit == exits.end()) continue;
      e.endHours = exit->culminationHours;
      e.endFound = true;
      e.startFound = true;
      exits.erase(exit);
    }
  }

  void ClearUnusableHouses(ChartRecord& chart, const std::bitset<workspace::kSlotCount>& fixed) {
    for (int k = kSlotFirstCusp; k <= kSlotLastCusp; ++k) {
      if (fixed[k]) continue;
      workspace::ChartObject& cusp = chart.objects[k];
      if (chart.houseSystem == workspace::kNoHouses) cusp.usedAsMoving = cusp.usedAsAspected = 0;
      if (std::fabs(cusp.longitude) > kFullCircle) {
        cusp.usedAsMoving = cusp.usedAsAspected = 0;
        cusp.longitude = kUnusedHouseCoordinate;
      }
    }
  }

  void SignOrbs() {
    ClearUnusableHouses(*moving, {});
    ClearUnusableHouses(*base, fixedBase);
    ForEachRecord([&](EventRecord& r) {
      const AspectRow& row = rows[r.aspectIndex];
      const bool shown = r.aspectIndex != kNeverShownAspect && row.enabled &&
                         moving->objects[r.movingPoint].usedAsMoving && base->objects[r.basePoint].usedAsAspected;
      r.orbDeg = shown ? std::fabs(r.orbDeg) : -std::fabs(r.orbDeg);
      r.colour = row.colour;
    });
  }

  void BuildRows() {
    pending = std::make_shared<ScanSnapshot>();
    ForEachCell([&](int m, int a, int b) {
      for (const EventTable& table : tables) {
        const RecordList& cell = table.Cell(m, a, b);
        if (std::any_of(cell.begin(), cell.end(), [](const EventRecord& r) { return !r.IsHidden(); })) {
          pending->rows.push_back({m, a, b});
          return;
        }
      }
    });
  }

  void PostProcess() {
    switch (state) {
      case kStateDropRunning:
        if (stopped) CutToCovered();
        ForEachCell([&](int m, int a, int b) { DropRunning(m, a, b); });
        break;
      case kStateSort: ForEachCell([&](int m, int a, int b) { SortCell(m, a, b); }); break;
      case kStatePairExact: ForEachCell([&](int m, int a, int b) { PairExactCell(m, a, b); }); break;
      case kStateRemoveUsed: ForEachCell([&](int m, int a, int b) { RemoveUsed(m, a, b); }); break;
      case kStatePairEntries: ForEachCell([&](int m, int a, int b) { PairEntries(m, a, b); }); break;
      case kStateHouses: SignOrbs(); break;
      case kStateRows: BuildRows(); break;
      case kStateDisplayTables:
        pending->tables = std::move(tables);  // the next Prepare sets up fresh tables
        pending->coveredStartHours = scanStart;
        pending->coveredEndHours = CoveredEnd();
        pending->stopped = stopped;
        break;
      default: break;
    }
    state = NextState(state);
  }
};

EventScanner::EventScanner(const workspace::ChartEngine& engine, const workspace::AspectTables& aspects)
    : scan_(std::make_unique<Scan>(engine, aspects)) {}

EventScanner::~EventScanner() = default;

void EventScanner::SetCharts(const ScanCharts& charts) {
  Scan& s = *scan_;
  const auto copy = [](const ChartRecord* chart) {
    return chart ? std::optional<ChartRecord>(*chart) : std::nullopt;
  };
  s.moving = copy(charts.moving);
  s.base = copy(charts.base);
  s.natal = copy(charts.natal);
  s.method = charts.method;
  s.fixedBase = charts.fixedBasePoints;
}

void EventScanner::SetWindow(double startHours, double endHours) {
  scan_->windowStart = workspace::ClampToScale(startHours);
  scan_->windowEnd = workspace::ClampToScale(endHours);
}

void EventScanner::SetExactOnly(bool on) { scan_->exactOnly = on; }
void EventScanner::SetCalendarProgress(bool on) { scan_->calendarProgress = on; }
void EventScanner::SetRecordCap(std::size_t cap) { scan_->recordCap = cap; }
void EventScanner::AcceptHouses() { scan_->housesAccepted = true; }

std::optional<std::string> EventScanner::HouseQuestion() const {
  const Scan& s = *scan_;
  if (!s.moving || !s.base || s.housesAccepted || !s.NeedsHouseSteps()) return std::nullopt;
  return "Расчет метода:\n= " + s.method + " =\nиз-за учета Домов займет время...";
}

PrepareResult EventScanner::Prepare() {
  if (busy_.load()) return PrepareResult::kBusy;
  return scan_->Prepare();
}

ScanOutcome EventScanner::Run(platform::Worker* worker) {
  if (busy_.exchange(true)) return ScanOutcome::kBusy;
  Scan& s = *scan_;
  if (s.state != kStateScanning) {
    busy_ = false;
    return ScanOutcome::kIdle;
  }
  s.worker = worker;
  while (s.state != kStateFinished) {
    if (s.state == kStateScanning) {
      s.ScanSlice();
    } else if (s.state == kStatePublish) {
      Publish(std::move(s.pending));
      s.state = NextState(s.state);
    } else {
      s.PostProcess();
    }
  }
  s.worker = nullptr;
  const bool stopped = s.stopped;
  s.state = kStateIdle;
  busy_ = false;
  return stopped ? ScanOutcome::kStopped : ScanOutcome::kFinished;
}

void EventScanner::Publish(std::shared_ptr<const ScanSnapshot> snapshot) {
  std::lock_guard lock(snapshotMutex_);
  snapshot_.swap(snapshot);
  // The old snapshot goes when its last reader lets it go, outside the lock.
}

std::shared_ptr<const ScanSnapshot> EventScanner::Snapshot() const {
  std::lock_guard lock(snapshotMutex_);
  return snapshot_;
}

double EventScanner::StepHours() const { return scan_->step; }
int EventScanner::StepCount() const { return scan_->totalSteps; }
int EventScanner::SubStepsPerStep() const { return scan_->subSteps; }
double EventScanner::ScanStartHours() const { return scan_->scanStart; }
double EventScanner::ScanEndHours() const { return scan_->scanEnd; }

}  // namespace kelvara::eventmap
