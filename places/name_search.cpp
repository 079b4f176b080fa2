#include "places/name_search.h"

#include <algorithm>

#include "platform/codepage.h"
#include "places/text_util.h"

namespace kelvara::places {
namespace {

char16_t FoldUnit(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + (u'a' - u'A');
  if (c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7') return c + 0x20;  // Latin-1 capitals
  if (c == u'\u0401' || c == u'\u0451') return u'\u0435';                 // Ё, ё -> е
  if (c >= u'\u0410' && c <= u'\u042F') return c + 0x20;                   // А..Я
  if (c >= u'\u0400' && c <= u'\u040F') return c + 0x50;                   // Ѐ..Џ
  return c;
}

}  // namespace

std::u16string NameSearchKey(std::string_view utf8Name) {
  std::u16string key = platform::Utf8ToUtf16(utf8Name);
  for (char16_t& c : key) c = FoldUnit(c);
  return key;
}

std::vector<std::size_t> FindCitiesByName(const CityBase& base, std::string_view typedName) {
  const std::u16string wanted = NameSearchKey(TrimBlanksAndTabs(typedName));
  std::vector<std::size_t> exact, prefix;
  if (wanted.empty()) return exact;
  for (std::size_t i = 0; i < base.cities.size(); ++i) {
    const std::u16string key = NameSearchKey(base.cities[i].DisplayName());
    if (key == wanted) {
      exact.push_back(i);
    } else if (key.starts_with(wanted)) {
      prefix.push_back(i);
    }
  }
  exact.insert(exact.end(), prefix.begin(), prefix.end());
  return exact;
}

std::optional<std::string> ZoneCityName(const CityBase& base, std::string_view zoneName) {
  std::string zoneCity(zoneName.substr(zoneName.rfind('/') + 1));
  std::replace(zoneCity.begin(), zoneCity.end(), '_', ' ');
  const CityRecord* mostPopulous = nullptr;
  for (const CityRecord& city : base.cities) {
    if (city.fourthText != zoneName) continue;
    if (city.firstText == zoneCity) return city.DisplayName();
    if (!mostPopulous || city.reserved > mostPopulous->reserved) mostPopulous = &city;
  }
  if (!mostPopulous) return std::nullopt;
  return mostPopulous->DisplayName();
}

}  // namespace kelvara::places
