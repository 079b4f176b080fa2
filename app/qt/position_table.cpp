#include "app/qt/position_table.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "app/position_rows.h"
#include "app/qt/qt_text.h"
#include "platform/glyph.h"

namespace kelvara::app {
namespace {

enum Column { kGlyph, kName, kSign, kPosition, kSpeed, kRetrograde, kColumnCount };
constexpr int kGlyphPointSize = 14;

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

PositionTableDialog::PositionTableDialog(const workspace::ChartRecord& chart, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQt(PositionTableTitle(chart)));
  const std::vector<PositionRow> rows = PositionRows(chart);
  table_ = new QTableWidget(static_cast<int>(rows.size()), kColumnCount, this);
  table_->setHorizontalHeaderLabels({"", ToQt("Объект"), ToQt("Знак"), ToQt("Положение"), ToQt("Скорость"), ""});
  table_->verticalHeader()->hide();
  QFont glyphFont(platform::kGlyphFace);
  glyphFont.setPointSize(kGlyphPointSize);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const PositionRow& row = rows[r];
    QTableWidgetItem* glyph = Cell(ToQt(platform::GlyphText(row.glyphCode)));
    glyph->setFont(glyphFont);
    table_->setItem(r, kGlyph, glyph);
    table_->setItem(r, kName, Cell(ToQt(row.name)));
    table_->setItem(r, kSign, Cell(ToQt(row.sign)));
    table_->setItem(r, kPosition, Cell(ToQt(row.position)));
    table_->setItem(r, kSpeed, Cell(ToQt(row.speed)));
    table_->setItem(r, kRetrograde, Cell(row.retrograde ? "R" : ""));
  }
  table_->resizeColumnsToContents();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  resize(table_->horizontalHeader()->length() + 40, 480);
}

}  // namespace kelvara::app
