#include "tools/seriesgen/series_files.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "engine/ephemeris/precession.h"

namespace kelvara::tools {
namespace {

using engine::kArcsecToRad;

std::ifstream OpenOrThrow(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open " + path);
  return in;
}

double FieldAsDouble(const std::string& line, std::size_t column, std::size_t width, const std::string& where) {
  if (line.size() < column + width) throw std::runtime_error("short line in " + where);
  std::string field = line.substr(column, width);
  for (char& c : field) {
    if (c == 'D' || c == 'd') c = 'E';  // Fortran double exponent
  }
  std::size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(field, &used);
  } catch (const std::exception&) {
    throw std::runtime_error("bad number '" + field + "' in " + where);
  }
  return value;
}

int FieldAsInt(const std::string& line, std::size_t column, std::size_t width, const std::string& where) {
  return static_cast<int>(FieldAsDouble(line, column, width, where));
}

// Last two words of a header line ("... <count> <power>"), read as integers where they are numbers.
std::pair<long, long> TrailingIntegers(const std::string& line) {
  std::istringstream words(line);
  std::vector<std::string> all;
  for (std::string w; words >> w;) all.push_back(w);
  if (all.size() < 2) throw std::runtime_error("bad header: " + line);
  const auto asNumber = [&](const std::string& word) {
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 10);
    return *end == '\0' ? value : -1L;
  };
  return {asNumber(all[all.size() - 2]), asNumber(all.back())};
}

}  // namespace

engine::VsopBodySeries OwnedVsopSeries::View() const {
  engine::VsopBodySeries view;
  engine::VsopCoordinate* coordinates[3] = {&view.longitude, &view.latitude, &view.radius};
  for (std::size_t c = 0; c < 3; ++c) {
    for (std::size_t a = 0; a < engine::kVsopPowerCount; ++a) coordinates[c]->byPower[a] = terms[c][a];
  }
  return view;
}

// Terms over every coordinate and power of a [coordinate][power] table.
template <typename Table>
std::size_t CountTerms(const Table& terms) {
  std::size_t count = 0;
  for (const auto& coordinate : terms) {
    for (const auto& power : coordinate) count += power.size();
  }
  return count;
}

std::size_t OwnedVsopSeries::TermCount() const { return CountTerms(terms); }

engine::LunarSeries OwnedLunarSeries::View() const {
  engine::LunarSeries view;
  engine::LunarCoordinate* coordinates[3] = {&view.longitude, &view.latitude, &view.distance};
  for (std::size_t c = 0; c < 3; ++c) {
    for (std::size_t n = 0; n < engine::kLunarPowerCount; ++n) coordinates[c]->byPower[n] = terms[c][n];
  }
  view.meanLongitudeRad = meanLongitudeRad;
  return view;
}

std::size_t OwnedLunarSeries::TermCount() const { return CountTerms(terms); }

OwnedVsopSeries ReadVsop87File(const std::string& path) {
  std::ifstream in = OpenOrThrow(path);
  OwnedVsopSeries series;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("VSOP87") == std::string::npos) continue;
    const std::size_t variableAt = line.find("VARIABLE");
    const std::size_t powerAt = line.find("*T**");
    const std::size_t termsAt = line.find("TERM");
    if (variableAt == std::string::npos || powerAt == std::string::npos || termsAt == std::string::npos) {
      throw std::runtime_error("bad header in " + path);
    }
    const int variable = line.at(variableAt + 9) - '0';
    const int power = line.at(powerAt + 4) - '0';
    const long count = std::stol(line.substr(powerAt + 5, termsAt - powerAt - 5));
    if (variable < 1 || variable > 3 || power < 0 || power >= static_cast<int>(engine::kVsopPowerCount) || count < 0) {
      throw std::runtime_error("bad header in " + path);
    }
    auto& target = series.terms[variable - 1][power];
    for (long i = 0; i < count; ++i) {
      if (!std::getline(in, line)) throw std::runtime_error("truncated " + path);
      // Fortran format 1x,4i1,i5,12i3,f15.11,2f18.11,f14.11,f20.11: A, B, C are the last three.
      target.push_back({FieldAsDouble(line, 79, 18, path), FieldAsDouble(line, 97, 14, path),
                        FieldAsDouble(line, 111, 20, path)});
    }
  }
  if (series.TermCount() == 0) throw std::runtime_error("no terms in " + path);
  return series;
}

