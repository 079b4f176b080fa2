// Nutation, IAU 2000B model.
#pragma once

namespace kelvara::engine {

struct Nutation {
  double longitudeRad = 0.0;  // delta psi
  double obliquityRad = 0.0;  // delta epsilon
  double longitudeRateRadPerDay = 0.0;
};

// IAU 2000B luni-solar nutation with its fixed planetary offsets (McCarthy & Luzum 2003,
// Celest. Mech. 85, 37); julianDayTt in TT.
Nutation Nutation2000B(double julianDayTt);

}  // namespace kelvara::engine
