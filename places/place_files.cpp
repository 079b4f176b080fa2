#include "places/place_files.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <unordered_map>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "places/messages.h"
#include "places/place_text.h"
#include "places/text_util.h"

namespace kelvara::places {
namespace {

constexpr int kHeaderLines = 4;
constexpr const char* kHeader[kHeaderLines] = {
    "строка 1:   ФАЙЛ КООРДИНАТ НАСЕЛЕННЫХ ПУНКТОВ ДОЛЖЕН ИМЕТЬ ТАКОЙ ФОРМАТ.",
    "строка 2:   Название     широта  долгота",
    "строка 3:   (информация должна начинаться с ПЯТОЙ строки)",
    "",
};
constexpr double kSamePlaceDeg = 0.0001;
// A list of every city of the base takes a few megabytes; far larger files are not place files.
constexpr std::uintmax_t kMaxPlaceFileBytes = 64u << 20;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string SwapByteOrder(std::string_view bytes) {
  std::string swapped(bytes);
  for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
  return swapped;
}

bool IsValidUtf8(std::string_view bytes) {
  return platform::Utf16ToUtf8(platform::Utf8ToUtf16(bytes)) == bytes;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Where a new place stands against the places already in the list.
enum class Known { kNew, kSame, kOtherCoordinates };

class PlaceIndex {
 public:
  explicit PlaceIndex(const PlacesList& list) {
    for (std::size_t i = 0; i < list.places.size(); ++i) byName_.emplace(list.places[i].name, i);
  }

  Known Classify(const PlacesList& list, const PlaceLine& place) const {
    // A place written to a file and read back differs by the notation's rounding.
    const double tolerance = std::max(kSamePlaceDeg, place.resolutionDeg / 2.0 + 1e-9);
    auto [first, last] = byName_.equal_range(place.name);
    if (first == last) return Known::kNew;
    for (auto it = first; it != last; ++it) {
      const PlaceRecord& known = list.places[it->second];
      if (std::fabs(known.latitude - place.latitude) <= tolerance &&
          std::fabs(known.longitude - place.longitude) <= tolerance) {
        return Known::kSame;
      }
    }
    return Known::kOtherCoordinates;
  }

  void Add(const std::string& name, std::size_t index) { byName_.emplace(name, index); }

 private:
  std::unordered_multimap<std::string, std::size_t> byName_;
};

std::string DataErrorMessage(int placeNumber, std::string_view placeText) {
  return std::string(kDataError1) + " " + std::to_string(placeNumber) + kDataError2 +
         std::string(placeText);
}

std::string ConflictQuestion(const std::string& name) {
  return std::string(kConflict1) + name + kConflict2 + kConflict3 + kConflict4;
}

// Applies the range test and the duplicate rules to one place read from a file.
class Importer {
 public:
  Importer(PlacesList& list, const PlaceFileUi& ui) : list_(list), ui_(ui), index_(list) {}

  // False when the import must stop; the result then says why.
  bool Take(int placeNumber, const PlaceLine& place, std::string_view placeText) {
    if (!CoordinatesInRange(place.latitude, place.longitude)) {
      result_ = {PlaceFileStatus::kDataError, result_.placesDone,
                 DataErrorMessage(placeNumber, placeText)};
      return false;
    }
    switch (index_.Classify(list_, place)) {
      case Known::kSame:
        break;
      case Known::kOtherCoordinates:
        if (!ui_.confirmKeepOld || !ui_.confirmKeepOld(ConflictQuestion(place.name))) {
          result_.status = PlaceFileStatus::kCancelled;
          return false;
        }
        break;
      case Known::kNew:
        Append(place);
        break;
    }
    return ReportProgress(place.name);
  }

  PlaceFileResult& Result() { return result_; }

 private:
  void Append(const PlaceLine& place) {
    list_.places.push_back({place.name, place.longitude, place.latitude});
    index_.Add(place.name, list_.places.size() - 1);
    ++result_.placesDone;
  }

  bool ReportProgress(std::string_view name) {
    if (ui_.progress && !ui_.progress({result_.placesDone, name})) {
      result_.status = PlaceFileStatus::kCancelled;
      return false;
    }
    return true;
  }

  PlacesList& list_;
  const PlaceFileUi& ui_;
  PlaceIndex index_;
  PlaceFileResult result_;
};

PlaceFileResult LoadTextPlaces(std::string_view bytes, PlacesList& list, const PlaceFileUi& ui) {
  const std::string text = DecodePlaceText(bytes);
  const auto lines = SplitLines(text);
  Importer importer(list, ui);
  for (std::size_t i = kHeaderLines; i < lines.size(); ++i) {
    // Blank lines (a trailing one above all) carry no place.
    if (TrimBlanksAndTabs(lines[i]).empty()) continue;
    const int placeNumber = static_cast<int>(i) - kHeaderLines + 1;
    if (!importer.Take(placeNumber, ParsePlaceLine(lines[i]), lines[i])) break;
  }
  return importer.Result();
}

// Bounds-checked reading of the binary place file.
class BinaryReader {
 public:
  explicit BinaryReader(std::string_view bytes) : bytes_(bytes) {}

  template <typename T>
  bool Read(T& value) {
    if (bytes_.size() < sizeof(T)) return false;
    std::memcpy(&value, bytes_.data(), sizeof(T));
    bytes_.remove_prefix(sizeof(T));
    return true;
  }

  bool ReadName(std::string& name) {
    int32_t length = 0;
    if (!Read(length) || length < 0 || static_cast<std::size_t>(length) > bytes_.size()) {
      return false;
    }
    name = platform::Cp1251ToUtf8(TrimBlanksAndTabs(bytes_.substr(0, length)));
    bytes_.remove_prefix(length);
    return true;
  }

 private:
  std::string_view bytes_;
};

PlaceFileResult DamagedResult(int placesRead) {
  return {PlaceFileStatus::kDamaged, 0, kDamagedPlaceFile + std::to_string(placesRead) + "."};
}

PlaceFileResult LoadBinaryPlaces(std::string_view bytes, PlacesList& list, const PlaceFileUi& ui) {
  BinaryReader reader(bytes);
  int32_t count = 0;
  if (!reader.Read(count) || count < 0) return DamagedResult(0);
  Importer importer(list, ui);
  // The loop reads no further than the file, whatever the count claims.
  for (int32_t i = 0; i < count; ++i) {
    PlaceLine place;
    if (!reader.ReadName(place.name) || !reader.Read(place.longitude) ||
        !reader.Read(place.latitude)) {
      PlaceFileResult damaged = DamagedResult(i);
      damaged.placesDone = importer.Result().placesDone;
      return damaged;
    }
    if (place.name.empty()) continue;  // as in text files: a place needs a name
    if (!importer.Take(i + 1, place, place.name)) break;
  }
  return importer.Result();
}

template <typename T>
void AppendValue(T value, std::string& out) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));
  out.append(raw, sizeof(T));
}

