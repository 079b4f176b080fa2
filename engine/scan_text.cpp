#include "engine/scan_text.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

constexpr int kObjectColumnWidth = 11;
constexpr double kSignWidthDeg = 30.0;
constexpr double kMinutesPerDegree = 60.0;
constexpr char kDegreeSign = '\xB0';  // Windows-1251

}  // namespace

void FileCloser::operator()(std::FILE* file) const {
  if (file != nullptr) std::fclose(file);
}

ResultFile OpenResultFile(const std::string& path) {
  return ResultFile(std::fopen(path.c_str(), "w"));
}

void WriteText(std::FILE* file, const std::string& text) {
  if (file != nullptr) std::fwrite(text.data(), 1, text.size(), file);
}

std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return text;
}

char RetrogradeChar(int mark) {
  if (mark > 0) return ' ';
  return mark == 0 ? 'S' : 'R';
}

int RetrogradeMark(double motion_previous, double motion_current) {
  return static_cast<int>(Sgn(motion_previous) + Sgn(motion_current));
}

std::string ObjectColumn(int mark, const char* name) {
  const std::string text = Format(" %c %s", RetrogradeChar(mark), name ? name : "");
  return Format("%11.11s", text.c_str());
}

DegreesMinutes SplitDegrees(double magnitude_deg) {
  // Non-finite or absurd values (never produced by a cast) still give a bounded text.
  if (!std::isfinite(magnitude_deg)) magnitude_deg = 0.0;
  magnitude_deg = std::fmod(std::fabs(magnitude_deg), 1.0e6);
  const double whole = std::floor(magnitude_deg);
  return {static_cast<int>(whole),
          static_cast<int>(RoundHalfAway((magnitude_deg - whole) * kMinutesPerDegree))};
}

SignPosition SignOf(double longitude_deg) {
  double x = Mod360(longitude_deg);
  if (!std::isfinite(x)) x = 0.0;
  const int index = std::clamp(static_cast<int>(std::floor(x / kSignWidthDeg)), 0, 11);
  return {index + 1, x - kSignWidthDeg * index};
}

std::string SignPositionText(const SignPosition& position, const char* short_sign_name) {
  const DegreesMinutes dm = SplitDegrees(position.within_deg);
  return Format("(%02d%c%02d'%s)", dm.degrees, kDegreeSign, dm.minutes, short_sign_name);
}

std::string DeclinationText(double declination_deg) {
  const DegreesMinutes dm = SplitDegrees(declination_deg);
  return Format("(%02d%c%02d' %c)", dm.degrees, kDegreeSign, dm.minutes,
                declination_deg < 0.0 ? 'S' : 'N');
}

}  // namespace kelvara::engine
