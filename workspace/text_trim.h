// Small helpers of typed and stored texts: blanks around a typed text are not part of it;
// fields stand between separators.
#pragma once

#include <string_view>
#include <vector>

namespace kelvara::workspace {

inline std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The parts between the separators, empty ones included; one part for a text without any.
inline std::vector<std::string_view> SplitText(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t end; (end = text.find(separator)) != std::string_view::npos; text.remove_prefix(end + 1)) {
    parts.push_back(text.substr(0, end));
  }
  parts.push_back(text);
  return parts;
}

}  // namespace kelvara::workspace
