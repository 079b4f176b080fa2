#include "app/settings.h"

#include <array>

#include "workspace/chart_record.h"

namespace kelvara::app {
namespace {

struct FlagKey {
  std::string_view name;
  bool Settings::*member;
};

struct TextKey {
  std::string_view name;
  std::string Settings::*member;
};

constexpr std::array kFlagKeys = {
    FlagKey{"b_ViewCircle", &Settings::viewCircle},
    FlagKey{"b_ViewTransit", &Settings::viewTransit},
    FlagKey{"b_ViewSoul", &Settings::viewSoul},
    FlagKey{"b_Avesta", &Settings::avesta},
    FlagKey{"b_fromAri", &Settings::fromAries},
    FlagKey{"b_West", &Settings::west},
    FlagKey{"b_Now", &Settings::now},
    FlagKey{"b_Duble", &Settings::doubleChart},
    FlagKey{"b_Clock", &Settings::clock},
    FlagKey{"b_COLORED", &Settings::coloredEventMap},
    FlagKey{"b_STEP", &Settings::stepShift},
    FlagKey{"b_GrPlShow", &Settings::degreesShown},
    FlagKey{"b_AspPlShow", &Settings::tapShowsAspects},
    FlagKey{"b_Sort", &Settings::sortAlongZodiac},
    FlagKey{"b_SHOD", &Settings::applyingShown},
    FlagKey{"b_NSHOD", &Settings::separatingShown},
    FlagKey{"b_IChing", &Settings::iChing},
    FlagKey{"b_12Hour", &Settings::twelveHourClock},
    FlagKey{"b_Wallpaper", &Settings::wallpaperShown},
};

constexpr std::array kTextKeys = {
    TextKey{"sLastNowPlace", &Settings::lastNowPlace},
    TextKey{"Man2.FName", &Settings::secondDocument},
    TextKey{"Wallpaper.FName", &Settings::wallpaperFile},
    TextKey{"Man.FName", &Settings::mainDocument},
    TextKey{"DirIDz", &Settings::iChingFolder},
};

struct ColorKey {
  std::string_view name;
  platform::Color Settings::*member;
};

constexpr std::array kColorKeys = {
    ColorKey{"ViewBackColor", &Settings::viewBackColor},
    ColorKey{"SignBandColor", &Settings::signBandColor},
    ColorKey{"MapBackColor", &Settings::mapBackColor},
};

constexpr int kLargestColorRef = 0x00FFFFFF;

constexpr std::string_view kHouseSystemKey = "SysHouse";
constexpr std::string_view kMapStepsKey = "MapSteps";
constexpr std::string_view kPositionSortKey = "m_TYPE_SORT";
constexpr int kLastMapSteps = 7;

}  // namespace

bool IsKnownHouseSystem(int houseSystem) {
  return houseSystem == workspace::kNoHouses || !workspace::HouseSystemName(houseSystem).empty();
}

Settings LoadSettings(const platform::Profile& profile) {
  const Settings defaults;
  Settings settings;
  for (const FlagKey& key : kFlagKeys) {
    settings.*key.member = profile.GetInt(kSettingsSection, key.name, defaults.*key.member) != 0;
  }
  for (const TextKey& key : kTextKeys) {
    settings.*key.member = profile.GetString(kSettingsSection, key.name, defaults.*key.member);
  }
  for (const ColorKey& key : kColorKeys) {
    const int stored = profile.GetInt(kSettingsSection, key.name, int((defaults.*key.member).ToColorRef()));
    const bool valid = stored >= 0 && stored <= kLargestColorRef;
    settings.*key.member = valid ? platform::Color::FromColorRef(std::uint32_t(stored)) : defaults.*key.member;
  }
  const int houseSystem = profile.GetInt(kSettingsSection, kHouseSystemKey, defaults.houseSystem);
  settings.houseSystem = IsKnownHouseSystem(houseSystem) ? houseSystem : defaults.houseSystem;
  const int mapSteps = profile.GetInt(kSettingsSection, kMapStepsKey, defaults.mapSteps);
  settings.mapSteps = mapSteps >= 0 && mapSteps <= kLastMapSteps ? mapSteps : defaults.mapSteps;
  settings.positionSort = profile.GetInt(kSettingsSection, kPositionSortKey, defaults.positionSort);
  return settings;
}

bool SaveSettings(platform::Profile& profile, const Settings& settings) {
  bool allWritten = true;
  for (const FlagKey& key : kFlagKeys) {
    allWritten &= profile.WriteInt(kSettingsSection, key.name, settings.*key.member ? 1 : 0);
  }
  for (const TextKey& key : kTextKeys) {
    allWritten &= profile.WriteString(kSettingsSection, key.name, settings.*key.member);
  }
  for (const ColorKey& key : kColorKeys) {
    allWritten &= profile.WriteInt(kSettingsSection, key.name, int((settings.*key.member).ToColorRef()));
  }
  allWritten &= profile.WriteInt(kSettingsSection, kHouseSystemKey, settings.houseSystem);
  allWritten &= profile.WriteInt(kSettingsSection, kMapStepsKey, settings.mapSteps);
  allWritten &= profile.WriteInt(kSettingsSection, kPositionSortKey, settings.positionSort);
  return allWritten;
}

void NormaliseTraditions(Settings& settings) {
  if (settings.avesta == settings.west) {
    settings.avesta = true;
    settings.west = false;
  }
}

DisplayMode ChooseStartDisplayMode(Settings& settings) {
  const DisplayMode mode = !settings.viewCircle && settings.viewTransit ? DisplayMode::kEventMap
                                                                        : DisplayMode::kWheel;
  SetDisplayMode(settings, mode);
  return mode;
}

void SetDisplayMode(Settings& settings, DisplayMode mode) {
  settings.viewCircle = mode == DisplayMode::kWheel;
  settings.viewTransit = mode == DisplayMode::kEventMap;
  settings.viewSoul = mode == DisplayMode::kChains;
}

}  // namespace kelvara::app
