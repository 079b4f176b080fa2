#include "app/asp_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/command_menu.h"
#include "app/messages.h"
#include "app/session.h"
#include "app/stored_file.h"
#include "app/wheel_input.h"
#include "workspace/aspect_finder.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
using platform::Color;
using platform::EditCell;
using platform::NumberRange;

// What the aspect-table reader takes back.
constexpr NumberRange kAngleRange{0, 360, 2};
constexpr NumberRange kOrbRange{0, 180, 2};
constexpr NumberRange kWidthRange{0, 20, 0};

constexpr const char* kApplying = "сход.";
constexpr const char* kSeparating = "расх.";
constexpr const char* kDegree = "°";
constexpr const char* kUnusedSlot = "—";
constexpr double kOrbObjectShare = 0.5;
constexpr double kOrbShare = 0.25;

EditCell OrbCell(const OrbArray& orbs) {
  EditCell cell = EditCell::Number(orbs.front(), kOrbRange);
  const bool same = std::all_of(orbs.begin(), orbs.end(), [&](double orb) { return orb == orbs.front(); });
  if (!same) cell.mixed = kOrbsDiffer;
  return cell;
}

void TakeOrbCell(const EditCell& cell, OrbArray& orbs) {
  if (!cell.mixed) orbs.fill(cell.number);
}

std::vector<EditCell> AspectRow(int aspect, const AspectRecord& record) {
  const Color colour = Color::FromColorRef(record.firstColor);
  return {EditCell::Label(std::to_string(aspect + 1)),
          EditCell::Check(record.enabled),
          EditCell::Number(record.angle, kAngleRange),
          OrbCell(record.firstOrbs),
          OrbCell(record.secondOrbs),
          EditCell::Colour(colour),
          EditCell::Number(record.penWidth, kWidthRange),
          EditCell::Pen(static_cast<platform::PenStyle>(record.penStyle), colour, record.penWidth),
          EditCell::Colour(Color::FromColorRef(record.secondColor)),
          EditCell::Text(record.firstText),
          EditCell::Text(record.secondText)};
}

void TakeAspectRow(const platform::EditableGridModel& grid, int row, AspectRecord& record) {
  record.enabled = grid.At(row, kAspectEnabled).checked;
  record.angle = grid.At(row, kAspectAngle).number;
  TakeOrbCell(grid.At(row, kAspectApplyingOrb), record.firstOrbs);
  TakeOrbCell(grid.At(row, kAspectSeparatingOrb), record.secondOrbs);
  record.firstColor = grid.At(row, kAspectColour).color.ToColorRef();
  record.penWidth = std::int32_t(std::lround(grid.At(row, kAspectWidth).number));
  record.penStyle = grid.At(row, kAspectStyle).index;
  record.secondColor = grid.At(row, kAspectSecondColour).color.ToColorRef();
  record.firstText = grid.At(row, kAspectFirstText).text;
  record.secondText = grid.At(row, kAspectSecondText).text;
}

// The objects whose orb an orb slot holds, asked of the finder's own accessor.
std::string OrbSlotObjects(int orbSlot) {
  OrbArray probe{};
  probe[orbSlot] = 1;
  std::string names;
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot) {
    if (ws::OrbOfSlot(probe, slot) == 1) names += (names.empty() ? "" : ", ") + std::string(ws::SlotName(slot));
  }
  return names.empty() ? kUnusedSlot : names;
}

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f%s", value, kDegree);
  return text;
}

// Every cell of a row in the aspect's colour.
platform::GridCell ColouredCell(std::string text, std::optional<double> number, Color colour) {
  return {std::move(text), number, std::nullopt, colour};
}

}  // namespace

int AspectTableInUse(const Session& session) {
  return SecondChartShown(session) && !session.charts.secondAlone ? kTwoChartTable : kSingleChartTable;
}

AspectsPage::AspectsPage(AspectTables& draft, int table)
    : draft_(draft),
      table_(table == kTwoChartTable ? kTwoChartTable : kSingleChartTable),
      aspects_({"№", "Вкл.", "Угол", "Орбис сход.", "Орбис расх.", "Цвет", "Толщина", "Линия", "Цвет 2", "Текст 1",
                "Текст 2"}),
      orbs_({"Объект", "Сходящийся", "Расходящийся"}, {kOrbObjectShare, kOrbShare, kOrbShare}) {
  aspects_.SetEditListener([this] {
    TakeAspectRows();
    Changed();
  });
  orbs_.SetEditListener([this] {
    TakeOrbRows();
    Changed();
  });
  ShowRows();
}

const AspectTable& AspectsPage::Current() const { return table_ == kTwoChartTable ? draft_.between : draft_.single; }

AspectTable& AspectsPage::Shown() { return table_ == kTwoChartTable ? draft_.between : draft_.single; }

void AspectsPage::ShowTable(int table) {
  table_ = table == kTwoChartTable ? kTwoChartTable : kSingleChartTable;
  ShowRows();
}

