#include "app/object_settings.h"

#include "app/checked_archive.h"
#include "app/stored_file.h"
#include "interpretation/tradition_flags.h"
#include "platform/archive.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
using platform::Color;

constexpr Color kCuspColour{0, 110, 0};  // dark green, as the cusp lines

// Dark, distinct inks per slot; the cusps share one.
constexpr std::array<Color, ws::kSlotCount> kDefaultColours = {{
    {},                 // slot 0, unused
    {200, 90, 0},       // Sun: dark orange
    {60, 80, 110},      // Moon: dark blue-grey
    {0, 120, 40},       // Mercury: dark green
    {0, 120, 110},      // Venus: teal
    {200, 0, 0},        // Mars: red
    {0, 0, 160},        // Jupiter: dark blue
    {100, 60, 20},      // Saturn: brown
    {140, 40, 100},     // Chiron: plum
    {110, 0, 170},      // Uranus: purple
    {60, 0, 140},       // Neptune: indigo
    {90, 0, 90},        // Pluto: dark purple
    {130, 70, 140},     // Proserpina: mauve
    {80, 80, 80},       // north node: dark grey
    {80, 80, 80},       // south node: dark grey
    {90, 100, 140},     // Selena: slate
    {40, 40, 40},       // Lilith: near black
    kCuspColour, kCuspColour, kCuspColour, kCuspColour, kCuspColour, kCuspColour,
    kCuspColour, kCuspColour, kCuspColour, kCuspColour, kCuspColour, kCuspColour,
    {110, 110, 0},      // Ceres: olive
    {40, 80, 140},      // Pallas: steel blue
    {170, 20, 80},      // Juno: crimson
    {170, 80, 0},       // Vesta: burnt orange
    {150, 110, 0},      // Part of Fortune: dark gold
    {140, 70, 40},      // second lot: sienna
}};

constexpr std::int32_t kLargestColorRef = 0x00FFFFFF;
constexpr int kSecondChart = 2;

bool ReadFlag(CheckedArchiveReader& reader) { return reader.Int(0, 1, "признак объекта") != 0; }

ObjectSetting ReadSetting(CheckedArchiveReader& reader) {
  ObjectSetting setting;
  setting.usedAsMoving = ReadFlag(reader);
  setting.usedAsAspected = ReadFlag(reader);
  setting.visible = ReadFlag(reader);
  setting.takesPartInAspects = ReadFlag(reader);
  setting.colour = Color::FromColorRef(std::uint32_t(reader.Int(0, kLargestColorRef, "цвет объекта")));
  return setting;
}

ObjectSettings ReadSet(CheckedArchiveReader& reader) {
  ObjectSettings settings = DefaultObjectSettings();
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) settings[slot] = ReadSetting(reader);
  return settings;
}

void WriteSetting(platform::ArchiveWriter& writer, const ObjectSetting& setting) {
  for (bool flag : {setting.usedAsMoving, setting.usedAsAspected, setting.visible, setting.takesPartInAspects}) {
    writer.WriteInt32(flag ? 1 : 0);
  }
  writer.WriteInt32(std::int32_t(setting.colour.ToColorRef()));
}

}  // namespace

ObjectSettings DefaultObjectSettings() {
  ObjectSettings settings;
  for (int slot = 0; slot < ws::kSlotCount; ++slot) settings[slot].colour = kDefaultColours[slot];
  return settings;
}

ObjectSettings DefaultObjectSettings(ws::Tradition tradition) {
  ObjectSettings settings = DefaultObjectSettings();
  interpretation::ApplyTraditionFlags(settings, tradition);
  return settings;
}

std::string EncodeObjectSettings(const ChartObjectSettings& settings) {
  platform::ArchiveWriter writer;
  writer.WriteInt32(kObjectSettingsVersion);
  for (const ObjectSettings* set : {&settings.west, &settings.avesta}) {
    for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) WriteSetting(writer, (*set)[slot]);
  }
  return writer.Bytes();
}

std::optional<ChartObjectSettings> DecodeObjectSettings(std::string_view bytes, std::string& error) {
  return DecodeChecked(bytes, error, [](CheckedArchiveReader& reader) {
    const std::int32_t version = reader.Int(kObjectSettingsOneSetVersion, kObjectSettingsVersion, "версия формата");
    ChartObjectSettings settings;
    settings.west = ReadSet(reader);
    settings.avesta = version == kObjectSettingsOneSetVersion ? settings.west : ReadSet(reader);
    reader.ExpectEnd();
    return settings;
  });
}

std::string ObjectSettingsPath(const std::string& dataPrefix, int chart) {
  return dataPrefix + std::string(chart == kSecondChart ? kObjectSettingsSecondFile : kObjectSettingsMainFile);
}

std::vector<std::string> LoadObjectSettings(const std::string& dataPrefix, ChartObjectSettings& main,
                                            ChartObjectSettings& second) {
  std::vector<std::string> messages;
  main = {};
  LoadStoredFileInto(ObjectSettingsPath(dataPrefix, 1), DecodeObjectSettings, main, messages);
  second = {};
  LoadStoredFileInto(ObjectSettingsPath(dataPrefix, kSecondChart), DecodeObjectSettings, second, messages);
  return messages;
}

std::optional<std::string> SaveObjectSettings(const std::string& dataPrefix, int chart,
                                              const ChartObjectSettings& settings) {
  return WriteStoredFile(ObjectSettingsPath(dataPrefix, chart), EncodeObjectSettings(settings));
}

void ApplyObjectSettings(const ObjectSettings& settings, ws::ObjectTable& objects) {
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
    const ObjectSetting& setting = settings[slot];
    ws::ChartObject& object = objects[slot];
    object.usedAsMoving = setting.usedAsMoving ? 1 : 0;
    object.usedAsAspected = setting.usedAsAspected ? 1 : 0;
    object.visible = setting.visible ? 1 : 0;
    object.takesPartInAspects = setting.takesPartInAspects ? 1 : 0;
    // The wheel reads the colour as the tables keep theirs, 0x00BBGGRR.
    object.display.colourRgb = setting.colour.ToColorRef();
  }
}

}  // namespace kelvara::app
