#include "engine/scan_text.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdarg>
#include <string_view>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

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
  // Most texts fit the buffer, so the format is run once; a longer one is run again into
  // a string of its measured length.
  char buffer[256];
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::string text;
  if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
    text.assign(buffer, static_cast<std::size_t>(length));
  } else if (length > 0) {
    text.resize(static_cast<std::size_t>(length));
    std::vsnprintf(text.data(), text.size() + 1, format, again);
  }
  va_end(again);
  return text;
}

void AppendZeroPadded(std::string& text, int value, int width) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const char* first = digits;
  if (value < 0) {
    text += '-';
    ++first;
  }
  const int length = static_cast<int>(end - digits);  // the sign counts towards the width
  if (length < width) text.append(static_cast<std::size_t>(width - length), '0');
  text.append(first, static_cast<std::size_t>(end - first));
}

char RetrogradeChar(int mark) {
  if (mark > 0) return ' ';
  return mark == 0 ? 'S' : 'R';
}

int RetrogradeMark(double motion_previous, double motion_current) {
  return static_cast<int>(Sgn(motion_previous) + Sgn(motion_current));
}

void AppendObjectColumn(std::string& text, int mark, const char* name) {
  constexpr std::size_t kWidth = 11;  // " %c %s" printed "%11.11s"
  const std::string_view shown = name ? name : "";
  const std::size_t length = std::min(kWidth, shown.size() + 3);
  text.append(kWidth - length, ' ');
  const char head[3] = {' ', RetrogradeChar(mark), ' '};
  text.append(head, std::min<std::size_t>(3, length));
  if (length > 3) text.append(shown.substr(0, length - 3));
}

std::string ObjectColumn(int mark, const char* name) {
  std::string text;
  AppendObjectColumn(text, mark, name);
  return text;
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

// "(%02d°%02d" of a magnitude's whole degrees and arc minutes.
void AppendDegreesMinutes(std::string& text, double magnitude_deg) {
  const DegreesMinutes dm = SplitDegrees(magnitude_deg);
  text += '(';
  AppendZeroPadded(text, dm.degrees, 2);
  text += kDegreeSign;
  AppendZeroPadded(text, dm.minutes, 2);
  text += '\'';
}

void AppendSignPosition(std::string& text, const SignPosition& position, const char* short_sign_name) {
  AppendDegreesMinutes(text, position.within_deg);
  text += short_sign_name ? short_sign_name : "";
  text += ')';
}

std::string SignPositionText(const SignPosition& position, const char* short_sign_name) {
  std::string text;
  AppendSignPosition(text, position, short_sign_name);
  return text;
}

void AppendDeclination(std::string& text, double declination_deg) {
  AppendDegreesMinutes(text, declination_deg);
  text += declination_deg < 0.0 ? " S)" : " N)";
}

std::string DeclinationText(double declination_deg) {
  std::string text;
  AppendDeclination(text, declination_deg);
  return text;
}

}  // namespace kelvara::engine
