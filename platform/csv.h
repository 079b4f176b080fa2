// CSV text (RFC 4180) for the tables the program copies or saves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara::platform {

// In double quotes, inner quotes doubled, when it holds a comma, a double quote, CR or LF.
inline std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// One record with its CRLF line end.
inline std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + CsvField(fields[i]);
  return line + "\r\n";
}

}  // namespace kelvara::platform
