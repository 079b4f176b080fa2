// Delta T = TT - UT1.
#pragma once

namespace kelvara::engine {

// Seconds. Inside the measured table (1657 to the start of 2027): linear interpolation of
// the USNO half-yearly and IERS monthly values. Outside it: the long-term parabola
// -20 + 32 u^2, u = (year - 1820)/100 (Morrison & Stephenson 2004), with the table's end
// offset carried along and faded out linearly over a century so the two join continuously.
double DeltaTSeconds(double julianDayUt);

}  // namespace kelvara::engine
