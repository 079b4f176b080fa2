// ephemgen: writes the binary ephemeris files of sets 1 (Jupiter, Saturn, Uranus, Neptune,
// Pluto), 2 (Chiron) and 3 (Ceres, Pallas, Juno, Vesta), file numbers 23, 24 and 25
// (JD 2 300 000 - 2 599 999, 1585-2406), into the data folder.
//
//   ephemgen <vsop87 folder> <minor-body folder> <data folder>
//
// Jupiter to Neptune come from the full VSOP87D series. Pluto, Chiron and the four asteroids
// are integrated numerically (heliocentric, ecliptic J2000, Gauss-Radau 15 with fixed steps)
// under the Sun with its post-Newtonian term, the eight planets (truncated VSOP87D) and
// Ceres, Pallas and Vesta, from the JPL and MPC initial conditions of the minor-body folder.
// Places are heliocentric on the ecliptic and equinox of date, at TT. After writing, the tool
// reports the Everett interpolation of the written files against the integration between
// records and the error of a 100-year integration forwards and back.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/ephemeris_check.h"
#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/precession.h"
#include "tools/ephemgen/ephemeris_writer.h"
#include "tools/ephemgen/minor_bodies.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {
namespace {

using engine::StateVector;
using engine::Vec3;

constexpr int kFileNumbers[] = {23, 24, 25};
constexpr int kCheckedFileNumber = 24;
constexpr double kStepDays = 8.0;
// Pluto alone, for the fit of its velocity: the planets' pull on it changes slowly.
constexpr double kPlutoFitStepDays = 20.0;
constexpr double kGridDays = 8.0;  // trajectory kept every 8 days: records and the points between
constexpr double kFirstGridJd = 2300000.5;
constexpr double kLastGridJd = 2600000.5;
// Perturbing planets: terms reaching 1e-7 rad (au) within 400 years of J2000 (files 23-25); a
// planet 1e-7 of its distance off moves the bodies by far less than 1e-8 au.
constexpr double kPerturberThresholdRad = 1e-7;
constexpr double kPerturberReachMillennia = 0.4;
constexpr double kRoundTripDays = engine::kDaysPerCentury;

// Layer body numbers of the integrated bodies, in MinorBodyIndex order.
constexpr int kLayerBody[kMinorBodyCount] = {engine::kBodyPluto, engine::kBodyChiron, engine::kBodyCeres,
                                             engine::kBodyPallas, engine::kBodyJuno,  engine::kBodyVesta};

// Where a file goes: the fixed names without the data folder are placed inside it, with
// the handheld's backslashes as directory separators.
std::string PathInDataFolder(int set, int fileNumber, const std::string& dataFolder) {
  std::string path = engine::EphemerisFilePath(set, fileNumber, dataFolder);
  if (path.rfind(dataFolder, 0) == 0) return path;
  std::replace(path.begin(), path.end(), '\\', '/');
  return dataFolder + path;
}

HeliocentricPlace FromVsop(const OwnedVsopSeries& series, double julianDay) {
  const engine::SphericalState s = engine::CorrectedVsopHeliocentric(series.View(), julianDay);
  return {s.longitudeRad * engine::kRadToDeg, s.latitudeRad * engine::kRadToDeg, s.distance};
}

HeliocentricPlace OfDate(const Vec3& eclipticJ2000, double julianDay) {
  const Vec3 p = engine::PrecessEclipticJ2000ToDate(eclipticJ2000, julianDay);
  const double r = engine::Norm(p);
  return {std::atan2(p.y, p.x) * engine::kRadToDeg, std::asin(p.z / r) * engine::kRadToDeg, r};
}

// Angle between two directions, arcseconds.
double SeparationArcsec(const Vec3& a, const Vec3& b) {
  return std::atan2(engine::Norm(engine::Cross(a, b)), engine::Dot(a, b)) / engine::kArcsecToRad;
}

// The files this program writes, relative to the data folder.
std::vector<std::string> SetFileNames(const std::string& dataFolder) {
  std::vector<std::string> names;
  for (int set = 1; set <= 3; ++set) {
    for (int fileNumber : kFileNumbers) names.push_back(PathInDataFolder(set, fileNumber, dataFolder).substr(dataFolder.size()));
  }
  return names;
}

void WriteSets(const std::vector<OwnedVsopSeries>& giants, const Trajectory& trajectory, const std::string& dataFolder) {
  const auto place = [&](int body, double jd) { return OfDate(trajectory.At(body, jd), jd); };
  const SetPlaces sets[3] = {
      [&](double jd) {
        std::vector<HeliocentricPlace> places;
        for (const OwnedVsopSeries& planet : giants) places.push_back(FromVsop(planet, jd));
        places.push_back(place(kPluto, jd));
        return places;
      },
      [&](double jd) { return std::vector<HeliocentricPlace>{place(kChiron, jd)}; },
      [&](double jd) {
        return std::vector<HeliocentricPlace>{place(kCeres, jd), place(kPallas, jd), place(kJuno, jd),
                                              place(kVesta, jd)};
      }};
  for (int set = 1; set <= 3; ++set) {
    for (int fileNumber : kFileNumbers) {
      const std::string path = PathInDataFolder(set, fileNumber, dataFolder);
      WriteEphemerisFile(path, set, fileNumber, sets[set - 1]);
      std::cout << "wrote " << path << "\n";
    }
  }
  WriteManifest(dataFolder, SetFileNames(dataFolder));
  std::cout << "wrote " << dataFolder << engine::kEphemerisManifest << "\n";
}

// The written files read back between their records (every 8 days inside each block) against
// the integration there: the largest heliocentric direction error, arcseconds.
void ReportInterpolation(const Trajectory& trajectory, const ForceModel& model, const std::string& dataFolder) {
  engine::EphemerisFileReader reader;
  const double first = engine::kDaysPerEphemerisFile * kCheckedFileNumber + 0.5;
  std::cout << "Everett interpolation of file " << kCheckedFileNumber << " against the integration, max arcsec:\n";
  for (int body = 0; body < kMinorBodyCount; ++body) {
    double worst = 0.0;
    for (double jd = first + kGridDays; jd < first + engine::kDaysPerEphemerisFile; jd += kGridDays) {
      if (std::fmod(jd - first, engine::DaysPerRecord(engine::FileSlotOfBody(kLayerBody[body])->set)) == 0.0) continue;
      engine::SphericalState read;
      if (!reader.Heliocentric(kLayerBody[body], jd, dataFolder, read)) throw std::runtime_error("cannot read back the files");
      const Vec3 fromFile = engine::SphericalToRectangular(read).position;
      const Vec3 integrated = engine::PrecessEclipticJ2000ToDate(trajectory.At(body, jd), jd);
      worst = std::max(worst, SeparationArcsec(fromFile, integrated));
    }
    std::printf("  %-7s %.4f\n", model.bodies[body].name.c_str(), worst);
  }
}

// Ceres and Vesta carried back from J2000 to 1950 against their Horizons states there (an
// independent check of the integration and the J2000 states), heliocentric direction, arcsec.
void ReportHorizons1950(MinorBodyIntegrator& integrator, const std::vector<StateVector>& atEpoch,
                        const std::string& minorBodyFolder) {
  std::vector<StateVector> states = atEpoch;
  double t = kCommonEpochJd;
  integrator.Advance(t, states, kPlutoCheckEpochJd);
  const std::string horizons = minorBodyFolder + "/horizons_barycentric_states.csv";
  std::cout << "1950-01-01 against Horizons, arcsec seen from the Sun:\n";
  for (const auto& [body, name] : {std::pair{kCeres, "1 Ceres"}, std::pair{kVesta, "4 Vesta"}}) {
    const EpochState reference = ReadHorizonsState(horizons, name, kPlutoCheckEpochJd);
    std::printf("  %-7s %.3f\n", name, SeparationArcsec(states[body].position, reference.state.position));
  }
}

int Run(int argc, char** argv) {
  // The manifest alone, for files written before it existed.
  if (argc == 3 && std::string(argv[1]) == "--manifest") {
    WriteManifest(std::string(argv[2]) + "/", SetFileNames(std::string(argv[2]) + "/"));
    return 0;
  }
  if (argc != 4) {
    std::cerr << "usage: ephemgen <vsop87 folder> <minor-body folder> <data folder>\n"
                 "       ephemgen --manifest <data folder>\n";
    return 2;
  }
  const std::string vsop = argv[1];
  const MinorBodySetup setup = ReadMinorBodySetup(argv[2]);
  std::vector<OwnedVsopSeries> giants;
  for (const char* file : {"jup", "sat", "ura", "nep"}) giants.push_back(ReadVsop87File(vsop + "/VSOP87D." + file));
  PerturbingPlanets planets(vsop, kPerturberThresholdRad, kPerturberReachMillennia);

  const Vec3 plutoVelocity = FitPlutoVelocity(setup, planets, kPlutoFitStepDays);
  const std::vector<StateVector> atEpoch = StatesAtCommonEpoch(setup, plutoVelocity, planets, kStepDays);
  MinorBodyIntegrator integrator(planets, setup.model, kStepDays);
  Trajectory trajectory(kFirstGridJd, kGridDays, static_cast<std::size_t>((kLastGridJd - kFirstGridJd) / kGridDays) + 1);
  FillTrajectory(integrator, atEpoch, trajectory);

  const std::string dataFolder = std::string(argv[3]) + "/";
  WriteSets(giants, trajectory, dataFolder);
  ReportInterpolation(trajectory, setup.model, dataFolder);

  ReportHorizons1950(integrator, atEpoch, argv[2]);

  std::vector<StateVector> states = atEpoch;
  double t = kCommonEpochJd;
  integrator.Advance(t, states, kCommonEpochJd + kRoundTripDays);
  integrator.Advance(t, states, kCommonEpochJd);
  std::cout << "100 years forwards and back, position error (km, arcsec seen from the Sun):\n";
  for (int body = 0; body < kMinorBodyCount; ++body) {
    const double km = engine::Norm(states[body].position - atEpoch[body].position) * engine::kKmPerAu;
    std::printf("  %-7s %.3e %.2e\n", setup.model.bodies[body].name.c_str(), km,
                SeparationArcsec(states[body].position, atEpoch[body].position));
  }
  return 0;
}

}  // namespace
}  // namespace kelvara::tools

int main(int argc, char** argv) {
  try {
    return kelvara::tools::Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "ephemgen: " << error.what() << "\n";
    return 1;
  }
}
