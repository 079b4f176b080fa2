#include "app/session.h"

#include "app/command_menu.h"
#include "app/messages.h"
#include "app/step_shift.h"
#include "interpretation/tradition_flags.h"
#include "places/name_search.h"
#include "platform/file_io.h"
#include "workspace/chart_rules.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
namespace ws = workspace;

constexpr std::string_view kSystemFontsFolder = "Windows\\Fonts\\";
constexpr std::string_view kStorageCardFolder = "Storage Card\\";

void DeleteScratchFile() {
  std::error_code ignored;
  fs::remove(fs::path(kScratchFile), ignored);
}

void CopyFontIfMissing(std::string_view font, const platform::DeviceFolders& folders) {
  const fs::path target = platform::MapDevicePath(std::string(kSystemFontsFolder) + std::string(font), folders);
  const fs::path source = platform::MapDevicePath(std::string(kStorageCardFolder) + std::string(font), folders);
  std::error_code error;
  if (fs::exists(target, error) || !fs::exists(source, error)) return;
  const auto bytes = platform::ReadFileBytes(source, error);
  if (!bytes) return;
  fs::create_directories(target.parent_path(), error);
  platform::WriteFileAtomically(target, *bytes, error);
}

void LoadSettingsStep(const platform::Profile& profile, Session& session) {
  session.settings = LoadSettings(profile);
  NormaliseTraditions(session.settings);
  session.displayMode = ChooseStartDisplayMode(session.settings);
  session.charts.doubleChart = session.settings.doubleChart;
  session.charts.nowPlace = session.settings.lastNowPlace;
  session.charts.main.houseSystem = session.settings.houseSystem;
}

void LoadCityBaseStep(Session& session, std::vector<std::string>& messages) {
  const auto load = places::LoadCityBase(session.dataPrefix + places::kCityBaseFileName, session.cityBase);
  if (!load.message.empty()) messages.push_back(load.message);
}

// A chart put at a place of the base takes its coordinates too, not only its name.
void PutChartAtPlace(ws::ChartRecord& chart, const std::string& place, const places::CityBase& base) {
  chart.placeName = place;
  if (const places::CityRecord* city = CityNamed(base, place)) {
    chart.latitudeDeg = city->Latitude();
    chart.longitudeDeg = city->Longitude();
  }
}

// A "now" chart at exit comes back as a "now" chart at the "now" place.
void RestoreNowChart(Session& session) {
  Settings& settings = session.settings;
  if (!settings.now) return;
  if (settings.doubleChart && settings.secondDocument.empty()) {
    session.charts.second.name = ws::kNameNow;
    PutChartAtPlace(session.charts.second, settings.lastNowPlace, session.cityBase);
    return;
  }
  settings.mainDocument.clear();
  PutChartAtPlace(session.charts.main, settings.lastNowPlace, session.cityBase);
}

// A first start knows no "now" place: the city of the system's zone stands in.
void ChooseFirstNowPlace(Session& session, const std::string& systemZone) {
  if (!session.charts.nowPlace.empty() || systemZone.empty()) return;
  if (const auto place = places::ZoneCityName(session.cityBase, systemZone)) {
    session.charts.nowPlace = *place;
    session.settings.lastNowPlace = *place;
    PutChartAtPlace(session.charts.main, *place, session.cityBase);
  }
}

void AppendMessages(std::vector<std::string>&& more, std::vector<std::string>& messages) {
  for (std::string& message : more) messages.push_back(std::move(message));
}

void LoadTablesStep(Session& session, std::vector<std::string>& messages) {
  AppendMessages(LoadAspectTables(session.dataPrefix, session.aspectTables), messages);
  AppendMessages(LoadObjectSettings(session.dataPrefix, session.objectSettingsMain, session.objectSettingsSecond),
                 messages);
  ApplyTraditionFlags(session);
  if (std::string message = ReloadDignityTables(session); !message.empty()) messages.push_back(std::move(message));
}

bool ChainsShowSecond(const Session& session) { return SecondChartShown(session) && session.charts.secondAlone; }

bool IsNowChart(const ws::ChartRecord& chart) { return chart.name.empty() || ws::IsNowName(chart.name); }

