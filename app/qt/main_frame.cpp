#include "app/qt/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <cstdio>

#include "app/about.h"
#include "app/help_topics.h"
#include "app/qt/help_key.h"
#include "app/messages.h"
#include "app/qt/birth_data_dialog.h"
#include "app/qt/composite_dialog.h"
#include "app/qt/message_boxes.h"
#include "app/event_map_picture.h"
#include "app/qt/day_events_dialog.h"
#include "app/position_table_source.h"
#include "engine/ephemeris/ephemeris_check.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_dialog.h"
#include "app/qt/step_dialog.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/qt_canvas.h"
#include "workspace/chart_rules.h"
#include "workspace/gmt_text.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

constexpr const char* kProgramName = "Кельвара";
constexpr const char* kCommandMenuCaption = "Команды";
constexpr const char* kFileMenuCaption = "Файл";
constexpr const char* kTimeFormatCaption = "Формат времени";
constexpr const char* kViewMenuCaption = "Вид";
constexpr const char* kHelpMenuCaption = "Справка";
constexpr const char* kDocumentFilter = "The Kelvara's Data  (*.KVD *.kvd)";
constexpr const char* kPictureFilter = "PNG (*.png);;SVG (*.svg);;PDF (*.pdf)";
constexpr const char* kWallpaperFilter = "BMP (*.bmp *.BMP)";
constexpr const char* kPictureNotWritten = "Не удается записать рисунок ";
constexpr const char* kWindowSection = "Window";
constexpr const char* kGeometryKey = "sGeometry";
constexpr int kDefaultWidth = 720;
constexpr int kDefaultHeight = 760;

QKeySequence ShortcutOf(CommandId command) {
  switch (command) {
    case CommandId::kNewData: return QKeySequence::New;
    case CommandId::kOpenDocument: return QKeySequence::Open;
    case CommandId::kSaveDocument: return QKeySequence::Save;
    case CommandId::kStopNow: return Qt::Key_Space;
    case CommandId::kExit: return QKeySequence::Quit;
    case CommandId::kHelp: return QKeySequence::HelpContents;
    case CommandId::kPositionTable: return Qt::CTRL | Qt::Key_T;
    default: return {};
  }
}

// Fills a menu or the menu bar from a tree; every command runs through `run`.
template <typename Container>
void AddEntries(Container* container, const MenuTree& tree, const std::function<void(CommandId, int)>& run) {
  for (const MenuEntry& entry : tree) {
    switch (entry.kind) {
      case MenuEntry::Kind::kSeparator: container->addSeparator(); break;
      case MenuEntry::Kind::kSubmenu:
        // The tool bar has only buttons.
        if constexpr (requires { container->addMenu(QString()); }) {
          AddEntries(container->addMenu(ToQt(entry.caption)), entry.submenu, run);
        }
        break;
      case MenuEntry::Kind::kCommand: {
        QAction* action = container->addAction(ToQt(entry.caption));
        action->setCheckable(entry.checkable);
        action->setChecked(entry.checked);
        action->setShortcut(ShortcutOf(entry.command));
        action->setData(static_cast<int>(entry.command));
        QObject::connect(action, &QAction::triggered, container,
                         [run, command = entry.command, argument = entry.argument] { run(command, argument); });
        break;
      }
    }
  }
}

std::string Printf(const char* format, auto... values) {
  char text[64];
  std::snprintf(text, sizeof(text), format, values...);
  return text;
}

std::string ClockText(const ws::CalendarMoment& m, bool twelveHour) {
  if (!twelveHour) return Printf("%02d:%02d:%02d", m.hour, m.minute, m.second);
  const int hour = m.hour % 12 == 0 ? 12 : m.hour % 12;
  return Printf("%d:%02d:%02d%s", hour, m.minute, m.second, m.hour < 12 ? "am" : "pm");
}

std::string ChartStatus(const ws::ChartRecord& chart, bool twelveHour) {
  const ws::CalendarMoment& m = chart.local;
  std::string text = chart.name.empty() ? std::string(ws::kNameNow) : chart.name;
  text += "  " + Printf("%02d.%02d.%04d ", m.day, m.month, m.year) + ClockText(m, twelveHour);
  text += "  GMT " + ws::FormatGmtOffset(chart.gmtOffsetHours);
  if (!chart.placeName.empty()) text += "  " + chart.placeName;
  return text;
}

}  // namespace

