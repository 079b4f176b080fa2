#include "engine/casting.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

// Zone 24 (or -24) marks local mean time.
constexpr double kLocalMeanTimeZone = 24.0;
// Points that turn with the sky move one revolution a day.
constexpr double kRevolutionPerDayRad = kTwoPi;

void ClearObjects(ObjectTables& objects) {
  objects.longitude.fill(0.0);
  objects.latitude.fill(0.0);
  objects.motion.fill(1.0);
}

void ReplaceLocalMeanTime(ChartInput& chart) {
  if (std::fabs(chart.zone) == kLocalMeanTimeZone) {
    chart.zone = DegToDec(DecToDeg(chart.longitude) / 15.0);
  }
}

void PlaceAngleObjects(const TimeState& time, ObjectTables& objects) {
  objects.longitude[kVertex] = time.vertex_deg;
  objects.longitude[kEastPoint] = time.east_point_deg;
  for (int i = 1; i <= 12; ++i) objects.longitude[kFirstCusp + i - 1] = objects.cusps[i];
  objects.longitude[kAscendant] = Mod360(time.ascendant_deg);
  objects.longitude[kDescendant] = Mod360(time.ascendant_deg + 180.0);
  objects.longitude[kNadir] = Mod360(time.midheaven_deg + 180.0);
  objects.longitude[kMidheaven] = Mod360(time.midheaven_deg);
  for (int i = kFortune; i <= kLastCusp; ++i) objects.motion[i] = kRevolutionPerDayRad;
}

// The equatorial option: kept objects get right ascension and declination, measured from
// the tropical equinox shifted by the user's own offset.
void ConvertToEquatorial(const EngineState& state, ObjectTables& objects) {
  for (int i = 0; i < kObjectCount; ++i) {
    if (state.ignore[i]) continue;
    const double lon =
        objects.longitude[i] - state.time.offset_deg + state.settings.zodiacOffset;
    const SkyPoint eq = EclipticToEquatorial(lon, objects.latitude[i]);
    objects.longitude[i] = Mod360(eq.longitude_deg);
    objects.latitude[i] = eq.latitude_deg;
  }
}

void ApplyHarmonic(int harmonic, ObjectTables& objects) {
  if (harmonic <= 1) return;
  for (double& lon : objects.longitude) lon = Mod360(harmonic * lon);
}

bool Computable(const TimeState& time, const HouseResult& houses) {
  const auto finite = [](double x) { return std::isfinite(x); };
  return finite(time.ramc_rad) && finite(time.midheaven_deg) && finite(time.vertex_deg) &&
         std::all_of(houses.cusps.begin(), houses.cusps.end(), finite);
}

}  // namespace

ChartMoment MomentOf(const ChartInput& chart) {
  return {chart.month, chart.day, chart.year, chart.time,
          chart.dst,   chart.zone, chart.longitude, chart.latitude};
}

void CastChart(EngineState& state) {
  const ChartInput saved = state.chartInput;
  ReplaceLocalMeanTime(state.chartInput);
  TimeState time = ProcessChartTime(MomentOf(state.chartInput), state.settings.sidereal != 0,
                                    state.settings.zodiacOffset);
  ComputeChartAngles(time);
  const HouseInput houses{time.ramc_rad,      time.obliquity_rad, time.latitude_rad,
                          time.midheaven_deg, time.ascendant_deg, time.offset_deg};
  const HouseResult result = ComputeHouses(houses, state.settings.houseSystem);
  state.chartInput = saved;
  // A moment too far out for double arithmetic (a clock time of 1e300 hours) casts nothing:
  // the tables keep the last chart rather than fill with NaN.
  if (!Computable(time, result)) return;

  ObjectTables& objects = state.objects;
  ClearObjects(objects);
  state.time = time;
  objects.cusps = result.cusps;
  state.time.ascendant_deg = result.ascendant_deg;
  PlaceAngleObjects(state.time, objects);
  if (state.settings.equatorial) ConvertToEquatorial(state, objects);
  ApplyHarmonic(state.settings.harmonic, objects);
  for (int i = 0; i < kObjectCount; ++i) {
    objects.housePlace[i] = HousePlace(objects.longitude[i], objects.cusps);
  }
}

}  // namespace kelvara::engine
