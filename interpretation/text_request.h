// The request texts that ask the text library for the text of one point (a zodiac
// degree, an I-Ching hexagram, a lunar day), and how a request names its kind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "interpretation/text_files.h"

namespace kelvara::interpretation {

inline constexpr std::string_view kIChingMarker = " И-Цзин";
inline constexpr std::string_view kIChingShortMarker = " И-Цзин short";
inline constexpr std::string_view kLunarDayMarker = "лунный день";
inline constexpr std::string_view kDegreeMarker = "градус";

// "Овна" ... "Рыб" for signs 1-12; empty otherwise.
std::string_view SignGenitive(int sign);

// "30-й градус Овна"; "30-й градус " for a point without a sign; empty for degree 0.
std::string DegreeRequest(int degree, int sign);

// The hexagram cell's text + " И-Цзин"; empty for a cell that names no hexagram
// (empty, "0" or "—").
std::string IChingCellRequest(std::string_view cellText);

// "17 И-Цзин", or "17 И-Цзин short" for the small window of a tap on the wheel.
std::string HexagramRequest(int number, bool shortText);

// A lunar-calendar row "12-й день луны|…" asks for "12-й лунный день" (leading zeros
// dropped); a row without "й день луны", or whose first blank lies past position 14,
// asks nothing (empty).
std::string LunarDayRequest(std::string_view row);

enum class RequestKind { kChart, kLunarDay, kDegree, kIChingShort, kIChing };

struct RecognisedRequest {
  RequestKind kind = RequestKind::kChart;
  std::string key;  // what the kind's file is searched for (UTF-8)
};

// An empty request is the chart's own text; otherwise the first marker found decides,
// in the order lunar day, degree, short I-Ching, I-Ching. I-Ching keys lose their marker.
RecognisedRequest RecogniseRequest(std::string_view request);

// The short text of a hexagram: the text of the entry whose key is `key` (UTF-8), less
// its first line, as Windows-1251 bytes; empty when no such entry holds a text.
std::string ShortHexagramText(const std::vector<TextEntry>& entries, std::string_view key);

}  // namespace kelvara::interpretation
