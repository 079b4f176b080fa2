// ephemgen: writes the binary ephemeris files of sets 1 (Jupiter, Saturn, Uranus, Neptune,
// Pluto), 2 (Chiron) and 3 (Ceres, Pallas, Juno, Vesta), file numbers 23, 24 and 25
// (JD 2 300 000 - 2 599 999, 1585-2406), into the data folder.
//
//   ephemgen <vsop87 folder> <de405 folder> <minor-body folder> <data folder>
//
// All ten bodies are integrated together (heliocentric, ecliptic J2000, Gauss-Radau 15 with
// fixed steps) under the Sun with its post-Newtonian term and the inner planets (truncated
// VSOP87D): the outer planets' systems from their DE405 states of J2000 with DE405's GMs,
// pulling every body; the minor bodies from the JPL and MPC initial conditions of the
// minor-body folder, Ceres, Pallas and Vesta pulling the other minor bodies. Places are
// heliocentric on the ecliptic and equinox of date, at TT. After writing, the tool reports the
// planets against DE405 at its other epochs with the error budget of the model, the Everett
// interpolation of the written files between records, two minor bodies against Horizons and
// the error of a 100-year integration forwards and back.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "engine/ephemeris/ephemeris.h"
#include "engine/ephemeris/ephemeris_check.h"
#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/precession.h"
#include "tools/ephemgen/ephemeris_writer.h"
#include "tools/ephemgen/minor_bodies.h"

