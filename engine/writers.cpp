#include "engine/writers.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/angles.h"
#include "engine/format.h"
#include "engine/scan_text.h"
#include "engine/scans.h"

namespace kelvara::engine {
namespace {

constexpr const char* kCrossingFileName = "G_tmp.tmp";
constexpr int kDefaultCrossingStep = 5;
constexpr int kCrossingLatitudeLimit = 80;  // rows run from 80 N down to 80 S
constexpr double kQuarterDeg = 90.0;
constexpr double kHalfTurnDeg = 180.0;
constexpr const char* kNeverCrosses = " 999";
// Distances the chart file gives where the casting has no vector.
constexpr double kMoonDistanceWithoutFilesAu = 0.0026;
constexpr double kStarDistance = 999.0;

// Longitude in (-180, 180], degrees.
double SignedLongitude(double deg) { return MinDifference(0.0, deg); }

// East-positive text of a west-positive geographic longitude.
std::string CrossingValue(double west_deg) {
  return Format(" %f", -SignedLongitude(west_deg));
}

// Right ascension and declination of a longitude as the chart holds it, measured from the
// tropical equinox shifted by the user's own offset.
SkyPoint EquatorialOfChartPlace(const EngineState& state, double longitude_deg,
                                double latitude_deg) {
  return EclipticToEquatorial(
      longitude_deg - state.time.offset_deg + state.settings.zodiacOffset, latitude_deg);
}

// Rising and setting longitudes of each object at one geographic latitude.
void WriteCrossingRows(std::FILE* file, double latitude_deg,
                       const std::vector<SkyPoint>& meridian_and_declination) {
  std::string rising;
  std::string setting;
  for (const SkyPoint& p : meridian_and_declination) {
    const double x = std::tan(p.latitude_deg * kDegToRad) * std::tan(latitude_deg * kDegToRad);
    if (x * x > 1.0) {
      rising += kNeverCrosses;
      setting += kNeverCrosses;
      continue;
    }
    const double semi_arc_deg = kQuarterDeg + std::asin(x) * kRadToDeg;
    rising += CrossingValue(p.longitude_deg + semi_arc_deg);
    setting += CrossingValue(p.longitude_deg - semi_arc_deg);
  }
  WriteText(file, rising + "\n");
  WriteText(file, setting + "\n");
}

const char* DaylightText(double dst, std::string& buffer) {
  if (dst == 0.0) return "ST";
  if (dst == 1.0) return "DT";
  buffer = FormatZone(dst);
  return buffer.c_str();
}

std::string ZiLine(const ChartInput& chart) {
  return Format("%czi \"%s\" \"%s\"\n", '-', chart.name.c_str(), chart.location.c_str());
}

bool ValidMonth(int month) { return month >= 1 && month <= 12; }

std::string ChartInfo(const ChartInput& chart) {
  const char* month = MonthNames()[chart.month];
  std::string daylight;
  return Format("@0102  ; %s chart info.\n", " ") +
         Format("%cqb %c%c%c %d %d %s %s %s %s\n", '-', month[0], month[1], month[2], chart.day,
                chart.year, FormatClock(chart.time).c_str(), DaylightText(chart.dst, daylight),
                FormatZone(-chart.zone).c_str(),
                FormatPlace(chart.longitude, chart.latitude).c_str()) +
         ZiLine(chart);
}

// The first three bytes of a name, blank-padded, so a short name never emits a NUL.
std::string FirstThree(const char* name) {
  std::string text(name ? name : "");
  text.resize(3, ' ');
  return text.substr(0, 3);
}

// Whole degrees of a latitude with its sign, four wide; -0 keeps its minus so a place
// half a degree south does not read as north.
std::string LatitudeDegreesText(double latitude_deg) {
  const int whole = static_cast<int>(latitude_deg);
  if (whole == 0 && latitude_deg < 0.0) return Format("%4s", "-0");
  return Format("%4d", whole);
}

// Length of the heliocentric vector the casting kept (0 for points that have none).
double HeliocentricDistanceAu(const EngineState& state, int object) {
  if (object < 0 || object >= kHeliocentricCount) return 0.0;
  const std::array<double, 3>& v = state.objects.heliocentric[object];
  return Norm({v[0], v[1], v[2]});
}

double ObjectDistanceAu(const EngineState& state, int object) {
  if (object >= kFirstStar) return kStarDistance;
  if (object == kMoon && !state.settings.useEphemerisFiles) return kMoonDistanceWithoutFilesAu;
  return HeliocentricDistanceAu(state, object);
}

std::string PositionLine(const EngineState& state, int object) {
  const ObjectTables& objects = state.objects;
  const SignPosition place = SignOf(objects.longitude[object]);
  const double degrees = std::floor(place.within_deg);
  const std::string sign = FirstThree(state.signNames[place.sign]);
  const double latitude = objects.latitude[object];
  const double abs_latitude = std::fabs(latitude);
  const std::string label = object < kFirstStar ? FirstThree(state.objectNames[object])
                                                : Format("%3d", object);
  return Format("%cYF ", '-') + label +
         Format(":%3d %s%13.9f,", static_cast<int>(degrees), sign.c_str(),
                (place.within_deg - degrees) * kMinutesPerDegree) +
         LatitudeDegreesText(latitude) +
         Format("%13.9f,", (abs_latitude - std::floor(abs_latitude)) * kMinutesPerDegree) +
         Format("%14.9f%14.9f\n", objects.motion[object] * kRadToDeg,
                ObjectDistanceAu(state, object));
}

std::string ChartPositions(const EngineState& state) {
  std::string text = Format("@0203  ; %s chart positions.\n", " ") + ZiLine(state.coreChart);
  for (int i = 1; i < kObjectCount; ++i) {
    const bool cusp = i >= kFirstCusp && i <= kLastCusp;
    if (cusp || !state.ignore[i]) text += PositionLine(state, i);
  }
  return text;
}

}  // namespace

void WriteChartFile(EngineState& state) {
  ResultFile file = OpenResultFile(state.settings.chartFileName);
  if (!file) return;
  const ChartInput& chart = state.coreChart;
  if (state.settings.chartFileZero) {
    WriteText(file.get(), ChartPositions(state));
  } else if (ValidMonth(chart.month)) {
    WriteText(file.get(), ChartInfo(chart));
  } else {
    return;  // no month to name: the file stays empty
  }
  const std::vector<std::string>& recorded = state.chartFileSwitches;
  for (std::size_t i = 1; i < recorded.size(); ++i) {
    WriteText(file.get(), Format("%s%s\n", "; ", recorded[i].c_str()));
  }
}

void WriteCrossingTable(EngineState& state) {
  ResultFile file = OpenResultFile(kCrossingFileName);
  const ObjectTables& objects = state.objects;
  const double mc_ra_deg =
      EquatorialOfChartPlace(state, state.time.midheaven_deg, 0.0).longitude_deg;
  // The chart keeps its place in D.MM form; the table needs degrees.
  const double chart_west_deg = DecToDeg(state.coreChart.longitude);

  // Per object: west longitude where it culminates, and its declination.
  std::vector<SkyPoint> culminations;
  for (int i = 1; i < kObjectCount; ++i) {
    if (!ScannedObject(state, i)) continue;
    const SkyPoint eq = EquatorialOfChartPlace(state, objects.longitude[i], objects.latitude[i]);
    culminations.push_back(
        {SignedLongitude(mc_ra_deg - eq.longitude_deg) + chart_west_deg, eq.latitude_deg});
  }
  std::string upper, lower, declinations;
  for (const SkyPoint& p : culminations) {
    upper += CrossingValue(p.longitude_deg);
    lower += CrossingValue(p.longitude_deg + kHalfTurnDeg);
    declinations += Format(" %f", p.latitude_deg);
  }
  WriteText(file.get(), upper + "\n" + lower + "\n" + declinations + "\n");

  const int step = state.settings.crossingStep > 0 ? state.settings.crossingStep
                                                   : kDefaultCrossingStep;
  for (int latitude = kCrossingLatitudeLimit; latitude >= -kCrossingLatitudeLimit;
       latitude -= step) {
    WriteCrossingRows(file.get(), latitude, culminations);
  }
  WriteText(file.get(), "\n");
}

void HorizonListing(EngineState& state) {
  const TimeState& time = state.time;
  for (int i = 0; i < kObjectCount; ++i) {
    if (state.ignore[i]) continue;
    state.horizon[i] =
        HorizonCoords(state.objects.longitude[i], state.objects.latitude[i],
                      time.ramc_rad * kRadToDeg, time.longitude_deg, time.latitude_rad);
  }
}

}  // namespace kelvara::engine
