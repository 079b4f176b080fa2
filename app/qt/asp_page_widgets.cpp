#include "app/qt/asp_page_widgets.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/asp_tables.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"

namespace kelvara::app {
namespace {

constexpr const char* kTableSingle = "Таблица 1: одна карта";
constexpr const char* kTableBetween = "Таблица 2: между двумя картами";
constexpr const char* kDefaults = "По умолчанию";
constexpr const char* kLikeApplying = "Как сходящиеся";
constexpr const char* kImport = "Загрузить…";
constexpr const char* kExport = "Сохранить…";
constexpr const char* kImportTitle = "Загрузить таблицу аспектов";
constexpr const char* kExportTitle = "Сохранить таблицу аспектов";
constexpr const char* kFileFilter = "Таблицы аспектов (asp*);;Все файлы (*)";
constexpr const char* kOrbTitle = "Орбисы аспекта %1 по объектам";
constexpr const char* kNoAspects = "Таблицы аспектов не дают показанным картам ни одного аспекта.";
constexpr int kAspectGridStretch = 3;
constexpr int kOrbGridStretch = 2;
constexpr int kNoteSpacing = 8;  // pixels between the note and the buttons

QPushButton* Button(const char* text, QWidget* parent) { return new QPushButton(ToQt(text), parent); }

}  // namespace

AspectsPageWidget::AspectsPageWidget(workspace::AspectTables& draft, int tableInUse, QWidget* parent)
    : QWidget(parent),
      page_(draft, tableInUse),
      aspects_(new platform::CRegGridCtrl(this)),
      orbs_(new platform::CRegGridCtrl(this)),
      orbTitle_(new QLabel(this)),
      single_(new QRadioButton(ToQt(kTableSingle), this)),
      between_(new QRadioButton(ToQt(kTableBetween), this)) {
  for (platform::CRegGridCtrl* grid : {aspects_, orbs_}) {
    grid->SetRefusalSink([this](const std::string& reason) { ShowMessage(this, reason); });
  }
  aspects_->SetModel(&page_.Aspects());
  orbs_->SetModel(&page_.Orbs());
  auto* grids = new QSplitter(Qt::Vertical, this);
  grids->addWidget(aspects_);
  grids->addWidget(MakeOrbPanel());
  grids->setStretchFactor(0, kAspectGridStretch);
  grids->setStretchFactor(1, kOrbGridStretch);
  grids->setChildrenCollapsible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeTableSwitch());
  layout->addWidget(grids, 1);
  page_.OnEdited([this] { emit edited(); });
  connect(aspects_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &AspectsPageWidget::FollowCurrentAspect);
  ShowTable(page_.Table());
}

// The grids, children of this widget, outlive the models they show.
AspectsPageWidget::~AspectsPageWidget() {
  aspects_->SetModel(nullptr);
  orbs_->SetModel(nullptr);
}

QWidget* AspectsPageWidget::MakeTableSwitch() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(single_);
  layout->addWidget(between_);
  layout->addStretch();
  connect(single_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) ShowTable(kSingleChartTable);
  });
  connect(between_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) ShowTable(kTwoChartTable);
  });
  return row;
}

// The orbs of the current aspect on the left; the note on separating orbs and the
// buttons beside them, where the grid leaves room.
QWidget* AspectsPageWidget::MakeOrbPanel() {
  auto* panel = new QWidget(this);
  auto* orbColumn = new QVBoxLayout;
  orbColumn->addWidget(orbTitle_);
  orbColumn->addWidget(orbs_, 1);
  auto* note = new QLabel(ToQt(kSeparatingOrbsNote), panel);
  note->setWordWrap(true);
  auto* side = new QVBoxLayout;
  side->addWidget(note);
  side->addSpacing(kNoteSpacing);
  side->addLayout(MakeButtons(panel));
  side->addStretch();
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(orbColumn, kOrbGridStretch);
  layout->addLayout(side, 1);
  return panel;
}

QLayout* AspectsPageWidget::MakeButtons(QWidget* panel) {
  auto* layout = new QGridLayout;
  QPushButton* defaults = Button(kDefaults, panel);
  QPushButton* likeApplying = Button(kLikeApplying, panel);
  QPushButton* import = Button(kImport, panel);
  QPushButton* exportButton = Button(kExport, panel);
  layout->addWidget(defaults, 0, 0);
  layout->addWidget(likeApplying, 0, 1);
  layout->addWidget(import, 1, 0);
  layout->addWidget(exportButton, 1, 1);
  for (QPushButton* button : {defaults, likeApplying, import, exportButton}) button->setAutoDefault(false);
  connect(defaults, &QPushButton::clicked, this, &AspectsPageWidget::AskDefaults);
  connect(likeApplying, &QPushButton::clicked, this, [this] { page_.SeparatingLikeApplying(); });
  connect(import, &QPushButton::clicked, this, &AspectsPageWidget::Import);
  connect(exportButton, &QPushButton::clicked, this, &AspectsPageWidget::Export);
  return layout;
}

void AspectsPageWidget::ShowTable(int table) {
  page_.ShowTable(table);
  QRadioButton* shown = page_.Table() == kTwoChartTable ? between_ : single_;
  if (!shown->isChecked()) shown->setChecked(true);  // comes back here through toggled
  ShowOrbTitle();
}

void AspectsPageWidget::FollowCurrentAspect() {
  const QModelIndex current = aspects_->currentIndex();
  if (!current.isValid() || aspects_->Items()->ModelRow(current.row()) == page_.SelectedAspect()) return;
  page_.SelectAspect(aspects_->Items()->ModelRow(current.row()));
  ShowOrbTitle();
}

void AspectsPageWidget::ShowOrbTitle() {
  orbTitle_->setText(ToQt(kOrbTitle).arg(page_.SelectedAspect() + 1));
}

void AspectsPageWidget::AskDefaults() {
  if (AskYesNo(this, kAspectDefaultsQuestion)) page_.RestoreDefaults();
}

QString AspectsPageWidget::TableFileName() const {
  return ToQt(page_.Table() == kTwoChartTable ? kAspectTable2File : kAspectTable1File);
}

void AspectsPageWidget::Import() {
  const QString path = QFileDialog::getOpenFileName(this, ToQt(kImportTitle), TableFileName(),
                                                    ToQt(kFileFilter));
  if (path.isEmpty()) return;
  if (const std::optional<std::string> failure = page_.ImportFrom(path.toStdString())) ShowMessage(this, *failure);
}

void AspectsPageWidget::Export() {
  const QString path = QFileDialog::getSaveFileName(this, ToQt(kExportTitle), TableFileName(),
                                                    ToQt(kFileFilter));
  if (path.isEmpty()) return;
  if (const std::optional<std::string> failure = page_.ExportTo(path.toStdString())) ShowMessage(this, *failure);
}

AspectTablePageWidget::AspectTablePageWidget(RowSource rows, QWidget* parent)
    : QWidget(parent), rows_(std::move(rows)), grid_(new platform::CALXGridCtrl(this)),
      empty_(new QLabel(ToQt(kNoAspects), this)) {
  grid_->SetModel(&table_);
  grid_->SetMessageSink(MessagesOver(this));
  empty_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(empty_);
  Refresh();
}

AspectTablePageWidget::~AspectTablePageWidget() { grid_->SetModel(nullptr); }

void AspectTablePageWidget::Refresh() {
  table_.Show(rows_ ? rows_() : std::vector<AspectListRow>{});
  empty_->setVisible(table_.RowCount() == 0);
}

}  // namespace kelvara::app