std::string CKelvaraCDoc::Title() const {
  const std::string& name = session_.charts.main.name;
  return name.empty() ? std::string(kProgramName) : name + " — " + kProgramName;
}

CMainFrame::CMainFrame(Session& session, const FrameServices& services, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      services_(services),
      document_(session),
      zones_(session.cityBase),
      pictures_(DefaultPictures(services.clock, &steps_, services.engine, &zones_)),
      nowClock_(&nowSink_) {
  view_ = new CKelvaraCView(session_, pictures_, steps_, this);
  setCentralWidget(view_);
  toolBar_ = addToolBar(ToQt("Карты"));
  toolBar_->setObjectName("charts");
  toolBar_->setMovable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  status_ = new QLabel(this);
  statusBar()->addWidget(status_, 1);
  setAcceptDrops(true);
  resize(kDefaultWidth, kDefaultHeight);
  if (services_.profile) {
    const std::string geometry = services_.profile->GetString(kWindowSection, kGeometryKey, "");
    restoreGeometry(QByteArray::fromHex(QByteArray::fromStdString(geometry)));
  }
  connect(&nowSink_, &platform::QtMessageSink::messageArrived, this,
          [this](unsigned message, quintptr wParam, qintptr) { OnPostedMessage(message, wParam); });
  connect(view_, &CKelvaraCView::doubleTapped, this, &CMainFrame::OnDoubleTap);
  connect(view_, &CKelvaraCView::positionTableRequested, this, &CMainFrame::OpenPositionTable);
  connect(view_, &CKelvaraCView::stepActions, this, &CMainFrame::OnStepActions);
  CreateShortcuts();
  AfterChange();
}

CMainFrame::~CMainFrame() { nowClock_.Stop(); }

void CMainFrame::OpenPositionTable(int chart) {
  if (!PositionTableOffered(session_, chart)) return;
  QPointer<PositionTableWindow>& open = positionTables_[chart - kFirstChart];
  if (!open) {
    open = new PositionTableWindow(chart, this);
    open->setAttribute(Qt::WA_DeleteOnClose);
    open->setObjectName(chart == kSecondChart ? "positionTable2" : "positionTable");
    open->SetRequestSink([this](const std::string& request) { RequestText(request); });
    open->SetSortSink([this](int sort) { session_.settings.positionSort = sort; });
    open->Show(PositionTableTitle(ChartOf(chart)), PositionTableInputOf(session_, chart));
    open->ApplySort(session_.settings.positionSort);
  }
  open->show();
  open->raise();
  open->activateWindow();
}

void CMainFrame::RequestText(const std::string& request) {
  if (textRequester_) {
    textRequester_(request);
  } else {
    ShowMessage(NotYetWorkingText(request));
  }
}

PositionTableWindow* CMainFrame::PositionTable(int chart) const { return positionTables_[chart - kFirstChart]; }

void CMainFrame::RefreshPositionTables() {
  for (int chart : {kFirstChart, kSecondChart}) {
    PositionTableWindow* table = PositionTable(chart);
    if (!table) continue;
    if (PositionTableOffered(session_, chart)) {
      table->Show(PositionTableTitle(ChartOf(chart)), PositionTableInputOf(session_, chart));
    } else {
      table->close();
    }
  }
}

EventMapPicture& CMainFrame::EventMap() { return static_cast<EventMapPicture&>(*pictures_.eventMap); }

void CMainFrame::OpenAspectList() {
  EventMapPicture& map = EventMap();
  auto* list = new AspectListDialog(map.Caption(), map.AspectRows(session_), this);
  list->setAttribute(Qt::WA_DeleteOnClose);
  list->setObjectName("aspectList");
  list->show();
}

CommandContext CMainFrame::MakeContext() {
  CommandContext context{session_, services_.engine, services_.clock, &zones_, *this, commandServices_, this};
  context.services.savePicture = [this] { ChooseAndSavePicture(); };
  context.services.aspectList = [this] { OpenAspectList(); };
  context.services.buildEventMap = [this] { EventMap().Invalidate(); };
  context.services.settingsPage = [this](SettingsPage page) { OpenSettings(page); };
  context.services.positionTable = [this](int chart) { OpenPositionTable(chart); };
  return context;
}

void CMainFrame::OpenSettings(SettingsPage page) {
  CommandContext context = MakeContext();
  OpenSettingsDialog(context, services_.profile, page, [this] { AfterChange(); }, this);
}

void CMainFrame::RunCommand(CommandId command, int argument) {
  // Help and About change nothing, so nothing is recomputed after them.
  switch (command) {
    case CommandId::kHelp: OpenHelp(HelpTopicOfMode(session_.displayMode)); return;
    case CommandId::kAbout: ShowAbout(this, AboutText()); return;
    default: break;
  }
  CommandContext context = MakeContext();
  const CommandOutcome outcome = Dispatch(command, argument, context);
  if (outcome.closeRequested) {
    close();
    return;
  }
  AfterChange();
}

void CMainFrame::ShowCharts() {
  Stop();
  CommandContext context = MakeContext();
  ComputeShownCharts(context);
  Resume();
  AfterChange();
}

void CMainFrame::OpenDocumentFile(const std::string& path) {
  FileChooser previous = std::move(fileChooser_);
  fileChooser_ = [path](bool, const std::string&) { return std::optional(path); };
  RunCommand(CommandId::kOpenDocument);
  fileChooser_ = std::move(previous);
}

// Each refused ephemeris file is told once; its charts come from the element model. A
// frame that only makes pictures for files has nobody to answer a box.
void CMainFrame::ShowDamagedEphemerisFiles() {
  for (const std::string& name : engine::TakeDamagedEphemerisFiles()) {
    const std::string text = kEphemerisDamaged + name;
    if (services_.profile) {
      ShowMessage(text);
    } else {
      std::fprintf(stderr, "kelvara: %s\n", text.c_str());
    }
  }
}

void CMainFrame::AfterChange() {
  ShowDamagedEphemerisFiles();
  setWindowTitle(ToQt(document_.Title()) + "[*]");
  setWindowModified(document_.IsModified());
  RebuildMenus();
  RebuildToolBar();
  UpdateStatus();
  view_->UpdateStepTimer();
  view_->update();
  RefreshPositionTables();
}

void CMainFrame::RebuildMenus() {
  const auto run = [this](CommandId command, int argument) { RunCommand(command, argument); };
  QMenuBar* bar = menuBar();
  bar->clear();
  AddEntries(bar->addMenu(ToQt(kFileMenuCaption)), BuildFileMenu(session_), run);
  const bool texts = commandServices_.interpretationListsTexts && commandServices_.interpretationListsTexts();
  const MenuConditions conditions{texts, session_.charts.main.name == ws::kNameStopped ||
                                             session_.charts.second.name == ws::kNameStopped};
  AddEntries(bar->addMenu(ToQt(kCommandMenuCaption)), BuildCommandMenu(session_, conditions), run);
  MenuEntry soul;
  soul.caption = CommandCaption(CommandId::kSoulFormula);
  soul.command = CommandId::kSoulFormula;
  AddEntries(bar, {soul}, run);
  AddEntries(bar->addMenu(ToQt(kTimeFormatCaption)), BuildTimeFormatMenu(session_), run);
  AddEntries(bar->addMenu(ToQt(kViewMenuCaption)), BuildViewMenu(session_), run);
  AddEntries(bar->addMenu(ToQt(kHelpMenuCaption)), BuildHelpMenu(), run);
}

void CMainFrame::RebuildToolBar() {
  toolBar_->clear();
  const MenuTree bar = BuildToolBar(session_);
  AddEntries(toolBar_, bar, [this](CommandId command, int argument) { RunCommand(command, argument); });
  toolBar_->setVisible(!bar.empty());
}

void CMainFrame::UpdateStatus() {
  const bool twelve = session_.settings.twelveHourClock;
  std::string text = ChartStatus(session_.charts.main, twelve);
  if (SecondChartShown(session_)) text += "   |   " + ChartStatus(session_.charts.second, twelve);
  status_->setText(ToQt(text));
}

void CMainFrame::CreateShortcuts() {
  const auto addStep = [this](QKeySequence keys, int chart, int direction) {
    QAction* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [this, chart, direction] { StepChartBy(chart, direction); });
    addAction(action);
  };
  addStep(Qt::Key_Left, kFirstChart, -1);
  addStep(Qt::Key_Right, kFirstChart, +1);
  addStep(Qt::SHIFT | Qt::Key_Left, kSecondChart, -1);
  addStep(Qt::SHIFT | Qt::Key_Right, kSecondChart, +1);
  const auto addCommand = [this](QKeySequence keys, CommandId command) {
    QAction* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    addAction(action);
  };
  addCommand(Qt::CTRL | Qt::Key_1, CommandId::kChainRulership);
  addCommand(Qt::CTRL | Qt::Key_2, CommandId::kChainExaltation);
  addCommand(Qt::CTRL | Qt::Key_3, CommandId::kChainExile);
  addCommand(Qt::CTRL | Qt::Key_4, CommandId::kChainFall);
}

