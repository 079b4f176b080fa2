// Numbers in the calendars' lines and files, printed and read the same in every locale:
// the lines are compared byte by byte and the files move between machines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvara::calendars {

// "%0<width>.<decimals>f": 90 at (6, 2) is "090.00", 1234.5 at (14, 4) "000001234.5000".
std::string FixedText(double value, int width, int decimals);
// "%02d".
std::string TwoDigits(int value);
// A finite decimal number that fills the text, blanks around it allowed.
std::optional<double> ParseDecimal(std::string_view text);
// Unsigned decimal digits that fill the text, nothing else.
std::optional<int> ParseDigits(std::string_view text);
// "dd.mm.yyyy hh:mm", blanks around it allowed, as hours since 1860; none for a text of
// another form or a date that does not exist.
std::optional<double> ParseDateTimeText(std::string_view text);

}  // namespace kelvara::calendars
