// Readers of the published series files (VSOP87D, ELP/MPP02, IAU 2000B, Delta T)
// into the shapes the ephemeris layer evaluates. Used by the table generator and
// by the tests that check the full series against the authors' check values.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/ephemeris/series.h"
#include "engine/ephemeris/tables.h"

namespace kelvara::tools {

using engine::LunarTerm;
using engine::VsopTerm;

struct OwnedVsopSeries {
  // [coordinate L, B, R][power of t]
  std::array<std::array<std::vector<VsopTerm>, engine::kVsopPowerCount>, 3> terms;
  engine::VsopBodySeries View() const;
  std::size_t TermCount() const;
};

struct OwnedLunarSeries {
  // [coordinate V, U, r][power of t]
  std::array<std::array<std::vector<LunarTerm>, engine::kLunarPowerCount>, 3> terms;
  std::array<double, 5> meanLongitudeRad{};
  engine::LunarSeries View() const;
  std::size_t TermCount() const;
};

// Reads one VSOP87D file ("VSOP87D.ear", ...). Throws std::runtime_error on a malformed file.
OwnedVsopSeries ReadVsop87File(const std::string& path);

// Reads the six ELP/MPP02 files in a folder, applying the constants of the fit to DE405
// with the secular corrections towards DE406. Throws std::runtime_error on a malformed file.
OwnedLunarSeries ReadElpMpp02(const std::string& folder);

// Keeps the terms whose largest contribution over |t| <= maxAbsTime reaches the threshold:
// |A| * maxAbsTime^power >= threshold.
OwnedVsopSeries TruncateVsop(const OwnedVsopSeries& full, double threshold, double maxAbsMillennia);
OwnedLunarSeries TruncateLunar(const OwnedLunarSeries& full, double angleThresholdRad,
                               double distanceThresholdKm, double maxAbsCenturies);

std::vector<engine::NutationTerm> ReadNutation2000B(const std::string& path);

// Half-yearly historic values up to the first monthly IERS value, then the monthly values.
std::vector<engine::DeltaTPoint> ReadDeltaT(const std::string& historicCsv, const std::string& monthlyCsv);

}  // namespace kelvara::tools