ws::ChartRecord& CMainFrame::ChartOf(int chart) {
  return chart == kSecondChart ? session_.charts.second : session_.charts.main;
}

void CMainFrame::StepChartBy(int chart, int direction) {
  // On the event map the same keys step its day.
  if (session_.displayMode == DisplayMode::kEventMap && chart == kFirstChart) {
    view_->ShiftMapDay(direction);
    return;
  }
  if (session_.displayMode != DisplayMode::kWheel) return;
  if (chart == kSecondChart && !SecondChartShown(session_)) return;
  ws::ChartRecord& record = ChartOf(chart);
  if (IsZeroStep(record.step)) return;
  Stop();
  if (StepChart(record, direction)) {
    const ws::ComputeContext context = SessionComputeContext(MakeContext());
    ws::ComputeChart(record, context);
    // A second chart derived from the main chart follows it.
    if (chart == kFirstChart && SecondChartShown(session_)) ws::ComputeChart(session_.charts.second, context);
  } else {
    steps_.StopRepeating(chart);
  }
  Resume();
  AfterChange();
}

void CMainFrame::OpenStepDialog(int chart, QPoint globalPoint) {
  ws::ChartRecord& record = ChartOf(chart);
  ws::StepShift edited = record.step;
  const StepDialogResult result = CStepDlg::EditStep(this, chart, edited, globalPoint);
  if (result == StepDialogResult::kCancelled) return;
  if (result == StepDialogResult::kStepModeOff) {
    session_.settings.stepShift = false;
  } else {
    StoreEditedStep(record.step, edited);
  }
  AfterChange();
}

