// Writer of the binary ephemeris files read by the ephemeris layer (sets 1, 2 and 3).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelvara::tools {

// Heliocentric place on the ecliptic and equinox of date.
struct HeliocentricPlace {
  double longitudeDeg;
  double latitudeDeg;
  double radiusAu;
};

// Places of a set's bodies, in record order, at a TT Julian day.
using SetPlaces = std::function<std::vector<HeliocentricPlace>(double julianDayTt)>;

// One record: per body the longitude in 1/3 600 000 degree, the latitude in 1e-7 degree and
// the radius vector in 1e-7 au, each a big-endian signed 32-bit integer.
std::vector<unsigned char> EncodeRecord(const std::vector<HeliocentricPlace>& places);

// The records of a set's file number fileNumber (record k at JD 100000 n + s k + 0.5, s the set's
// record spacing), written to a temporary file and renamed over path. Throws std::runtime_error
// on failure; the old file then stays as it was.
void WriteEphemerisFile(const std::string& path, int set, int fileNumber, const SetPlaces& places);

// The manifest of the named files (relative to the data folder, which ends in '/'),
// written beside them. Throws std::runtime_error when a file cannot be read or written.
void WriteManifest(const std::string& dataFolder, const std::vector<std::string>& names);

}  // namespace kelvara::tools
