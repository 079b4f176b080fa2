#include "tools/ephemgen/pluto95.h"

#include <cmath>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace kelvara::tools {
namespace {

constexpr double kStartJd = 2341972.5;
constexpr double kSpanDays = 146120.0;
constexpr double kFrequencyScale = 73060.0;  // Fx = x * 73060
constexpr double kUnitAu = 1.0e-10;
// Terms 1-82 periodic, 83-101 times x, 102-106 times x^2.
constexpr std::size_t kFirstPoisson1 = 82;
constexpr std::size_t kFirstPoisson2 = 101;

}  // namespace

Pluto95Tables ReadPluto95(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  const std::regex frequencyRow(R"(^\d{3}\s+(-?[0-9.]+)\s*$)");
  const std::regex secularRow(R"(^\d\s+(-?[0-9.]+)\s*$)");
  const std::regex pairRow(R"(^\d{3}\s+(-?[0-9.]+)\s+(-?[0-9.]+)\s*$)");
  Pluto95Tables tables;
  std::size_t frequencies = 0, secular = 0, pairs = 0;
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, pairRow)) {
      if (pairs >= 3 * kPlutoTermCount) throw std::runtime_error("too many rows in " + path);
      const std::size_t coordinate = pairs / kPlutoTermCount, n = pairs % kPlutoTermCount;
      double first = std::stod(m[1]), second = std::stod(m[2]);
      // The notice prints the first-order Poisson rows as sine, cosine.
      if (n >= kFirstPoisson1 && n < kFirstPoisson2) std::swap(first, second);
      tables.cosine[coordinate][n] = first;
      tables.sine[coordinate][n] = second;
      ++pairs;
    } else if (std::regex_match(line, m, frequencyRow) && frequencies < kPlutoTermCount) {
      tables.frequencyRadPerDay[frequencies++] = std::stod(m[1]);
    } else if (std::regex_match(line, m, secularRow) && secular < 12) {
      tables.secular[secular / 4][secular % 4] = std::stod(m[1]);
      ++secular;
    }
  }
  if (frequencies != kPlutoTermCount || secular != 12 || pairs != 3 * kPlutoTermCount) {
    throw std::runtime_error("incomplete tables in " + path);
  }
  return tables;
}

engine::Vec3 Pluto95Position(const Pluto95Tables& tables, double julianDayTdb) {
  const double x = 2.0 * (julianDayTdb - kStartJd) / kSpanDays - 1.0;
  const double fx = x * kFrequencyScale;
  std::array<double, 3> result{};
  for (std::size_t c = 0; c < 3; ++c) {
    const auto& a = tables.secular[c];
    double sum = a[0] + x * (a[1] + x * (a[2] + x * a[3]));
    for (std::size_t n = 0; n < kPlutoTermCount; ++n) {
      const double arg = tables.frequencyRadPerDay[n] * fx;
      const double factor = n < kFirstPoisson1 ? 1.0 : n < kFirstPoisson2 ? x : x * x;
      sum += factor * (tables.cosine[c][n] * std::cos(arg) + tables.sine[c][n] * std::sin(arg));
    }
    result[c] = sum * kUnitAu;
  }
  return {result[0], result[1], result[2]};
}

}  // namespace kelvara::tools
