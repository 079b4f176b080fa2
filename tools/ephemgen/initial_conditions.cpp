#include "tools/ephemgen/initial_conditions.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "engine/ephemeris/precession.h"
#include "tools/ephemgen/orbit.h"

namespace kelvara::tools {
namespace {

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

engine::StateVector StateFromColumns(const CsvTable& table, std::size_t row, const std::string& positionSuffix,
                                     const std::string& velocitySuffix, double positionScale, double velocityScale) {
  const auto vec = [&](const std::string& prefix, const std::string& suffix, double scale) {
    return engine::Vec3{table.Number(row, prefix + "x" + suffix) * scale, table.Number(row, prefix + "y" + suffix) * scale,
                        table.Number(row, prefix + "z" + suffix) * scale};
  };
  return {vec("", positionSuffix, positionScale), vec("v", velocitySuffix, velocityScale)};
}

}  // namespace

CsvTable::CsvTable(const std::string& path, const std::vector<std::string>& requiredColumns) : path_(path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::string line;
  if (!std::getline(in, line)) throw std::runtime_error(path + ": no header line");
  header_ = SplitCsvLine(line);
  for (const std::string& column : requiredColumns) {
    if (std::find(header_.begin(), header_.end(), column) == header_.end()) {
      throw std::runtime_error(path + ": no column \"" + column + "\"");
    }
  }
  for (int number = 2; std::getline(in, line); ++number) {
    if (line.empty() || line == "\r") continue;
    std::vector<std::string> fields = SplitCsvLine(line);
    if (fields.size() != header_.size()) {
      throw std::runtime_error(path + ": line " + std::to_string(number) + " has " + std::to_string(fields.size()) +
                               " fields, the header " + std::to_string(header_.size()));
    }
    rows_.push_back(std::move(fields));
    lineNumbers_.push_back(number);
  }
}

const std::string& CsvTable::Text(std::size_t row, const std::string& column) const {
  const auto it = std::find(header_.begin(), header_.end(), column);
  if (it == header_.end()) throw std::runtime_error(path_ + ": no column \"" + column + "\"");
  return rows_.at(row)[static_cast<std::size_t>(it - header_.begin())];
}

double CsvTable::Number(std::size_t row, const std::string& column) const {
  const std::string& text = Text(row, column);
  std::size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || !std::isfinite(value)) {
    throw std::runtime_error(Where(row) + ": \"" + text + "\" in column " + column + " is not a number");
  }
  return value;
}

std::string CsvTable::Where(std::size_t row) const { return path_ + ": line " + std::to_string(lineNumbers_.at(row)); }

engine::StateVector EquatorialToEcliptic(const engine::StateVector& equatorial) {
  return {engine::EquatorialJ2000ToEcliptic(equatorial.position), engine::EquatorialJ2000ToEcliptic(equatorial.velocity)};
}

EpochState ReadSbdbState(const std::string& path, const std::string& body) {
  const CsvTable table(path, {"body", "epoch_jd_tdb", "x_au", "y_au", "z_au", "vx_au_d", "vy_au_d", "vz_au_d"});
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    if (table.Text(row, "body") != body) continue;
    return {table.Number(row, "epoch_jd_tdb"), EquatorialToEcliptic(StateFromColumns(table, row, "_au", "_au_d", 1.0, 1.0))};
  }
  throw std::runtime_error(path + ": no state of " + body);
}

EpochState ReadHorizonsState(const std::string& path, const std::string& body, double julianDayTdb) {
  const CsvTable table(path, {"body", "epoch_jd_tdb", "x_km", "y_km", "z_km", "vx_km_s", "vy_km_s", "vz_km_s"});
  const auto find = [&](const std::string& name) {
    for (std::size_t row = 0; row < table.Rows(); ++row) {
      if (table.Text(row, "body") == name && table.Number(row, "epoch_jd_tdb") == julianDayTdb) {
        return StateFromColumns(table, row, "_km", "_km_s", 1.0 / engine::kKmPerAu,
                                engine::kSecondsPerDay / engine::kKmPerAu);
      }
    }
    throw std::runtime_error(path + ": no state of " + name + " at JD " + std::to_string(julianDayTdb));
  };
  const engine::StateVector target = find(body), sun = find("Sun");
  return {julianDayTdb, EquatorialToEcliptic({target.position - sun.position, target.velocity - sun.velocity})};
}

EpochState ReadMpcState(const std::string& path, const std::string& name, double sunGm) {
  const CsvTable table(path, {"name", "epoch_jd_tt", "M_deg", "argperi_deg", "node_deg", "incl_deg", "e", "a_au"});
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    if (table.Text(row, "name") != name) continue;
    const OrbitalElements elements{table.Number(row, "a_au"),
                                   table.Number(row, "e"),
                                   table.Number(row, "incl_deg") * engine::kDegToRad,
                                   table.Number(row, "node_deg") * engine::kDegToRad,
                                   table.Number(row, "argperi_deg") * engine::kDegToRad,
                                   table.Number(row, "M_deg") * engine::kDegToRad};
    return {table.Number(row, "epoch_jd_tt"), StateFromElements(elements, sunGm)};
  }
  throw std::runtime_error(path + ": no elements of " + name);
}

double ReadGm(const std::string& path, int naifId) {
  const CsvTable table(path, {"naif_id", "gm_au3_d2"});
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    if (table.Number(row, "naif_id") != naifId) continue;
    const double gm = table.Number(row, "gm_au3_d2");
    if (!(gm > 0.0)) throw std::runtime_error(path + ": GM of " + std::to_string(naifId) + " is not positive");
    return gm;
  }
  throw std::runtime_error(path + ": no GM for NAIF id " + std::to_string(naifId));
}

}  // namespace kelvara::tools
