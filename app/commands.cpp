#include "app/commands.h"

#include <filesystem>

#include "app/step_shift.h"
#include "workspace/chart_rules.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
namespace fs = std::filesystem;

// The clock stays stopped while a command changes the charts.
class NowPause {
 public:
  explicit NowPause(NowClockControl* clock) : clock_(clock) {
    if (clock_) clock_->Stop();
  }
  ~NowPause() {
    if (clock_) clock_->Resume();
  }
  NowPause(const NowPause&) = delete;
  NowPause& operator=(const NowPause&) = delete;

 private:
  NowClockControl* clock_;
};

constexpr CommandOutcome kNothingChanged{true, false};
constexpr CommandOutcome kChanged{true, true};

void ComputeSecond(CommandContext& context) {
  ws::ComputeContext compute = SessionComputeContext(context);
  ws::ComputeChart(context.session.charts.second, compute);
}

void ReloadDignityTables(CommandContext& context) {
  const std::string message = ReloadDignityTables(context.session);
  if (!message.empty()) context.ui.ShowMessage(message);
}

// A hook left empty says that its part does not work yet.
template <typename... Arguments>
void RunHook(const std::function<void(Arguments...)>& hook, CommandId command, CommandContext& context,
             Arguments... arguments) {
  if (hook) {
    hook(arguments...);
  } else {
    context.ui.ShowMessage(NotYetWorkingText(command));
  }
}

CommandOutcome ShowWheel(CommandContext& context) {
  NowPause pause(context.nowClock);
  SetDisplayMode(context.session.settings, DisplayMode::kWheel);
  context.session.displayMode = DisplayMode::kWheel;
  ComputeShownCharts(context);
  return kChanged;
}

// The main chart's birth data entered anew; a "Сейчас" chart's place becomes the now place.
CommandOutcome ChangeSourceData(CommandContext& context) {
  ws::WorkspaceState& charts = context.session.charts;
  if (const auto question = ws::ChangeSourceDataQuestion(charts)) {
    if (!context.ui.AskYesNo(*question)) return kNothingChanged;
  }
  NowPause pause(context.nowClock);
  ws::ApplyChangeSourceData(charts);
  ws::ChartRecord edited = charts.main;
  if (!context.ui.EditBirthData(edited, false)) return kChanged;
  charts.main = edited;
  ws::FinishChangeSourceData(charts, SessionComputeContext(context));
  context.session.mainChainLayout.Clear();
  context.session.modified = true;
  return kChanged;
}

CommandOutcome ShowEventMap(CommandContext& context) {
  const ws::ChartRecord& main = context.session.charts.main;
  if (main.name.empty() || ws::IsNowName(main.name)) {
    if (!context.ui.AskYesNo(kAskEventMapForNow)) return kNothingChanged;
    return ChangeSourceData(context);
  }
  SetDisplayMode(context.session.settings, DisplayMode::kEventMap);
  context.session.displayMode = DisplayMode::kEventMap;
  if (context.services.buildEventMap) context.services.buildEventMap();
  return kChanged;
}

CommandOutcome ShowChains(ChainKind kind, CommandContext& context) {
  NowPause pause(context.nowClock);
  Session& session = context.session;
  // The main menu's command before any kind was chosen follows rulership.
  session.chainKind = kind != ChainKind::kNone            ? kind
                      : session.chainKind != ChainKind::kNone ? session.chainKind
                                                              : ChainKind::kRulership;
  SetDisplayMode(session.settings, DisplayMode::kChains);
  session.displayMode = DisplayMode::kChains;
  session.mainChainLayout.ResetUnlessKept(session.chainKind);
  session.secondChainLayout.ResetUnlessKept(session.chainKind);
  ReloadDignityTables(context);
  ComputeShownCharts(context);
  return kChanged;
}

CommandOutcome SwitchTradition(bool avestan, CommandContext& context) {
  NowPause pause(context.nowClock);
  context.session.settings.avesta = avestan;
  context.session.settings.west = !avestan;
  ApplyTraditionFlags(context.session);
  ReloadDignityTables(context);
  ComputeShownCharts(context);
  return kChanged;
}

