#include "tools/citybase/city_names.h"

#include <iconv.h>
#include <locale.h>

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

#include "platform/codepage.h"
#include "places/name_search.h"

namespace kelvara::citybase {
namespace {

// The C library's transliteration tables belong to a UTF-8 locale; this switches the
// calling thread to one for the lifetime of the object and back.
class Utf8LocaleScope {
 public:
  Utf8LocaleScope() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (locale_ != static_cast<locale_t>(0)) previous_ = uselocale(locale_);
  }
  ~Utf8LocaleScope() {
    if (locale_ == static_cast<locale_t>(0)) return;
    uselocale(previous_);
    freelocale(locale_);
  }
  Utf8LocaleScope(const Utf8LocaleScope&) = delete;
  Utf8LocaleScope& operator=(const Utf8LocaleScope&) = delete;

 private:
  locale_t locale_;
  locale_t previous_ = static_cast<locale_t>(0);
};

std::string TransliterateToCp1251(std::string_view utf8) {
  Utf8LocaleScope scope;
  iconv_t converter = iconv_open("CP1251//TRANSLIT", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return platform::Utf8ToCp1251(utf8);
  std::string input(utf8);
  std::string output(input.size() * 4 + 16, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return platform::Utf8ToCp1251(utf8);
  output.resize(output.size() - outLeft);
  return output;
}

std::string RegionSuffix(const CitySource& city, bool withPosition) {
  std::string inside = city.admin1.empty() ? city.country : city.admin1 + ", " + city.country;
  if (withPosition) {
    char position[48];
    std::snprintf(position, sizeof(position), ", %.2f %.2f", city.latitude, city.longitude);
    inside += position;
  }
  return ToCp1251Letters("(" + inside + ")");
}

std::u16string DisplayKey(const CityName& name) {
  return places::NameSearchKey(name.suffix.empty() ? name.name : name.name + " " + name.suffix);
}

std::size_t MostPopulous(const std::vector<CitySource>& cities, const std::vector<std::size_t>& group) {
  std::size_t best = group.front();
  for (std::size_t i : group) {
    if (cities[i].population > cities[best].population) best = i;
  }
  return best;
}

void NameGroup(const std::vector<CitySource>& cities, const std::vector<std::size_t>& group,
               std::vector<CityName>& names) {
  if (group.size() < 2) return;
  const std::size_t plain = MostPopulous(cities, group);
  std::map<std::string, int> regionUses;
  for (std::size_t i : group) {
    if (i != plain) ++regionUses[RegionSuffix(cities[i], false)];
  }
  for (std::size_t i : group) {
    if (i == plain) continue;
    const std::string region = RegionSuffix(cities[i], false);
    names[i].suffix = regionUses[region] > 1 ? RegionSuffix(cities[i], true) : region;
  }
}

void CheckUnique(const std::vector<CityName>& names) {
  std::set<std::u16string> seen;
  for (const CityName& name : names) {
    if (!seen.insert(DisplayKey(name)).second) {
      throw std::runtime_error("two places share the display name " + name.name + " " +
                               name.suffix);
    }
  }
}

}  // namespace

std::string ToCp1251Letters(std::string_view utf8) {
  return platform::Cp1251ToUtf8(TransliterateToCp1251(utf8));
}

std::vector<CityName> NameCities(const std::vector<CitySource>& cities) {
  std::vector<CityName> names;
  std::map<std::u16string, std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < cities.size(); ++i) {
    const std::string& source = cities[i].nameRu.empty() ? cities[i].name : cities[i].nameRu;
    names.push_back({ToCp1251Letters(source), {}});
    groups[places::NameSearchKey(names.back().name)].push_back(i);
  }
  for (const auto& [key, group] : groups) NameGroup(cities, group, names);
  CheckUnique(names);
  return names;
}

}  // namespace kelvara::citybase
