#include "interpretation/text_request.h"

#include <algorithm>
#include <array>

#include "platform/codepage.h"

namespace kelvara::interpretation {
namespace {

constexpr std::array<std::string_view, 12> kSignGenitives = {
    "Овна", "Тельца", "Близнецов", "Рака", "Льва", "Девы",
    "Весов", "Скорпиона", "Стрельца", "Козерога", "Водолея", "Рыб"};

constexpr std::string_view kDegreeWord = "-й градус ";
constexpr std::string_view kNoHexagram = "—";
constexpr std::string_view kLunarDayRowMarker = "й день луны";
constexpr std::string_view kLunarDaySuffix = " лунный день";
// The day number and its ending must fit before the row's first blank.
constexpr std::size_t kLastDayBlank = 14;

std::string Without(std::string_view text, std::string_view marker) {
  std::string result(text);
  if (const auto at = result.find(marker); at != std::string::npos) result.erase(at, marker.size());
  return result;
}

bool Contains(std::string_view text, std::string_view marker) { return text.find(marker) != std::string_view::npos; }

}  // namespace

std::string_view SignGenitive(int sign) {
  return sign >= 1 && sign <= int(kSignGenitives.size()) ? kSignGenitives[sign - 1] : std::string_view();
}

std::string DegreeRequest(int degree, int sign) {
  if (degree == 0) return {};
  return std::to_string(degree) + std::string(kDegreeWord) + std::string(SignGenitive(sign));
}

std::string IChingCellRequest(std::string_view cellText) {
  if (cellText.empty() || cellText == "0" || cellText == kNoHexagram) return {};
  return std::string(cellText) + std::string(kIChingMarker);
}

std::string HexagramRequest(int number, bool shortText) {
  return std::to_string(number) + std::string(shortText ? kIChingShortMarker : kIChingMarker);
}

std::string LunarDayRequest(std::string_view row) {
  if (row.find(kLunarDayRowMarker, 1) == std::string_view::npos) return {};
  const std::size_t blank = row.find(' ');
  if (blank == std::string_view::npos || blank < 1 || blank > kLastDayBlank) return {};
  std::string_view day = row.substr(0, blank);
  day.remove_prefix(std::min(day.find_first_not_of('0'), day.size()));
  if (day.empty()) return {};
  return std::string(day) + std::string(kLunarDaySuffix);
}

RecognisedRequest RecogniseRequest(std::string_view request) {
  if (request.empty()) return {RequestKind::kChart, {}};
  if (Contains(request, kLunarDayMarker)) return {RequestKind::kLunarDay, std::string(request)};
  if (Contains(request, kDegreeMarker)) return {RequestKind::kDegree, std::string(request)};
  if (Contains(request, kIChingShortMarker)) return {RequestKind::kIChingShort, Without(request, kIChingShortMarker)};
  return {RequestKind::kIChing, Without(request, kIChingMarker)};
}

std::string ShortHexagramText(const std::vector<TextEntry>& entries, std::string_view key) {
  const std::string wanted = platform::Utf8ToCp1251(key);
  for (const TextEntry& entry : entries) {
    if (entry.key != wanted || IsPlaceholderEntry(entry)) continue;
    const std::size_t lineEnd = entry.text.find('\n');
    return lineEnd == std::string::npos ? std::string() : entry.text.substr(lineEnd + 1);
  }
  return {};
}

}  // namespace kelvara::interpretation
