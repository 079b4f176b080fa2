#include "workspace/checked_archive.h"

#include <charconv>

namespace kelvara::workspace {

// The shortest text that reads back as the same double, so a value a hair beyond a limit
// never shows as the limit itself.
std::string BadValueReason(std::string_view what, double value) {
  char number[40];
  const auto end = std::to_chars(number, number + sizeof(number), value).ptr;
  return std::string(kReasonBadValue) + std::string(what) + " = " + std::string(number, end);
}

std::int32_t CheckedArchiveReader::Int(std::int32_t min, std::int32_t max, std::string_view what) {
  const std::int32_t value = reader_.ReadInt32();
  if (value < min || value > max) throw BadValueError(BadValueReason(what, value));
  return value;
}

double CheckedArchiveReader::Double(double min, double max, std::string_view what) {
  const double value = reader_.ReadDouble();
  // Written this way round so that NaN fails too.
  if (!(value >= min && value <= max)) throw BadValueError(BadValueReason(what, value));
  return value;
}

}  // namespace kelvara::workspace