// One of the two charts with what the session keeps for its document.
struct DocumentSlot {
  ws::ChartRecord& chart;
  FurtherRings& rings;
  std::string& pathSetting;
  interpretation::ChainLayout& chainLayout;
};

DocumentSlot MainSlot(Session& session) {
  return {session.charts.main, session.mainRings, session.settings.mainDocument, session.mainChainLayout};
}

DocumentSlot SecondSlot(Session& session) {
  return {session.charts.second, session.secondRings, session.settings.secondDocument, session.secondChainLayout};
}

std::optional<std::string> OpenInto(Session& session, const fs::path& path, const DocumentSlot& slot,
                                    const ChartServices& services) {
  const DocumentRead read = ReadChartDocument(path);
  if (!read.document) return read.message;
  if (auto failure = LoadDocumentIntoChart(*read.document, path, slot.chart, slot.rings, services)) {
    return failure;
  }
  slot.pathSetting = path.string();
  slot.chainLayout.Clear();
  session.recentFiles.Add(path.string());
  return std::nullopt;
}

}  // namespace

Tradition CurrentTradition(const Settings& settings) {
  return settings.avesta ? Tradition::kAvestan : Tradition::kWestern;
}

ws::ChartRecord& ChainsChart(Session& session) {
  return ChainsShowSecond(session) ? session.charts.second : session.charts.main;
}

interpretation::ChainLayout& ChainsLayout(Session& session) {
  return ChainsShowSecond(session) ? session.secondChainLayout : session.mainChainLayout;
}

ObjectSettings& ActiveObjectSettings(Session& session, int chart) {
  ChartObjectSettings& sets = chart == kSecondChart ? session.objectSettingsSecond : session.objectSettingsMain;
  return sets.Of(CurrentTradition(session.settings));
}

const ObjectSettings& ActiveObjectSettings(const Session& session, int chart) {
  return ActiveObjectSettings(const_cast<Session&>(session), chart);
}

void ApplyTraditionFlags(Session& session) {
  const ws::Tradition tradition = CurrentTradition(session.settings);
  interpretation::ApplyTraditionFlags(session.charts.main.objects, tradition);
  interpretation::ApplyTraditionFlags(session.charts.second.objects, tradition);
  ApplyObjectSettingsToCharts(session);
}

void AdoptEditedDignityTables(Session& session, const DignityTables& tables) {
  session.dignityTables = tables;
  const bool stored = LoadDignityTables(session.dataPrefix, CurrentTradition(session.settings)).tables == tables;
  session.unsavedDignityTables = stored ? std::nullopt : std::optional(tables);
}

std::string ReloadDignityTables(Session& session) {
  if (session.unsavedDignityTables) {
    session.dignityTables = *session.unsavedDignityTables;
    return {};
  }
  DignityLoad load = LoadDignityTables(session.dataPrefix, CurrentTradition(session.settings));
  session.dignityTables = load.tables;
  if (load.message.empty() || session.dignityFileReported) return {};
  session.dignityFileReported = true;
  return load.message;
}

void ApplyObjectSettingsToCharts(Session& session) {
  ApplyObjectSettings(ActiveObjectSettings(session, kFirstChart), session.charts.main.objects);
  ApplyObjectSettings(ActiveObjectSettings(session, kSecondChart), session.charts.second.objects);
}

void CopyMissingFonts(const platform::DeviceFolders& folders) {
  for (std::string_view font : kFontFiles) CopyFontIfMissing(font, folders);
}

std::string ChartNameFromTitle(std::string_view title) {
  return title == ws::kNameUnknown ? std::string() : std::string(title);
}

const places::CityRecord* CityNamed(const places::CityBase& base, std::string_view name) {
  for (const places::CityRecord& city : base.cities) {
    if (city.HasDisplayName(name)) return &city;
  }
  return nullptr;
}

std::optional<std::string> StoreStartMessage(const platform::Registry& registry) {
  if (!registry.IsOpen()) return kStoreUnavailable + registry.OpenError();
  if (!registry.MovedAside().empty()) {
    const std::string aside = kStoreMovedAside1 + registry.MovedAside().string();
    if (registry.SalvagedValues() == 0) return aside + kStoreMovedAside2;
    return aside + kStoreSalvaged + std::to_string(registry.SalvagedValues()) + ".";
  }
  if (registry.ReadOnly()) return kStoreReadOnly + registry.File().string();
  return std::nullopt;
}

