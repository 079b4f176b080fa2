#include "places/city_base.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

#include <sys/stat.h>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "places/messages.h"
#include "places/text_util.h"

namespace kelvara::places {
namespace {

constexpr double kLongitudeScale = 0.7070705642281688;
constexpr double kMaxLongitude = 180.0;
constexpr double kMaxLatitude = 90.0;

static_assert(std::endian::native == std::endian::little,
              "the city base is read as little-endian memory");

// Bounds-checked reading of little-endian values, from memory or from a file in
// chunks: holding the whole base in one buffer costs more in page faults than the
// parsing itself. A view returned by Take lasts until the next Take.
class RecordStream {
 public:
  explicit RecordStream(std::string_view memory) : view_(memory) {}
  explicit RecordStream(std::FILE* file) : file_(file), chunkBytes_(ChunkBytesFor(file)) {}

  bool AtEnd() { return !Ensure(1); }

  bool Take(std::size_t count, std::string_view& out) {
    if (!Ensure(count)) return false;
    out = view_.substr(0, count);
    view_.remove_prefix(count);
    return true;
  }

  template <typename T>
  bool Read(T& value) {
    std::string_view raw;
    if (!Take(sizeof(T), raw)) return false;
    std::memcpy(&value, raw.data(), sizeof(T));
    return true;
  }

 private:
  static constexpr std::size_t kChunkBytes = 1 << 20;

  // A base smaller than a chunk gets a buffer of its own size: a whole chunk would be
  // zeroed page by page for nothing.
  static std::size_t ChunkBytesFor(std::FILE* file) {
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0 || info.st_size <= 0) return kChunkBytes;
    return std::min(kChunkBytes, static_cast<std::size_t>(info.st_size));
  }

  bool Ensure(std::size_t count) {
    while (view_.size() < count) {
      if (!file_ || !Refill(count)) return false;
    }
    return true;
  }

  // Moves the unread bytes to the front and reads more behind them.
  bool Refill(std::size_t count) {
    const std::size_t kept = view_.size();
    const std::size_t wanted = std::max(count, chunkBytes_);
    if (buffer_.size() < wanted) {
      std::string bigger(wanted, '\0');
      if (kept > 0) std::memcpy(bigger.data(), view_.data(), kept);
      buffer_.swap(bigger);
    } else if (kept > 0) {
      std::memmove(buffer_.data(), view_.data(), kept);
    }
    const std::size_t got = std::fread(buffer_.data() + kept, 1, buffer_.size() - kept, file_);
    view_ = std::string_view(buffer_.data(), kept + got);
    return got > 0;
  }

  std::FILE* file_ = nullptr;
  std::size_t chunkBytes_ = kChunkBytes;
  std::string buffer_;
  std::string_view view_;
};

bool ReadText(RecordStream& reader, std::string& text) {
  int32_t length = 0;
  std::string_view raw;
  if (!reader.Read(length) || length < 0 || length > kMaxCityTextLength ||
      !reader.Take(static_cast<std::size_t>(length), raw)) {
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
    // Neighbouring cities mostly share a zone; comparing with the last list is
    // cheaper than hashing it.
    if (last_ && raw == lastRaw_) return last_;
    auto found = pool_.find(std::string(raw));
    if (found != pool_.end()) return Remember(raw, found->second);
    auto list = std::make_shared<TimeChangeList>();
    list->reserve(raw.size() / kTimeChangeEntryBytes);
    for (std::size_t at = 0; at < raw.size(); at += kTimeChangeEntryBytes) {
      list->push_back(DecodeEntry(raw.substr(at, kTimeChangeEntryBytes)));
    }
    pool_.emplace(std::string(raw), list);
    return Remember(raw, list);
  }

 private:
  std::shared_ptr<const TimeChangeList> Remember(std::string_view raw,
                                                 std::shared_ptr<const TimeChangeList> list) {
    lastRaw_ = raw;
    last_ = list;
    return list;
  }

  std::unordered_map<std::string, std::shared_ptr<const TimeChangeList>> pool_;
  std::string lastRaw_;
  std::shared_ptr<const TimeChangeList> last_;
};

bool ReadTimeChanges(RecordStream& reader, ListPool& pool, CityRecord& city) {
  int32_t count = 0;
  if (!reader.Read(count)) return false;
  // Any other count means the city has no list; nothing follows it then.
  if (count < 1 || count > kMaxTimeChanges) return true;
  std::string_view raw;
  if (!reader.Take(static_cast<std::size_t>(count) * kTimeChangeEntryBytes, raw)) {
    return false;
  }
  city.timeChanges = pool.Intern(raw);
  return true;
}

bool ReadCity(RecordStream& reader, ListPool& pool, CityRecord& city) {
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
  const std::string joined =
      std::string(TrimBlanks(name)) + " " + std::string(TrimBlanks(suffix));
  return std::string(TrimBlanks(joined));
}

bool CityRecord::HasDisplayName(std::string_view wanted) const {
  // Compared piece by piece: the walk over the base must not build a string per city.
  const std::string_view first = TrimBlanks(name);
  const std::string_view second = TrimBlanks(suffix);
  if (first.empty() || second.empty()) return wanted == (first.empty() ? second : first);
  return wanted.size() == first.size() + 1 + second.size() && wanted.starts_with(first) &&
         wanted[first.size()] == ' ' && wanted.ends_with(second);
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

namespace {

CityBaseLoad DamagedBase(const CityBase& base) {
  return {CityBaseStatus::kStoppedAtInvalidRecord,
          "База городов \"IndexFile\" повреждена: прочитано городов: " +
              std::to_string(base.cities.size()) + "."};
}

CityBaseLoad ReadCities(RecordStream& reader, CityBase& base) {
  ListPool pool;
  // A base without a single city is as useless as a cut one, and must say so.
  if (reader.AtEnd()) return DamagedBase(base);
  while (!reader.AtEnd()) {
    CityRecord city;
    if (!ReadCity(reader, pool, city)) return DamagedBase(base);
    base.cities.push_back(std::move(city));
  }
  return {CityBaseStatus::kComplete, {}};
}

}  // namespace

CityBaseLoad ParseCityBase(std::string_view bytes, CityBase& base) {
  base.cities.clear();
  RecordStream reader(bytes);
  return ReadCities(reader, base);
}

CityBaseLoad LoadCityBase(const std::filesystem::path& file, CityBase& base) {
  base.cities.clear();
  std::error_code error;
  const platform::FileHandle handle = platform::OpenRegularFile(file, error);
  if (error == std::errc::no_such_file_or_directory) return {CityBaseStatus::kMissing, {}};
  if (!handle) return {CityBaseStatus::kUnreadable, kCannotOpenFile + file.string()};
  RecordStream reader(handle.get());
  return ReadCities(reader, base);
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
