// The ephemeris layer: apparent geocentric ecliptic places of date for the chart casting.
#pragma once

#include <optional>
#include <string>

#include "engine/ephemeris/ephemeris_files.h"
#include "engine/ephemeris/geometry.h"
#include "engine/ephemeris/nutation.h"
#include "engine/ephemeris/theory_segments.h"

namespace kelvara::engine {

// Body numbers of the layer.
enum EphemerisBody : int {
  kBodySun = 0, kBodyMoon = 1, kBodyMercury = 2, kBodyVenus = 3, kBodyMars = 4, kBodyJupiter = 5,
  kBodySaturn = 6, kBodyUranus = 7, kBodyNeptune = 8, kBodyPluto = 9, kBodyMeanNode = 10,
  kBodyTrueNode = 11, kBodyChiron = 12, kBodyLilith = 13, kBodyCeres = 14, kBodyPallas = 15,
  kBodyJuno = 16, kBodyVesta = 17
};

struct EphemerisResult {
  double longitudeDeg = 0.0;      // apparent geocentric, true ecliptic and equinox of date, [0, 360)
  double latitudeDeg = 0.0;
  double motionDegPerDay = 0.0;   // rate of the longitude, negative when retrograde
  Vec3 heliocentricAu;            // geometric, mean ecliptic of date; the Earth's for the Sun
  double deltaTSeconds = 0.0;     // TT - UT used
};

// Beyond this distance from J2000 (about 27 000 years) no request is served.
inline constexpr double kMaxDaysFromJ2000 = 1.0e7;

// Keeps the caches of the layer: the theories' segments, the Earth of the last day asked
// and, per file set, the open file and the six-record window.
class EphemerisLayer {
 public:
  // julianDayUt in Universal Time; dataPrefix is the data directory with its trailing separator.
  // spacingDays: how far apart the moments lie that the caller is asking one after another (a
  // scan's step), or 0 for a moment on its own; see TheorySegments.
  bool Position(int body, double julianDayUt, const std::string& dataPrefix, EphemerisResult& result,
                double spacingDays = 0.0);

  // The same for a Julian day already in TT (deltaTSeconds is then reported as 0).
  bool PositionAtTt(int body, double julianDayTt, const std::string& dataPrefix, EphemerisResult& result,
                    double spacingDays = 0.0);

 private:
  const StateVector& Earth(double julianDayTt, double spacingDays);
  bool Planet(int body, double julianDayTt, double spacingDays, const std::string& dataPrefix,
              const StateVector& earth, const Nutation& nutation, EphemerisResult& result);

  // The value last computed for one exact day and spacing; a chart asks for all its bodies at
  // one moment.
  template <typename Value>
  struct DayCache {
    bool valid = false;
    double day = 0.0;
    double spacingDays = 0.0;
    Value value{};

    template <typename Compute>
    const Value& Get(double julianDay, double spacing, Compute compute) {
      if (!valid || day != julianDay || spacingDays != spacing) {
        value = compute(julianDay);
        day = julianDay;
        spacingDays = spacing;
        valid = true;
      }
      return value;
    }
  };

  const Nutation& NutationAt(double julianDayTt, double spacingDays);
  const MotionState& Moon(double julianDayTt, double spacingDays);

  TheorySegments theories_;
  DayCache<double> deltaTSeconds_;  // keyed by the UT day
  DayCache<StateVector> earth_;
  DayCache<Nutation> nutation_;
  DayCache<MotionState> moon_;
  EphemerisFileReader files_;
};

// The layer's body for an engine object index: 1-10 (Sun...Pluto) -> 0-9, 11 (Chiron) -> 12,
// 12-15 (Ceres...Vesta) -> 14-17, 16 (Node) -> 11 with the true node, else 10, 17 (Lilith) -> 13.
// Other objects are not served by the layer.
std::optional<int> EphemerisBodyOfObject(int objectIndex, bool trueNode);

// Process-wide layer for the engine, which is not re-entrant. Bodies 0-17 as listed above;
// false for other bodies, for days beyond kMaxDaysFromJ2000, and for file bodies whose file
// is missing, truncated or corrupt.
bool EphemerisPosition(int body, double julianDayUt, const std::string& dataPrefix, EphemerisResult& result,
                       double spacingDays = 0.0);

}  // namespace kelvara::engine