void CMainFrame::OnStepActions(const std::vector<StepAction>& actions, QPoint globalPoint) {
  for (const StepAction& action : actions) {
    switch (action.command) {
      case StepCommand::kStartRepeating:
      case StepCommand::kStep: StepChartBy(action.chart, action.direction); break;
      case StepCommand::kStopRepeating: Resume(); AfterChange(); break;
      case StepCommand::kOpenDialog: OpenStepDialog(action.chart, globalPoint); break;
      case StepCommand::kNone: break;
    }
  }
}

void CMainFrame::OnDoubleTap() {
  if (!NowChartShown(session_)) return;
  RunCommand(CommandId::kStopNow);
}

void CMainFrame::OnPostedMessage(unsigned message, quintptr wParam) {
  if (message != kWmNowRound) return;
  const auto round = nowClock_.TakeRound(wParam);
  if (!round) return;
  ApplyRound(*round, session_.charts);
  UpdateStatus();
  view_->update();
  RefreshPositionTables();
  ShowDamagedEphemerisFiles();
}

void CMainFrame::Stop() { nowClock_.Stop(); }

void CMainFrame::Resume() {
  if (shutDown_ || steps_.AnyRepeating()) return;
  nowClock_.Start(session_.charts, {services_.engine, services_.clock, &zones_, session_.charts.nowPlace});
}

void CMainFrame::ShowMessage(std::string_view text) { app::ShowMessage(this, text); }

bool CMainFrame::AskYesNo(std::string_view text) { return app::AskYesNo(this, text); }