namespace {

// Constants of ELP/MPP02 and of its fit to DE405 (Chapront & Francou, notice of Oct 2002,
// Tables 1, 3, 4, 5 and 6). Angles in arcseconds, rates per Julian century.
using Poly = std::array<double, 5>;

constexpr double Dms(double degrees, double minutes, double seconds) { return degrees * 3600.0 + minutes * 60.0 + seconds; }

constexpr double kNuNominal = 1732559343.73604;  // W1(1), "/cy
constexpr double kM = 0.074801329;                // n'/nu
constexpr double kAlpha = 0.002571881;            // a0/a'
constexpr double kDistanceScale = 384747.961370173 / 384747.980674318;  // a0(DE405)/a0(ELP)

// Table 3, DE405 column.
constexpr double kDw1_0 = -0.07008, kDw2_0 = 0.20794, kDw3_0 = -0.07215;
constexpr double kDw1_1 = -0.35106, kDw2_1 = 0.08017, kDw3_1 = -0.04317, kDw1_2 = -0.03743;
constexpr double kDgam = 0.00085, kDe = -0.00006, kDeart_0 = -0.00033, kDeart_1 = 0.00732;
constexpr double kDperi = -0.00749, kDep = 0.00224;
// Table 6: secular corrections towards DE406.
constexpr double kDw1_3 = -0.00018865, kDw1_4 = -0.00001024, kDw2_2 = 0.00470602, kDw2_3 = -0.00025213;
constexpr double kDw3_2 = -0.00261070, kDw3_3 = -0.00010712;
// Table 5: derivatives of the perigee and node mean motions (over nu).
constexpr std::array<double, 5> kBp2 = {0.311079095, -0.004482398, -0.001102485, 0.001056062, 0.000050928};
constexpr std::array<double, 5> kBp3 = {-0.103837907, 0.000668287, -0.001298072, -0.000178028, -0.000037342};
// Precession constant with its correction (Herring et al. 2002), "/cy.
constexpr double kPrecession = 5029.0966 + engine::kPrecessionCorrectionArcsecPerCentury;

struct ElpArguments {
  Poly w1, w2, w3, earth, perihelion;
  std::array<double, 8> planetLinear0, planetLinear1;  // Me V T Ma J S U N (T is the EMB, handled separately)
};

double MotionCorrection(const std::array<double, 5>& bp, double meanMotionRatio) {
  const double nuRad = kNuNominal * kArcsecToRad;
  const double y = kM * bp[0] + (2.0 * kAlpha / 3.0) * bp[4];
  return (meanMotionRatio - y) * kDw1_1 + (y / kM) * kDeart_1 + nuRad * (bp[1] * kDgam + bp[2] * kDe + bp[3] * kDep);
}

ElpArguments FittedArguments() {
  ElpArguments a;
  a.w1 = {Dms(218, 18, 59.95571), 1732559343.73604, -6.8084, 0.006604, -0.00003169};
  a.w2 = {Dms(83, 21, 11.67475), 14643420.3171, -38.2631, -0.045047, 0.00021301};
  a.w3 = {Dms(125, 2, 40.39816), -6967919.5383, 6.3590, 0.007625, -0.00003586};
  a.earth = {Dms(100, 27, 59.13885), 129597742.2930, -0.0202, 0.000009, 0.00000015};
  a.perihelion = {Dms(102, 56, 14.45766), 1161.24342, 0.529265, -0.00011814, 0.000011379};
  const double w2Motion = MotionCorrection(kBp2, a.w2[1] / a.w1[1]);
  const double w3Motion = MotionCorrection(kBp3, a.w3[1] / a.w1[1]);
  a.w1[0] += kDw1_0; a.w1[1] += kDw1_1; a.w1[2] += kDw1_2; a.w1[3] += kDw1_3; a.w1[4] += kDw1_4;
  a.w2[0] += kDw2_0; a.w2[1] += kDw2_1 + w2Motion; a.w2[2] += kDw2_2; a.w2[3] += kDw2_3;
  a.w3[0] += kDw3_0; a.w3[1] += kDw3_1 + w3Motion; a.w3[2] += kDw3_2; a.w3[3] += kDw3_3;
  a.earth[0] += kDeart_0; a.earth[1] += kDeart_1;
  a.perihelion[0] += kDperi;
  // Table 2: planetary mean longitudes from VSOP2000, linear in t.
  a.planetLinear0 = {Dms(252, 15, 3.216919), Dms(181, 58, 44.758419), 0.0, Dms(355, 26, 3.642778),
                     Dms(34, 21, 5.379392), Dms(50, 4, 38.902495), Dms(314, 3, 4.354234), Dms(304, 20, 56.808371)};
  a.planetLinear1 = {538101628.68888, 210664136.45777, 0.0, 68905077.65936,
                     10925660.57335, 4399609.33632, 1542482.57845, 786547.89700};
  return a;
}

Poly Scaled(const Poly& p, double factor) {
  Poly r;
  for (std::size_t k = 0; k < r.size(); ++k) r[k] = p[k] * factor;
  return r;
}

Poly Sum(const Poly& a, const Poly& b, double sign = 1.0) {
  Poly r;
  for (std::size_t k = 0; k < r.size(); ++k) r[k] = a[k] + sign * b[k];
  return r;
}

// The 13 arguments D F l l' Me V T Ma J S U N zeta as polynomials in arcseconds.
std::array<Poly, 13> ArgumentPolynomials(const ElpArguments& a) {
  std::array<Poly, 13> args{};
  args[0] = Sum(a.w1, a.earth, -1.0);
  args[0][0] += 180.0 * 3600.0;
  args[1] = Sum(a.w1, a.w3, -1.0);
  args[2] = Sum(a.w1, a.w2, -1.0);
  args[3] = Sum(a.earth, a.perihelion, -1.0);
  for (std::size_t p = 0; p < 8; ++p) args[4 + p] = {a.planetLinear0[p], a.planetLinear1[p], 0, 0, 0};
  args[6] = a.earth;
  args[12] = {a.w1[0], a.w1[1] + kPrecession, 0, 0, 0};
  return args;
}

Poly PhaseRad(const std::array<Poly, 13>& args, const std::array<int, 13>& multipliers, double extraPhaseRad) {
  Poly phase{};
  for (std::size_t i = 0; i < multipliers.size(); ++i) {
    if (multipliers[i] != 0) phase = Sum(phase, Scaled(args[i], multipliers[i]));
  }
  phase = Scaled(phase, kArcsecToRad);
  phase[0] = std::remainder(phase[0] + extraPhaseRad, engine::kTwoPi);
  return phase;
}

// Main problem file: 4i3,2x,f13.5,6f12.2, amplitudes corrected for the fitted constants.
void ReadMainProblem(const std::string& path, int coordinate, const std::array<Poly, 13>& args,
                     std::vector<LunarTerm>& target) {
  std::ifstream in = OpenOrThrow(path);
  std::string line;
  if (!std::getline(in, line)) throw std::runtime_error("empty " + path);
  const long count = TrailingIntegers(line).second;
  if (count < 0) throw std::runtime_error("bad header in " + path);
  const double delnu = (0.55604 + kDw1_1) / kNuNominal;
  const double delnp = (-0.0642 + kDeart_1) / kNuNominal;
  const double delg = (-0.08066 + kDgam) * kArcsecToRad;
  const double dele = (0.01789 + kDe) * kArcsecToRad;
  const double delep = (-0.12879 + kDep) * kArcsecToRad;
  const double dtasm = 2.0 * kAlpha / (3.0 * kM);
  const bool isDistance = coordinate == 2;
  for (long i = 0; i < count; ++i) {
    if (!std::getline(in, line)) throw std::runtime_error("truncated " + path);
    std::array<int, 13> multipliers{};
    for (std::size_t k = 0; k < 4; ++k) multipliers[k] = FieldAsInt(line, 3 * k, 3, path);
    double amplitude = FieldAsDouble(line, 14, 13, path);
    std::array<double, 6> b{};
    for (std::size_t k = 0; k < 6; ++k) b[k] = FieldAsDouble(line, 27 + 12 * k, 12, path);
    const double scaleCorrection = isDistance ? -2.0 * amplitude * delnu / 3.0 : 0.0;
    amplitude += scaleCorrection + (b[0] + dtasm * b[4]) * (delnp - kM * delnu) + b[1] * delg + b[2] * dele +
                 b[3] * delep;
    // Longitude and latitude are sine series in arcsec; distance is a cosine series in km.
    const double unit = isDistance ? kDistanceScale : kArcsecToRad;
    target.push_back({amplitude * unit, PhaseRad(args, multipliers, isDistance ? std::numbers::pi / 2 : 0.0)});
  }
}

// Perturbation file: groups per power of t, each line 5x,2d20.13,13i3 with S sin + C cos.
void ReadPerturbations(const std::string& path, int coordinate, const std::array<Poly, 13>& args,
                       std::array<std::vector<LunarTerm>, engine::kLunarPowerCount>& target) {
  std::ifstream in = OpenOrThrow(path);
  const double unit = coordinate == 2 ? kDistanceScale : kArcsecToRad;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("PERTURBATIONS") == std::string::npos) continue;
    const auto [count, power] = TrailingIntegers(line);
    if (power < 0 || power >= static_cast<long>(engine::kLunarPowerCount) || count < 0) {
      throw std::runtime_error("bad header in " + path);
    }
    for (long i = 0; i < count; ++i) {
      if (!std::getline(in, line)) throw std::runtime_error("truncated " + path);
      const double s = FieldAsDouble(line, 5, 20, path);
      const double c = FieldAsDouble(line, 25, 20, path);
      std::array<int, 13> multipliers{};
      for (std::size_t k = 0; k < 13; ++k) multipliers[k] = FieldAsInt(line, 45 + 3 * k, 3, path);
      target[power].push_back({std::hypot(s, c) * unit, PhaseRad(args, multipliers, std::atan2(c, s))});
    }
  }
}

}  // namespace

