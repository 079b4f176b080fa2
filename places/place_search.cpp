#include "places/place_search.h"

#include <algorithm>

#include "places/name_search.h"
#include "places/place_time.h"
#include "places/text_util.h"

namespace kelvara::places {

void PlaceSearch::CatchUp() {
  // A list that shrank is not the one keyed: start again.
  if (keys_.size() > list_.places.size()) keys_.clear();
  keys_.reserve(list_.places.size());
  for (std::size_t i = keys_.size(); i < list_.places.size(); ++i) {
    keys_.push_back(NameSearchKey(list_.places[i].name));
  }
}

std::vector<std::size_t> PlaceSearch::Find(std::string_view typed, std::size_t limit) {
  CatchUp();
  std::vector<std::size_t> exact;
  const std::u16string wanted = NameSearchKey(TrimBlanksAndTabs(typed));
  if (wanted.empty() || limit == 0) return exact;
  std::vector<std::size_t> prefix;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    const std::u16string& key = keys_[i];
    if (!key.starts_with(wanted)) continue;
    if (key.size() == wanted.size()) {
      exact.push_back(i);
      // Every later answer would come after this group and the limit is reached.
      if (exact.size() == limit) return exact;
    } else if (prefix.size() < limit) {
      prefix.push_back(i);
    }
  }
  prefix.resize(std::min(prefix.size(), limit - exact.size()));
  exact.insert(exact.end(), prefix.begin(), prefix.end());
  return exact;
}

ChosenPlace ChoosePlace(const CityBase& base, const PlaceRecord& place,
                        const workspace::CalendarMoment& local, double offsetHours) {
  ChosenPlace chosen{place.latitude, place.longitude, offsetHours};
  // The list's name must not change here: renaming is the OK button's question.
  std::string name = place.name;
  const PlaceTime time = FindPlaceTime(base, name, place.latitude, place.longitude, nullptr);
  if (const auto period = OffsetAt(time, local, false)) chosen.offsetHours = period->offsetHours;
  return chosen;
}

}  // namespace kelvara::places