CommandOutcome SetHouseSystem(int system, CommandContext& context) {
  ws::WorkspaceState& charts = context.session.charts;
  if (charts.main.houseSystem == system) return kNothingChanged;
  NowPause pause(context.nowClock);
  charts.main.houseSystem = system;
  if (charts.doubleChart) charts.second.houseSystem = system;
  context.session.settings.houseSystem = system;
  ComputeShownCharts(context);
  return kChanged;
}

CommandOutcome Toggle(bool& flag) {
  flag = !flag;
  return kNothingChanged;
}

void ClearDisplayPlaces(ws::ChartRecord& chart) {
  for (ws::ChartObject& object : chart.objects) {
    object.display.angleDeg = ws::kNoDisplayAngle;
    object.display.radius = ws::kNoDisplayRadius;
  }
}

CommandOutcome SpreadStellium(bool alongZodiac, CommandContext& context) {
  context.session.settings.sortAlongZodiac = alongZodiac;
  ClearDisplayPlaces(context.session.charts.main);
  ClearDisplayPlaces(context.session.charts.second);
  return kChanged;
}

CommandOutcome ToggleIChing(CommandContext& context) {
  const ws::WorkspaceState& charts = context.session.charts;
  const bool secondHasHouses = SecondChartShown(context.session) && charts.second.houseSystem != ws::kNoHouses;
  if (!MainChartHasHouses(context.session) && !secondHasHouses) {
    context.ui.ShowMessage(kIChingNeedsHouses);
    return kNothingChanged;
  }
  return Toggle(context.session.settings.iChing);
}

CommandOutcome MergedChart(CommandId command, CommandContext& context) {
  ws::WorkspaceState& charts = context.session.charts;
  NowPause pause(context.nowClock);
  const ws::ComputeContext compute = SessionComputeContext(context);
  const bool leaving = ws::IsMergedName(charts.main.name);
  std::optional<ws::CompositeOptions> options;
  if (!leaving && command != CommandId::kMidpoint) {
    options = context.ui.EditCompositeOptions();
    if (!options) return kNothingChanged;
  }
  context.session.mainChainLayout.Clear();  // another chart takes the main place
  if (leaving) {
    ws::LeaveMergedChart(charts, compute);
  } else if (options) {
    ws::BuildCompositeChart(charts, *options, context.engine);
  } else {
    ws::BuildMidpointChart(charts, compute);
  }
  return kChanged;
}

bool NowChartRunning(const Session& session) {
  const ws::WorkspaceState& charts = session.charts;
  return ws::IsRunningNowName(charts.main.name) || (charts.doubleChart && charts.second.name == ws::kNameNow);
}

CommandOutcome FixedMomentCalendar(CalendarKind kind, CommandId command, CommandContext& context) {
  if (NowChartRunning(context.session)) {
    context.ui.ShowMessage(kStopNowFirst);
    return kNothingChanged;
  }
  RunHook(context.services.calendar, command, context, kind);
  return kNothingChanged;
}

CommandOutcome Calendar(CalendarKind kind, CommandId command, CommandContext& context) {
  RunHook(context.services.calendar, command, context, kind);
  return kNothingChanged;
}

CommandOutcome SettingsPageCommand(SettingsPage page, CommandId command, CommandContext& context) {
  RunHook(context.services.settingsPage, command, context, page);
  return kNothingChanged;
}

CommandOutcome FreezeNow(CommandContext& context) {
  NowPause pause(context.nowClock);
  ws::ToggleNowFreeze(context.session.charts);
  return kChanged;
}

// The dialog edits a copy, so Cancel leaves every chart as it was.
bool EnterSecondChart(CommandContext& context) {
  ws::WorkspaceState& charts = context.session.charts;
  ws::WorkspaceState trial = charts;
  ws::ChartRecord& chart = ws::PrepareNewData(trial, *context.clock, context.zones);
  if (!context.ui.EditBirthData(chart, true)) return false;
  charts.second = chart;
  charts.second.filePath.clear();
  context.session.secondChainLayout.Clear();
  ComputeSecond(context);
  return true;
}

CommandOutcome ToggleDoubleCharts(CommandContext& context) {
  ws::WorkspaceState& charts = context.session.charts;
  NowPause pause(context.nowClock);
  if (charts.doubleChart) {
    ws::SwitchDoubleChartOff(charts);
    return kChanged;
  }
  if (const auto question = ws::SecondChartQuestion(charts)) {
    if (!context.ui.AskYesNo(*question)) return kNothingChanged;
    ws::AcceptNowAsSecondChart(charts);
    charts.doubleChart = true;
    ComputeSecond(context);
    return kChanged;
  }
  ws::SwitchDoubleChartOn(charts, SessionComputeContext(context));
  if (charts.second.name.empty() && context.clock && !EnterSecondChart(context)) ws::SwitchDoubleChartOff(charts);
  return kChanged;
}

