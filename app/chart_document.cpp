#include "app/chart_document.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/checked_archive.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/stored_file.h"
#include "platform/archive.h"
#include "workspace/birth_data.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

constexpr int kLayoutVersion = 3;
constexpr std::string_view kLayoutVersionText = "3";
constexpr std::string_view kOldLayoutMarker = ".MAP";

// Fixed values the layout carries in its unused items; reading skips them.
constexpr std::array<std::int32_t, 3> kLeadingInts = {1, 0, 0};
constexpr int kReservedDateInts = 10;
constexpr std::array<std::int32_t, 4> kIntsBeforeHouseSystem = {1, 0, 1, 0};
constexpr std::int32_t kIntAfterHouseSystem = 1;
constexpr std::array<std::int32_t, 2> kIntsAfterSecond = {0, 0};
constexpr int kTrailingStrings = 3;
constexpr std::int32_t kTrailingInt = 1;

// Bounds that keep hostile values out of the wheel's angle loops and the engine.
constexpr double kMaxLayoutValue = 1000.0;
constexpr double kMaxOffsetHours = 24.0;
constexpr double kMaxLatitude = 90.0;
constexpr double kMaxLongitude = 180.0;

void WriteLayoutRing(platform::ArchiveWriter& writer, const LayoutRing& ring) {
  for (const RingPoint& point : ring) {
    writer.WriteDouble(point.angleDeg);
    writer.WriteDouble(point.radius);
  }
}

LayoutRing ReadLayoutRing(CheckedArchiveReader& reader) {
  LayoutRing ring;
  for (RingPoint& point : ring) {
    point.angleDeg = reader.Double(-kMaxLayoutValue, kMaxLayoutValue, "угол положения значка");
    point.radius = reader.Double(-kMaxLayoutValue, kMaxLayoutValue, "радиус положения значка");
  }
  return ring;
}

// The whole text as a decimal number, else none: a note is not a version.
std::optional<int> VersionNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void SkipInts(CheckedArchiveReader& reader, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) reader.AnyInt();
}

ChartDocument ReadDocument(CheckedArchiveReader& reader) {
  ChartDocument document;
  SkipInts(reader, kLeadingInts.size());
  ws::CalendarMoment& local = document.local;
  for (int* field : {&local.day, &local.month, &local.year, &local.hour, &local.minute}) {
    *field = reader.AnyInt();
  }
  SkipInts(reader, kReservedDateInts);
  document.name = reader.String();
  document.placeName = reader.String();
  reader.String();
  document.gmtOffsetHours = reader.Double(-kMaxOffsetHours, kMaxOffsetHours, "смещение от Гринвича");
  reader.AnyDouble();
  document.latitudeDeg = reader.Double(-kMaxLatitude, kMaxLatitude, "широта");
  document.longitudeDeg = reader.Double(-kMaxLongitude, kMaxLongitude, "долгота");
  SkipInts(reader, kIntsBeforeHouseSystem.size());
  reader.AnyDouble();
  document.houseSystem = reader.AnyInt();
  if (!IsKnownHouseSystem(document.houseSystem)) {
    throw BadValueError(BadValueReason("система домов", document.houseSystem));
  }
  SkipInts(reader, 1);
  local.second = reader.AnyInt();
  if (!ws::IsValidMoment(local)) throw BadValueError(std::string(kReasonBadValue) + "дата или время");
  SkipInts(reader, kIntsAfterSecond.size());
  document.wheel = ReadLayoutRing(reader);

  const std::string version = reader.String();
  const std::optional<int> number = VersionNumber(version);
  // An older document ends with its note here; a "3" with nothing after it is such a note too.
  if (!number || *number < kLayoutVersion || reader.AtEnd()) {
    document.note = version;
    return document;
  }
  if (*number > kLayoutVersion) {
    throw BadValueError(std::string(kReasonNewerLayout) + version + ")");
  }
  for (LayoutRing& ring : document.furtherRings) ring = ReadLayoutRing(reader);
  document.note = reader.String();
  // The tail carries nothing, but a file may not go on past it.
  if (!reader.AtEnd()) {
    for (int i = 0; i < kTrailingStrings; ++i) reader.String();
    reader.AnyInt();
  }
  reader.ExpectEnd();
  return document;
}

}  // namespace

ChartDocument DocumentOf(const ws::ChartRecord& record, const FurtherRings& furtherRings) {
  ChartDocument document{record.local,        record.name,         record.placeName,
                         record.gmtOffsetHours, record.latitudeDeg, record.longitudeDeg,
                         record.houseSystem,  {},                  furtherRings,
                         record.note};
  for (int i = 0; i < kLayoutObjectCount; ++i) {
    const ws::ObjectDisplay& display = record.objects[ws::kFirstSlot + i].display;
    document.wheel[i] = {display.angleDeg, display.radius};
  }
  return document;
}

