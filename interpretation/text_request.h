// The request texts that ask the text library for the text of one point: a zodiac
// degree or an I-Ching hexagram, as the position table's cells build them.
#pragma once

#include <string>
#include <string_view>

namespace kelvara::interpretation {

inline constexpr std::string_view kIChingMarker = " И-Цзин";

// "Овна" ... "Рыб" for signs 1-12; empty otherwise.
std::string_view SignGenitive(int sign);

// "30-й градус Овна"; "30-й градус " for a point without a sign; empty for degree 0.
std::string DegreeRequest(int degree, int sign);

// The hexagram cell's text + " И-Цзин"; empty for a cell that names no hexagram
// (empty, "0" or "—").
std::string IChingCellRequest(std::string_view cellText);

}  // namespace kelvara::interpretation
