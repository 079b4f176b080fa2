#include "engine/event_scan.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/angles.h"
#include "engine/aspects.h"
#include "engine/calendar.h"
#include "engine/scan_text.h"

namespace kelvara::engine {
namespace {

// Keeps the printed place of an ingress just short of the boundary it crosses.
constexpr double kIngressShortfall = 0.999;

// Windows-1251 notes: Весенние равноденствие, Летнее солнцестояние, Осенние равноденствие,
// Зимнее солнцестояние (Sun entering Aries, Cancer, Libra, Capricorn).
constexpr const char* kSeasonNotes[] = {
    " (\xc2\xe5\xf1\xe5\xed\xed\xe8\xe5 \xf0\xe0\xe2\xed\xee\xe4\xe5\xed\xf1\xf2\xe2\xe8\xe5)",
    " (\xcb\xe5\xf2\xed\xe5\xe5 \xf1\xee\xeb\xed\xf6\xe5\xf1\xf2\xee\xff\xed\xe8\xe5)",
    " (\xce\xf1\xe5\xed\xed\xe8\xe5 \xf0\xe0\xe2\xed\xee\xe4\xe5\xed\xf1\xf2\xe2\xe8\xe5)",
    " (\xc7\xe8\xec\xed\xe5\xe5 \xf1\xee\xeb\xed\xf6\xe5\xf1\xf2\xee\xff\xed\xe8\xe5)"};
// Новолуние, Полнолуние, Четверть: the Sun's conjunction, opposition and square with the Moon.
constexpr const char* kPhaseNotes[] = {
    " (\xcd\xee\xe2\xee\xeb\xf3\xed\xe8\xe5)", " (\xcf\xee\xeb\xed\xee\xeb\xf3\xed\xe8\xe5)",
    " (\xd7\xe5\xf2\xe2\xe5\xf0\xf2\xfc)"};
constexpr int kSignsPerSeason = 3;
constexpr int kConjunction = 1;
constexpr int kSquare = 3;

using MovingDay = std::array<MovingSample, kObjectCount>;

// Start and length of a scan step, minutes after local midnight.
struct StepTime {
  int index;
  double minutes_per_step;
  double At(double fraction) const { return (index + fraction) * minutes_per_step; }
};

double Interpolate(double previous, double current, double f) {
  return previous + f * (current - previous);
}

int SignIndex(double longitude_deg) { return SignOf(longitude_deg).sign - 1; }

// The parallel and the contraparallel compare declinations.
bool DeclinationAspect(int aspect) { return aspect >= kParallel; }

// The angle the aspect test looks for: the parallels compare declinations directly.
double AspectAngleDeg(int aspect) { return DeclinationAspect(aspect) ? 0.0 : AspectTable()[aspect].angle_deg; }

// What the aspect test compares: longitudes, or declinations for the parallels (the second
// object's negated for the contraparallel).
StepPositions AspectPositions(int aspect, const MovingSample& a_prev, const MovingSample& a_cur,
                              const MovingSample& b_prev, const MovingSample& b_cur) {
  if (!DeclinationAspect(aspect)) {
    return {a_prev.longitude_deg, a_cur.longitude_deg, b_prev.longitude_deg, b_cur.longitude_deg};
  }
  const double b_sign = aspect == kContraparallel ? -1.0 : 1.0;
  return {a_prev.declination_deg, a_cur.declination_deg, b_sign * b_prev.declination_deg,
          b_sign * b_cur.declination_deg};
}

// The three comparisons of one pair in one step, each shared by the aspects that use it.
struct PairSteps {
  StepPair longitude;
  StepPair parallel;
  StepPair contraparallel;
  const StepPair& For(int aspect) const {
    if (aspect == kContraparallel) return contraparallel;
    return aspect == kParallel ? parallel : longitude;
  }
};

PairSteps PairStepsOf(const MovingSample& a_prev, const MovingSample& a_cur,
                      const MovingSample& b_prev, const MovingSample& b_cur) {
  const auto pair = [&](int aspect) {
    return PairInStep(AspectPositions(aspect, a_prev, a_cur, b_prev, b_cur));
  };
  return {pair(kConjunction), pair(kParallel), pair(kContraparallel)};
}

// The aspect's event when it becomes exact in the step that pair describes.
std::optional<ScanEvent> AspectEvent(int aspect, int a, int b, const MovingSample& a_prev,
                                     const MovingSample& a_cur, const MovingSample& b_prev,
                                     const MovingSample& b_cur, const StepPair& pair) {
  const bool declination = DeclinationAspect(aspect);
  const StepExactness exact = AspectExactInPair(AspectAngleDeg(aspect), pair);
  if (!exact.exact) return std::nullopt;
  const double f = exact.fraction;
  ScanEvent event;
  event.minutes = f;
  event.kind = aspect;
  event.first = a;
  event.second = b;
  event.first_position =
      declination ? Interpolate(a_prev.declination_deg, a_cur.declination_deg, f)
                  : InterpolateAngle(a_prev.longitude_deg, a_cur.longitude_deg, f);
  event.second_position =
      declination ? Interpolate(b_prev.declination_deg, b_cur.declination_deg, f)
                  : InterpolateAngle(b_prev.longitude_deg, b_cur.longitude_deg, f);
  event.first_mark = RetrogradeMark(a_prev.motion_rad_per_day, a_cur.motion_rad_per_day);
  event.second_mark = RetrogradeMark(b_prev.motion_rad_per_day, b_cur.motion_rad_per_day);
  return event;
}

MovingDay TakeMovingSample(EngineState& state, const ChartInput& day, double hours,
                           double step_hours) {
  CastAtHours(state, day, hours, step_hours);
  const ObjectTables& objects = state.objects;
  MovingDay sample{};
  for (int i = 1; i < kObjectCount; ++i) {
    if (!ScannedObject(state, i)) continue;  // never compared
    // Declinations are physical: measured from the tropical equinox whatever the zodiac.
    const double tropical = objects.longitude[i] - state.time.offset_deg;
    sample[i] = {objects.longitude[i],
                 EclipticToEquatorial(tropical, objects.latitude[i]).latitude_deg,
                 objects.motion[i]};
  }
  return sample;
}

void CollectObjectEvents(int h, const MovingSample& prev, const MovingSample& cur,
                         const StepTime& step, ScanEventTable& events) {
  const int mark = RetrogradeMark(prev.motion_rad_per_day, cur.motion_rad_per_day);
  if (const auto ingress = DetectIngress(prev.longitude_deg, cur.longitude_deg)) {
    events.Add({step.At(ingress->fraction), kIngress, h, ingress->new_sign,
                ingress->position_deg, 0.0, mark, 0});
  }
  if (const auto f = DetectStation(prev.motion_rad_per_day, cur.motion_rad_per_day)) {
    events.Add({step.At(*f), kStation, h, cur.motion_rad_per_day < 0.0 ? 1 : 0,
                InterpolateAngle(prev.longitude_deg, cur.longitude_deg, *f), 0.0, mark, 0});
  }
}

void CollectStepEvents(const EngineState& state, const StepTime& step, const MovingDay& prev,
                       const MovingDay& cur, ScanEventTable& events) {
  const int aspect_count = std::min(state.settings.aspectCount, kAspectCount);
  std::array<int, kObjectCount> scanned{};
  int scanned_count = 0;
  for (int i = 1; i < kObjectCount; ++i) {
    if (ScannedObject(state, i)) scanned[scanned_count++] = i;
  }
  for (int hi = 0; hi < scanned_count; ++hi) {
    const int h = scanned[hi];
    CollectObjectEvents(h, prev[h], cur[h], step, events);
    for (int ui = hi + 1; ui < scanned_count; ++ui) {
      const int u = scanned[ui];
      const PairSteps pairs = PairStepsOf(prev[h], cur[h], prev[u], cur[u]);
      for (int k = 1; k <= aspect_count; ++k) {
        if (!MayBeExactInPair(AspectAngleDeg(k), pairs.For(k))) continue;
        if (!AspectTriedInScan(h, k, u)) continue;
        if (auto hit = AspectEvent(k, h, u, prev[h], cur[h], prev[u], cur[u], pairs.For(k))) {
          hit->minutes = step.At(hit->minutes);
          events.Add(*hit);
        }
      }
    }
  }
}

void ScanDay(EngineState& state, const ScanDate& date, int steps, ScanEventTable& events) {
  events.Clear();
  ChartInput day = state.coreChart;
  day.month = date.month;
  day.day = date.day;
  day.year = date.year;
  const double step_hours = kHoursPerDay / steps;
  MovingDay previous = TakeMovingSample(state, day, 0.0, step_hours);
  for (int j = 1; j <= steps; ++j) {
    const MovingDay current = TakeMovingSample(state, day, j * kHoursPerDay / steps, step_hours);
    CollectStepEvents(state, {j - 1, kMinutesPerDay / steps}, previous, current, events);
    previous = current;
  }
  events.SortByTime();
}

bool YearScan(const EngineState& state) {
  return state.settings.scanMonthYear && state.progressionInput.month == kYearScanMarker;
}

void AppendPosition(std::string& line, int kind, double position, const EngineState& names) {
  if (DeclinationAspect(kind)) {
    AppendDeclination(line, position);
    return;
  }
  const SignPosition sign = SignOf(position);
  AppendSignPosition(line, sign, names.signShortNames[sign.sign]);
}

void AppendKind(std::string& line, const ScanEvent& e, const EngineState& names) {
  if (e.kind == kIngress) {
    line += "--> ";
    line += names.signNames[e.second];
    return;
  }
  if (e.kind == kStation) {
    line += e.second ? "S/R" : "S/D";
    return;
  }
  line += names.aspectAbbreviations[e.kind];
  line += ' ';
  AppendPosition(line, e.kind, e.second_position, names);
  // " %s %c" of the second object, cut to 11 characters.
  constexpr std::size_t kSecondWidth = 11;
  std::string second = " ";
  second += names.objectNames[e.second];
  second += ' ';
  second += RetrogradeChar(e.second_mark);
  line.append(second, 0, kSecondWidth);
}

const char* NoteText(const ScanEvent& e) {
  if (e.first != kSun) return "";
  if (e.kind == kIngress && (e.second - 1) % kSignsPerSeason == 0) {
    return kSeasonNotes[(e.second - 1) / kSignsPerSeason];
  }
  if (e.kind >= 1 && e.kind <= kSquare && e.second == kMoon) return kPhaseNotes[e.kind - 1];
  return "";
}

}  // namespace

std::optional<Ingress> DetectIngress(double previous_deg, double current_deg) {
  const int old_sign = SignIndex(previous_deg);
  const int new_sign = SignIndex(current_deg);
  if (old_sign == new_sign) return std::nullopt;
  const double step = MinDifference(previous_deg, current_deg);
  const double boundary = kSignWidthDeg * (step >= 0.0 ? new_sign : old_sign);
  const double f = std::clamp(MinDistance(previous_deg, boundary) / std::fabs(step), 0.0, 1.0);
  return Ingress{f, new_sign + 1,
                 Mod360(previous_deg + kIngressShortfall * f * step)};
}

std::optional<double> DetectStation(double previous_motion, double current_motion) {
  if ((previous_motion < 0.0) == (current_motion < 0.0)) return std::nullopt;
  const double a = std::fabs(previous_motion);
  return a / (a + std::fabs(current_motion));
}

std::optional<ScanEvent> DetectAspect(int aspect, int a, int b, const MovingSample& a_prev,
                                      const MovingSample& a_cur, const MovingSample& b_prev,
                                      const MovingSample& b_cur) {
  const StepPair pair = PairInStep(AspectPositions(aspect, a_prev, a_cur, b_prev, b_cur));
  return AspectEvent(aspect, a, b, a_prev, a_cur, b_prev, b_cur, pair);
}

ScanDate NextScanDate(const ScanDate& date) {
  const int day = AddDay(date.month, date.day, date.year, 1);
  if (day <= DaysInMonth(date.month, date.year)) return {date.month, day, date.year};
  if (date.month >= 12) return {1, 1, date.year < INT_MAX ? date.year + 1 : date.year};
  return {date.month + 1, 1, date.year};
}

ScanRange ScanRangeOf(const EngineState& state) {
  const ChartInput& core = state.coreChart;
  const ScanDate day{core.month, core.day, core.year};
  if (!state.settings.scanMonthYear) return {day, day};
  if (state.progressionInput.month == kYearScanMarker) {
    const long long years = std::clamp(state.settings.scanYears, 1, kMaxScanYears);
    const long long last_year = std::min<long long>(core.year + years - 1, INT_MAX);
    return {{1, 1, core.year}, {12, 31, static_cast<int>(last_year)}};
  }
  if (state.progressionInput.month == kMonthScanMarker) {
    return {{core.month, 1, core.year},
            {core.month, DaysInMonth(core.month, core.year), core.year}};
  }
  return {day, day};
}

std::string ScanEventLine(const ScanEvent& e, const ScanDate& date, const EngineState& names) {
  // Rounded as a whole, so 59.6 minutes past 5 reads 06:00 rather than 05:60.
  const double total = RoundHalfAway(e.minutes);
  const double hours = std::floor(total / kMinutesPerHour);
  std::string line;
  line.reserve(96);
  AppendZeroPadded(line, date.day, 2);
  line += '.';
  AppendZeroPadded(line, date.month, 2);
  line += '.';
  AppendZeroPadded(line, date.year, 4);
  line += ' ';
  AppendZeroPadded(line, static_cast<int>(hours), 2);
  line += ':';
  AppendZeroPadded(line, static_cast<int>(total - hours * kMinutesPerHour), 2);
  AppendObjectColumn(line, e.first_mark, names.objectNames[e.first]);
  line += ' ';
  AppendPosition(line, e.kind, e.first_position, names);
  line += ' ';
  AppendKind(line, e, names);
  line += NoteText(e);
  line += '\n';
  return line;
}

void ScanEvents(EngineState& state) {
  const ChartTablesKeeper keeper(state);
  ResultFile file = OpenResultFile(kScanFileName);
  const int steps = YearScan(state) ? 1 : std::max(1, state.settings.scanDivisions);
  const ScanRange range = ScanRangeOf(state);
  ScanEventTable events;
  for (ScanDate date = range.first;; date = NextScanDate(date)) {
    ScanDay(state, date, steps, events);
    for (std::size_t i = 0; i < events.size(); ++i) {
      WriteText(file.get(), ScanEventLine(events[i], date, state));
    }
    if (date == range.last) break;
  }
  file.reset();
}

}  // namespace kelvara::engine
