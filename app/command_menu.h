// The main window's commands and the menus that offer them, as plain trees: the Qt
// menus, tool bar and shortcuts are rebuilt from these after every command, every
// computation and every document opened.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"

namespace kelvara::app {

// The chains' and traditions' numbers are the program's old command numbers; the
// others only have to differ.
enum class CommandId : int {
  kNone = 0,
  // "Файл"
  kNewData = 100,
  kOpenDocument,
  kSaveDocument,
  kSaveDocumentAs,
  kRecentFile,  // the entry's argument is the index in the recent-file list
  kSavePicture,
  kExit,
  // "Формат времени"
  kTime24Hour = 200,
  kTime12Hour,
  // the display modes
  kHoroscope = 300,
  kEventMap,
  kSoulFormula = 32778,
  kAvestan = 32779,
  kWestern = 32780,
  kChainRulership = 32805,
  kChainExaltation = 32806,
  kChainExile = 32807,
  kChainFall = 32808,
  // "Настроить" of the wheel
  kFromAries = 400,
  kFromAscendant,
  kHousePlacidus,
  kHouseKoch,
  kHouseRegiomontanus,
  kHouseBrahmagupta,
  kHouseMorinus,
  kHouseEqual,
  kHouseEqualMc,
  kHouseEqualSun,
  kPagePlanets,
  kPageAspects,
  kPagePlanets2,
  kPageRulers,
  kStepShift,
  kSortAlongZodiac,
  kSortStaggered,
  kApplyingAspects,
  kSeparatingAspects,
  kPlanetDegrees,
  kTapShowsAspects,
  kIChing,
  // "Настроить" of the event map
  kPagePlanetsNatal = 500,
  kPageMapAspects,
  kPagePlanetsTransit,
  kClockOfToday,
  // the rest of the command menu
  kComposite = 600,
  kMidpoint,
  kInterpretation,
  kPageAspectTable,
  kVoidMoon,
  kAspectCalendar,
  kLunarCalendar,
  kPlanetaryHours,
  kAspectList,
  kChangeSourceData,
  kStopNow,
  kPositionTable,
  kSecondPositionTable,
  // the tool bar
  kDoubleCharts = 700,
  kSecondChartAlone,
  // "Вид"
  kChooseWallpaper = 750,
  kShowWallpaper,
  // "Справка"
  kHelp = 800,
  kAbout,
};

struct MenuEntry {
  enum class Kind { kCommand, kSeparator, kSubmenu };
  Kind kind = Kind::kCommand;
  std::string caption;
  CommandId command = CommandId::kNone;
  int argument = 0;
  bool checkable = false;
  bool checked = false;
  std::vector<MenuEntry> submenu;

  friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

using MenuTree = std::vector<MenuEntry>;

// What the menus ask of parts that are not the view's own.
struct MenuConditions {
  bool interpretationTexts = false;  // the text library lists texts for these charts
  bool nowFrozen = false;            // the "now" charts are stopped ("Останов")
};

// The caption a command is offered under (the first one, for commands with two).
std::string_view CommandCaption(CommandId command);
// The house system a house command sets; kNoHouses for any other command.
int HouseSystemOfCommand(CommandId command);
ChainKind ChainKindOfCommand(CommandId command);

// A "now" chart is on the screen: the main chart running or stopped, or the second
// chart of a double chart.
bool NowChartShown(const Session& session);
// The main chart has houses (the house systems are offered).
bool MainChartHasHouses(const Session& session);
// Midpoint and composite charts are offered: two persons with houses side by side,
// or a merged chart shown (to leave it).
bool MergedChartsOffered(const Session& session);
// The second chart takes part in the picture.
bool SecondChartShown(const Session& session);

// The command menu of the display mode, top to bottom.
MenuTree BuildCommandMenu(const Session& session, const MenuConditions& conditions);
// "Файл" with the ten recent files.
MenuTree BuildFileMenu(const Session& session);
// "Формат времени".
MenuTree BuildTimeFormatMenu(const Session& session);
// "Вид": the wallpaper.
MenuTree BuildViewMenu(const Session& session);
// "Справка": the help page on the display mode's anchor and the About box.
MenuTree BuildHelpMenu();
// The tool bar: "Двойные карты" and the second-chart button, in wheel mode only.
MenuTree BuildToolBar(const Session& session);

// Every command that some tree offers, walking submenus.
std::vector<CommandId> CommandsOf(const MenuTree& tree);

}  // namespace kelvara::app
