// How the editor shows and reads value data: tree labels, type names, DWORD text and
// the fixed buffer that new strings are written in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace kelvara::vornal {

// Names and data pass through buffers of this many characters.
inline constexpr std::size_t kBufferLength = 260;
// A new string keeps this many characters, so that it and its terminator fit the buffer.
inline constexpr std::size_t kNewStringLength = 129;
inline constexpr std::string_view kLabelSeparator = "\\";

// "REG_SZ", "REG_DWORD", …, or "REG_???" for a type the editor does not know.
std::string TypeName(platform::RegType type);

// The value's name, " \ " and a part that depends on the type.
std::string ValueLabel(const platform::RegValue& value);

// The text of string data; whole UTF-16 units up to the first terminator, so that
// damaged data (an odd length, no terminator) still shows what it holds.
std::string StringDataText(std::string_view data);

// Decimal digits only, at most 4294967295; anything else is no number.
std::optional<std::uint32_t> ParseDword(std::string_view text);

// The buffer a new string value is written from: the text cut to kNewStringLength
// characters, then zeros up to kBufferLength bytes.
std::string NewStringData(std::string_view utf8);

}  // namespace kelvara::vornal
