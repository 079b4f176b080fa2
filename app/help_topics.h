// Every anchor of the help page that the program opens: one per display mode, dialog,
// settings page and position table, so the page and the program cannot drift apart.
#pragma once

#include <span>
#include <string_view>

#include "app/commands.h"
#include "app/settings.h"

namespace kelvara::app {

inline constexpr std::string_view kHelpHoroscope = "#Horoscope";
inline constexpr std::string_view kHelpEventMap = "#Map";
inline constexpr std::string_view kHelpChains = "#Soul";
inline constexpr std::string_view kHelpBirthData = "#DlgCom";
inline constexpr std::string_view kHelpStep = "#Step";
inline constexpr std::string_view kHelpCalendars = "#Calendars";
inline constexpr std::string_view kHelpWallpaper = "#Wallpaper";
inline constexpr std::string_view kHelpSettings = "#Settings";
inline constexpr std::string_view kHelpPlanets = "#Planets";
inline constexpr std::string_view kHelpAspects = "#Aspects";
inline constexpr std::string_view kHelpAspectTable = "#AspTable";
inline constexpr std::string_view kHelpRulers = "#Rulers";
inline constexpr std::string_view kHelpView = "#View";
inline constexpr std::string_view kHelpPositions = "#Positions";

// The topic of the picture a display mode shows (F1 in the main window).
std::string_view HelpTopicOfMode(DisplayMode mode);
// The topic of one settings page.
std::string_view HelpTopicOfPage(SettingsPage page);
// All of the above, each once.
std::span<const std::string_view> HelpTopics();

}  // namespace kelvara::app
