// Charts for the wheel's tests, made by hand so that no engine is needed.
#pragma once

#include <cmath>
#include <string>

#include "workspace/chart_record.h"

namespace kelvara::display::testing {

namespace ws = workspace;

// Planets spread round the zodiac, equal houses from the Ascendant.
inline ws::ObjectTable HandMadeChart(double ascendantDeg = 100.0, double shiftDeg = 0.0) {
  ws::ObjectTable objects{};
  const double planets[] = {0,   15.5, 47.2,  21.0, 33.3, 190.0, 250.4, 300.1, 128.0,
                            75.0, 330.0, 282.5, 160.0, 211.0, 31.0, 140.0, 222.0};
  for (int slot = 1; slot <= ws::kSlotLilith; ++slot) {
    objects[slot].SetLongitude(std::fmod(planets[slot] + shiftDeg, 360.0));
    objects[slot].speed = slot == 9 ? -0.02 : 0.5;
    objects[slot].retrograde = slot == 9;
  }
  for (int house = 0; house < ws::kCuspCount; ++house) {
    const int slot = ws::kSlotFirstCusp + house;
    if (ascendantDeg < 0) {
      objects[slot].longitude = ws::kNotAvailable;
    } else {
      objects[slot].SetLongitude(std::fmod(ascendantDeg + 30.0 * house + shiftDeg, 360.0));
    }
    objects[slot].speed = ws::kNotAvailable;
  }
  for (int slot = ws::kSlotCeres; slot <= ws::kLastSlot; ++slot) {
    objects[slot].SetLongitude(std::fmod(40.0 * (slot - 28) + 7.0 + shiftDeg, 360.0));
    objects[slot].speed = 0.2;
  }
  for (int slot = 1; slot <= ws::kLastSlot; ++slot) objects[slot].display.name = std::string(ws::SlotName(slot));
  return objects;
}

}  // namespace kelvara::display::testing
