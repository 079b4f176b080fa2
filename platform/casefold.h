// Case folding for the registry's case-insensitive names. The real registry compares
// names upper-cased, so folding goes to upper case and the folded form also gives the
// order in which keys and values are listed.
#pragma once

#include <string>
#include <string_view>

namespace kelvara::platform {

// Basic Latin, Latin-1, Latin Extended-A and Cyrillic (with its extensions); every
// other unit is kept as it is.
char16_t FoldUnitToUpper(char16_t unit);
std::u16string FoldToUpper(std::u16string_view text);

}  // namespace kelvara::platform
