#include "engine/value_syntax.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "engine/houses.h"
#include "engine/records.h"

namespace kelvara::engine {
namespace {

struct ZoneAbbreviation {
  const char* name;
  double zone_hmm;
};

// Zone abbreviations and their H.MM values, positive west; LMT marks local mean time.
constexpr std::array<ZoneAbbreviation, 69> kZones = {{
    {"HST", 10.30}, {"HT", 10.30}, {"H", 10.30}, {"CAT", 10.00}, {"AHS", 10.00},
    {"HDT", 9.30}, {"AHD", 9.00}, {"YST", 9.00}, {"YT", 9.00}, {"Y", 9.00},
    {"YDT", 8.00}, {"PST", 8.00}, {"PT", 8.00}, {"P", 8.00}, {"PDT", 7.00},
    {"PWT", 7.00}, {"MST", 7.00}, {"MT", 7.00}, {"M", 7.00}, {"MDT", 6.00},
    {"MWT", 6.00}, {"CST", 6.00}, {"CT", 6.00}, {"C", 6.00}, {"CDT", 5.00},
    {"CWT", 5.00}, {"EST", 5.00}, {"ET", 5.00}, {"E", 5.00}, {"EDT", 4.00},
    {"EWT", 4.00}, {"AST", 4.00}, {"AT", 4.00}, {"A", 4.00}, {"ADT", 3.00},
    {"AWT", 3.00}, {"BST", 3.00}, {"BT", 3.00}, {"B", 3.00}, {"BDT", 2.00},
    {"WAT", 1.00}, {"GMT", 0.00}, {"GT", 0.00}, {"G", 0.00}, {"WET", 0.00},
    {"CET", -1.00}, {"EET", -2.00}, {"UZ3", -4.00}, {"UZ4", -5.00}, {"IST", -5.30},
    {"IT", -5.30}, {"I", -5.30}, {"UZ5", -6.00}, {"NST", -6.30}, {"SST", -7.00},
    {"CCT", -8.00}, {"JST", -9.00}, {"JT", -9.00}, {"J", -9.00}, {"SAS", -9.30},
    {"GST", -10.00}, {"UZ1", -11.00}, {"NZT", -11.30}, {"ZT", -11.30}, {"Z", -11.30},
    {"IDL", -12.00}, {"LMT", 24.00}, {"LT", 24.00}, {"L", 24.00},
}};

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Index of the first name whose first three letters match the text's (the first compared
// upper-case, the next two lower-case), or -1. Only texts longer than two characters match.
template <std::size_t N>
int MatchWord(std::string_view text, const std::array<const char*, N>& names, int first) {
  if (text.size() <= 2) return -1;
  const char key[3] = {Upper(text[0]), Lower(text[1]), Lower(text[2])};
  for (int i = first; i < static_cast<int>(N); ++i) {
    const std::string_view name = names[i];
    if (name.size() >= 3 && name[0] == key[0] && name[1] == key[1] && name[2] == key[2]) {
      return i;
    }
  }
  return -1;
}

// Optional sign, then the rest; a second sign is not a number.
struct SignedText {
  bool negative;
  std::string_view digits;
};

SignedText SplitSign(std::string_view text) {
  SignedText out{false, text};
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    out.negative = text[0] == '-';
    out.digits = text.substr(1);
  }
  return out;
}

bool ReadsAsUnsignedStart(std::string_view digits) {
  return !digits.empty() && (IsDigit(digits[0]) || digits[0] == '.');
}

// The working text of a real value: trimmed, ':' read as '.', letters upper-cased.
std::string RealText(std::string_view text) {
  std::string out(TrimControl(text));
  for (char& c : out) c = c == ':' ? '.' : Upper(c);
  return out;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A real value's number, or the not-a-number value when the text does not start like one.
double NumberOrMarker(std::string_view text) {
  if (text.empty()) return kNotANumberValue;
  const char c = text[0];
  if (!(IsDigit(c) || c == '+' || c == '-' || c == '.')) return kNotANumberValue;
  const double value = ReadNumber(text);
  return std::isfinite(value) ? value : kNotANumberValue;
}

double ReadCoordinate(std::string_view text, char negative_letter) {
  std::string work = RealText(text);
  bool negate = false;
  const auto letter = std::find_if(work.begin(), work.end(), IsLetter);
  if (letter != work.end()) {
    negate = *letter == negative_letter;
    *letter = '.';
  }
  const double value = NumberOrMarker(work);
  return negate && value != kNotANumberValue ? -value : value;
}

}  // namespace

std::string_view TrimControl(std::string_view text) {
  const auto is_blank = [](char c) { return static_cast<unsigned char>(c) < '!'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

int ReadInteger(std::string_view text) {
  const SignedText s = SplitSign(TrimControl(text));
  long long magnitude = 0;
  for (char c : s.digits) {
    if (!IsDigit(c)) break;
    magnitude = std::min<long long>(magnitude * 10 + (c - '0'), 1LL << 40);
  }
  const long long value = s.negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min() + 1,
                                                std::numeric_limits<int>::max()));
}

double ReadNumber(std::string_view text) {
  const SignedText s = SplitSign(TrimControl(text));
  if (!ReadsAsUnsignedStart(s.digits)) return 0.0;
  double value = 0.0;
  const auto result =
      std::from_chars(s.digits.data(), s.digits.data() + s.digits.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Overflow reads as infinity, so range checks reject it; underflow reads as zero.
    const std::string_view number(s.digits.data(), result.ptr - s.digits.data());
    const std::size_t exponent = number.find_first_of("eE");
    const bool underflow = exponent != std::string_view::npos &&
                           exponent + 1 < number.size() && number[exponent + 1] == '-';
    value = underflow ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return s.negative ? -value : value;
}

bool BeginsWithDigit(std::string_view text) {
  const std::string_view t = TrimControl(text);
  return !t.empty() && IsDigit(t[0]);
}

int ReadMonth(std::string_view text) {
  const std::string_view t = TrimControl(text);
  const int month = MatchWord(t, MonthNames(), 1);
  return month > 0 ? month : ReadInteger(t);
}

int ReadDay(std::string_view text) { return ReadInteger(text); }

int ReadYear(std::string_view text) {
  std::string_view t = TrimControl(text);
  const int n = ReadInteger(t);
  const auto drop_point = [&t] {
    while (!t.empty() && (t.back() == '.' || static_cast<unsigned char>(t.back()) < '!')) {
      t.remove_suffix(1);
    }
  };
  drop_point();
  if (t.empty() || Upper(t.back()) != 'C') return n;
  t.remove_suffix(1);
  drop_point();
  if (t.empty() || Upper(t.back()) != 'B') return n;
  return static_cast<int>(std::min<long long>(1LL - n, std::numeric_limits<int>::max()));
}

int ReadHouseSystem(std::string_view text) {
  const std::string_view t = TrimControl(text);
  std::array<const char*, kHouseSystemCount> names{};
  for (int i = 0; i < kHouseSystemCount; ++i) names[i] = HouseSystemName(i);
  const int system = MatchWord(t, names, 1);
  return system > 0 ? system : ReadInteger(t);
}

double ReadTime(std::string_view text) {
  const std::string work = RealText(text);
  if (!work.empty() && work[0] == 'N') return 12.0;
  if (!work.empty() && work[0] == 'M') return 0.0;
  double value = NumberOrMarker(work);
  if (value == kNotANumberValue) return value;
  if (EndsWith(work, "AM") && value >= 12.0) value -= 12.0;
  if (EndsWith(work, "PM") && value < 12.0) value += 12.0;
  return value;
}

double ReadDst(std::string_view text) {
  const std::string work = RealText(text);
  if (!work.empty()) {
    const char c = work[0];
    if (c == 'D' || c == 'T' || c == 'Y') return 1.0;
    if (c == 'F' || c == 'N' || c == 'S') return 0.0;
  }
  return NumberOrMarker(work);
}

double ReadZone(std::string_view text) {
  const std::string work = RealText(text);
  for (const ZoneAbbreviation& zone : kZones) {
    if (work == zone.name) return zone.zone_hmm;
  }
  return NumberOrMarker(work);
}

double ReadLongitude(std::string_view text) { return ReadCoordinate(text, 'E'); }

double ReadLatitude(std::string_view text) { return ReadCoordinate(text, 'S'); }

}  // namespace kelvara::engine
