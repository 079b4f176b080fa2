// JPL DE405 as the integration of the outer planets starts from it: the constants of its header
// and the barycentric states of the Sun and planets at a few epochs (data/de405/, see its README).
#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/ephemeris/geometry.h"
#include "tools/ephemgen/planets.h"

namespace kelvara::tools {

inline constexpr int kOuterPlanetCount = 5;  // Jupiter, Saturn, Uranus, Neptune, Pluto systems
inline constexpr int kDe405AsteroidCount = 3;  // Ceres, Pallas, Vesta

struct De405Constants {
  double kmPerAu = 0.0;
  double sunGm = 0.0;                                    // au^3/day^2, as all the GMs
  std::array<double, kInnerPlanetCount> innerPlanetGm{};  // GM1, GM2, GMB, GM4
  std::array<double, kOuterPlanetCount> outerPlanetGm{};  // GM5 ... GM9
  std::array<double, kDe405AsteroidCount> asteroidGm{};   // GMAST1 ... GMAST3
};

// Reads "de405_constants.csv" (name, value, unit). Throws std::runtime_error naming the file and,
// for a faulty row, its line: a constant missing, given twice, in another unit or not positive.
De405Constants ReadDe405Constants(const std::string& path);

// The states of "de405_barycentric_states.csv".
class De405States {
 public:
  // Throws std::runtime_error naming the file and the line of a malformed row: an unknown body,
  // a field that is not a number, a body given twice at one epoch.
  explicit De405States(const std::string& path);

  // Barycentric ICRF equatorial state of a body ("sun", "emb", "jupiter") at a TDB epoch, km and
  // km/day; throws naming the file when the file has none.
  engine::StateVector Barycentric(const std::string& body, double epochJd) const;

  // The epochs of the file, ascending.
  std::vector<double> Epochs() const;

 private:
  std::string path_;
  std::map<std::pair<double, std::string>, engine::StateVector> states_;
};

// Where the integrated coordinates have their origin: the Sun, or (for the error budget) the
// barycentre of the Sun and the inner planets, whose masses then join the Sun's.
enum class Origin { kSun, kInnerBarycentre };

struct De405 {
  De405Constants constants;
  De405States states;

  // The state of a body relative to an origin at an epoch, on the ecliptic J2000 (IAU 1976
  // obliquity, as the rest of the tool), au and au/day with DE405's au.
  engine::StateVector Relative(const std::string& body, double epochJd, Origin origin) const;
};

// Both files of a folder; throws as the readers do, before anything is integrated.
De405 ReadDe405(const std::string& folder);

}  // namespace kelvara::tools
