// The user's choices kept between runs in the profile section "Settings", with the
// rules that make a stored set consistent at start-up.
#pragma once

#include <string>
#include <string_view>

#include "platform/geometry.h"
#include "platform/profile.h"

namespace kelvara::app {

inline constexpr std::string_view kSettingsSection = "Settings";

// Member defaults are the defaults of the stored keys.
struct Settings {
  bool viewCircle = true;       // "b_ViewCircle": wheel mode
  bool viewTransit = false;     // "b_ViewTransit": event-map mode
  bool viewSoul = false;        // "b_ViewSoul": chains mode
  bool avesta = false;          // "b_Avesta": Avestan tradition
  bool fromAries = false;       // "b_fromAri": wheel from Aries
  bool west = true;             // "b_West": Western tradition
  int houseSystem = 0;          // "SysHouse"
  bool now = false;             // "b_Now": the main chart was a "now" chart at exit
  bool doubleChart = false;     // "b_Duble"
  std::string lastNowPlace;     // "sLastNowPlace"
  std::string secondDocument;   // "Man2.FName"
  std::string mainDocument;     // "Man.FName"
  bool clock = true;            // "b_Clock"
  bool coloredEventMap = false; // "b_COLORED"
  bool stepShift = false;       // "b_STEP"
  bool degreesShown = false;    // "b_GrPlShow"
  bool tapShowsAspects = false; // "b_AspPlShow"
  bool sortAlongZodiac = false; // "b_Sort"
  bool applyingShown = true;    // "b_SHOD"
  bool separatingShown = true;  // "b_NSHOD"
  bool iChing = false;          // "b_IChing"
  // Our own key (the handheld kept the choice for the run only): 12-hour clock times.
  bool twelveHourClock = false; // "b_12Hour"
  int mapSteps = 7;             // "MapSteps": the event map's steps a day, index 0-7
  bool wallpaperShown = false;  // "b_Wallpaper": the wallpaper lies under the picture
  std::string wallpaperFile;    // "Wallpaper.FName": a BMP file
  int positionSort = 0;         // "m_TYPE_SORT": the position tables' sort, 0 none
  std::string iChingFolder;     // "DirIDz": the I-Ching section last chosen, under the text library
  // Our own keys for the colours the pictures read, stored as 0x00BBGGRR.
  platform::Color viewBackColor{220, 240, 210};  // "ViewBackColor": the wheel's background
  platform::Color signBandColor{0, 255, 255};    // "SignBandColor": the wheel's sign band
  platform::Color mapBackColor = platform::kWhite;  // "MapBackColor": the event map's background

  bool operator==(const Settings&) const = default;
};

// No houses, or a system the program offers.
bool IsKnownHouseSystem(int houseSystem);

// Every key by name; a missing or mistyped entry gives its default, and so does a
// house system the program does not know.
Settings LoadSettings(const platform::Profile& profile);
// False when the store refused any key (the others are still written).
bool SaveSettings(platform::Profile& profile, const Settings& settings);

enum class DisplayMode { kWheel, kEventMap, kChains };

// Sets the three view flags to match the mode.
void SetDisplayMode(Settings& settings, DisplayMode mode);

// Exactly one tradition: both on or both off means the Avestan one.
void NormaliseTraditions(Settings& settings);

// The wheel wins, then the event map; the chains picture needs a chosen kind, so a
// stored chains mode (or no mode at all) starts on the wheel. The view flags are set
// to match the mode chosen.
DisplayMode ChooseStartDisplayMode(Settings& settings);

}  // namespace kelvara::app
