#include "app/command_menu.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

namespace kelvara::app {
namespace {

namespace ws = workspace;
using Kind = MenuEntry::Kind;

struct CaptionRow {
  CommandId command;
  std::string_view caption;
};

constexpr std::array kCaptions = {
    CaptionRow{CommandId::kNewData, "Ввести новые данные"},
    CaptionRow{CommandId::kOpenDocument, "Загрузить из файла..."},
    CaptionRow{CommandId::kSaveDocument, "Сохранить"},
    CaptionRow{CommandId::kSaveDocumentAs, "Сохранить как..."},
    CaptionRow{CommandId::kSavePicture, "Сохранить рисунок..."},
    CaptionRow{CommandId::kExit, "Выход"},
    CaptionRow{CommandId::kTime24Hour, "Наш (11, 12, 13,..)"},
    CaptionRow{CommandId::kTime12Hour, "Не наш (11am, 12am, 1pm,..)"},
    CaptionRow{CommandId::kHoroscope, "Гороскоп"},
    CaptionRow{CommandId::kEventMap, "Карта событий"},
    CaptionRow{CommandId::kSoulFormula, "Формула Души"},
    CaptionRow{CommandId::kAvestan, "Авестийская традиция"},
    CaptionRow{CommandId::kWestern, "Западная традиция"},
    CaptionRow{CommandId::kChainRulership, "по управлению"},
    CaptionRow{CommandId::kChainExaltation, "по экзальтации"},
    CaptionRow{CommandId::kChainExile, "по изгнанию"},
    CaptionRow{CommandId::kChainFall, "по падению"},
    CaptionRow{CommandId::kFromAries, "От Овна"},
    CaptionRow{CommandId::kFromAscendant, "От ASC"},
    CaptionRow{CommandId::kHousePlacidus, "Placidus"},
    CaptionRow{CommandId::kHouseKoch, "Koch"},
    CaptionRow{CommandId::kHouseRegiomontanus, "Regiomontanus"},
    CaptionRow{CommandId::kHouseBrahmagupta, "Brahmagupta"},
    CaptionRow{CommandId::kHouseMorinus, "Morinus"},
    CaptionRow{CommandId::kHouseEqual, "Equal"},
    CaptionRow{CommandId::kHouseEqualMc, "Equal(MC)"},
    CaptionRow{CommandId::kHouseEqualSun, "Equal(Sun)"},
    CaptionRow{CommandId::kPagePlanets, "Планеты"},
    CaptionRow{CommandId::kPageAspects, "Аспекты"},
    CaptionRow{CommandId::kPagePlanets2, "Планеты2"},
    CaptionRow{CommandId::kPageRulers, "Сис.управ."},
    CaptionRow{CommandId::kStepShift, "Пошаговый сдвиг"},
    CaptionRow{CommandId::kSortAlongZodiac, "Вдоль Зодиака"},
    CaptionRow{CommandId::kSortStaggered, "В шахматном порядке"},
    CaptionRow{CommandId::kApplyingAspects, "Сход.аспекты"},
    CaptionRow{CommandId::kSeparatingAspects, "Расход.аспекты"},
    CaptionRow{CommandId::kPlanetDegrees, "Планеты с градусами"},
    CaptionRow{CommandId::kTapShowsAspects, "Тык с аспектами"},
    CaptionRow{CommandId::kIChing, "+И-Цзин"},
    CaptionRow{CommandId::kPagePlanetsNatal, "ПланетыNt"},
    CaptionRow{CommandId::kPageMapAspects, "Аспекты"},
    CaptionRow{CommandId::kPagePlanetsTransit, "ПланетыTr"},
    CaptionRow{CommandId::kClockOfToday, "Часы сего дня"},
    CaptionRow{CommandId::kComposite, "Композитная карта"},
    CaptionRow{CommandId::kMidpoint, "Средняя карта"},
    CaptionRow{CommandId::kInterpretation, "Текст интерпретации"},
    CaptionRow{CommandId::kPageAspectTable, "Таблица аспектов"},
    CaptionRow{CommandId::kVoidMoon, "Луна без курса"},
    CaptionRow{CommandId::kAspectCalendar, "Календарь аспектов"},
    CaptionRow{CommandId::kLunarCalendar, "Лунный календарь"},
    CaptionRow{CommandId::kPlanetaryHours, "Планетарные часы"},
    CaptionRow{CommandId::kAspectList, "Список аспектов"},
    CaptionRow{CommandId::kChangeSourceData, "Сменить исх.данные"},
    CaptionRow{CommandId::kStopNow, "Останов."},
    CaptionRow{CommandId::kPositionTable, "Таблица положений"},
    CaptionRow{CommandId::kSecondPositionTable, "Таблица положений 2-й карты"},
    CaptionRow{CommandId::kDoubleCharts, "Двойные карты"},
    CaptionRow{CommandId::kSecondChartAlone, "Вторая карта"},
    CaptionRow{CommandId::kChooseWallpaper, "Обои..."},
    CaptionRow{CommandId::kShowWallpaper, "Показывать обои"},
    CaptionRow{CommandId::kHelp, "Справка"},
    CaptionRow{CommandId::kAbout, "О программе..."},
};

constexpr std::array kHouseCommands = {
    std::pair{CommandId::kHousePlacidus, ws::kHousePlacidus},
    std::pair{CommandId::kHouseKoch, ws::kHouseKoch},
    std::pair{CommandId::kHouseRegiomontanus, ws::kHouseRegiomontanus},
    std::pair{CommandId::kHouseBrahmagupta, ws::kHouseBrahmagupta},
    std::pair{CommandId::kHouseMorinus, ws::kHouseMorinus},
    std::pair{CommandId::kHouseEqual, ws::kHouseEqual},
    std::pair{CommandId::kHouseEqualMc, ws::kHouseEqualMc},
    std::pair{CommandId::kHouseEqualSun, ws::kHouseEqualSun},
};

constexpr std::array kChainCommands = {
    std::pair{CommandId::kChainRulership, ChainKind::kRulership},
    std::pair{CommandId::kChainExaltation, ChainKind::kExaltation},
    std::pair{CommandId::kChainExile, ChainKind::kExile},
    std::pair{CommandId::kChainFall, ChainKind::kFall},
};

constexpr std::string_view kMenuSettings = "Настроить";
constexpr std::string_view kMenuHouseSystems = "Системы Домов";
constexpr std::string_view kMenuAppearance = "Внешний вид";
constexpr std::string_view kMenuChains = "Планетарные цепочки";
constexpr std::string_view kMenuStellium = "Развод стеллиума";
constexpr std::size_t kRecentFilesShown = 10;

MenuEntry Entry(Kind kind, std::string caption, CommandId command = CommandId::kNone, int argument = 0) {
  MenuEntry entry;
  entry.kind = kind;
  entry.caption = std::move(caption);
  entry.command = command;
  entry.argument = argument;
  return entry;
}

MenuEntry Command(CommandId command) { return Entry(Kind::kCommand, std::string(CommandCaption(command)), command); }

MenuEntry Check(CommandId command, bool checked) {
  MenuEntry entry = Command(command);
  entry.checkable = true;
  entry.checked = checked;
  return entry;
}

MenuEntry Separator() { return Entry(Kind::kSeparator, ""); }

MenuEntry Submenu(std::string_view caption, MenuTree entries) {
  MenuEntry entry = Entry(Kind::kSubmenu, std::string(caption));
  entry.submenu = std::move(entries);
  return entry;
}

bool NamedForEvents(const ws::ChartRecord& chart) {
  return !chart.name.empty() && chart.name != ws::kNameNow && chart.name != ws::kNameStopped;
}

bool HasNowName(const ws::ChartRecord& chart) { return chart.name.empty() || ws::IsNowName(chart.name); }

MenuTree HouseSystemMenu(const Session& session) {
  MenuTree entries;
  for (const auto& [command, system] : kHouseCommands) {
    entries.push_back(Check(command, session.charts.main.houseSystem == system));
  }
  return entries;
}

MenuTree AppearanceMenu(const Session& session) {
  const Settings& settings = session.settings;
  return {Command(settings.avesta ? CommandId::kWestern : CommandId::kAvestan),
          Check(CommandId::kFromAries, settings.fromAries),
          Check(CommandId::kFromAscendant, !settings.fromAries)};
}

MenuTree ChainsMenu(const Session& session) {
  const bool shown = session.displayMode == DisplayMode::kChains;
  MenuTree entries;
  for (const auto& [command, kind] : kChainCommands) {
    entries.push_back(Check(command, shown && session.chainKind == kind));
  }
  return entries;
}

MenuTree WheelSettingsMenu(const Session& session) {
  const Settings& settings = session.settings;
  MenuTree entries;
  if (MainChartHasHouses(session)) entries.push_back(Submenu(kMenuHouseSystems, HouseSystemMenu(session)));
  entries.push_back(Submenu(kMenuAppearance, AppearanceMenu(session)));
  entries.push_back(Command(CommandId::kPagePlanets));
  entries.push_back(Command(CommandId::kPageAspects));
  if (SecondChartShown(session)) entries.push_back(Command(CommandId::kPagePlanets2));
  entries.push_back(Command(CommandId::kPageRulers));
  entries.push_back(Check(CommandId::kStepShift, settings.stepShift));
  entries.push_back(Submenu(kMenuStellium, {Check(CommandId::kSortAlongZodiac, settings.sortAlongZodiac),
                                            Check(CommandId::kSortStaggered, !settings.sortAlongZodiac)}));
  entries.push_back(Check(CommandId::kApplyingAspects, settings.applyingShown));
  entries.push_back(Check(CommandId::kSeparatingAspects, settings.separatingShown));
  entries.push_back(Check(CommandId::kPlanetDegrees, settings.degreesShown));
  entries.push_back(Check(CommandId::kTapShowsAspects, settings.tapShowsAspects));
  entries.push_back(Check(CommandId::kIChing, settings.iChing));
  return entries;
}

bool VoidMoonOffered(const Session& session) {
  const std::string& name = session.charts.main.name;
  return name.empty() || ws::IsNowName(name);
}

bool SourceDataOffered(const Session& session) {
  const std::string& name = session.charts.main.name;
  return !name.empty() && name != ws::kNameNow;
}

MenuTree WheelMenu(const Session& session, const MenuConditions& conditions) {
  const ws::ChartRecord& main = session.charts.main;
  MenuTree menu{Submenu(kMenuSettings, WheelSettingsMenu(session)), Separator()};
  if (NamedForEvents(main)) menu.push_back(Command(CommandId::kEventMap));
  menu.push_back(Submenu(kMenuChains, ChainsMenu(session)));
  menu.push_back(Separator());
  if (MergedChartsOffered(session)) {
    if (!ws::IsMidpointName(main.name)) menu.push_back(Check(CommandId::kComposite, ws::IsCompositeName(main.name)));
    if (!ws::IsCompositeName(main.name)) menu.push_back(Check(CommandId::kMidpoint, ws::IsMidpointName(main.name)));
    menu.push_back(Separator());
  }
  if (conditions.interpretationTexts) menu.push_back(Command(CommandId::kInterpretation));
  menu.push_back(Command(CommandId::kPageAspectTable));
  menu.push_back(Command(CommandId::kPositionTable));
  if (SecondChartShown(session)) menu.push_back(Command(CommandId::kSecondPositionTable));
  if (VoidMoonOffered(session)) menu.push_back(Command(CommandId::kVoidMoon));
  menu.push_back(Command(CommandId::kAspectCalendar));
  menu.push_back(Command(CommandId::kLunarCalendar));
  menu.push_back(Command(CommandId::kPlanetaryHours));
  if (SourceDataOffered(session)) menu.push_back(Command(CommandId::kChangeSourceData));
  if (NowChartShown(session)) {
    menu.push_back(Separator());
    menu.push_back(Check(CommandId::kStopNow, conditions.nowFrozen));
  }
  return menu;
}

MenuTree EventMapMenu(const Session& session) {
  MenuTree menu{Submenu(kMenuSettings, {Command(CommandId::kPagePlanetsNatal), Command(CommandId::kPageMapAspects),
                                        Command(CommandId::kPagePlanetsTransit),
                                        Check(CommandId::kClockOfToday, session.settings.clock)}),
                Separator(),
                Command(CommandId::kHoroscope),
                Separator(),
                Command(CommandId::kAspectList),
                Command(CommandId::kLunarCalendar),
                Command(CommandId::kPlanetaryHours)};
  if (SourceDataOffered(session)) {
    menu.push_back(Separator());
    menu.push_back(Command(CommandId::kChangeSourceData));
  }
  return menu;
}

MenuTree ChainsModeMenu(const Session& session) {
  MenuTree menu{Command(CommandId::kEventMap), Command(CommandId::kHoroscope),
                Submenu(kMenuChains, ChainsMenu(session)), Separator(),
                Command(CommandId::kLunarCalendar), Command(CommandId::kPlanetaryHours)};
  if (SourceDataOffered(session)) {
    menu.push_back(Separator());
    menu.push_back(Command(CommandId::kChangeSourceData));
  }
  return menu;
}

void CollectCommands(const MenuTree& tree, std::vector<CommandId>& commands) {
  for (const MenuEntry& entry : tree) {
    if (entry.kind == Kind::kCommand) commands.push_back(entry.command);
    CollectCommands(entry.submenu, commands);
  }
}

}  // namespace

std::string_view CommandCaption(CommandId command) {
  const auto row = std::find_if(kCaptions.begin(), kCaptions.end(),
                                [command](const CaptionRow& r) { return r.command == command; });
  return row == kCaptions.end() ? std::string_view() : row->caption;
}

int HouseSystemOfCommand(CommandId command) {
  for (const auto& [houseCommand, system] : kHouseCommands) {
    if (houseCommand == command) return system;
  }
  return ws::kNoHouses;
}

ChainKind ChainKindOfCommand(CommandId command) {
  for (const auto& [chainCommand, kind] : kChainCommands) {
    if (chainCommand == command) return kind;
  }
  return ChainKind::kNone;
}

bool NowChartShown(const Session& session) {
  const ws::WorkspaceState& charts = session.charts;
  return HasNowName(charts.main) || (charts.doubleChart && ws::IsNowName(charts.second.name));
}

bool MainChartHasHouses(const Session& session) { return session.charts.main.houseSystem != ws::kNoHouses; }

bool SecondChartShown(const Session& session) {
  return session.charts.doubleChart && !session.charts.second.name.empty();
}

bool MergedChartsOffered(const Session& session) {
  const ws::WorkspaceState& charts = session.charts;
  if (ws::IsMergedName(charts.main.name)) return true;
  return charts.doubleChart && ws::IsPersonName(charts.second.name) && !charts.secondAlone &&
         charts.main.houseSystem != ws::kNoHouses && charts.second.houseSystem != ws::kNoHouses;
}

MenuTree BuildCommandMenu(const Session& session, const MenuConditions& conditions) {
  switch (session.displayMode) {
    case DisplayMode::kEventMap: return EventMapMenu(session);
    case DisplayMode::kChains: return ChainsModeMenu(session);
    case DisplayMode::kWheel: break;
  }
  return WheelMenu(session, conditions);
}

MenuTree BuildFileMenu(const Session& session) {
  MenuTree menu{Command(CommandId::kNewData), Command(CommandId::kOpenDocument), Command(CommandId::kSaveDocument),
                Command(CommandId::kSaveDocumentAs)};
  const auto& files = session.recentFiles.Files();
  if (!files.empty()) menu.push_back(Separator());
  for (std::size_t i = 0; i < files.size() && i < kRecentFilesShown; ++i) {
    const std::string shownName = std::filesystem::path(files[i]).filename().string();
    menu.push_back(Entry(Kind::kCommand, std::to_string(i + 1) + " " + shownName, CommandId::kRecentFile,
                         static_cast<int>(i)));
  }
  menu.push_back(Separator());
  menu.push_back(Command(CommandId::kSavePicture));
  menu.push_back(Separator());
  menu.push_back(Command(CommandId::kExit));
  return menu;
}

MenuTree BuildTimeFormatMenu(const Session& session) {
  const bool twelve = session.settings.twelveHourClock;
  return {Check(CommandId::kTime24Hour, !twelve), Check(CommandId::kTime12Hour, twelve)};
}

MenuTree BuildViewMenu(const Session& session) {
  return {Command(CommandId::kChooseWallpaper), Check(CommandId::kShowWallpaper, WallpaperDrawn(session))};
}

MenuTree BuildHelpMenu() { return {Command(CommandId::kHelp), Command(CommandId::kAbout)}; }

MenuTree BuildToolBar(const Session& session) {
  if (session.displayMode != DisplayMode::kWheel) return {};
  const ws::WorkspaceState& charts = session.charts;
  MenuTree bar{Check(CommandId::kDoubleCharts, charts.doubleChart)};
  if (SecondChartShown(session) && !ws::IsMergedName(charts.main.name)) {
    bar.push_back(Check(CommandId::kSecondChartAlone, charts.secondAlone));
  }
  return bar;
}

std::vector<CommandId> CommandsOf(const MenuTree& tree) {
  std::vector<CommandId> commands;
  CollectCommands(tree, commands);
  return commands;
}

}  // namespace kelvara::app
