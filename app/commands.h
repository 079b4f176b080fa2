// What every command of the main window does. The window hands each menu, tool-bar
// and shortcut command to Dispatch, which asks its questions and opens its dialogs
// through ViewUi, changes the charts and the display state, and says what to redraw.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_menu.h"
#include "app/session.h"
#include "workspace/merged_chart.h"

namespace kelvara::app {

inline constexpr std::string_view kAskEventMapForNow =
    "Для карт \"Сейчас\" карта событий не строится\nБудете вводить данные рождения?";
inline constexpr std::string_view kIChingNeedsHouses = "+И-Цзин только для гороскопов с Домами!";
inline constexpr std::string_view kStopNowFirst = "Прежде остановите карту двойным кликом по экрану.";
// Our own texts where the handheld had none.
inline constexpr std::string_view kNotYetWorking = " в этой версии программы еще не работает.";
inline constexpr std::string_view kAskSaveChanges1 = "Сохранить изменения в «";
inline constexpr std::string_view kAskSaveChanges2 = "»?";
inline constexpr std::string_view kRecentFileGone = "Файл не найден, он убран из списка: ";

// The questions, messages and dialogs of the commands; the Qt window shows them, the
// core tests answer them.
class ViewUi {
 public:
  virtual ~ViewUi() = default;
  virtual void ShowMessage(std::string_view text) = 0;
  virtual bool AskYesNo(std::string_view text) = 0;
  // The birth-data dialog on a chart; true after OK, with the chart changed.
  virtual bool EditBirthData(workspace::ChartRecord& chart, bool secondChart) = 0;
  // The composite options; none after Cancel.
  virtual std::optional<workspace::CompositeOptions> EditCompositeOptions() = 0;
  // The file dialogs; none after Cancel.
  virtual std::optional<std::string> ChooseDocumentToOpen() = 0;
  virtual std::optional<std::string> ChooseDocumentToSave(const std::string& suggestedName) = 0;
  virtual std::optional<std::string> ChooseWallpaperFile() = 0;
};

// The settings dialog's pages the commands open.
enum class SettingsPage {
  kPlanets, kAspects, kPlanets2, kAspectTable, kRulers, kMapPlanetsNatal, kMapAspects, kMapPlanetsTransit
};

enum class CalendarKind { kLunar, kPlanetaryHours, kVoidMoon, kAspects };

// The commands whose work belongs to other parts of the program. A hook left empty
// shows that the command does not work yet, in the program's own words.
struct CommandServices {
  std::function<void(CalendarKind)> calendar;
  std::function<void()> interpretation;
  std::function<bool()> interpretationListsTexts;  // "Текст интерпретации" is offered
  std::function<void()> aspectList;
  std::function<void(SettingsPage)> settingsPage;
  std::function<void()> buildEventMap;
  std::function<void()> savePicture;
  // The position table of chart 1 or 2.
  std::function<void(int chart)> positionTable;
};

// Stops the "now" clock before a command changes a chart (waiting for a round in
// progress) and starts it again afterwards where a running "now" chart is shown.
class NowClockControl {
 public:
  virtual ~NowClockControl() = default;
  virtual void Stop() = 0;
  virtual void Resume() = 0;
};

struct CommandContext {
  Session& session;
  const workspace::ChartEngine& engine;
  const platform::Clock* clock = nullptr;
  const workspace::TimeZoneSource* zones = nullptr;
  ViewUi& ui;
  CommandServices services;
  NowClockControl* nowClock = nullptr;
};

struct CommandOutcome {
  bool handled = false;        // the command was known
  bool chartsChanged = false;  // a chart was computed or replaced
  bool closeRequested = false; // "Выход"
};

// The placeholder text of a command whose part is not there yet.
std::string NotYetWorkingText(CommandId command);
// The same for anything else the user asked for by name.
std::string NotYetWorkingText(std::string_view what);
// "Сохранить изменения в «Иван»?"
std::string SaveChangesQuestion(const Session& session);

// The main chart may be saved as it stands (no refusal of the saving rules).
bool MainChartSaveable(const Session& session);

// Runs one command; `argument` is the entry's (the recent file's index). The object
// settings are laid onto both charts afterwards.
CommandOutcome Dispatch(CommandId command, int argument, CommandContext& context);

// Before the charts are replaced or the program ends: a modified, saveable chart asks
// whether to save; false when the user's work would be lost (a failed save).
bool OfferToSaveChanges(CommandContext& context);

// The computation context of the session's charts.
workspace::ComputeContext SessionComputeContext(const CommandContext& context);
// Computes the main chart and, when it takes part, the second chart.
void ComputeShownCharts(CommandContext& context);

}  // namespace kelvara::app
