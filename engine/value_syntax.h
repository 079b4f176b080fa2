// Reading the arguments of the engine's switches: whole numbers, month and house-system
// words, BC years, and the real values (time, daylight, zone, longitude, latitude).
#pragma once

#include <string_view>

namespace kelvara::engine {

// Stored for a real value whose text is not a number.
inline constexpr double kNotANumberValue = 10000.0;

// The text without leading and trailing characters below '!'.
std::string_view TrimControl(std::string_view text);

// A decimal integer at the start of the text (0 when there is none), held within int.
int ReadInteger(std::string_view text);
// A decimal number at the start of the text (0.0 when there is none). Independent of the
// process locale, so a Russian locale cannot turn the decimal point into a comma.
double ReadNumber(std::string_view text);
// Whether the text starts with a digit once trimmed.
bool BeginsWithDigit(std::string_view text);

int ReadMonth(std::string_view text);
int ReadDay(std::string_view text);
// "44BC" and "44 b.c." give -43 (astronomical numbering).
int ReadYear(std::string_view text);
// A number, or a house-system word matched on its first three letters ("Koch" gives 1);
// other text reads as an integer (0 when it is not a number).
int ReadHouseSystem(std::string_view text);

// Real values (H.MM or D.MM), kNotANumberValue for text that is not a number.
double ReadTime(std::string_view text);
double ReadDst(std::string_view text);
double ReadZone(std::string_view text);
double ReadLongitude(std::string_view text);
double ReadLatitude(std::string_view text);

}  // namespace kelvara::engine