CommandOutcome ToggleSecondAlone(CommandContext& context) {
  NowPause pause(context.nowClock);
  context.session.charts.secondAlone = !context.session.charts.secondAlone;
  ComputeSecond(context);
  return kChanged;
}

CommandOutcome NewData(CommandContext& context) {
  Session& session = context.session;
  ws::WorkspaceState& charts = session.charts;
  const bool intoSecond = charts.doubleChart;
  if (!intoSecond && !OfferToSaveChanges(context)) return kNothingChanged;
  NowPause pause(context.nowClock);
  if (intoSecond) {
    EnterSecondChart(context);
    return kChanged;
  }
  ws::WorkspaceState trial = charts;
  if (ws::IsMergedName(trial.main.name)) ws::RestoreSavedCharts(trial);
  ws::ChartRecord& chart = ws::PrepareNewData(trial, *context.clock, context.zones);
  if (!context.ui.EditBirthData(chart, false)) return kNothingChanged;
  trial.merged.reset();
  chart.filePath.clear();
  charts = trial;
  session.settings.mainDocument.clear();
  ws::FinishChangeSourceData(charts, SessionComputeContext(context));
  session.mainChainLayout.Clear();
  session.modified = true;
  return kChanged;
}

bool SaveTo(const std::string& path, CommandContext& context) {
  if (auto failure = SaveDocument(context.session, path)) {
    context.ui.ShowMessage(*failure);
    return false;
  }
  context.session.modified = false;
  return true;
}

bool SaveAs(CommandContext& context) {
  const ws::ChartRecord& main = context.session.charts.main;
  const std::string suggested = main.filePath.empty() ? main.name + std::string(kDocumentExtension) : main.filePath;
  const auto path = context.ui.ChooseDocumentToSave(suggested);
  return path && SaveTo(*path, context);
}

// The saving rules' refusal, shown; false when the main chart may be saved.
bool SaveRefused(CommandContext& context) {
  const auto refusal = ws::SaveRefusal(context.session.charts);
  if (refusal) context.ui.ShowMessage(*refusal);
  return refusal.has_value();
}

bool Save(CommandContext& context) {
  if (SaveRefused(context)) return false;
  const std::string& path = context.session.charts.main.filePath;
  return path.empty() ? SaveAs(context) : SaveTo(path, context);
}

CommandOutcome Open(const std::string& path, CommandContext& context) {
  Session& session = context.session;
  if (const auto refusal = ws::OpenRefusal(session.charts)) {
    context.ui.ShowMessage(*refusal);
    return kNothingChanged;
  }
  const bool intoMain = !(session.charts.doubleChart && !session.charts.main.name.empty());
  if (intoMain && !OfferToSaveChanges(context)) return kNothingChanged;
  NowPause pause(context.nowClock);
  const ChartServices services = SessionChartServices(session, context.engine, context.clock, context.zones, nullptr);
  if (auto failure = OpenDocument(session, path, services)) {
    context.ui.ShowMessage(*failure);
    return kNothingChanged;
  }
  if (intoMain) session.modified = false;
  return kChanged;
}

CommandOutcome OpenChosen(CommandContext& context) {
  if (const auto refusal = ws::OpenRefusal(context.session.charts)) {
    context.ui.ShowMessage(*refusal);
    return kNothingChanged;
  }
  const auto path = context.ui.ChooseDocumentToOpen();
  return path ? Open(*path, context) : kNothingChanged;
}

CommandOutcome OpenRecent(int index, CommandContext& context) {
  platform::RecentFileList& recent = context.session.recentFiles;
  if (index < 0 || static_cast<std::size_t>(index) >= recent.Files().size()) return kNothingChanged;
  const std::string path = recent.Files()[index];
  std::error_code error;
  if (!fs::exists(path, error)) {
    recent.Remove(index);
    context.ui.ShowMessage(std::string(kRecentFileGone) + path);
    return kNothingChanged;
  }
  return Open(path, context);
}

