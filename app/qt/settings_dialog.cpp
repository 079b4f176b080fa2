#include "app/qt/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/help_topics.h"
#include "app/qt/asp_page_widgets.h"
#include "app/qt/dignity_dialog.h"
#include "app/qt/help_key.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "app/step_shift.h"
#include "platform/glyph.h"

namespace kelvara::app {
namespace {

constexpr const char* kTitle = "Настройки";
constexpr const char* kApplyText = "&Применить";
constexpr const char* kCancelText = "Отмена";
constexpr const char* kHelpText = "&Справка";
constexpr const char* kRestoreText = "По &умолчанию";
constexpr const char* kFirstSignText = "&Первый знак...";
constexpr const char* kSecondSignText = "&Второй знак...";
constexpr const char* kWallpaperText = "&Обои...";
constexpr const char* kWallpaperFileText = "Файл обоев: ";
constexpr const char* kNoWallpaperText = "не выбран";
constexpr const char* kSwitchesTitle = "Переключатели (после OK или «Применить»)";
constexpr const char* kViewTitle = "Вид";
constexpr const char* kRulersTitle = "Сис.управ.";
constexpr const char* kAspectsTitle = "Аспекты";
constexpr const char* kAspectTableTitle = "Таблица аспектов";
constexpr int kGlyphColumn = 0;
constexpr int kDefaultWidth = 780;
constexpr double kGlyphScale = 1.4;
constexpr int kDefaultHeight = 680;
constexpr int kSecondOccurrence = 1;
// The view page is the dialog's own: no command opens it.
constexpr SettingsPage kViewPage = SettingsPage(-1);

// The first column shows the objects' glyphs in the glyph font.
class GlyphColumnDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->font.setFamily(QString::fromLatin1(platform::kGlyphFace));
    option->font.setPointSizeF(option->font.pointSizeF() * kGlyphScale);
    option->displayAlignment = Qt::AlignCenter;
  }
};

}  // namespace

struct CSettingsDlg::PlanetsTab {
  SettingsPage page;
  int chart;
  int tabIndex;
  PlanetsPage model;
  platform::CRegGridCtrl* grid;
};

CSettingsDlg::CSettingsDlg(CommandContext& context, platform::Profile* profile, SettingsPage page,
                           std::function<void()> applied, QWidget* parent)
    : QDialog(parent), context_(context), profile_(profile), applied_(std::move(applied)) {
  setObjectName("settingsDialog");
  setWindowTitle(ToQt(kTitle));
  setSizeGripEnabled(true);
  DraftOpening opening = OpenDraft(context.session);
  draft_ = std::move(opening.draft);

  tabs_ = new QTabWidget(this);
  tabs_->setUsesScrollButtons(true);
  AddPlanetsTab(SettingsPage::kPlanets, kFirstChart, false, "Планеты");
  if (PageOffered(SettingsPage::kPlanets2, context.session)) {
    AddPlanetsTab(SettingsPage::kPlanets2, kSecondChart, false, "Планеты2");
  }
  AddPlanetsTab(SettingsPage::kMapPlanetsNatal, kFirstChart, true, "ПланетыNt");
  AddPlanetsTab(SettingsPage::kMapPlanetsTransit, kSecondChart, true, "ПланетыTr");
  AddAspectTabs();
  AddRulersTab();
  AddViewTab();
  connect(tabs_, &QTabWidget::currentChanged, this, &CSettingsDlg::ShowPlanetsOf);

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Apply)->setText(ToQt(kApplyText));
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQt(kCancelText));
  buttons->button(QDialogButtonBox::Help)->setText(ToQt(kHelpText));
  buttons->button(QDialogButtonBox::Help)->setShortcut(QKeySequence::HelpContents);
  buttons->button(QDialogButtonBox::Apply)->setObjectName("applyButton");
  buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
  buttons->button(QDialogButtonBox::Help)->setObjectName("helpButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDlg::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &CSettingsDlg::Apply);
  connect(buttons, &QDialogButtonBox::helpRequested, this, &CSettingsDlg::OpenHelp);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons);
  resize(kDefaultWidth, kDefaultHeight);
  ShowPage(page);
  for (const std::string& message : opening.messages) ShowMessage(parent, message);
}

// The grids go before the page models they show.
CSettingsDlg::~CSettingsDlg() { delete tabs_; }

