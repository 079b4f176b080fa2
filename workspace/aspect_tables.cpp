#include "workspace/aspect_tables.h"

#include "platform/archive.h"
#include "workspace/checked_archive.h"

namespace kelvara::workspace {
namespace {

struct AspectDefault {
  double angle;
  double orb;
  std::uint32_t firstColor;
  std::int32_t penWidth;
  std::int32_t penStyle;
  std::uint32_t secondColor;
};

// Records 0-16 of both tables share angle, colours and pens; only the orbs differ.
constexpr int kDefaultedAspects = 17;

constexpr std::array<AspectDefault, kDefaultedAspects> kTwoChartDefaults = {{
    {0, 1.0, 0x000080, 3, kPenSolid, 0x000080},
    {120, 0.8, 0x0000FF, 1, kPenSolid, 0xFFFFFF},
    {60, 0.7, 0x0000FF, 1, kPenSolid, 0xFFFFFF},
    {150, 0.5, 0x0000FF, 1, kPenDashes, 0xC0C0C0},
    {30, 0.3, 0x0000FF, 1, kPenDots, 0xC0C0C0},
    {180, 0.8, 0x000000, 1, kPenSolid, 0x000000},
    {90, 0.7, 0x000000, 1, kPenSolid, 0x000000},
    {135, 0.5, 0x000000, 1, kPenDashes, 0x808080},
    {45, 0.3, 0x000000, 1, kPenDots, 0x808080},
    {72, 0.7, 0x32CD32, 1, kPenSolid, 0x008000},
    {108, 0.5, 0x32CD32, 1, kPenSolid, 0x008000},
    {144, 0.3, 0x32CD32, 1, kPenDashes, 0x00FF00},
    {36, 0.2, 0x32CD32, 1, kPenDots, 0x00FF00},
    {40, 0.55, 0xFF0000, 1, kPenSolid, 0xFF0000},
    {100, 0.28, 0xFF0000, 1, kPenSolid, 0xFF0000},
    {80, 0.2, 0xFF0000, 1, kPenDashes, 0xFFFF00},
    {20, 0.15, 0xFF0000, 1, kPenDots, 0xFFFF00},
}};

constexpr std::array<double, kDefaultedAspects> kSingleChartOrbs = {
    7.0, 5.0, 4.0, 2.0, 1.0, 5.0, 4.0, 2.0, 1.0, 4.0, 2.0, 1.5, 0.75, 3.0, 2.0, 1.0, 0.5};

// The last record of table 2 is disabled but carries a pen of its own.
constexpr std::uint32_t kTwoChartLastSecondColor = 0x000080;

AspectRecord DefaultRecord(const AspectDefault& values, double orb) {
  AspectRecord record;
  record.enabled = true;
  record.angle = values.angle;
  record.firstOrbs.fill(orb);
  record.firstColor = values.firstColor;
  record.penWidth = values.penWidth;
  record.penStyle = values.penStyle;
  record.secondColor = values.secondColor;
  return record;
}

constexpr double kMaxAngle = 360.0;
constexpr double kMaxOrb = 180.0;
constexpr std::int32_t kMaxPenWidth = 20;

void ReadOrbs(CheckedArchiveReader& reader, OrbArray& orbs) {
  for (double& orb : orbs) orb = reader.Double(0.0, kMaxOrb, "орбис");
}

AspectRecord ReadRecord(CheckedArchiveReader& reader) {
  AspectRecord record;
  record.enabled = reader.Int(0, 1, "признак аспекта") != 0;
  record.angle = reader.Double(0.0, kMaxAngle, "угол аспекта");
  ReadOrbs(reader, record.firstOrbs);
  ReadOrbs(reader, record.secondOrbs);
  record.secondColor = std::uint32_t(reader.AnyInt());
  record.secondText = reader.String();
  record.firstText = reader.String();
  record.penWidth = reader.Int(0, kMaxPenWidth, "толщина линии");
  record.penStyle = reader.Int(kPenSolid, kPenDots, "стиль линии");
  record.firstColor = std::uint32_t(reader.AnyInt());
  return record;
}

void WriteRecord(platform::ArchiveWriter& writer, const AspectRecord& record) {
  writer.WriteInt32(record.enabled ? 1 : 0);
  writer.WriteDouble(record.angle);
  for (double orb : record.firstOrbs) writer.WriteDouble(orb);
  for (double orb : record.secondOrbs) writer.WriteDouble(orb);
  writer.WriteInt32(std::int32_t(record.secondColor));
  writer.WriteString(record.secondText);
  writer.WriteString(record.firstText);
  writer.WriteInt32(record.penWidth);
  writer.WriteInt32(record.penStyle);
  writer.WriteInt32(std::int32_t(record.firstColor));
}

}  // namespace

AspectTable DefaultSingleChartAspects() {
  AspectTable table;
  for (int i = 0; i < kDefaultedAspects; ++i) {
    // The second colour is not given for table 1; it follows table 2 so that both
    // tables draw an aspect alike.
    table[i] = DefaultRecord(kTwoChartDefaults[i], kSingleChartOrbs[i]);
  }
  return table;
}

AspectTable DefaultTwoChartAspects() {
  AspectTable table;
  for (int i = 0; i < kDefaultedAspects; ++i) {
    table[i] = DefaultRecord(kTwoChartDefaults[i], kTwoChartDefaults[i].orb);
  }
  table.back().secondColor = kTwoChartLastSecondColor;
  return table;
}

std::string EncodeAspectTable(const AspectTable& table) {
  platform::ArchiveWriter writer;
  for (const AspectRecord& record : table) WriteRecord(writer, record);
  return writer.Bytes();
}

std::optional<AspectTable> DecodeAspectTable(std::string_view bytes, std::string& error) {
  return DecodeChecked(bytes, error, [](CheckedArchiveReader& reader) {
    AspectTable table;
    for (AspectRecord& record : table) record = ReadRecord(reader);
    reader.ExpectEnd();
    return table;
  });
}

}  // namespace kelvara::workspace