OwnedLunarSeries ReadElpMpp02(const std::string& folder) {
  const ElpArguments fitted = FittedArguments();
  const std::array<Poly, 13> args = ArgumentPolynomials(fitted);
  OwnedLunarSeries series;
  for (int c = 0; c < 3; ++c) {
    const std::string suffix = ".S" + std::to_string(c + 1);
    ReadMainProblem(folder + "/ELP_MAIN" + suffix, c, args, series.terms[c][0]);
    ReadPerturbations(folder + "/ELP_PERT" + suffix, c, args, series.terms[c]);
  }
  series.meanLongitudeRad = Scaled(fitted.w1, kArcsecToRad);
  return series;
}

OwnedVsopSeries TruncateVsop(const OwnedVsopSeries& full, double threshold, double maxAbsMillennia) {
  OwnedVsopSeries kept;
  for (std::size_t c = 0; c < 3; ++c) {
    for (std::size_t a = 0; a < engine::kVsopPowerCount; ++a) {
      const double reach = std::pow(maxAbsMillennia, static_cast<double>(a));
      for (const VsopTerm& term : full.terms[c][a]) {
        if (std::fabs(term.amplitude) * reach >= threshold) kept.terms[c][a].push_back(term);
      }
    }
  }
  return kept;
}

OwnedLunarSeries TruncateLunar(const OwnedLunarSeries& full, double angleThresholdRad, double distanceThresholdKm,
                               double maxAbsCenturies) {
  OwnedLunarSeries kept;
  kept.meanLongitudeRad = full.meanLongitudeRad;
  for (std::size_t c = 0; c < 3; ++c) {
    const double threshold = c == 2 ? distanceThresholdKm : angleThresholdRad;
    for (std::size_t n = 0; n < engine::kLunarPowerCount; ++n) {
      const double reach = std::pow(maxAbsCenturies, static_cast<double>(n));
      for (const LunarTerm& term : full.terms[c][n]) {
        if (std::fabs(term.amplitude) * reach >= threshold) kept.terms[c][n].push_back(term);
      }
    }
  }
  return kept;
}

