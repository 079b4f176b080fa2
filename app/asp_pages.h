// The two aspect pages of the settings dialog, free of any toolkit: "Аспекты" edits the
// draft aspect tables in grids, "Таблица аспектов" lists the aspects the draft tables
// give the charts shown, as the wheel finds them.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/asp_tables.h"
#include "display/chart_wheel.h"
#include "platform/editable_grid_model.h"
#include "platform/grid_model.h"

namespace kelvara::app {

struct Session;

inline constexpr int kSingleChartTable = 1;
inline constexpr int kTwoChartTable = 2;

inline constexpr const char* kOrbsDiffer = "разные";
inline constexpr const char* kAspectDefaultsQuestion = "Вернуть этой таблице аспектов значения по умолчанию?";
inline constexpr const char* kSeparatingOrbsNote =
    "Орбисы расходящихся аспектов по умолчанию равны 0, и расходящиеся аспекты не рисуются.";

// The columns of the aspects grid, one per field of the aspect record.
enum AspectColumn {
  kAspectNumber,
  kAspectEnabled,
  kAspectAngle,
  kAspectApplyingOrb,
  kAspectSeparatingOrb,
  kAspectColour,
  kAspectWidth,
  kAspectStyle,
  kAspectSecondColour,
  kAspectFirstText,
  kAspectSecondText,
  kAspectColumnCount
};

// The columns of the orb grid of one aspect: a row per orb slot.
enum OrbColumn { kOrbObject, kOrbApplying, kOrbSeparating, kOrbColumnCount };

// The table the wheel uses for what the session shows: 2 for a double chart, else 1.
int AspectTableInUse(const Session& session);

class AspectsPage {
 public:
  // Edits `draft` in place; starts on `table` (1 or 2).
  AspectsPage(AspectTables& draft, int table);
  AspectsPage(const AspectsPage&) = delete;
  AspectsPage& operator=(const AspectsPage&) = delete;

  int Table() const { return table_; }
  void ShowTable(int table);
  // The aspect whose orbs the orb grid shows, 0-17.
  int SelectedAspect() const { return selected_; }
  void SelectAspect(int aspect);

  platform::EditableGridModel& Aspects() { return aspects_; }
  platform::EditableGridModel& Orbs() { return orbs_; }
  const AspectTable& Current() const;

  // The shown table's defaults (asked first by the page).
  void RestoreDefaults();
  // Every separating orb of the shown table takes its applying one.
  void SeparatingLikeApplying();
  // The shown table from or into a file in the "asp1." form; the message for the user
  // when that failed, the table then unchanged.
  std::optional<std::string> ImportFrom(const std::filesystem::path& path);
  std::optional<std::string> ExportTo(const std::filesystem::path& path) const;

  // Called after every change of the draft.
  void OnEdited(std::function<void()> listener) { edited_ = std::move(listener); }

 private:
  AspectTable& Shown();
  void ShowRows();
  void ShowOrbRows();
  void TakeAspectRows();
  void TakeOrbRows();
  void Changed();

  AspectTables& draft_;
  int table_;
  int selected_ = 0;
  platform::EditableGridModel aspects_;
  platform::EditableGridModel orbs_;
  std::function<void()> edited_;
};

// One aspect of the "Таблица аспектов" page.
struct AspectListRow {
  std::string firstObject;  // the description's first object
  std::string secondObject;
  double angleDeg = 0;       // the aspect's exact angle
  double separationDeg = 0;  // of the two objects, 0-180
  double distanceDeg = 0;    // from exactness
  double orbDeg = 0;         // the orb it fell within
  bool applying = false;
  std::string description;  // as the wheel lists it
  platform::Color colour;   // the aspect's line colour
  friend bool operator==(const AspectListRow&, const AspectListRow&) = default;
};

// The aspects the wheel finds for `wheel`, in its order.
std::vector<AspectListRow> AspectListRows(const display::WheelInput& wheel);
// The same for the charts the session shows, with the draft tables.
std::vector<AspectListRow> ShownAspectRows(Session& session, const AspectTables& draft);

class AspectListTable : public platform::GridTable {
 public:
  AspectListTable();
  void Show(const std::vector<AspectListRow>& rows);
};

}  // namespace kelvara::app
