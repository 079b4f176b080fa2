#include "engine/casting.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "engine/calendar.h"
#include "engine/elements.h"
#include "engine/files.h"
#include "engine/layer_places.h"
#include "engine/moon_series.h"

namespace kelvara::engine {
namespace {

// Zone 24 (or -24) marks local mean time.
constexpr double kLocalMeanTimeZone = 24.0;
// Points that turn with the sky move one revolution a day.
constexpr double kRevolutionPerDayRad = kTwoPi;
// Motions given without the files: the mean node's (-0.053 deg/day) and a typical Moon's
// (12.5 deg/day), radians per day.
constexpr double kMeanNodeMotionRad = -0.0009250245035569946;
constexpr double kMoonMotionWithoutFilesRad = 0.2181661564992912;
// The Moon's mean motion and distance: its light time makes it seen 0.7" behind.
constexpr double kMoonMeanMotionRadPerDay = 13.176 * kDegToRad;
constexpr double kMoonMeanDistanceAu = 0.0025696;
constexpr int kLastLayerObject = kLilith;
constexpr int kLastElementsObject = kVesta;

bool Kept(const EngineState& state, int object) { return state.ignore[object] == 0; }

void ReplaceLocalMeanTime(ChartInput& chart) {
  if (std::fabs(chart.zone) == kLocalMeanTimeZone) {
    chart.zone = DegToDec(DecToDeg(chart.longitude) / 15.0);
  }
}

// Days from the natal day to the progression day, shrunk by the progression rate.
double ProgressedDays(const EngineState& state, long long natal_day) {
  const ChartInput& target = state.progressionInput;
  const long long day = DayNumber(target.month, target.day, target.year);
  return static_cast<double>(day - natal_day) / state.settings.progressionRate;
}

TimeState ChartTime(const EngineState& state, bool progressed, double& progressed_days) {
  TimeState time = ProcessChartTime(MomentOf(state.chartInput), state.settings.sidereal != 0,
                                    state.settings.zodiacOffset);
  progressed_days = 0.0;
  if (progressed) {
    progressed_days = ProgressedDays(state, time.day_number);
    time.t_centuries = JulianCenturies(time.day_number, 24.0 * progressed_days);
  }
  return time;
}

void SetPlace(ObjectTables& objects, int object, double longitude_deg, double latitude_deg,
              double motion_rad_per_day) {
  objects.longitude[object] = Mod360(longitude_deg);
  objects.latitude[object] = latitude_deg;
  objects.motion[object] = motion_rad_per_day;
}

void SetHeliocentric(ObjectTables& objects, int object, const Vec3& au) {
  if (object < kHeliocentricCount) objects.heliocentric[object] = {au.x, au.y, au.z};
}

// Whether the files are asked for an object (Sun and Moon always; the asteroids not
// under flagBa).
bool AskLayer(const EngineState& state, int object) {
  if (!state.settings.useEphemerisFiles || object < kSun || object > kLastLayerObject) return false;
  if (state.settings.flagBa && object >= kCeres && object <= kVesta) return false;
  return object == kSun || object == kMoon || Kept(state, object);
}

// Places from the ephemeris layer; returns which objects it served.
std::array<bool, kObjectCount> PlaceFromLayer(const EngineState& state, double jd_ut,
                                              double sample_spacing_days, ObjectTables& objects) {
  std::array<bool, kObjectCount> served{};
  const std::string prefix = DataDirectoryPrefix(state);
  const double offset = state.time.offset_deg;
  for (int object = kSun; object <= kLastLayerObject; ++object) {
    if (!AskLayer(state, object)) continue;
    LayerPlace place;
    if (!LayerObjectPlace(object, state.settings.trueNode != 0, jd_ut, prefix, place,
                          sample_spacing_days)) {
      continue;
    }
    SetPlace(objects, object, place.longitude_deg + offset, place.latitude_deg,
             place.motion_deg_per_day * kDegToRad);
    SetHeliocentric(objects, object, place.heliocentric_au);
    served[object] = true;
  }
  return served;
}

bool NeedsElements(const EngineState& state, int object) {
  const bool body = object == kSun || (object >= kMercury && object <= kLastElementsObject) ||
                    (object >= kFirstHypothetical && object <= kLastHypothetical);
  return body && (object == kSun || Kept(state, object));
}

// The elements model and the lunar series run on Terrestrial Time, as their theories do;
// the chart's T counts Universal Time.
double TerrestrialCenturies(const EngineState& state) {
  return state.time.t_centuries +
         state.objects.deltaTSeconds / kSecondsPerDay / kDaysPerCentury;
}

// The moment as the elements model and the lunar series take it, worked out once a cast.
struct ModelMoment {
  double t_centuries;  // Terrestrial Time
  double nutation_deg;
};

ModelMoment ModelMomentOf(const EngineState& state) {
  const double t = TerrestrialCenturies(state);
  return {t, NutationInLongitudeDeg(t)};
}

// The elements model for the bodies the files did not serve, as apparent places (light
// time, aberration, nutation) like the files give.
void PlaceFromElements(const EngineState& state, const ModelMoment& moment,
                       const std::array<bool, kObjectCount>& served, ObjectTables& objects) {
  const double t = moment.t_centuries;
  const StateVector earth = HeliocentricOrbitState(0, t);
  SetHeliocentric(objects, kEarth, earth.position);
  for (int object = kSun; object <= kLastHypothetical; ++object) {
    if (served[object] || !NeedsElements(state, object)) continue;
    if (!HasElements(ElementRowOfObject(object))) continue;
    const ElementPlace place = ElementsPosition(object, t, earth);
    const double apparent_deg =
        place.longitude_deg +
        PlanetaryAberrationDeg(place.motion_rad_per_day, place.distance_au) + moment.nutation_deg;
    SetPlace(objects, object, apparent_deg + state.time.offset_deg, place.latitude_deg,
             place.motion_rad_per_day);
    SetHeliocentric(objects, object, place.heliocentric_au);
  }
}

bool NeedsMoonSeries(const EngineState& state, const std::array<bool, kObjectCount>& served) {
  const bool wanted = Kept(state, kMoon) || Kept(state, kNode) || Kept(state, kLilith) ||
                      Kept(state, kFortune);
  return wanted && !(served[kMoon] && served[kNode]);
}

// The lunar series for the Moon and the mean node where the files did not serve them. The
// node's motion is the mean node's: a failed request must not leave a placeholder rate.
void PlaceFromMoonSeries(const EngineState& state, const ModelMoment& moment,
                         const std::array<bool, kObjectCount>& served, ObjectTables& objects) {
  if (!NeedsMoonSeries(state, served)) return;
  const MoonSeriesPlace moon = MoonSeries(moment.t_centuries);
  const double offset = state.time.offset_deg + moment.nutation_deg;
  if (!served[kMoon]) {
    const double light_time_deg =
        PlanetaryAberrationDeg(kMoonMeanMotionRadPerDay, kMoonMeanDistanceAu);
    SetPlace(objects, kMoon, moon.longitude_deg + light_time_deg + offset, moon.latitude_deg,
             kMoonMotionWithoutFilesRad);
  }
  if (!served[kNode]) SetPlace(objects, kNode, moon.node_deg + offset, 0.0, kMeanNodeMotionRad);
}

// Without the files object 17 is the south node and the lunar motions are the fixed ones.
void PlaceWithoutFiles(ObjectTables& objects) {
  SetPlace(objects, kLilith, objects.longitude[kNode] + 180.0, 0.0, kMeanNodeMotionRad);
  objects.motion[kNode] = kMeanNodeMotionRad;
  objects.motion[kMoon] = kMoonMotionWithoutFilesRad;
}

// Ascendant + (Moon - Sun), reversed for night births (Sun below the horizon, houses 1-6)
// or always when the formula setting is negative; the arc taken the short way.
double FortuneDegrees(const ObjectTables& objects, double ascendant_deg, int formula) {
  double g = objects.longitude[kMoon] - objects.longitude[kSun];
  const bool night = HousePlace(objects.longitude[kSun], objects.cusps) < 7;
  if (formula < 0 || (formula == 0 && night)) g = -g;
  if (std::fabs(g) >= 180.0) g -= 360.0 * Sgn(g);
  return Mod360(ascendant_deg + g);
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

// A solar-arc style turn of every longitude and cusp by the progressed days in degrees.
void TurnByDegrees(double degrees, ObjectTables& objects) {
  for (double& lon : objects.longitude) lon = Mod360(lon + degrees);
  for (int i = 1; i <= 12; ++i) objects.cusps[i] = Mod360(objects.cusps[i] + degrees);
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

bool Placed(const ObjectTables& objects) {
  const auto finite = [](double x) { return std::isfinite(x); };
  return std::isfinite(objects.deltaTSeconds) && std::all_of(objects.longitude.begin(), objects.longitude.end(), finite) &&
         std::all_of(objects.latitude.begin(), objects.latitude.end(), finite) &&
         std::all_of(objects.motion.begin(), objects.motion.end(), finite);
}

void PlaceBodies(const EngineState& state, double sample_spacing_days, ObjectTables& objects) {
  const double jd_ut = state.time.t_centuries * kDaysPerCentury + kEpoch1900Jd;
  objects.deltaTSeconds = LayerDeltaTSeconds(jd_ut);
  const std::array<bool, kObjectCount> served =
      PlaceFromLayer(state, jd_ut, sample_spacing_days, objects);
  const ModelMoment moment = ModelMomentOf(state);
  PlaceFromElements(state, moment, served, objects);
  PlaceFromMoonSeries(state, moment, served, objects);
  if (!state.settings.useEphemerisFiles) PlaceWithoutFiles(objects);
}

}  // namespace

ChartMoment MomentOf(const ChartInput& chart) {
  return {chart.month, chart.day, chart.year, chart.time,
          chart.dst,   chart.zone, chart.longitude, chart.latitude};
}

void CastChart(EngineState& state, bool progressed, double sample_spacing_days) {
  const ChartInput saved = state.chartInput;
  ReplaceLocalMeanTime(state.chartInput);
  double progressed_days = 0.0;
  TimeState time = ChartTime(state, progressed, progressed_days);
  ComputeChartAngles(time);
  const HouseInput houses{time.ramc_rad,      time.obliquity_rad, time.latitude_rad,
                          time.midheaven_deg, time.ascendant_deg, time.offset_deg};
  const HouseResult result = ComputeHouses(houses, state.settings.houseSystem);
  state.chartInput = saved;
  // A moment too far out for double arithmetic (a clock time of 1e300 hours) casts nothing:
  // the tables keep the last chart rather than fill with NaN.
  if (!Computable(time, result) || !std::isfinite(time.t_centuries)) return;
  const TimeState last_time = state.time;
  const ObjectTables last_objects = state.objects;

  ObjectTables& objects = state.objects;
  // Cusps, houses and Delta T are filled below; positions start from the cleared image.
  objects = InitialObjectTables();
  state.time = time;
  objects.cusps = result.cusps;
  state.time.ascendant_deg = result.ascendant_deg;
  PlaceBodies(state, sample_spacing_days, objects);
  objects.longitude[kFortune] =
      FortuneDegrees(objects, state.time.ascendant_deg, state.settings.fortuneFormula);
  PlaceAngleObjects(state.time, objects);
  if (state.settings.equatorial) ConvertToEquatorial(state, objects);
  if (progressed && state.settings.progressedZero) TurnByDegrees(progressed_days, objects);
  ApplyHarmonic(state.settings.harmonic, objects);
  for (int i = 0; i < kObjectCount; ++i) {
    // The ignored groups all sit at 0 degrees: a longitude met just before has its house.
    const bool repeated = i > 0 && objects.longitude[i] == objects.longitude[i - 1];
    objects.housePlace[i] =
        repeated ? objects.housePlace[i - 1] : HousePlace(objects.longitude[i], objects.cusps);
  }
  // Millions of years out the angles still compute but Delta T and the body series overflow:
  // such a moment casts nothing either.
  if (!Placed(objects)) {
    state.time = last_time;
    state.objects = last_objects;
  }
}

}  // namespace kelvara::engine
