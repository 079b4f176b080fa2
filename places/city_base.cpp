#include "places/city_base.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include "platform/codepage.h"
#include "places/text_util.h"

namespace kelvara::places {
namespace {

constexpr double kLongitudeScale = 0.7070705642281688;
constexpr double kMaxLongitude = 180.0;
constexpr double kMaxLatitude = 90.0;

static_assert(std::endian::native == std::endian::little,
              "the city base is read as little-endian memory");

// Bounds-checked reading of little-endian values from the file image.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return position_ == bytes_.size(); }
  std::size_t Position() const { return position_; }

  template <typename T>
  bool Read(T& value) {
    if (bytes_.size() - position_ < sizeof(T)) return false;
    std::memcpy(&value, bytes_.data() + position_, sizeof(T));
    position_ += sizeof(T);
    return true;
  }

  bool ReadBytes(std::size_t count, std::string_view& out) {
    if (bytes_.size() - position_ < count) return false;
    out = bytes_.substr(position_, count);
    position_ += count;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

bool ReadText(ByteReader& reader, std::string& text) {
  int32_t length = 0;
  std::string_view raw;
  if (!reader.Read(length) || length < 0 || length > kMaxCityTextLength ||
      !reader.ReadBytes(static_cast<std::size_t>(length), raw)) {
    return false;
  }
  text = platform::Cp1251ToUtf8(TrimBlanks(raw));
  return true;
}

TimeChangeEntry DecodeEntry(std::string_view raw) {
  int16_t fields[7];
  std::memcpy(fields, raw.data(), sizeof(fields));
  return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
}

// Keeps one copy of each distinct list, keyed by its raw bytes.
class ListPool {
 public:
  std::shared_ptr<const TimeChangeList> Intern(std::string_view raw) {
    auto found = pool_.find(raw);
    if (found != pool_.end()) return found->second;
    auto list = std::make_shared<TimeChangeList>();
    list->reserve(raw.size() / kTimeChangeEntryBytes);
    for (std::size_t at = 0; at < raw.size(); at += kTimeChangeEntryBytes) {
      list->push_back(DecodeEntry(raw.substr(at, kTimeChangeEntryBytes)));
    }
    pool_.emplace(raw, list);
    return list;
  }

 private:
  std::unordered_map<std::string_view, std::shared_ptr<const TimeChangeList>> pool_;
};

bool ReadTimeChanges(ByteReader& reader, ListPool& pool, CityRecord& city) {
  int32_t count = 0;
  if (!reader.Read(count)) return false;
  // Any other count means the city has no list; nothing follows it then.
  if (count < 1 || count > kMaxTimeChanges) return true;
  std::string_view raw;
  if (!reader.ReadBytes(static_cast<std::size_t>(count) * kTimeChangeEntryBytes, raw)) {
    return false;
  }
  city.timeChanges = pool.Intern(raw);
  return true;
}

bool ReadCity(ByteReader& reader, ListPool& pool, CityRecord& city) {
  return ReadText(reader, city.firstText) && ReadText(reader, city.name) &&
         ReadText(reader, city.suffix) && ReadText(reader, city.fourthText) &&
         reader.Read(city.encodedX) && reader.Read(city.encodedY) &&
         std::isfinite(city.encodedX) && std::isfinite(city.encodedY) &&
         reader.Read(city.reserved) && reader.Read(city.zoneNumber) &&
         ReadTimeChanges(reader, pool, city);
}

template <typename T>
void AppendValue(T value, std::string& out) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));
  out.append(raw, sizeof(T));
}

void AppendText(std::string_view utf8, std::string& out) {
  std::string cp1251 = platform::Utf8ToCp1251(utf8);
  if (cp1251.size() > static_cast<std::size_t>(kMaxCityTextLength)) {
    cp1251.resize(kMaxCityTextLength);
  }
  AppendValue(static_cast<int32_t>(cp1251.size()), out);
  out += cp1251;
}

void AppendTimeChanges(const TimeChangeList* list, std::string& out) {
  const std::size_t count = list ? std::min<std::size_t>(list->size(), kMaxTimeChanges) : 0;
  AppendValue(static_cast<int32_t>(count), out);
  for (std::size_t i = 0; i < count; ++i) {
    const TimeChangeEntry& e = (*list)[i];
    for (int16_t field : {e.year, e.month, e.day, e.hour, e.zone, e.minute, e.kind}) {
      AppendValue(field, out);
    }
  }
}

}  // namespace

std::string CityRecord::DisplayName() const {
  return std::string(TrimBlanks(name + " " + suffix));
}

double CityRecord::Longitude() const { return DecodeLongitude(encodedX); }
double CityRecord::Latitude() const { return DecodeLatitude(encodedY); }

double DecodeLongitude(double encodedX) {
  return std::clamp((encodedX * kLongitudeScale - 0.5) * 360.0, -kMaxLongitude, kMaxLongitude);
}

double DecodeLatitude(double encodedY) {
  return std::clamp((0.5 - encodedY) * 180.0, -kMaxLatitude, kMaxLatitude);
}

double EncodeLongitude(double longitudeDeg) {
  return (longitudeDeg / 360.0 + 0.5) / kLongitudeScale;
}

double EncodeLatitude(double latitudeDeg) { return 0.5 - latitudeDeg / 180.0; }

CityBaseLoad ParseCityBase(std::string_view bytes, CityBase& base) {
  base.cities.clear();
  ByteReader reader(bytes);
  ListPool pool;
  while (!reader.AtEnd()) {
    CityRecord city;
    if (!ReadCity(reader, pool, city)) {
      return {CityBaseStatus::kStoppedAtInvalidRecord,
              "База городов \"IndexFile\" повреждена: прочитано городов: " +
                  std::to_string(base.cities.size()) + "."};
    }
    base.cities.push_back(std::move(city));
  }
  return {CityBaseStatus::kComplete, {}};
}

CityBaseLoad LoadCityBase(const std::filesystem::path& file, CityBase& base) {
  base.cities.clear();
  std::ifstream in(file, std::ios::binary);
  if (!in) return {CityBaseStatus::kMissing, {}};
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseCityBase(bytes, base);
}

void AppendCityRecord(const CityRecord& city, std::string& out) {
  for (const std::string* text : {&city.firstText, &city.name, &city.suffix, &city.fourthText}) {
    AppendText(*text, out);
  }
  AppendValue(city.encodedX, out);
  AppendValue(city.encodedY, out);
  AppendValue(city.reserved, out);
  AppendValue(city.zoneNumber, out);
  AppendTimeChanges(city.timeChanges.get(), out);
}

}  // namespace kelvara::places
