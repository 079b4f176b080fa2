// ephemgen: writes the set-1 ephemeris files (Jupiter, Saturn, Uranus, Neptune, Pluto)
// numbers 23, 24 and 25 (JD 2 300 000 - 2 599 999, 1585-2406) into the data folder.
//
//   ephemgen <vsop87 folder> <pluto.txt> <data folder>
//
// Jupiter to Neptune come from the full VSOP87D series; Pluto, provisionally, from PLUTO95
// (valid 1700-01-01 to 2100-01-24; outside that a two-body orbit about the barycentre
// continues it, good to arcminutes at best far from those dates). Places are heliocentric on the
// ecliptic and equinox of date, at TT.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/planets.h"
#include "engine/ephemeris/precession.h"
#include "tools/ephemgen/ephemeris_writer.h"
#include "tools/ephemgen/pluto95.h"
#include "tools/ephemgen/provisional_pluto.h"
#include "tools/seriesgen/series_files.h"

namespace kelvara::tools {
namespace {

constexpr int kFileNumbers[] = {23, 24, 25};
constexpr int kSet = 1;

// Where a file goes: the fixed names without the data folder are placed inside it, with
// the handheld's backslashes as directory separators.
std::string PathInDataFolder(int fileNumber, const std::string& dataFolder) {
  std::string path = engine::EphemerisFilePath(kSet, fileNumber, dataFolder);
  if (path.rfind(dataFolder, 0) == 0) return path;
  std::replace(path.begin(), path.end(), '\\', '/');
  return dataFolder + path;
}

HeliocentricPlace FromVsop(const OwnedVsopSeries& series, double julianDay) {
  const engine::VsopBodySeries view = series.View();
  const engine::SphericalState s =
      engine::WithCorrectedPrecession(engine::VsopHeliocentric(view, julianDay), julianDay);
  return {s.longitudeRad * engine::kRadToDeg, s.latitudeRad * engine::kRadToDeg, s.distance};
}

HeliocentricPlace FromPluto(const ProvisionalPluto& pluto, double julianDay) {
  const engine::Vec3 ecliptic = pluto.EclipticOfDate(julianDay);
  const double r = engine::Norm(ecliptic);
  return {std::atan2(ecliptic.y, ecliptic.x) * engine::kRadToDeg, std::asin(ecliptic.z / r) * engine::kRadToDeg, r};
}

int Run(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: ephemgen <vsop87 folder> <pluto.txt> <data folder>\n";
    return 2;
  }
  const std::string vsop = argv[1];
  std::vector<OwnedVsopSeries> planets;
  for (const char* file : {"jup", "sat", "ura", "nep"}) planets.push_back(ReadVsop87File(vsop + "/VSOP87D." + file));
  const ProvisionalPluto pluto(ReadPluto95(argv[2]), planets);
  const std::string dataFolder = std::string(argv[3]) + "/";
  for (int fileNumber : kFileNumbers) {
    const std::string path = PathInDataFolder(fileNumber, dataFolder);
    WriteEphemerisFile(path, fileNumber, [&](double julianDay) {
      std::vector<HeliocentricPlace> places;
      for (const OwnedVsopSeries& planet : planets) places.push_back(FromVsop(planet, julianDay));
      places.push_back(FromPluto(pluto, julianDay));
      return places;
    });
    std::cout << "wrote " << path << "\n";
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