void AspectsPage::SelectAspect(int aspect) {
  selected_ = std::clamp(aspect, 0, kAspectCount - 1);
  ShowOrbRows();
}

void AspectsPage::ShowRows() {
  std::vector<std::vector<EditCell>> rows;
  for (int aspect = 0; aspect < kAspectCount; ++aspect) rows.push_back(AspectRow(aspect, Current()[aspect]));
  aspects_.SetRows(std::move(rows));
  ShowOrbRows();
}

void AspectsPage::ShowOrbRows() {
  const AspectRecord& record = Current()[selected_];
  std::vector<std::vector<EditCell>> rows;
  for (int slot = 0; slot < kOrbSlotCount; ++slot) {
    rows.push_back({EditCell::Label(OrbSlotObjects(slot)), EditCell::Number(record.firstOrbs[slot], kOrbRange),
                    EditCell::Number(record.secondOrbs[slot], kOrbRange)});
  }
  orbs_.SetRows(std::move(rows));
}

void AspectsPage::TakeAspectRows() {
  for (int aspect = 0; aspect < kAspectCount; ++aspect) TakeAspectRow(aspects_, aspect, Shown()[aspect]);
}

void AspectsPage::TakeOrbRows() {
  AspectRecord& record = Shown()[selected_];
  for (int slot = 0; slot < kOrbSlotCount; ++slot) {
    record.firstOrbs[slot] = orbs_.At(slot, kOrbApplying).number;
    record.secondOrbs[slot] = orbs_.At(slot, kOrbSeparating).number;
  }
}

void AspectsPage::Changed() {
  ShowRows();
  if (edited_) edited_();
}

void AspectsPage::RestoreDefaults() {
  Shown() = table_ == kTwoChartTable ? DefaultTwoChartAspects() : DefaultSingleChartAspects();
  Changed();
}

void AspectsPage::SeparatingLikeApplying() {
  for (AspectRecord& record : Shown()) record.secondOrbs = record.firstOrbs;
  Changed();
}

std::optional<std::string> AspectsPage::ImportFrom(const std::filesystem::path& path) {
  std::string message;
  std::optional<AspectTable> table = LoadStoredFile(path, DecodeAspectTable, message);
  if (!table) return message.empty() ? std::string(kCannotOpenFile) + path.string() : message;
  Shown() = *table;
  Changed();
  return std::nullopt;
}

std::optional<std::string> AspectsPage::ExportTo(const std::filesystem::path& path) const {
  return WriteStoredFile(path, EncodeAspectTable(Current()));
}

std::vector<AspectListRow> AspectListRows(const display::WheelInput& wheel) {
  const ws::AspectFinderInput finder = display::WheelAspectFinder(wheel);
  std::vector<AspectListRow> rows;
  for (const ws::FoundAspect& found : ws::FindAspects(finder)) {
    const ws::ChartObject& inner = (*finder.inner)[found.innerSlot];
    const ws::ChartObject& outer = (*finder.outer)[found.outerSlot];
    std::string innerName = ws::ObjectDisplayName(*finder.inner, found.innerSlot);
    std::string outerName = ws::ObjectDisplayName(*finder.outer, found.outerSlot);
    if (finder.twoCharts) std::swap(innerName, outerName);  // the outer chart's object first, as the wheel
    rows.push_back({std::move(innerName), std::move(outerName), found.angleDeg,
                    ws::AngularSeparationDeg(inner.longitude, outer.longitude), found.distanceDeg, found.orbDeg,
                    found.applying, display::WheelAspectEntry(finder, found).text,
                    Color::FromColorRef((*finder.table)[found.aspect].firstColor)});
  }
  return rows;
}

std::vector<AspectListRow> ShownAspectRows(Session& session, const AspectTables& draft) {
  return AspectListRows(
      WheelInputOf(session.charts, draft, WheelOptionsOf(session.settings, 0), SecondChartShown(session)));
}

AspectListTable::AspectListTable()
    : GridTable({"Объект 1", "Аспект", "Объект 2", "Расстояние", "От точного", "Орбис", "Фаза", "Описание"}) {}

void AspectListTable::Show(const std::vector<AspectListRow>& rows) {
  std::vector<platform::GridRow> shown;
  for (const AspectListRow& row : rows) {
    const Color c = row.colour;
    platform::GridRow cells{{ColouredCell(row.firstObject, std::nullopt, c),
                             ColouredCell(ws::AspectAngleText(row.angleDeg) + kDegree, row.angleDeg, c),
                             ColouredCell(row.secondObject, std::nullopt, c),
                             ColouredCell(Degrees(row.separationDeg), row.separationDeg, c),
                             ColouredCell(Degrees(row.distanceDeg), row.distanceDeg, c),
                             ColouredCell(Degrees(row.orbDeg), row.orbDeg, c),
                             ColouredCell(row.applying ? kApplying : kSeparating, std::nullopt, c),
                             ColouredCell(row.description, std::nullopt, c)},
                            false};
    shown.push_back(std::move(cells));
  }
  SetRows(std::move(shown));
}

}  // namespace kelvara::app
