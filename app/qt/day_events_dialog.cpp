#include "app/qt/day_events_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "app/stored_file.h"

namespace kelvara::app {
namespace {

constexpr int kDialogHeight = 420;
constexpr int kFrameWidth = 40;  // pixels beside the table for the frame and scroll bar
constexpr const char* kNoEvents = "В этот день аспектов нет.";

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(ToQt(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

AspectListDialog::AspectListDialog(const std::string& caption, std::vector<eventmap::AspectListRow> rows,
                                   QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)) {
  setWindowTitle(ToQt(caption));
  table_ = new QTableWidget(static_cast<int>(rows_.size()), 7, this);
  table_->setHorizontalHeaderLabels({ToQt("Вид"), ToQt("Транзит"), ToQt("Аспект"), ToQt("К точке"), ToQt("Вход"),
                                     ToQt("Точный"), ToQt("Выход")});
  table_->verticalHeader()->hide();
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const eventmap::AspectListRow& row = rows_[r];
    int column = 0;
    for (const std::string* text : {&row.kind, &row.moving, &row.aspect, &row.base, &row.entry, &row.exact, &row.exit}) {
      table_->setItem(r, column++, Cell(*text));
    }
  }
  table_->resizeColumnsToContents();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(ToQt("Копировать"), QDialogButtonBox::ActionRole);
  QPushButton* save = buttons->addButton(ToQt("Сохранить..."), QDialogButtonBox::ActionRole);
  copy->setObjectName("copyCsv");
  save->setObjectName("saveCsv");
  connect(copy, &QPushButton::clicked, this, &AspectListDialog::CopyCsv);
  connect(save, &QPushButton::clicked, this, &AspectListDialog::SaveCsv);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  if (rows_.empty()) layout->addWidget(new QLabel(ToQt(kNoEvents), this));
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(table_->horizontalHeader()->length() + kFrameWidth, kDialogHeight);
}

void AspectListDialog::CopyCsv() { QApplication::clipboard()->setText(ToQt(Csv())); }

void AspectListDialog::SaveCsv() {
  const QString file = QFileDialog::getSaveFileName(this, ToQt("Сохранить список аспектов"), "aspects.csv", "CSV (*.csv)");
  if (file.isEmpty()) return;
  if (auto failure = WriteStoredFile(file.toStdString(), Csv())) ShowMessage(this, *failure);
}

}  // namespace kelvara::app
