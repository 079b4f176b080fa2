// Small text helpers shared by the readers of the places files.
#pragma once

#include <string>
#include <string_view>

namespace kelvara::places {

// Trims blanks (spaces) at both ends.
std::string_view TrimBlanks(std::string_view text);
// Trims blanks and tabs at both ends.
std::string_view TrimBlanksAndTabs(std::string_view text);

bool IsBlankOrTab(char c);

// ASCII letters upper-cased; other bytes unchanged.
std::string AsciiUpper(std::string_view text);

}  // namespace kelvara::places
