#include "engine/ephemeris/delta_t.h"

#include <algorithm>
#include <cmath>

#include "engine/ephemeris/tables.h"

namespace kelvara::engine {
namespace {

constexpr double kDaysPerGregorianYear = 365.2425;
constexpr double kJd2000January1 = 2451544.5;
constexpr double kBlendYears = 100.0;

double DecimalYear(double julianDayUt) { return 2000.0 + (julianDayUt - kJd2000January1) / kDaysPerGregorianYear; }

// Morrison & Stephenson (2004), long-term parabola, seconds.
double LongTermDeltaT(double year) {
  const double u = (year - 1820.0) / 100.0;
  return -20.0 + 32.0 * u * u;
}

// Parabola plus the offset found at the table's edge, fading out over kBlendYears.
double Extrapolated(double julianDayUt, const DeltaTPoint& edge) {
  const double year = DecimalYear(julianDayUt);
  const double edgeYear = DecimalYear(edge.julianDayUt);
  const double offset = edge.deltaTSeconds - LongTermDeltaT(edgeYear);
  const double fade = std::max(0.0, 1.0 - std::fabs(year - edgeYear) / kBlendYears);
  return LongTermDeltaT(year) + offset * fade;
}

}  // namespace

double DeltaTSeconds(double julianDayUt) {
  if (std::isnan(julianDayUt)) return julianDayUt;  // no place in the table to look for
  const auto table = kDeltaTTable;
  if (julianDayUt <= table.front().julianDayUt) return Extrapolated(julianDayUt, table.front());
  if (julianDayUt >= table.back().julianDayUt) return Extrapolated(julianDayUt, table.back());
  const auto after = std::upper_bound(table.begin(), table.end(), julianDayUt,
                                      [](double jd, const DeltaTPoint& p) { return jd < p.julianDayUt; });
  const auto before = after - 1;
  const double fraction = (julianDayUt - before->julianDayUt) / (after->julianDayUt - before->julianDayUt);
  return before->deltaTSeconds + fraction * (after->deltaTSeconds - before->deltaTSeconds);
}

}  // namespace kelvara::engine