void CSettingsDlg::AddPlanetsTab(SettingsPage page, int chart, bool eventMapOrder, const char* title) {
  ObjectSettings& settings = draft_.ObjectsOf(chart).Of(draft_.tradition);
  auto tab = std::unique_ptr<PlanetsTab>(new PlanetsTab{page, chart, 0, PlanetsPage(settings, eventMapOrder), nullptr});
  tab->grid = new platform::CRegGridCtrl(tabs_);
  tab->grid->setObjectName(QStringLiteral("planets%1").arg(int(page)));
  tab->grid->SetModel(&tab->model.Grid());
  tab->grid->setItemDelegateForColumn(kGlyphColumn, new GlyphColumnDelegate(tab->grid));
  PlanetsPage* model = &tab->model;
  connect(tab->grid->Items(), &QAbstractItemModel::dataChanged, this, [model] { model->TakeEdits(); });
  tab->tabIndex = tabs_->addTab(tab->grid, ToQt(title));
  pages_[page] = tab->grid;
  planets_.push_back(std::move(tab));
}

void CSettingsDlg::AddAspectTabs() {
  aspects_ = new AspectsPageWidget(draft_.aspectTables, AspectTableInUse(context_.session), tabs_);
  tabs_->addTab(aspects_, ToQt(kAspectsTitle));
  pages_[SettingsPage::kAspects] = aspects_;
  pages_[SettingsPage::kMapAspects] = aspects_;
  auto* table = new AspectTablePageWidget(
      [this] { return ShownAspectRows(context_.session, draft_.aspectTables); }, tabs_);
  tabs_->addTab(table, ToQt(kAspectTableTitle));
  pages_[SettingsPage::kAspectTable] = table;
  connect(aspects_, &AspectsPageWidget::edited, table, &AspectTablePageWidget::Refresh);
}

void CSettingsDlg::AddRulersTab() {
  rulers_ = std::make_unique<RulersPage>(draft_);
  auto* page = new QWidget(tabs_);
  rulersGrid_ = new platform::CALXGridCtrl(page);
  rulersGrid_->setObjectName("rulersGrid");
  rulersGrid_->SetModel(&rulers_->Grid());
  rulersGrid_->SetMessageSink(MessagesOver(this));
  connect(rulersGrid_, &platform::CALXGridCtrl::rowActivated, this, [this] {
    EditRulersCell(QApplication::keyboardModifiers() & Qt::ShiftModifier ? kSecondOccurrence : 0);
  });
  auto* note = new QLabel(ToQt(kRulersNote), page);
  note->setWordWrap(true);
  auto* first = new QPushButton(ToQt(kFirstSignText), page);
  auto* second = new QPushButton(ToQt(kSecondSignText), page);
  auto* restore = new QPushButton(ToQt(kRestoreText), page);
  restore->setObjectName("restoreButton");
  for (QPushButton* button : {first, second, restore}) button->setAutoDefault(false);
  connect(first, &QPushButton::clicked, this, [this] { EditRulersCell(0); });
  connect(second, &QPushButton::clicked, this, [this] { EditRulersCell(kSecondOccurrence); });
  connect(restore, &QPushButton::clicked, this, [this] {
    if (AskYesNo(this, kRestoreRulersQuestion)) rulers_->RestoreDefaults();
  });
  auto* row = new QHBoxLayout;
  row->addWidget(first);
  row->addWidget(second);
  row->addStretch();
  row->addWidget(restore);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(note);
  layout->addWidget(rulersGrid_, 1);
  layout->addLayout(row);
  tabs_->addTab(page, ToQt(kRulersTitle));
  pages_[SettingsPage::kRulers] = page;
}

void CSettingsDlg::EditRulersCell(int occurrence) {
  const QModelIndex current = rulersGrid_->currentIndex();
  if (!current.isValid()) return;
  const int row = rulersGrid_->Items()->ModelRow(current.row());
  const auto opened = rulers_->OpenCell(row, std::max(current.column(), 1), occurrence);
  if (!opened) return;
  if (const auto edited = RunDignityEdit(this, *opened)) rulers_->Apply(*edited);
}

QWidget* CSettingsDlg::MakeViewSwitches() {
  auto* box = new QGroupBox(ToQt(kSwitchesTitle));
  auto* grid = new QGridLayout(box);
  const std::vector<ViewSwitch>& switches = ViewSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) {
    auto* check = new QCheckBox(ToQt(ViewSwitchCaption(switches[i])), box);
    check->setObjectName(QStringLiteral("switch%1").arg(int(switches[i].whenOn)));
    connect(check, &QCheckBox::toggled, this, [this, i](bool on) { view_->SetWanted(i, on); });
    grid->addWidget(check, int(i), 0);
    switches_.push_back(check);
  }
  return box;
}

