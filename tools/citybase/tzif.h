// A reader of the compiled time-zone files (TZif, RFC 8536) under /usr/share/zoneinfo.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::citybase {

struct TzifType {
  int32_t offsetSeconds = 0;  // east of Greenwich
  bool isDst = false;
  std::string abbreviation;
};

struct TzifZone {
  std::vector<int64_t> transitions;   // Unix seconds, ascending
  std::vector<uint8_t> transitionTypes;  // index into types, one per transition
  std::vector<TzifType> types;
  std::string footer;  // POSIX TZ rule for times after the last transition; may be empty
};

// Throws std::runtime_error on a damaged or unsupported file.
TzifZone ParseTzif(std::string_view bytes);
TzifZone ReadTzif(const std::filesystem::path& file);

}  // namespace kelvara::citybase
