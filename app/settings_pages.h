// What the settings dialog edits, away from the session until OK or "Применить": a
// draft of the settings, both aspect tables, both charts' object settings and the
// dignity tables, with the grids of its pages and the saving of what changed.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "interpretation/dignity_edit.h"
#include "platform/editable_grid_model.h"

namespace kelvara::app {

inline constexpr std::string_view kRestoreRulersQuestion = "Восстановить таблицы управителей по умолчанию?";
inline constexpr std::string_view kRulersNote =
    "Одни таблицы «upr.» служат обеим традициям; «По умолчанию» после OK удаляет файл, и каждая "
    "традиция снова берёт свои таблицы. "
    "Enter открывает первый знак ячейки, Shift+Enter — второй.";

struct SettingsDraft {
  Settings settings;
  AspectTables aspectTables;
  ChartObjectSettings objectsMain;
  ChartObjectSettings objectsSecond;
  DignityTables dignityTables;
  Tradition tradition = Tradition::kWestern;  // the session's when the draft was taken
  // Files found damaged at opening: written on OK even when the draft equals the session.
  std::array<bool, 2> aspectFileDamaged{};
  std::array<bool, 2> objectFileDamaged{};
  bool dignityFileDamaged = false;
  // "По умолчанию" on the rulers page: OK removes "upr." while the defaults stand.
  bool dignityFileUnwanted = false;

  ChartObjectSettings& ObjectsOf(int chart);
};

struct DraftOpening {
  SettingsDraft draft;
  std::vector<std::string> messages;  // one per damaged file
};

// The session's values; a damaged "asp", "pl" or "upr." file gives its defaults instead
// and its message.
DraftOpening OpenDraft(const Session& session);

// Whether the dialog has a command's page: "Планеты2" needs a second chart.
bool PageOffered(SettingsPage page, const Session& session);

// A planets page: a row per slot 1-34, the use flags as checks and the colour. The event
// map's pages put the moving and aspected columns first.
class PlanetsPage {
 public:
  PlanetsPage(ObjectSettings& settings, bool eventMapOrder);
  platform::EditableGridModel& Grid() { return grid_; }
  // Reads the grid's cells back into the settings, after every accepted edit.
  void TakeEdits();
  // The grid again from the settings (after the tradition or the draft changed).
  void Show(ObjectSettings& settings);
  static int SlotOfRow(int row);
  // The grid column of a use flag, which differs between the two orders.
  int ColumnOf(bool ObjectSetting::*flag) const;
  int ColourColumn() const;

 private:
  ObjectSettings* settings_;
  std::vector<bool ObjectSetting::*> flagColumns_;
  platform::EditableGridModel grid_;
};

// The rulers page: a row per object 1-16, a column per dignity listing its signs.
class RulersPage {
 public:
  explicit RulersPage(SettingsDraft& draft);
  platform::EditableGridModel& Grid() { return grid_; }
  // The edit a cell opens: the object's first or second sign of that dignity.
  std::optional<interpretation::DignityEdit> OpenCell(int row, int column, int occurrence) const;
  void Apply(const interpretation::DignityEdit& edit);
  void RestoreDefaults();

 private:
  void Show();

  SettingsDraft& draft_;
  platform::EditableGridModel grid_;
};

// A switch of the main menu as the view page shows it: checked means the command
// `whenOn` was the last one chosen.
struct ViewSwitch {
  CommandId whenOn;
  CommandId whenOff;  // the same command for a plain toggle
  bool Settings::*member;
};

const std::vector<ViewSwitch>& ViewSwitches();
std::string_view ViewSwitchCaption(const ViewSwitch& entry);

// The view page: the switches wanted, and the colours and the event map's steps in a grid.
class ViewPage {
 public:
  ViewPage(SettingsDraft& draft, const Settings& current);
  platform::EditableGridModel& Grid() { return grid_; }
  void TakeEdits();
  bool Wanted(std::size_t entry) const { return wanted_[entry]; }
  void SetWanted(std::size_t entry, bool on) { wanted_[entry] = on; }
  // The commands that bring the settings to the switches wanted, in the page's order.
  std::vector<CommandId> CommandsFor(const Settings& current) const;

 private:
  SettingsDraft& draft_;
  std::vector<bool> wanted_;
  platform::EditableGridModel grid_;
};

// The values the view page's grid offers for the event map's steps a day.
inline constexpr std::array<int, 8> kStepsPerDay = {1, 2, 3, 4, 6, 8, 12, 24};

// OK and "Применить": the view switches through their commands, then every file whose
// part changed (or was damaged), then the session takes what was written and the charts
// are computed again. The messages of what could not be written; those parts stay
// only in the draft.
std::vector<std::string> ApplyDraft(SettingsDraft& draft, const std::vector<CommandId>& switches,
                                    CommandContext& context, platform::Profile* profile);

// Our own text when the settings store refuses a value.
inline constexpr std::string_view kSettingsNotWritten = "Не удается записать настройки в хранилище.";

}  // namespace kelvara::app