void CSettingsDlg::AddViewTab() {
  view_ = std::make_unique<ViewPage>(draft_, context_.session.settings);
  auto* page = new QWidget(tabs_);
  QWidget* switches = MakeViewSwitches();
  switches->setParent(page);
  viewGrid_ = new platform::CRegGridCtrl(page);
  viewGrid_->setObjectName("viewGrid");
  viewGrid_->SetModel(&view_->Grid());
  connect(viewGrid_->Items(), &QAbstractItemModel::dataChanged, this, [this] { view_->TakeEdits(); });
  // The file is chosen and checked by the menu's own command, which acts at once.
  auto* wallpaper = new QPushButton(ToQt(kWallpaperText), page);
  wallpaper->setAutoDefault(false);
  connect(wallpaper, &QPushButton::clicked, this, [this] {
    Dispatch(CommandId::kChooseWallpaper, 0, context_);
    ShowSwitches();
    if (applied_) applied_();
  });
  wallpaperFile_ = new QLabel(page);
  wallpaperFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* row = new QHBoxLayout;
  row->addWidget(wallpaper);
  row->addWidget(wallpaperFile_, 1);
  // The grid is as tall as its few rows; the page's free room stays below them.
  viewGrid_->setMaximumHeight(viewGrid_->horizontalHeader()->sizeHint().height() +
                              viewGrid_->verticalHeader()->length() + 2 * viewGrid_->frameWidth());
  auto* values = new QVBoxLayout;
  values->addWidget(viewGrid_);
  values->addLayout(row);
  values->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(switches);
  layout->addLayout(values, 1);
  tabs_->addTab(page, ToQt(kViewTitle));
  pages_[kViewPage] = page;
  ShowSwitches();
}

void CSettingsDlg::ShowSwitches() {
  const std::string& file = context_.session.settings.wallpaperFile;
  wallpaperFile_->setText(ToQt(kWallpaperFileText) + ToQt(file.empty() ? kNoWallpaperText : file));
  const std::vector<ViewSwitch>& switches = ViewSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) switches_[i]->setChecked(context_.session.settings.*switches[i].member);
}

// Two tabs edit each chart's set; the one shown follows the other's edits.
void CSettingsDlg::ShowPlanetsOf(int tab) {
  for (const auto& planets : planets_) {
    if (planets->tabIndex == tab) planets->model.Show(draft_.ObjectsOf(planets->chart).Of(draft_.tradition));
  }
}

QWidget* CSettingsDlg::PageWidget(SettingsPage page) const {
  const auto found = pages_.find(page);
  return found == pages_.end() ? nullptr : found->second;
}

platform::CRegGridCtrl* CSettingsDlg::PlanetsGrid(SettingsPage page) const {
  for (const auto& planets : planets_) {
    if (planets->page == page) return planets->grid;
  }
  return nullptr;
}

QCheckBox* CSettingsDlg::SwitchBox(CommandId whenOn) const {
  const std::vector<ViewSwitch>& switches = ViewSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) {
    if (switches[i].whenOn == whenOn) return switches_[i];
  }
  return nullptr;
}

void CSettingsDlg::ShowPage(SettingsPage page) {
  if (QWidget* widget = PageWidget(page)) tabs_->setCurrentWidget(widget);
  if (page == SettingsPage::kMapAspects) aspects_->ShowTable(kTwoChartTable);  // the event map reads the table between charts
}

void CSettingsDlg::OpenHelp() {
  QWidget* current = tabs_->currentWidget();
  std::string_view topic = kHelpSettings;
  for (const auto& [page, widget] : pages_) {
    if (widget == current) topic = page == kViewPage ? kHelpView : HelpTopicOfPage(page);
  }
  app::OpenHelp(topic);
}

bool CSettingsDlg::Apply() {
  const std::vector<CommandId> commands = view_->CommandsFor(context_.session.settings);
  const std::vector<std::string> messages = ApplyDraft(draft_, commands, context_, profile_);
  ShowSwitches();
  ShowPlanetsOf(tabs_->currentIndex());
  if (applied_) applied_();
  for (const std::string& message : messages) ShowMessage(this, message);
  return messages.empty();
}

void CSettingsDlg::accept() {
  if (Apply()) QDialog::accept();
}

void OpenSettingsDialog(CommandContext& context, platform::Profile* profile, SettingsPage page,
                        std::function<void()> applied, QWidget* parent) {
  if (!PageOffered(page, context.session)) {
    ShowMessage(parent, NotYetWorkingText(CommandId::kPagePlanets2));
    return;
  }
  CSettingsDlg dialog(context, profile, page, std::move(applied), parent);
  dialog.exec();
}

}  // namespace kelvara::app