// A file that cannot be read changes nothing: the old wallpaper and its keys stay.
CommandOutcome ChooseWallpaper(CommandContext& context) {
  const auto path = context.ui.ChooseWallpaperFile();
  if (!path) return kNothingChanged;
  auto read = ReadWallpaper(*path);
  if (const auto* failure = std::get_if<std::string>(&read)) {
    context.ui.ShowMessage(*failure);
    return kNothingChanged;
  }
  Settings& settings = context.session.settings;
  context.session.wallpaper = std::move(std::get<Wallpaper>(read));
  settings.wallpaperFile = *path;
  settings.wallpaperShown = true;
  return kNothingChanged;
}

// Shown for the first time in a run, the file of the settings is read; without one the
// user picks it.
CommandOutcome ToggleWallpaper(CommandContext& context) {
  Session& session = context.session;
  if (WallpaperDrawn(session)) {
    session.settings.wallpaperShown = false;
    return kNothingChanged;
  }
  if (session.settings.wallpaperFile.empty()) return ChooseWallpaper(context);
  if (!session.wallpaper) {
    if (const auto failure = LoadWallpaper(session)) {
      context.ui.ShowMessage(*failure);
      return kNothingChanged;
    }
  }
  session.settings.wallpaperShown = true;
  return kNothingChanged;
}

CommandOutcome SetTimeFormat(bool twelveHour, CommandContext& context) {
  context.session.settings.twelveHourClock = twelveHour;
  return kNothingChanged;
}

CommandOutcome DispatchSettings(CommandId command, CommandContext& context) {
  Settings& settings = context.session.settings;
  switch (command) {
    case CommandId::kFromAries: settings.fromAries = true; return kNothingChanged;
    case CommandId::kFromAscendant: settings.fromAries = false; return kNothingChanged;
    case CommandId::kStepShift: return Toggle(settings.stepShift);
    case CommandId::kApplyingAspects: return Toggle(settings.applyingShown);
    case CommandId::kSeparatingAspects: return Toggle(settings.separatingShown);
    case CommandId::kPlanetDegrees: return Toggle(settings.degreesShown);
    case CommandId::kTapShowsAspects: return Toggle(settings.tapShowsAspects);
    case CommandId::kClockOfToday: return Toggle(settings.clock);
    case CommandId::kIChing: return ToggleIChing(context);
    case CommandId::kSortAlongZodiac: return SpreadStellium(true, context);
    case CommandId::kSortStaggered: return SpreadStellium(false, context);
    case CommandId::kPagePlanets: return SettingsPageCommand(SettingsPage::kPlanets, command, context);
    case CommandId::kPageAspects: return SettingsPageCommand(SettingsPage::kAspects, command, context);
    case CommandId::kPagePlanets2: return SettingsPageCommand(SettingsPage::kPlanets2, command, context);
    case CommandId::kPageRulers: return SettingsPageCommand(SettingsPage::kRulers, command, context);
    case CommandId::kPageAspectTable: return SettingsPageCommand(SettingsPage::kAspectTable, command, context);
    case CommandId::kPagePlanetsNatal: return SettingsPageCommand(SettingsPage::kMapPlanetsNatal, command, context);
    case CommandId::kPageMapAspects: return SettingsPageCommand(SettingsPage::kMapAspects, command, context);
    case CommandId::kPagePlanetsTransit:
      return SettingsPageCommand(SettingsPage::kMapPlanetsTransit, command, context);
    default: return {};
  }
}

