#include "app/help_topics.h"

#include <array>

namespace kelvara::app {
namespace {

constexpr std::array kAllTopics{kHelpHoroscope, kHelpEventMap, kHelpChains,  kHelpBirthData,   kHelpStep,
                                kHelpCalendars, kHelpWallpaper, kHelpSettings, kHelpPlanets,    kHelpAspects,
                                kHelpAspectTable, kHelpRulers,  kHelpView,     kHelpPositions};

}  // namespace

std::string_view HelpTopicOfMode(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::kEventMap: return kHelpEventMap;
    case DisplayMode::kChains: return kHelpChains;
    case DisplayMode::kWheel: break;
  }
  return kHelpHoroscope;
}

std::string_view HelpTopicOfPage(SettingsPage page) {
  switch (page) {
    case SettingsPage::kAspects:
    case SettingsPage::kMapAspects: return kHelpAspects;
    case SettingsPage::kAspectTable: return kHelpAspectTable;
    case SettingsPage::kRulers: return kHelpRulers;
    case SettingsPage::kPlanets:
    case SettingsPage::kPlanets2:
    case SettingsPage::kMapPlanetsNatal:
    case SettingsPage::kMapPlanetsTransit: break;
  }
  return kHelpPlanets;
}

std::span<const std::string_view> HelpTopics() { return kAllTopics; }

}  // namespace kelvara::app
