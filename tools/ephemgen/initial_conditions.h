// Readers of the initial conditions of the minor bodies: JPL small-body states, Horizons
// barycentric states, MPC osculating elements and the JPL GM table. Every state comes out
// heliocentric on the ecliptic and mean equinox of J2000 (obliquity 84381.448"), au and au/day.
#pragma once

#include <string>
#include <vector>

#include "engine/ephemeris/geometry.h"

namespace kelvara::tools {

// A heliocentric ecliptic J2000 state at a TDB Julian day.
struct EpochState {
  double julianDayTdb = 0.0;
  engine::StateVector state;
};

// Columns of a comma-separated file with a header line, by name; double quotes protect commas.
// Throws std::runtime_error naming the file when it is missing, a column is absent or a row
// has a different number of fields; faults of a row name its line in the file.
class CsvTable {
 public:
  CsvTable(const std::string& path, const std::vector<std::string>& requiredColumns);
  const std::string& Path() const { return path_; }
  std::size_t Rows() const { return rows_.size(); }
  const std::string& Text(std::size_t row, const std::string& column) const;
  // The field as a number; throws when it is not one.
  double Number(std::size_t row, const std::string& column) const;
  // "<file>: line <n>", the place of a row in messages.
  std::string Where(std::size_t row) const;

 private:
  std::string path_;
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> rows_;
  std::vector<int> lineNumbers_;
};

// The first solution for `body` ("2060 Chiron") in "sbdb_initial_conditions.csv": its ICRF
// equatorial state turned onto the ecliptic.
EpochState ReadSbdbState(const std::string& path, const std::string& body);

// The heliocentric state of `body` ("4 Vesta") at a TDB Julian day from the barycentric states in
// "horizons_barycentric_states.csv" (the Sun's row at the same day subtracted), on the ecliptic.
EpochState ReadHorizonsState(const std::string& path, const std::string& body, double julianDayTdb);

// The MPC osculating elements of `name` ("(3) Juno") in "mpc_elements.csv" as a state under sunGm.
EpochState ReadMpcState(const std::string& path, const std::string& name, double sunGm);

// GM (au^3/day^2) of the row with this NAIF id in "gm_de440.csv".
double ReadGm(const std::string& path, int naifId);

// An ICRF equatorial state turned onto the ecliptic J2000.
engine::StateVector EquatorialToEcliptic(const engine::StateVector& equatorial);

}  // namespace kelvara::tools
