// The "GMT:" field's text: sign, hours, ":" and minutes. Documents keep the offset as
// decimal hours; the text is only what the user sees and types.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvara::workspace {

// 5.5 -> "+05:30", 5.75 -> "+05:45", -3.5 -> "-03:30"; minutes rounded to the nearest.
std::string FormatGmtOffset(double offsetHours);

// "+05:30" -> 5.5, "-03:30" -> -3.5, "3" -> 3; blanks around are ignored. None for any
// other text, for minutes above 59 and for hours beyond 99.
std::optional<double> ParseGmtOffset(std::string_view text);

}  // namespace kelvara::workspace
