// What the program keeps for its run, and the start-up and shut-down sequences the
// main window calls. No windows here: the single-instance guard, message boxes and
// the engine come in as functions.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/asp_tables.h"
#include "app/chart_document.h"
#include "app/dignity_tables.h"
#include "app/object_settings.h"
#include "app/settings.h"
#include "app/wallpaper.h"
#include "calendars/calendar_types.h"
#include "interpretation/chain_layout.h"
#include "interpretation/dispositor_chains.h"
#include "places/city_base.h"
#include "platform/paths.h"
#include "platform/clock.h"
#include "platform/profile.h"
#include "workspace/chart_compute.h"
#include "workspace/workspace_state.h"

namespace kelvara::app {

inline constexpr std::string_view kScratchFile = "tmp.tmp";
inline constexpr std::string_view kInstanceName = "Kelvara";
inline constexpr std::string_view kHelpFile = "kelvara.htm";
inline constexpr std::string_view kTextFolder = "TXT_ST/";
inline constexpr std::string_view kFontFiles[] = {"Kelvara.ttf", "Times.ttf", "Arial.ttf"};

using interpretation::ChainKind;

struct Session {
  Settings settings;
  platform::RecentFileList recentFiles;
  workspace::WorkspaceState charts;
  FurtherRings mainRings;  // the wheel's other rings of each chart, kept with its document
  FurtherRings secondRings;
  AspectTables aspectTables;
  ChartObjectSettings objectSettingsMain;    // "pl1."
  ChartObjectSettings objectSettingsSecond;  // "pl2."
  DignityTables dignityTables;
  // An edit of the tables whose saving failed: it stands in for "upr." for the run.
  std::optional<DignityTables> unsavedDignityTables;
  bool dignityFileReported = false;  // a damaged "upr." is reported once a run
  places::CityBase cityBase;
  std::optional<Wallpaper> wallpaper;  // decoded once; drawn while the setting says so
  DisplayMode displayMode = DisplayMode::kWheel;
  ChainKind chainKind = ChainKind::kNone;
  // The chains picture's places, beside each chart; new data starts them afresh.
  interpretation::ChainLayout mainChainLayout;
  interpretation::ChainLayout secondChainLayout;
  bool modified = false;  // the main chart differs from its document
  // The calendars' results and the last request of their dialog, kept for the run.
  calendars::CalendarResults calendarResults;
  std::optional<calendars::CalendarRequest> calendarRequest;
  std::string dataPrefix;  // ends in a separator
  std::string textFolder;
  std::string helpFile;
};

struct StartUpEnvironment {
  platform::Profile* profile = nullptr;
  // False when another instance runs; it has then been asked to raise its window.
  std::function<bool()> claimSingleInstance;
  platform::DeviceFolders deviceFolders;
  std::string dataPrefix;
  std::string systemZone;  // the system's zone name ("Europe/Moscow"); may be empty
};

enum class StartUpOutcome { kStarted, kAlreadyRunning };

struct StartUpResult {
  StartUpOutcome outcome = StartUpOutcome::kStarted;
  std::vector<std::string> messages;  // damaged files, shown once the window is up
};

// What the window says about the settings store once it is up; none for a sound store.
std::optional<std::string> StoreStartMessage(const platform::Registry& registry);

// Steps 1-12 of the start: scratch file, single instance, recent files, fonts,
// settings and display mode, the untitled main chart, the city base, the "now"
// rule, the aspect tables, object settings and dignity tables and the text folder.
StartUpResult StartUp(const StartUpEnvironment& environment, Session& session);

// The wallpaper lies under the picture: it is shown and its file could be read.
bool WallpaperDrawn(const Session& session);
// Reads the wallpaper file of the settings; the message when it gives none (the
// settings stay, so a file back in its place shows again at the next start).
std::optional<std::string> LoadWallpaper(Session& session);

// The city shown under this name in the base; null when there is none.
const places::CityRecord* CityNamed(const places::CityBase& base, std::string_view name);

// Lays each chart's object settings of the current tradition (use flags and colours)
// onto its objects. The chart computation leaves them alone, so this follows the start
// and every command, which may have put other objects into a chart.
void ApplyObjectSettingsToCharts(Session& session);

Tradition CurrentTradition(const Settings& settings);

// The set of chart 1 ("pl1.") or 2 ("pl2.") that the current tradition uses.
ObjectSettings& ActiveObjectSettings(Session& session, int chart);
const ObjectSettings& ActiveObjectSettings(const Session& session, int chart);

// The chart the chains picture shows, and its places: the first chart, or the second
// when it is shown alone.
workspace::ChartRecord& ChainsChart(Session& session);
interpretation::ChainLayout& ChainsLayout(Session& session);

// The tradition's five extra objects shown or hidden in both charts, then the
// tradition's object settings over them, whose defaults agree with the flags, so the
// user's choice of either tradition stands.
void ApplyTraditionFlags(Session& session);

// The tables of the tradition: an unsaved edit, else "upr.", else the defaults. The
// message of a damaged file, once a run; empty otherwise.
std::string ReloadDignityTables(Session& session);

// Tables the user edited and asked to save: the run uses them, and keeps them in place
// of "upr." when the file does not hold them (its saving failed).
void AdoptEditedDignityTables(Session& session, const DignityTables& tables);

// Copies each font missing from the system fonts folder from the storage card;
// a font on neither path is left to the platform's fallback.
void CopyMissingFonts(const platform::DeviceFolders& folders);

// The platform's untitled-document name turns into an empty chart name.
std::string ChartNameFromTitle(std::string_view title);

// Deletes the scratch file, sets "b_Now" exactly when the chart shown is a "now"
// chart, and writes the settings and the recent files; false when the store refused.
bool ShutDown(platform::Profile& profile, Session& session);

// Documents of this session are computed with the main chart as the natal chart and
// the session's "now" place, and looked up in the session's city base.
ChartServices SessionChartServices(const Session& session, const workspace::ChartEngine& engine,
                                   const platform::Clock* clock, const workspace::TimeZoneSource* zones,
                                   const places::RenameUi* renameUi);

// Opens a document into the chart the rules choose (the second chart in double-chart
// mode when the main chart has a name); the message when it was refused or could not
// be read, in which case no chart has changed.
std::optional<std::string> OpenDocument(Session& session, const std::filesystem::path& path,
                                        const ChartServices& services);
// Saves the main chart; the message when it was refused or failed.
std::optional<std::string> SaveDocument(Session& session, const std::filesystem::path& path);

// The documents of the last run, opened again when the main window first shows:
// the main one unless a "now" chart was shown, the second one in double-chart mode.
std::vector<std::string> ReopenLastDocuments(Session& session, const ChartServices& services);

}  // namespace kelvara::app
