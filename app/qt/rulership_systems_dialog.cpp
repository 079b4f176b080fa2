#include "app/qt/rulership_systems_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/help_topics.h"
#include "app/qt/dialog_buttons.h"
#include "app/qt/dignity_dialog.h"
#include "app/qt/help_key.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "app/stored_file.h"

namespace kelvara::app {
namespace {

using interpretation::ChainKind;
using interpretation::kDignityKinds;
using interpretation::kFirstChainObject;
using interpretation::kLastChainObject;
using interpretation::kSignsPerMode;

constexpr const char* kTitle = "Системы управителей";
constexpr const char* kRestoreButton = "По умолчанию";
constexpr const char* kRestoreQuestion = "Восстановить таблицы управителей по умолчанию?";
constexpr const char* kCannotRemoveFile = "Не удается удалить файл ";
constexpr std::array<const char*, kSignsPerMode> kColumnTitles = {"Первый знак", "Второй знак"};
constexpr int kColumnMargin = 16;

struct TablePage {
  const char* title;
  const char* objectName;
};
// In the order of kDignityKinds.
constexpr std::array<TablePage, kDignityKinds.size()> kPages = {{
    {"Управление", "rulership"},
    {"Экзальтация", "exaltation"},
    {"Изгнание", "exile"},
    {"Падение", "fall"},
}};

const char* TraditionName(Tradition tradition) {
  return tradition == Tradition::kAvestan ? "Авестийская традиция" : "Западная традиция";
}

std::size_t PageOf(ChainKind kind) {
  for (std::size_t i = 0; i < kDignityKinds.size(); ++i) {
    if (kDignityKinds[i] == kind) return i;
  }
  return 0;
}

QTableWidget* MakeGrid(const TablePage& page, QWidget* parent) {
  auto* grid = new QTableWidget(kLastChainObject, kSignsPerMode, parent);
  grid->setObjectName(page.objectName);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  QStringList columns;
  for (const char* title : kColumnTitles) columns << ToQt(title);
  grid->setHorizontalHeaderLabels(columns);
  QStringList rows;
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) rows << ToQt(workspace::SlotName(object));
  grid->setVerticalHeaderLabels(rows);
  for (int row = 0; row < kLastChainObject; ++row) {
    for (int column = 0; column < kSignsPerMode; ++column) grid->setItem(row, column, new QTableWidgetItem);
  }
  grid->setCurrentCell(0, 0);
  return grid;
}

// The whole grid stays in view, so no sign hides behind a scroll bar; the two columns
// share the width, with room for the header's bold current column.
void FitToContents(QTableWidget& grid) {
  grid.resizeRowsToContents();
  const QAbstractItemView& view = grid;  // where the table's own measure is public
  int widest = 0;
  for (int column = 0; column < kSignsPerMode; ++column) {
    widest = std::max({widest, view.sizeHintForColumn(column), grid.horizontalHeader()->sectionSizeHint(column)});
  }
  const int frame = 2 * grid.frameWidth();
  const int width = grid.verticalHeader()->sizeHint().width() + kSignsPerMode * (widest + kColumnMargin) + frame;
  const int height = grid.horizontalHeader()->sizeHint().height() + grid.verticalHeader()->length() + frame;
  grid.setMinimumSize(width, height);
}

// Nothing to report when the file was not there.
std::optional<std::string> RemoveDignityFile(const std::string& dataPrefix) {
  const std::filesystem::path path = dataPrefix + std::string(kDignityFile);
  std::error_code error;
  std::filesystem::remove(path, error);
  if (!error) return std::nullopt;
  return std::string(kCannotRemoveFile) + path.string() + ": " + WriteFailureReason(error);
}

}  // namespace

CRulershipSystemsDlg::CRulershipSystemsDlg(const std::string& dataPrefix, Tradition tradition,
                                           const DignityTables& current, QWidget* parent)
    : QDialog(parent),
      dataPrefix_(dataPrefix),
      systems_(tradition, current, LoadDignityTables(dataPrefix, tradition).tables) {
  setObjectName("rulershipSystemsDialog");
  setWindowTitle(ToQt(kTitle));
  InstallHelpKey(*this, kHelpRulers);
  auto* tabs = new QTabWidget(this);
  tabs->setUsesScrollButtons(false);  // every table's name in view
  for (std::size_t i = 0; i < kDignityKinds.size(); ++i) {
    grids_[i] = MakeGrid(kPages[i], tabs);
    tabs->addTab(grids_[i], ToQt(kPages[i].title));
    connect(grids_[i], &QAbstractItemView::activated, this,
            [this, kind = kDignityKinds[i]](const QModelIndex& cell) { OpenCell(kind, cell); });
    grids_[i]->installEventFilter(this);
  }
  auto* restore = new QPushButton(ToQt(kRestoreButton), this);
  restore->setObjectName("restoreButton");
  restore->setAutoDefault(false);
  connect(restore, &QPushButton::clicked, this, &CRulershipSystemsDlg::RestoreDefaults);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQt(TraditionName(tradition)), this));
  layout->addWidget(tabs);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(restore);
  buttons->addLayout(MakeOkCancelRow(*this), 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  ShowTables();
}

QTableWidget* CRulershipSystemsDlg::grid(ChainKind kind) const { return grids_[PageOf(kind)]; }

bool CRulershipSystemsDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  for (std::size_t i = 0; i < kDignityKinds.size(); ++i) {
    if (watched == grids_[i] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      OpenCell(kDignityKinds[i], grids_[i]->currentIndex());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CRulershipSystemsDlg::ShowTables() {
  for (std::size_t i = 0; i < kDignityKinds.size(); ++i) {
    for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
      for (int column = 0; column < kSignsPerMode; ++column) {
        grids_[i]->item(object - 1, column)->setText(ToQt(systems_.CellText(kDignityKinds[i], object, column)));
      }
    }
    FitToContents(*grids_[i]);
  }
}

void CRulershipSystemsDlg::OpenCell(ChainKind kind, const QModelIndex& cell) {
  const std::optional<interpretation::DignityEdit> opened = systems_.OpenCell(kind, cell.row() + 1, cell.column());
  if (!opened) return;
  if (const auto edited = RunDignityEdit(this, *opened)) {
    systems_.Apply(*edited);
    ShowTables();
  }
}

void CRulershipSystemsDlg::RestoreDefaults() {
  if (!AskYesNo(this, kRestoreQuestion)) return;
  if (const std::optional<std::string> failure = RemoveDignityFile(dataPrefix_)) {
    ShowMessage(this, *failure);
    return;
  }
  systems_.RestoreDefaults();
  ShowTables();
}

void CRulershipSystemsDlg::accept() {
  if (systems_.NeedsSaving()) SaveEditedDignityTables(this, dataPrefix_, systems_.tables());
  QDialog::accept();
}

std::optional<DignityTables> EditRulershipSystems(QWidget* parent, const std::string& dataPrefix,
                                                  Tradition tradition, const DignityTables& current) {
  CRulershipSystemsDlg dialog(dataPrefix, tradition, current, parent);
  if (dialog.exec() != QDialog::Accepted) return dialog.systems().TablesAfterCancel();
  return dialog.systems().tables();
}

}  // namespace kelvara::app
