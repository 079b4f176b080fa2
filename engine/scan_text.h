// Pieces shared by the engine's result files: the scratch file handle, the object column
// with its retrograde mark, and the split of an angle into whole degrees and arc minutes.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace kelvara::engine {

inline constexpr double kSignWidthDeg = 30.0;
inline constexpr double kMinutesPerDegree = 60.0;

// A result file closed when it goes out of scope; null when it could not be opened, in
// which case every write goes nowhere and the run carries on.
struct FileCloser {
  void operator()(std::FILE* file) const;
};
using ResultFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens a result file with mode "w" (line feeds only, no translation on this platform).
ResultFile OpenResultFile(const std::string& path);
// Writes the bytes of a text; nothing when the file is null.
void WriteText(std::FILE* file, const std::string& text);
// C-style formatting into a std::string (the formats are the files' own, byte for byte).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// What "%0<width>d" appends: the sign, zeros up to the width, the digits. A scan writes
// thousands of lines, and the lines' integer fields need no format parsing.
void AppendZeroPadded(std::string& text, int value, int width);

// ' ' for direct motion at both samples (mark > 0), 'S' for a station (0), 'R' for
// retrograde (mark < 0).
char RetrogradeChar(int mark);
// Sum of the signs of the daily motion at two samples: -2..2.
int RetrogradeMark(double motion_previous, double motion_current);
// The object column: " %c %s" cut or right-aligned to exactly 11 characters.
std::string ObjectColumn(int mark, const char* name);

// Whole degrees and arc minutes of an angle's magnitude. The minutes are rounded half away
// from zero and are not carried, so 29.9999 degrees gives 29 and 60.
struct DegreesMinutes {
  int degrees;
  int minutes;
};
DegreesMinutes SplitDegrees(double magnitude_deg);

// Longitude (degrees, any turn) as a sign 1..12 and the degrees within it, 0 <= x < 30.
struct SignPosition {
  int sign;
  double within_deg;
};
SignPosition SignOf(double longitude_deg);

// "(%02d°%02d'%s)": degrees and minutes within the sign and its two-letter name.
std::string SignPositionText(const SignPosition& position, const char* short_sign_name);
void AppendSignPosition(std::string& text, const SignPosition& position, const char* short_sign_name);
// "(%02d°%02d' %c)": a declination's magnitude and 'N' or 'S'.
std::string DeclinationText(double declination_deg);
void AppendDeclination(std::string& text, double declination_deg);
// The object column appended to a line.
void AppendObjectColumn(std::string& text, int mark, const char* name);

}  // namespace kelvara::engine