namespace {

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& path, std::size_t minFields) {
  std::ifstream in = OpenOrThrow(path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    rows.push_back(SplitCsv(line));
    if (rows.back().size() < minFields) throw std::runtime_error("short row in " + path);
  }
  return rows;
}

}  // namespace

std::vector<engine::NutationTerm> ReadNutation2000B(const std::string& path) {
  std::vector<engine::NutationTerm> terms;
  for (const auto& f : CsvRows(path, 15)) {
    terms.push_back({std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]), std::stoi(f[4]), std::stoi(f[5]),
                     std::stod(f[7]), std::stod(f[8]), std::stod(f[9]), std::stod(f[10]), std::stod(f[11]),
                     std::stod(f[13])});
  }
  return terms;
}

std::vector<engine::DeltaTPoint> ReadDeltaT(const std::string& historicCsv, const std::string& monthlyCsv) {
  std::vector<engine::DeltaTPoint> monthly;
  for (const auto& f : CsvRows(monthlyCsv, 6)) monthly.push_back({std::stod(f[0]), std::stod(f[5])});
  if (monthly.empty()) throw std::runtime_error("no rows in " + monthlyCsv);
  std::vector<engine::DeltaTPoint> points;
  for (const auto& f : CsvRows(historicCsv, 6)) {
    const double jd = std::stod(f[0]);
    if (jd < monthly.front().julianDayUt) points.push_back({jd, std::stod(f[5])});
  }
  points.insert(points.end(), monthly.begin(), monthly.end());
  return points;
}

}  // namespace kelvara::tools
