// The switches the wheel reads, filled by the program from its settings, so the
// pictures never reach into the program's settings themselves.
#pragma once

#include "platform/geometry.h"

namespace kelvara::display {

struct WheelOptions {
  bool avesta = false;            // Avestan tradition: Ascendant on the right, zodiac clockwise
  bool fromAries = false;         // 0° Aries on the left instead of the Ascendant
  bool sort = false;              // spread crowded glyphs along the ring
  bool degreesShown = false;      // whole degrees beside each glyph
  bool iChing = false;            // hexagrams of the angles
  bool applyingShown = true;      // applying aspects drawn
  bool separatingShown = true;    // separating aspects drawn
  bool tapShowsAspects = false;   // the information window lists the glyph's aspects
  int manualRotationDeg = 0;      // the user's turn of the wheel, whole degrees
  platform::Color signBand{0, 255, 255};
  platform::Color background{220, 240, 210};
  bool backgroundFilled = true;   // false over a wallpaper
};

}  // namespace kelvara::display