bool CMainFrame::EditBirthData(ws::ChartRecord& chart, bool secondChart) {
  const BirthDialogSetup setup{places_, session_.cityBase, secondChart, &session_.charts.main, &lastPlace_};
  return app::EditBirthData(this, chart, setup);
}

std::optional<ws::CompositeOptions> CMainFrame::EditCompositeOptions() {
  return app::EditCompositeOptions(this, places_, session_.cityBase);
}

std::optional<std::string> CMainFrame::ChooseDocumentToOpen() {
  if (fileChooser_) return fileChooser_(false, "");
  const QString file = QFileDialog::getOpenFileName(this, ToQt(CommandCaption(CommandId::kOpenDocument)), {},
                                                    ToQt(kDocumentFilter));
  if (file.isEmpty()) return std::nullopt;
  return FromQt(file);
}

std::optional<std::string> CMainFrame::ChooseDocumentToSave(const std::string& suggestedName) {
  if (fileChooser_) return fileChooser_(true, suggestedName);
  QString file = QFileDialog::getSaveFileName(this, ToQt(CommandCaption(CommandId::kSaveDocumentAs)),
                                              ToQt(suggestedName), ToQt(kDocumentFilter));
  if (file.isEmpty()) return std::nullopt;
  if (!file.endsWith(".kvd", Qt::CaseInsensitive)) file += ToQt(kDocumentExtension);
  return FromQt(file);
}

std::optional<std::string> CMainFrame::ChooseWallpaperFile() {
  if (fileChooser_) return fileChooser_(false, "");
  const QString file = QFileDialog::getOpenFileName(this, ToQt(CommandCaption(CommandId::kChooseWallpaper)), {},
                                                    ToQt(kWallpaperFilter));
  if (file.isEmpty()) return std::nullopt;
  return FromQt(file);
}

bool CMainFrame::SavePicture(const QString& file) {
  const ViewMetrics metrics = view_->Metrics();
  const platform::Size size{metrics.rect.Width(), metrics.rect.Height()};
  const auto draw = [this, metrics](platform::Canvas& canvas) { view_->DrawPicture(canvas, metrics); };
  if (file.endsWith(".svg", Qt::CaseInsensitive)) {
    return platform::ExportPictureSvg(draw, size, file, ToQt(document_.Title()));
  }
  if (file.endsWith(".pdf", Qt::CaseInsensitive)) {
    return platform::ExportPicturePdf(draw, size, file, ToQt(document_.Title()));
  }
  return platform::ExportPicturePng(draw, size, file);
}

void CMainFrame::ChooseAndSavePicture() {
  const std::string suggested = (session_.charts.main.name.empty() ? std::string("kelvara") : session_.charts.main.name) + ".png";
  QString file;
  if (fileChooser_) {
    const auto chosen = fileChooser_(true, suggested);
    if (chosen) file = ToQt(*chosen);
  } else {
    file = QFileDialog::getSaveFileName(this, ToQt(CommandCaption(CommandId::kSavePicture)), ToQt(suggested),
                                        ToQt(kPictureFilter));
  }
  if (file.isEmpty()) return;
  if (!SavePicture(file)) app::ShowMessage(this, kPictureNotWritten + FromQt(file));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  CommandContext context = MakeContext();
  if (!OfferToSaveChanges(context)) {
    event->ignore();
    return;
  }
  shutDown_ = true;
  nowClock_.Stop();
  steps_.StopRepeating(kFirstChart);
  steps_.StopRepeating(kSecondChart);
  view_->UpdateStepTimer();
  if (services_.profile) {
    services_.profile->WriteString(kWindowSection, kGeometryKey, saveGeometry().toHex().toStdString());
    if (!ShutDown(*services_.profile, session_)) {
      app::ShowMessage(this, std::string(kCannotWriteFile) + services_.registryFile);
    }
  }
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile() && url.toLocalFile().endsWith(".kvd", Qt::CaseInsensitive)) {
      event->acceptProposedAction();
      return;
    }
  }
}

void CMainFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile() && url.toLocalFile().endsWith(".kvd", Qt::CaseInsensitive)) {
      OpenDocumentFile(FromQt(url.toLocalFile()));
      return;
    }
  }
}

}  // namespace kelvara::app