StartUpResult StartUp(const StartUpEnvironment& environment, Session& session) {
  StartUpResult result;
  DeleteScratchFile();
  if (environment.claimSingleInstance && !environment.claimSingleInstance()) {
    result.outcome = StartUpOutcome::kAlreadyRunning;
    return result;
  }
  session.recentFiles.Load(*environment.profile);
  CopyMissingFonts(environment.deviceFolders);
  session.dataPrefix = environment.dataPrefix;
  LoadSettingsStep(*environment.profile, session);
  session.charts.main.name = ChartNameFromTitle(ws::kNameUnknown);
  session.helpFile = kHelpFile;
  LoadCityBaseStep(session, result.messages);
  RestoreNowChart(session);
  ChooseFirstNowPlace(session, environment.systemZone);
  LoadTablesStep(session, result.messages);
  session.textFolder = session.dataPrefix + std::string(kTextFolder);
  if (session.settings.wallpaperShown) {
    if (auto failure = LoadWallpaper(session)) result.messages.push_back(std::move(*failure));
  }
  return result;
}

bool WallpaperDrawn(const Session& session) { return session.settings.wallpaperShown && session.wallpaper; }

std::optional<std::string> LoadWallpaper(Session& session) {
  auto read = ReadWallpaper(session.settings.wallpaperFile);
  if (auto* failure = std::get_if<std::string>(&read)) return std::move(*failure);
  session.wallpaper = std::move(std::get<Wallpaper>(read));
  return std::nullopt;
}

bool ShutDown(platform::Profile& profile, Session& session) {
  DeleteScratchFile();
  const ws::WorkspaceState& charts = session.charts;
  const ws::ChartRecord& shown = charts.doubleChart ? charts.second : charts.main;
  session.settings.now = IsNowChart(shown);
  session.settings.doubleChart = charts.doubleChart;
  session.settings.lastNowPlace = charts.nowPlace;
  session.settings.houseSystem = charts.main.houseSystem;
  const bool settingsWritten = SaveSettings(profile, session.settings);
  return session.recentFiles.Save(profile) && settingsWritten;
}

ChartServices SessionChartServices(const Session& session, const ws::ChartEngine& engine,
                                   const platform::Clock* clock, const ws::TimeZoneSource* zones,
                                   const places::RenameUi* renameUi) {
  const auto compute = [&session, &engine, clock, zones](ws::ChartRecord& chart) {
    const ws::ComputeContext context{engine, &session.charts.main, clock, zones, session.charts.nowPlace};
    return ws::ComputeChart(chart, context) != ws::ComputeResult::kNotComputable;
  };
  return {compute, &session.cityBase, renameUi};
}

std::optional<std::string> OpenDocument(Session& session, const fs::path& path, const ChartServices& services) {
  if (const auto refusal = ws::OpenRefusal(session.charts)) return std::string(*refusal);
  const bool intoSecond = session.charts.doubleChart && !session.charts.main.name.empty();
  return OpenInto(session, path, intoSecond ? SecondSlot(session) : MainSlot(session), services);
}

std::optional<std::string> SaveDocument(Session& session, const fs::path& path) {
  if (const auto refusal = ws::SaveRefusal(session.charts)) return std::string(*refusal);
  ws::ChartRecord& main = session.charts.main;
  if (auto failure = WriteChartDocument(path, DocumentOf(main, session.mainRings))) return failure;
  main.filePath = path.string();
  session.settings.mainDocument = path.string();
  session.recentFiles.Add(path.string());
  return std::nullopt;
}

std::vector<std::string> ReopenLastDocuments(Session& session, const ChartServices& services) {
  std::vector<std::string> messages;
  const auto reopen = [&](const DocumentSlot& slot) {
    if (slot.pathSetting.empty()) return;
    if (auto failure = OpenInto(session, fs::path(slot.pathSetting), slot, services)) {
      messages.push_back(std::move(*failure));
      slot.pathSetting.clear();  // asked once; the recent-file list still has it
    }
  };
  reopen(MainSlot(session));
  if (session.charts.doubleChart) reopen(SecondSlot(session));
  return messages;
}

}  // namespace kelvara::app
