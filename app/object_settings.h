// The object settings of the two charts: for each object slot its four use flags and
// its colour, kept in "pl1." (main chart) and "pl2." (second chart) under the
// data-file prefix.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "workspace/chart_record.h"

namespace kelvara::app {

inline constexpr std::string_view kObjectSettingsMainFile = "pl1.";
inline constexpr std::string_view kObjectSettingsSecondFile = "pl2.";
inline constexpr std::int32_t kObjectSettingsVersion = 1;

struct ObjectSetting {
  bool usedAsMoving = true;
  bool usedAsAspected = true;
  bool visible = true;
  bool takesPartInAspects = true;
  platform::Color colour = platform::kBlack;
  friend bool operator==(const ObjectSetting&, const ObjectSetting&) = default;
};

// Indexed by object slot like the object table; slot 0 is unused.
using ObjectSettings = std::array<ObjectSetting, workspace::kSlotCount>;

// Every flag on, each object in a colour that reads well on white.
ObjectSettings DefaultObjectSettings();

// The file form: version, then per slot 1-34 the four flags and the colour (0x00BBGGRR),
// all as int32 in the archive encoding.
std::string EncodeObjectSettings(const ObjectSettings& settings);
// The settings, or nothing with the reason in `error` (Russian, for the message box).
std::optional<ObjectSettings> DecodeObjectSettings(std::string_view bytes, std::string& error);

// Both files over the defaults. A missing file leaves its chart's defaults; a damaged
// one does too and adds a message.
std::vector<std::string> LoadObjectSettings(const std::string& dataPrefix, ObjectSettings& main,
                                            ObjectSettings& second);
// Both files, each written to a temporary file and renamed; the messages of the files
// that could not be written.
std::vector<std::string> SaveObjectSettings(const std::string& dataPrefix, const ObjectSettings& main,
                                            const ObjectSettings& second);

// Copies the flags and colours into slots 1-34 of a chart's objects.
void ApplyObjectSettings(const ObjectSettings& settings, workspace::ObjectTable& objects);

}  // namespace kelvara::app
