// Reading a stored file through the framework's archive with every value checked, so
// that a damaged or hostile file ends in one clear reason instead of odd values.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "platform/archive.h"
#include "workspace/messages.h"

namespace kelvara::workspace {

// A value outside its range; what() is the Russian reason shown to the user.
class BadValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CheckedArchiveReader {
 public:
  explicit CheckedArchiveReader(std::string_view bytes) : reader_(bytes) {}

  std::int32_t Int(std::int32_t min, std::int32_t max, std::string_view what);
  std::int32_t AnyInt() { return reader_.ReadInt32(); }
  double Double(double min, double max, std::string_view what);
  double AnyDouble() { return reader_.ReadDouble(); }
  std::string String() { return reader_.ReadString(); }
  bool AtEnd() const { return reader_.AtEnd(); }
  // Bytes after the last value are damage, not something to pass over.
  void ExpectEnd() const {
    if (!AtEnd()) throw BadValueError(kReasonTrailingBytes);
  }

 private:
  platform::ArchiveReader reader_;
};

std::string BadValueReason(std::string_view what, double value);

// Runs `decode` and turns a short stream or a bad value into nothing plus the reason.
template <typename Decode>
auto DecodeChecked(std::string_view bytes, std::string& error, Decode decode)
    -> std::optional<decltype(decode(std::declval<CheckedArchiveReader&>()))> {
  CheckedArchiveReader reader(bytes);
  try {
    return decode(reader);
  } catch (const platform::ArchiveError&) {
    error = kReasonTruncated;
  } catch (const BadValueError& bad) {
    error = bad.what();
  }
  return std::nullopt;
}

}  // namespace kelvara::workspace
