#include "tools/ephemgen/de405.h"

#include <set>
#include <stdexcept>

#include "tools/ephemgen/initial_conditions.h"

namespace kelvara::tools {
namespace {

using engine::StateVector;
using engine::Vec3;

constexpr const char* kGmUnit = "au^3/day^2";
constexpr const char* kInnerPlanetNames[kInnerPlanetCount] = {"mercury", "venus", "emb", "mars"};
const std::set<std::string> kBodies = {"sun",  "mercury", "venus",  "emb",    "earth",   "moon",
                                       "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"};

// The value of constant `name` in `unit`; each constant once, positive.
class ConstantTable {
 public:
  explicit ConstantTable(const std::string& path) : table_(path, {"name", "value", "unit"}) {
    for (std::size_t row = 0; row < table_.Rows(); ++row) {
      if (!rows_.emplace(table_.Text(row, "name"), row).second) {
        throw std::runtime_error(table_.Where(row) + ": " + table_.Text(row, "name") + " given twice");
      }
    }
  }

  double Value(const std::string& name, const std::string& unit) const {
    const auto it = rows_.find(name);
    if (it == rows_.end()) throw std::runtime_error(table_.Path() + ": no constant " + name);
    const std::size_t row = it->second;
    if (table_.Text(row, "unit") != unit) {
      throw std::runtime_error(table_.Where(row) + ": " + name + " in \"" + table_.Text(row, "unit") + "\", not " + unit);
    }
    const double value = table_.Number(row, "value");
    if (!(value > 0.0)) throw std::runtime_error(table_.Where(row) + ": " + name + " is not positive");
    return value;
  }

 private:
  CsvTable table_;
  std::map<std::string, std::size_t> rows_;
};

StateVector Difference(const StateVector& a, const StateVector& b) {
  return {a.position - b.position, a.velocity - b.velocity};
}

StateVector Scaled(double s, const StateVector& a) { return {s * a.position, s * a.velocity}; }

}  // namespace

De405Constants ReadDe405Constants(const std::string& path) {
  const ConstantTable table(path);
  De405Constants c;
  c.kmPerAu = table.Value("AU", "km");
  c.sunGm = table.Value("GMS", kGmUnit);
  const char* inner[kInnerPlanetCount] = {"GM1", "GM2", "GMB", "GM4"};
  for (int p = 0; p < kInnerPlanetCount; ++p) c.innerPlanetGm[p] = table.Value(inner[p], kGmUnit);
  for (int p = 0; p < kOuterPlanetCount; ++p) c.outerPlanetGm[p] = table.Value("GM" + std::to_string(5 + p), kGmUnit);
  for (int a = 0; a < kDe405AsteroidCount; ++a) c.asteroidGm[a] = table.Value("GMAST" + std::to_string(1 + a), kGmUnit);
  return c;
}

De405States::De405States(const std::string& path) : path_(path) {
  const CsvTable table(path, {"epoch_tdb_jd", "body", "x_km", "y_km", "z_km", "vx_km_per_day", "vy_km_per_day",
                              "vz_km_per_day"});
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const std::string& body = table.Text(row, "body");
    if (kBodies.count(body) == 0) throw std::runtime_error(table.Where(row) + ": unknown body \"" + body + "\"");
    const Vec3 position{table.Number(row, "x_km"), table.Number(row, "y_km"), table.Number(row, "z_km")};
    const Vec3 velocity{table.Number(row, "vx_km_per_day"), table.Number(row, "vy_km_per_day"),
                        table.Number(row, "vz_km_per_day")};
    if (!states_.emplace(std::pair{table.Number(row, "epoch_tdb_jd"), body}, StateVector{position, velocity}).second) {
      throw std::runtime_error(table.Where(row) + ": " + body + " given twice at this epoch");
    }
  }
}

StateVector De405States::Barycentric(const std::string& body, double epochJd) const {
  const auto it = states_.find({epochJd, body});
  if (it == states_.end()) throw std::runtime_error(path_ + ": no state of " + body + " at JD " + std::to_string(epochJd));
  return it->second;
}

std::vector<double> De405States::Epochs() const {
  std::vector<double> epochs;
  for (const auto& [key, state] : states_) {
    if (epochs.empty() || epochs.back() != key.first) epochs.push_back(key.first);
  }
  return epochs;
}

StateVector De405::Relative(const std::string& body, double epochJd, Origin origin) const {
  StateVector centre = states.Barycentric("sun", epochJd);
  if (origin == Origin::kInnerBarycentre) {
    // Mass-weighted mean of the Sun and Mercury ... Mars.
    StateVector sum = Scaled(constants.sunGm, centre);
    double mass = constants.sunGm;
    for (int p = 0; p < kInnerPlanetCount; ++p) {
      const StateVector planet = Scaled(constants.innerPlanetGm[p], states.Barycentric(kInnerPlanetNames[p], epochJd));
      sum = {sum.position + planet.position, sum.velocity + planet.velocity};
      mass += constants.innerPlanetGm[p];
    }
    centre = Scaled(1.0 / mass, sum);
  }
  const StateVector km = Difference(states.Barycentric(body, epochJd), centre);
  return EquatorialToEcliptic(Scaled(1.0 / constants.kmPerAu, km));
}

De405 ReadDe405(const std::string& folder) {
  return {ReadDe405Constants(folder + "/de405_constants.csv"), De405States(folder + "/de405_barycentric_states.csv")};
}

}  // namespace kelvara::tools