// Walks the places that are written (those with a name), reporting progress.
template <typename WritePlace>
PlaceFileResult ForEachSavedPlace(const PlacesList& list, const PlaceFileUi& ui,
                                  WritePlace writePlace) {
  PlaceFileResult result;
  for (const PlaceRecord& place : list.places) {
    if (place.name.empty()) continue;
    writePlace(place);
    ++result.placesDone;
    if (ui.progress && !ui.progress({result.placesDone, place.name})) {
      result.status = PlaceFileStatus::kCancelled;
      break;
    }
  }
  return result;
}

PlaceFileResult FormatText(const PlacesList& list, const PlaceFileUi& ui, std::string& bytes) {
  std::string text;
  for (const char* line : kHeader) text += std::string(line) + "\r\n";
  PlaceFileResult result = ForEachSavedPlace(list, ui, [&](const PlaceRecord& place) {
    text += FormatPlaceLine(place.name, place.latitude, place.longitude) + "\r\n";
  });
  bytes = platform::Utf16ToLeBytes(platform::Utf8ToUtf16(text));
  return result;
}

PlaceFileResult FormatBinary(const PlacesList& list, const PlaceFileUi& ui, std::string& bytes) {
  std::string records;
  PlaceFileResult result = ForEachSavedPlace(list, ui, [&](const PlaceRecord& place) {
    const std::string name = platform::Utf8ToCp1251(place.name);
    AppendValue(static_cast<int32_t>(name.size()), records);
    records += name;
    AppendValue(place.longitude, records);
    AppendValue(place.latitude, records);
  });
  AppendValue(static_cast<int32_t>(result.placesDone), bytes);
  bytes += records;
  return result;
}

}  // namespace

bool IsTextPlaceFile(const std::filesystem::path& file) {
  return AsciiUpper(file.filename().string()).find(".TXT") != std::string::npos;
}

std::string DecodePlaceText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(kUtf8Bom.size()));
  if (bytes.starts_with(kUtf16LeBom)) {
    return platform::Utf16ToUtf8(platform::LeBytesToUtf16(bytes.substr(kUtf16LeBom.size())));
  }
  if (bytes.starts_with(kUtf16BeBom)) {
    return platform::Utf16ToUtf8(
        platform::LeBytesToUtf16(SwapByteOrder(bytes.substr(kUtf16BeBom.size()))));
  }
  // Line ends and Latin letters put zero bytes into UTF-16; 8-bit text has none.
  if (bytes.find('\0') != std::string_view::npos) {
    return platform::Utf16ToUtf8(platform::LeBytesToUtf16(bytes));
  }
  return IsValidUtf8(bytes) ? std::string(bytes) : platform::Cp1251ToUtf8(bytes);
}

PlaceFileResult LoadPlaces(const std::filesystem::path& file, PlacesList& list,
                           const PlaceFileUi& ui) {
  std::error_code error;
  const auto bytes = platform::ReadFileBytes(file, error, kMaxPlaceFileBytes);
  if (error == std::errc::file_too_large) {
    return {PlaceFileStatus::kDamaged, 0, kPlaceFileTooLarge + file.string()};
  }
  if (!bytes) return {PlaceFileStatus::kCannotOpen, 0, kCannotOpenFile + file.string()};
  return IsTextPlaceFile(file) ? LoadTextPlaces(*bytes, list, ui)
                               : LoadBinaryPlaces(*bytes, list, ui);
}

PlaceFileResult SavePlaces(const std::filesystem::path& file, const PlacesList& list,
                           const PlaceFileUi& ui) {
  std::string bytes;
  PlaceFileResult result =
      IsTextPlaceFile(file) ? FormatText(list, ui, bytes) : FormatBinary(list, ui, bytes);
  // An interrupted export leaves the old file as it was.
  if (result.status != PlaceFileStatus::kDone) return result;
  if (!platform::WriteFileAtomically(file, bytes)) {
    return {PlaceFileStatus::kCannotWrite, 0, kCannotWriteFile + file.string()};
  }
  return result;
}

}  // namespace kelvara::places
