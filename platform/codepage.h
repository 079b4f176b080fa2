// Conversions between Windows-1251 (the 8-bit files), UTF-8 (every text inside the
// program) and UTF-16 (document strings and text place files).
#pragma once

#include <string>
#include <string_view>

namespace kelvara::platform {

// Characters outside the target set become this byte or unit.
inline constexpr char kCp1251Replacement = '?';
inline constexpr char16_t kUtf16Replacement = u'\uFFFD';

std::u16string Cp1251ToUtf16(std::string_view cp1251);
std::string Utf16ToCp1251(std::u16string_view utf16);

std::string Cp1251ToUtf8(std::string_view cp1251);
std::string Utf8ToCp1251(std::string_view utf8);

// Malformed UTF-8 sequences and lone surrogates decode to U+FFFD, never fail.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Little-endian byte strings of UTF-16 units, as files and the registry store them.
std::string Utf16ToLeBytes(std::u16string_view utf16);
// An odd trailing byte is dropped.
std::u16string LeBytesToUtf16(std::string_view bytes);

}  // namespace kelvara::platform
