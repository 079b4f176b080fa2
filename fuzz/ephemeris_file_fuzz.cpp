// The ephemeris files through the engine's reader: the input is "1.st" (Jupiter to Pluto,
// JD 2 400 000 - 2 499 999) in a scratch data folder. The folder has no manifest, so only the
// size, range and continuity checks stand between the bytes and the places. A place that is
// given must be finite and at a positive distance.
#include <cmath>
#include <cstdint>

#include "engine/ephemeris/ephemeris_check.h"
#include "engine/ephemeris/ephemeris_files.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr int kFirstBody = 5;  // Jupiter
constexpr int kLastBody = 9;   // Pluto
// Near the file's start, inside it, and near its end, where the six-record window still fits.
constexpr double kDays[] = {2400200.0, 2451545.0, 2499700.0};

bool Sound(const kelvara::engine::SphericalState& s) {
  return std::isfinite(s.longitudeRad) && std::isfinite(s.latitudeRad) && std::isfinite(s.distance) &&
         s.distance > 0.0 && std::isfinite(s.longitudeRateRadPerDay) && std::isfinite(s.latitudeRateRadPerDay) &&
         std::isfinite(s.distanceRatePerDay);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvara;
  fuzz::WriteScratchFile("1.st", fuzz::Bytes(data, size));
  const std::string prefix = fuzz::ScratchPath().string() + "/";
  engine::EphemerisFileReader reader;
  for (double day : kDays) {
    for (int body = kFirstBody; body <= kLastBody; ++body) {
      engine::SphericalState place;
      if (reader.Heliocentric(body, day, prefix, place)) fuzz::Require(Sound(place), "an unsound place");
    }
  }
  engine::TakeDamagedEphemerisFiles();
  return 0;
}
