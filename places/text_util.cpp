#include "places/text_util.h"

namespace kelvara::places {
namespace {

std::string_view TrimWhere(std::string_view text, bool (*isTrimmed)(char)) {
  while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

bool IsBlank(char c) { return c == ' '; }

}  // namespace

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) { return TrimWhere(text, IsBlank); }

std::string_view TrimBlanksAndTabs(std::string_view text) {
  return TrimWhere(text, IsBlankOrTab);
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace kelvara::places