namespace kelvara::tools {
namespace {

using engine::StateVector;
using engine::Vec3;

constexpr int kFileNumbers[] = {23, 24, 25};
constexpr int kCheckedFileNumber = 24;
constexpr double kStepDays = 8.0;
constexpr double kGridDays = 8.0;  // trajectory kept every 8 days: records and the points between
constexpr double kFirstGridJd = 2300000.5;
constexpr double kLastGridJd = 2600000.5;
// Perturbing inner planets: terms reaching 1e-7 rad (au) within 400 years of J2000 (files
// 23-25); a planet 1e-7 of its distance off moves the bodies by far less than 1e-8 au.
constexpr double kPerturberThresholdRad = 1e-7;
constexpr double kPerturberReachMillennia = 0.4;
constexpr double kRoundTripDays = engine::kDaysPerCentury;

// Layer body numbers of the integrated bodies, in model order.
constexpr int kLayerBody[kBodyCount] = {engine::kBodyJupiter, engine::kBodySaturn, engine::kBodyUranus,
                                        engine::kBodyNeptune, engine::kBodyPluto,  engine::kBodyChiron,
                                        engine::kBodyCeres,   engine::kBodyPallas, engine::kBodyJuno,
                                        engine::kBodyVesta};
// The bodies of each set, in record order.
const std::vector<int> kSetBodies[3] = {
    {kJupiter, kSaturn, kUranus, kNeptune, kPluto}, {kChiron}, {kCeres, kPallas, kJuno, kVesta}};

// Where a file goes: the fixed names without the data folder are placed inside it, with
// the handheld's backslashes as directory separators.
std::string PathInDataFolder(int set, int fileNumber, const std::string& dataFolder) {
  std::string path = engine::EphemerisFilePath(set, fileNumber, dataFolder);
  if (path.rfind(dataFolder, 0) == 0) return path;
  std::replace(path.begin(), path.end(), '\\', '/');
  return dataFolder + path;
}

HeliocentricPlace OfDate(const Vec3& eclipticJ2000, double julianDay) {
  const Vec3 p = engine::PrecessEclipticJ2000ToDate(eclipticJ2000, julianDay);
  const double r = engine::Norm(p);
  return {std::atan2(p.y, p.x) * engine::kRadToDeg, std::asin(p.z / r) * engine::kRadToDeg, r};
}

// The files this program writes, relative to the data folder.
std::vector<std::string> SetFileNames(const std::string& dataFolder) {
  std::vector<std::string> names;
  for (int set = 1; set <= 3; ++set) {
    for (int fileNumber : kFileNumbers) names.push_back(PathInDataFolder(set, fileNumber, dataFolder).substr(dataFolder.size()));
  }
  return names;
}

void WriteSets(const Trajectory& trajectory, const std::string& dataFolder) {
  for (int set = 1; set <= 3; ++set) {
    const SetPlaces places = [&](double jd) {
      std::vector<HeliocentricPlace> result;
      for (int body : kSetBodies[set - 1]) result.push_back(OfDate(trajectory.At(body, jd), jd));
      return result;
    };
    for (int fileNumber : kFileNumbers) {
      const std::string path = PathInDataFolder(set, fileNumber, dataFolder);
      WriteEphemerisFile(path, set, fileNumber, places);
      std::cout << "wrote " << path << "\n";
    }
  }
  WriteManifest(dataFolder, SetFileNames(dataFolder));
  std::cout << "wrote " << dataFolder << engine::kEphemerisManifest << "\n";
}

void PrintPlanetHeader(const char* title) {
  std::printf("%-44s %8s %8s %8s %8s %8s\n", title, "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto");
}

// The written model at DE405's other epochs, one row per epoch.
void ReportDe405(const std::vector<EpochCheck>& checks) {
  PrintPlanetHeader("against DE405, arcsec seen from the Sun, JD");
  for (const EpochCheck& check : checks) {
    std::printf("  %-42.1f", check.julianDayTdb);
    for (double arcsec : check.arcsec) std::printf(" %8.4f", arcsec);
    std::printf("\n");
  }
}

// A variant of the model: its largest error against DE405 over the epochs, and its largest
// departure from the written model, arcsec seen from the Sun.
void ReportVariant(const char* name, const std::vector<EpochCheck>& variant, const std::vector<EpochCheck>& written) {
  std::array<double, kOuterPlanetCount> error{}, change{};
  for (std::size_t e = 0; e < variant.size(); ++e) {
    for (int p = 0; p < kOuterPlanetCount; ++p) {
      error[p] = std::max(error[p], variant[e].arcsec[p]);
      change[p] = std::max(change[p], SeparationArcsec(variant[e].heliocentric[p], written[e].heliocentric[p]));
    }
  }
  std::printf("  %-42s", name);
  for (int p = 0; p < kOuterPlanetCount; ++p) std::printf(" %8.4f", error[p]);
  std::printf("\n  %-42s", "    change from the written model");
  for (int p = 0; p < kOuterPlanetCount; ++p) std::printf(" %8.4f", change[p]);
  std::printf("\n");
}

// A model integrated from its start against DE405 at the other epochs.
std::vector<EpochCheck> CheckModel(PerturbingPlanets& planets, const ForceModel& model,
                                   const std::vector<StateVector>& atStart, const De405& de405, Origin origin) {
  BodyIntegrator integrator(planets, model, kStepDays);
  return CheckAgainstDe405(integrator, atStart, de405, origin);
}

// What the parts of the model are worth: each variant integrated from the same start.
void ReportErrorBudget(const IntegrationSetup& setup, const std::vector<StateVector>& atStart, const De405& de405,
                       PerturbingPlanets& planets, const std::vector<EpochCheck>& written) {
  PrintPlanetHeader("error budget: max against DE405, arcsec");
  const ForceModel merged = WithInnerPlanetsMerged(OuterPlanetModel(de405.constants));
  const Origin barycentre = Origin::kInnerBarycentre;
  ReportVariant("inner planets merged into the Sun",
                CheckModel(planets, merged, OuterPlanetStates(de405, kStartEpochJd, barycentre), de405, barycentre),
                written);

  ForceModel pulling = setup.model;
  const int asteroids[kDe405AsteroidCount] = {kCeres, kPallas, kVesta};
  for (int a = 0; a < kDe405AsteroidCount; ++a) {
    pulling.bodies[asteroids[a]].gm = de405.constants.asteroidGm[a];
    pulling.bodies[asteroids[a]].pulls = Pull::kEveryBody;
  }
  ReportVariant("Ceres, Pallas, Vesta pull them (DE405 GMs)",
                CheckModel(planets, pulling, atStart, de405, Origin::kSun), written);

  ForceModel newtonian = setup.model;
  newtonian.solarRelativity = false;
  ReportVariant("without the Sun's post-Newtonian term", CheckModel(planets, newtonian, atStart, de405, Origin::kSun),
                written);
}

// The written files read back between their records (every 8 days inside each block) against
// the integration there: the largest heliocentric direction error, arcseconds.
void ReportInterpolation(const Trajectory& trajectory, const ForceModel& model, const std::string& dataFolder) {
  engine::EphemerisFileReader reader;
  const double first = engine::kDaysPerEphemerisFile * kCheckedFileNumber + 0.5;
  std::cout << "Everett interpolation of file " << kCheckedFileNumber << " against the integration, max arcsec:\n";
  for (int body = 0; body < kBodyCount; ++body) {
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
void ReportHorizons1950(BodyIntegrator& integrator, const std::vector<StateVector>& atStart,
                        const std::string& minorBodyFolder) {
  std::vector<StateVector> states = atStart;
  double t = kStartEpochJd;
  integrator.Advance(t, states, kHorizonsCheckEpochJd);
  const std::string horizons = minorBodyFolder + "/horizons_barycentric_states.csv";
  std::cout << "1950-01-01 against Horizons, arcsec seen from the Sun:\n";
  for (const auto& [body, name] : {std::pair{kCeres, "1 Ceres"}, std::pair{kVesta, "4 Vesta"}}) {
    const EpochState reference = ReadHorizonsState(horizons, name, kHorizonsCheckEpochJd);
    std::printf("  %-7s %.3f\n", name, SeparationArcsec(states[body].position, reference.state.position));
  }
}

void ReportRoundTrip(BodyIntegrator& integrator, const std::vector<StateVector>& atStart) {
  std::vector<StateVector> states = atStart;
  double t = kStartEpochJd;
  integrator.Advance(t, states, kStartEpochJd + kRoundTripDays);
  integrator.Advance(t, states, kStartEpochJd);
  std::cout << "100 years forwards and back, position error (km, arcsec seen from the Sun):\n";
  for (int body = 0; body < kBodyCount; ++body) {
    const double km = engine::Norm(states[body].position - atStart[body].position) * engine::kKmPerAu;
    std::printf("  %-7s %.3e %.2e\n", integrator.model().bodies[body].name.c_str(), km,
                SeparationArcsec(states[body].position, atStart[body].position));
  }
}

int Run(int argc, char** argv) {
  // The manifest alone, for files written before it existed.
  if (argc == 3 && std::string(argv[1]) == "--manifest") {
    WriteManifest(std::string(argv[2]) + "/", SetFileNames(std::string(argv[2]) + "/"));
    return 0;
  }
  if (argc != 5) {
    std::cerr << "usage: ephemgen <vsop87 folder> <de405 folder> <minor-body folder> <data folder>\n"
                 "       ephemgen --manifest <data folder>\n";
    return 2;
  }
  // Every input is read and checked before anything is integrated or written.
  const De405 de405 = ReadDe405(argv[2]);
  const IntegrationSetup setup = ReadIntegrationSetup(de405, argv[3]);
  PerturbingPlanets planets(argv[1], kPerturberThresholdRad, kPerturberReachMillennia);

  const std::vector<StateVector> atStart = StatesAtStartEpoch(setup, planets, kStepDays);
  BodyIntegrator integrator(planets, setup.model, kStepDays);
  Trajectory trajectory(kFirstGridJd, kGridDays, static_cast<std::size_t>((kLastGridJd - kFirstGridJd) / kGridDays) + 1);
  FillTrajectory(integrator, atStart, trajectory);

  const std::string dataFolder = std::string(argv[4]) + "/";
  WriteSets(trajectory, dataFolder);

  const std::vector<EpochCheck> written = CheckModel(planets, setup.model, atStart, de405, Origin::kSun);
  ReportDe405(written);
  ReportErrorBudget(setup, atStart, de405, planets, written);
  ReportInterpolation(trajectory, setup.model, dataFolder);
  ReportHorizons1950(integrator, atStart, argv[3]);
  ReportRoundTrip(integrator, atStart);
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
