#include "tools/citybase/base_builder.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <stdexcept>

#include "places/city_base.h"
#include "tools/citybase/city_names.h"
#include "tools/citybase/tzif.h"
#include "tools/citybase/zone_entries.h"

namespace kelvara::citybase {
namespace {

struct ZoneData {
  std::vector<ZonePeriod> history;
  double number = 0.0;
};

class ZoneCache {
 public:
  explicit ZoneCache(std::filesystem::path dir) : dir_(std::move(dir)) {}

  const ZoneData& Get(const std::string& zoneName) {
    auto found = zones_.find(zoneName);
    if (found != zones_.end()) return found->second;
    if (zoneName.empty() || zoneName.find("..") != std::string::npos) {
      throw std::runtime_error("bad zone name '" + zoneName + "'");
    }
    const TzifZone zone = ReadTzif(dir_ / zoneName);
    ZoneData data;
    data.history = ZoneHistory(zone);
    data.number = ZoneNumber(zone, data.history);
    return zones_.emplace(zoneName, std::move(data)).first->second;
  }

 private:
  std::filesystem::path dir_;
  std::map<std::string, ZoneData> zones_;
};

int32_t ClampedPopulation(long long population) {
  return static_cast<int32_t>(std::clamp<long long>(population, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::string BuildCityBase(const std::vector<CitySource>& cities,
                          const std::filesystem::path& zoneinfoDir) {
  const std::vector<CityName> names = NameCities(cities);
  ZoneCache zones(zoneinfoDir);
  std::string bytes;
  for (std::size_t i = 0; i < cities.size(); ++i) {
    const CitySource& source = cities[i];
    const ZoneData& zone = zones.Get(source.zone);
    places::CityRecord record;
    record.firstText = ToCp1251Letters(source.name);
    record.name = names[i].name;
    record.suffix = names[i].suffix;
    record.fourthText = source.zone;
    record.encodedX = places::EncodeLongitude(source.longitude);
    record.encodedY = places::EncodeLatitude(source.latitude);
    record.reserved = ClampedPopulation(source.population);
    record.zoneNumber = zone.number;
    record.timeChanges = std::make_shared<places::TimeChangeList>(
        EntriesFromHistory(zone.history, source.longitude));
    places::AppendCityRecord(record, bytes);
  }
  return bytes;
}

}  // namespace kelvara::citybase
