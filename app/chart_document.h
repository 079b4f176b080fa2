// Chart documents ".kvd": one chart's birth data, note and wheel layout in the
// framework's archive form, and the rules for opening and saving them.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "places/city_base.h"
#include "places/place_time.h"
#include "workspace/chart_record.h"

namespace kelvara::app {

inline constexpr std::string_view kDocumentExtension = ".kvd";
// Document type (string-table entry 128): window title, new-document name, filter
// name, filter, registry file type and file type name.
inline constexpr std::string_view kDocumentType =
    "Кельвара\n\nKelvara's Data\nThe Kelvara's Data  (*.KVD)\n.kvd\nKelvara.Data\nKelvara Data";

inline constexpr int kLayoutObjectCount = 16;  // objects 1-16 keep their layout
inline constexpr int kFurtherRingCount = 3;

struct RingPoint {
  double angleDeg = workspace::kNoDisplayAngle;
  double radius = workspace::kNoDisplayRadius;
  friend bool operator==(const RingPoint&, const RingPoint&) = default;
};
using LayoutRing = std::array<RingPoint, kLayoutObjectCount>;
// The layouts of the wheel's other rings, kept beside the chart record, whose
// objects carry the first one.
using FurtherRings = std::array<LayoutRing, kFurtherRingCount>;

// What a document holds, read whole before any chart is touched.
struct ChartDocument {
  workspace::CalendarMoment local;
  std::string name;
  std::string placeName;
  double gmtOffsetHours = 0.0;
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
  int houseSystem = workspace::kHousePlacidus;
  LayoutRing wheel;
  FurtherRings furtherRings;
  std::string note;
  friend bool operator==(const ChartDocument&, const ChartDocument&) = default;
};

ChartDocument DocumentOf(const workspace::ChartRecord& chart, const FurtherRings& furtherRings);
// Birth data, note and layout go into the chart; its step counter starts again at 0.
void ApplyDocument(const ChartDocument& document, workspace::ChartRecord& chart,
                   FurtherRings& furtherRings);

std::string EncodeChartDocument(const ChartDocument& document);
// The document, or nothing with the reason (Russian) in `error`. A layout version
// below 3 is the note of an older document, which ends there.
std::optional<ChartDocument> DecodeChartDocument(std::string_view bytes, std::string& error);

// Reads and decodes a file; `message` is the text for the message box on failure.
struct DocumentRead {
  std::optional<ChartDocument> document;
  std::string message;
};
DocumentRead ReadChartDocument(const std::filesystem::path& path);

// Writes to a temporary file and renames it; the message when the save failed, in
// which case the old file is untouched.
std::optional<std::string> WriteChartDocument(const std::filesystem::path& path,
                                              const ChartDocument& document);

// What a loaded chart needs from the rest of the program.
struct ChartServices {
  // False when the chart's data cannot be computed.
  std::function<bool(workspace::ChartRecord&)> computeChart;
  const places::CityBase* cityBase = nullptr;
  const places::RenameUi* renameUi = nullptr;  // none: the place is renamed silently
};

// Puts a read document into its chart: applied whole, computed, its place looked up
// in the city base (which may rename it), its path remembered in the chart. Data that
// cannot be computed leave the chart as it was and give the message.
std::optional<std::string> LoadDocumentIntoChart(const ChartDocument& document,
                                                 const std::filesystem::path& path,
                                                 workspace::ChartRecord& chart, FurtherRings& furtherRings,
                                                 const ChartServices& services);

}  // namespace kelvara::app
