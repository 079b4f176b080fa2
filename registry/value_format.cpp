#include "registry/value_format.h"

#include <charconv>
#include <cstdio>

#include "platform/codepage.h"

namespace kelvara::vornal {

using namespace platform;

std::string TypeName(RegType type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_LINK: return "REG_LINK";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_RESOURCE_LIST: return "REG_RESOURCE_LIST";
    default: return "REG_???";
  }
}

namespace {

std::string DwordPart(std::string_view data) {
  std::uint32_t number = 0;
  if (!DecodeRegDword(data, &number)) return "REG_DWORD (invalid data)";
  char text[32];
  std::snprintf(text, sizeof text, "%u (0x%X)", number, number);
  return text;
}

std::string TypePart(const RegValue& value) {
  switch (value.type) {
    case REG_SZ: return StringDataText(value.data);
    case REG_DWORD: return DwordPart(value.data);
    case REG_NONE:
    case REG_EXPAND_SZ:
    case REG_BINARY:
    case REG_LINK:
    case REG_MULTI_SZ:
    case REG_RESOURCE_LIST: return TypeName(value.type);
    default: return "default";
  }
}

}  // namespace

std::string ValueLabel(const RegValue& value) {
  return value.name + " " + std::string(kLabelSeparator) + " " + TypePart(value);
}

std::string StringDataText(std::string_view data) {
  std::u16string units = LeBytesToUtf16(data);
  if (const std::size_t end = units.find(u'\0'); end != std::u16string::npos) {
    units.resize(end);
  }
  return Utf16ToUtf8(units);
}

std::optional<std::uint32_t> ParseDword(std::string_view text) {
  std::uint32_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error != std::errc() || stop != end) return {};
  return number;
}

std::string NewStringData(std::string_view utf8) {
  std::u16string units = Utf8ToUtf16(utf8);
  if (units.size() > kNewStringLength) {
    // Never keep half of a surrogate pair at the cut.
    const bool splitsPair =
        units[kNewStringLength - 1] >= 0xD800 && units[kNewStringLength - 1] <= 0xDBFF;
    units.resize(splitsPair ? kNewStringLength - 1 : kNewStringLength);
  }
  std::string data = Utf16ToLeBytes(units);
  data.resize(kBufferLength, '\0');
  return data;
}

}  // namespace kelvara::vornal