CommandOutcome DispatchViews(CommandId command, CommandContext& context) {
  switch (command) {
    case CommandId::kHoroscope: return ShowWheel(context);
    case CommandId::kEventMap: return ShowEventMap(context);
    case CommandId::kSoulFormula: return ShowChains(ChainKind::kNone, context);
    case CommandId::kChainRulership:
    case CommandId::kChainExaltation:
    case CommandId::kChainExile:
    case CommandId::kChainFall: return ShowChains(ChainKindOfCommand(command), context);
    case CommandId::kAvestan: return SwitchTradition(true, context);
    case CommandId::kWestern: return SwitchTradition(false, context);
    case CommandId::kComposite:
    case CommandId::kMidpoint: return MergedChart(command, context);
    case CommandId::kInterpretation: RunHook(context.services.interpretation, command, context); return kNothingChanged;
    case CommandId::kAspectList: RunHook(context.services.aspectList, command, context); return kNothingChanged;
    case CommandId::kPositionTable:
      RunHook(context.services.positionTable, command, context, kFirstChart);
      return kNothingChanged;
    case CommandId::kSecondPositionTable:
      RunHook(context.services.positionTable, command, context, kSecondChart);
      return kNothingChanged;
    case CommandId::kVoidMoon: return FixedMomentCalendar(CalendarKind::kVoidMoon, command, context);
    case CommandId::kAspectCalendar: return FixedMomentCalendar(CalendarKind::kAspects, command, context);
    case CommandId::kLunarCalendar: return Calendar(CalendarKind::kLunar, command, context);
    case CommandId::kPlanetaryHours: return Calendar(CalendarKind::kPlanetaryHours, command, context);
    case CommandId::kChangeSourceData: return ChangeSourceData(context);
    case CommandId::kStopNow: return FreezeNow(context);
    case CommandId::kDoubleCharts: return ToggleDoubleCharts(context);
    case CommandId::kSecondChartAlone: return ToggleSecondAlone(context);
    default: return {};
  }
}

CommandOutcome DispatchFile(CommandId command, int argument, CommandContext& context) {
  switch (command) {
    case CommandId::kNewData: return NewData(context);
    case CommandId::kOpenDocument: return OpenChosen(context);
    case CommandId::kRecentFile: return OpenRecent(argument, context);
    case CommandId::kSaveDocument: Save(context); return kNothingChanged;
    case CommandId::kSaveDocumentAs:
      if (!SaveRefused(context)) SaveAs(context);
      return kNothingChanged;
    case CommandId::kSavePicture: RunHook(context.services.savePicture, command, context); return kNothingChanged;
    case CommandId::kExit: return {true, false, true};
    case CommandId::kTime24Hour: return SetTimeFormat(false, context);
    case CommandId::kTime12Hour: return SetTimeFormat(true, context);
    case CommandId::kChooseWallpaper: return ChooseWallpaper(context);
    case CommandId::kShowWallpaper: return ToggleWallpaper(context);
    default: return {};
  }
}

CommandOutcome DispatchCommand(CommandId command, int argument, CommandContext& context) {
  if (const CommandOutcome outcome = DispatchFile(command, argument, context); outcome.handled) return outcome;
  if (const int system = HouseSystemOfCommand(command); system != ws::kNoHouses) {
    return SetHouseSystem(system, context);
  }
  if (const CommandOutcome outcome = DispatchViews(command, context); outcome.handled) return outcome;
  return DispatchSettings(command, context);
}

}  // namespace

std::string NotYetWorkingText(CommandId command) { return NotYetWorkingText(CommandCaption(command)); }

std::string NotYetWorkingText(std::string_view what) {
  return "\"" + std::string(what) + "\"" + std::string(kNotYetWorking);
}

std::string SaveChangesQuestion(const Session& session) {
  return std::string(kAskSaveChanges1) + session.charts.main.name + std::string(kAskSaveChanges2);
}

bool MainChartSaveable(const Session& session) {
  const std::string& name = session.charts.main.name;
  return ws::IsPersonName(name) && !ws::SaveRefusal(session.charts);
}

bool OfferToSaveChanges(CommandContext& context) {
  if (!context.session.modified || !MainChartSaveable(context.session)) return true;
  if (!context.ui.AskYesNo(SaveChangesQuestion(context.session))) return true;
  return Save(context);
}

ws::ComputeContext SessionComputeContext(const CommandContext& context) {
  const ws::WorkspaceState& charts = context.session.charts;
  return {context.engine, &charts.main, context.clock, context.zones, charts.nowPlace};
}

void ComputeShownCharts(CommandContext& context) {
  ws::ComputeContext compute = SessionComputeContext(context);
  ws::ComputeChart(context.session.charts.main, compute);
  if (SecondChartShown(context.session)) ComputeSecond(context);
}

CommandOutcome Dispatch(CommandId command, int argument, CommandContext& context) {
  const CommandOutcome outcome = DispatchCommand(command, argument, context);
  // Whatever the command computed or put into the charts shows with the object settings.
  ApplyObjectSettingsToCharts(context.session);
  return outcome;
}

}  // namespace kelvara::app
