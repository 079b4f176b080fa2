// The object settings of the two charts: for each object slot its four use flags and
// its colour, a set per tradition, kept in "pl1." (main chart) and "pl2." (second
// chart) under the data-file prefix.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "workspace/chart_record.h"
#include "workspace/dignity_tables.h"

namespace kelvara::app {

inline constexpr std::string_view kObjectSettingsMainFile = "pl1.";
inline constexpr std::string_view kObjectSettingsSecondFile = "pl2.";
inline constexpr std::int32_t kObjectSettingsVersion = 2;
// The first form held one set, which both traditions take.
inline constexpr std::int32_t kObjectSettingsOneSetVersion = 1;

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
// The same with the tradition's five objects shown or hidden as the tradition has them.
ObjectSettings DefaultObjectSettings(workspace::Tradition tradition);

// One chart's sets; an edit in one tradition leaves the other's set alone.
struct ChartObjectSettings {
  ObjectSettings west = DefaultObjectSettings(workspace::Tradition::kWestern);
  ObjectSettings avesta = DefaultObjectSettings(workspace::Tradition::kAvestan);

  ObjectSettings& Of(workspace::Tradition tradition) {
    return tradition == workspace::Tradition::kAvestan ? avesta : west;
  }
  const ObjectSettings& Of(workspace::Tradition tradition) const {
    return tradition == workspace::Tradition::kAvestan ? avesta : west;
  }
  friend bool operator==(const ChartObjectSettings&, const ChartObjectSettings&) = default;
};

// The file form, all int32 in the archive encoding: the version, then for the Western
// and then the Avestan set, per slot 1-34, the four flags and the colour (0x00BBGGRR).
std::string EncodeObjectSettings(const ChartObjectSettings& settings);
// The sets (a one-set file gives both), or nothing with the reason in `error`.
std::optional<ChartObjectSettings> DecodeObjectSettings(std::string_view bytes, std::string& error);

// "pl1." for chart 1, "pl2." for chart 2, under the prefix.
std::string ObjectSettingsPath(const std::string& dataPrefix, int chart);
// Both files over the defaults. A missing file leaves its chart's defaults; a damaged
// one does too and adds a message.
std::vector<std::string> LoadObjectSettings(const std::string& dataPrefix, ChartObjectSettings& main,
                                            ChartObjectSettings& second);
// One chart's file, written to a temporary file and renamed; the message when that failed.
std::optional<std::string> SaveObjectSettings(const std::string& dataPrefix, int chart,
                                              const ChartObjectSettings& settings);

// Copies the flags and colours into slots 1-34 of a chart's objects.
void ApplyObjectSettings(const ObjectSettings& settings, workspace::ObjectTable& objects);

}  // namespace kelvara::app