void ApplyDocument(const ChartDocument& document, ws::ChartRecord& record, FurtherRings& furtherRings) {
  record.local = document.local;
  record.name = document.name;
  record.placeName = document.placeName;
  record.gmtOffsetHours = document.gmtOffsetHours;
  record.latitudeDeg = document.latitudeDeg;
  record.longitudeDeg = document.longitudeDeg;
  record.houseSystem = document.houseSystem;
  record.note = document.note;
  record.step.counter = 0;
  for (int i = 0; i < kLayoutObjectCount; ++i) {
    ws::ObjectDisplay& display = record.objects[ws::kFirstSlot + i].display;
    display.angleDeg = document.wheel[i].angleDeg;
    display.radius = document.wheel[i].radius;
  }
  furtherRings = document.furtherRings;
}

std::string EncodeChartDocument(const ChartDocument& document) {
  platform::ArchiveWriter writer;
  for (std::int32_t value : kLeadingInts) writer.WriteInt32(value);
  const ws::CalendarMoment& local = document.local;
  for (int field : {local.day, local.month, local.year, local.hour, local.minute}) writer.WriteInt32(field);
  for (int i = 0; i < kReservedDateInts; ++i) writer.WriteInt32(0);
  writer.WriteString(document.name);
  writer.WriteString(document.placeName);
  writer.WriteString("");
  writer.WriteDouble(document.gmtOffsetHours);
  writer.WriteDouble(0.0);
  writer.WriteDouble(document.latitudeDeg);
  writer.WriteDouble(document.longitudeDeg);
  for (std::int32_t value : kIntsBeforeHouseSystem) writer.WriteInt32(value);
  writer.WriteDouble(0.0);
  writer.WriteInt32(document.houseSystem);
  writer.WriteInt32(kIntAfterHouseSystem);
  writer.WriteInt32(local.second);
  for (std::int32_t value : kIntsAfterSecond) writer.WriteInt32(value);
  WriteLayoutRing(writer, document.wheel);
  writer.WriteString(kLayoutVersionText);
  for (const LayoutRing& ring : document.furtherRings) WriteLayoutRing(writer, ring);
  writer.WriteString(document.note);
  for (int i = 0; i < kTrailingStrings; ++i) writer.WriteString("");
  writer.WriteInt32(kTrailingInt);
  return writer.Bytes();
}

std::optional<ChartDocument> DecodeChartDocument(std::string_view bytes, std::string& error) {
  return DecodeChecked(bytes, error, ReadDocument);
}

namespace {

// The old layout is known by the extension at the end of the name, in any case, never by
// ".MAP" somewhere inside it ("Семья.MAPLE.kvd" is a document of today).
bool IsOldLayoutName(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  if (extension.size() != kOldLayoutMarker.size() || path.stem().empty()) return false;
  return std::equal(extension.begin(), extension.end(), kOldLayoutMarker.begin(),
                    [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

DocumentRead ReadChartDocument(const std::filesystem::path& path) {
  DocumentRead read;
  if (IsOldLayoutName(path)) {
    read.message = DamagedFileMessage(path, kReasonOldMapLayout);
    return read;
  }
  read.document = LoadStoredFile(path, DecodeChartDocument, read.message);
  // A missing document cannot be opened any more than an unreadable one.
  if (!read.document && read.message.empty()) read.message = std::string(kCannotOpenFile) + path.string();
  return read;
}

std::optional<std::string> WriteChartDocument(const std::filesystem::path& path,
                                              const ChartDocument& document) {
  return WriteStoredFile(path, EncodeChartDocument(document));
}

std::optional<std::string> LoadDocumentIntoChart(const ChartDocument& document,
                                                 const std::filesystem::path& path, ws::ChartRecord& chart,
                                                 FurtherRings& furtherRings, const ChartServices& services) {
  ws::ChartRecord loaded = chart;
  FurtherRings loadedRings;
  ApplyDocument(document, loaded, loadedRings);
  loaded.filePath = path.string();
  if (services.computeChart && !services.computeChart(loaded)) {
    return std::string(ws::kMessageBadData) + "\n" + path.string();
  }
  if (services.cityBase != nullptr) {
    places::FindPlaceTime(*services.cityBase, loaded.placeName, loaded.latitudeDeg, loaded.longitudeDeg,
                          services.renameUi);
  }
  chart = std::move(loaded);
  furtherRings = loadedRings;
  return std::nullopt;
}

}  // namespace kelvara::app
