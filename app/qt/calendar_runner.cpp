#include "app/qt/calendar_runner.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <cstdio>

#include "app/qt/calendar_place_fields.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "calendars/dated_aspects.h"
#include "calendars/calendar_texts.h"
#include "calendars/lunar_calendar.h"
#include "calendars/planetary_hours.h"
#include "calendars/qt/calendar_dialog.h"
#include "calendars/qt/calendar_window.h"
#include "calendars/void_moon.h"
#include "eventmap/event_scanner.h"

namespace kelvara::app {
namespace {

namespace cal = calendars;
namespace ws = workspace;
namespace txt = calendars::texts;

constexpr int kIconSize = 14;
constexpr int kBarWidth = 120;
constexpr int kStatusMessageMs = 15000;

// What differs between the four calendars, in the order of CalendarKind.
struct KindFacts {
  cal::CalendarViewMode view;
  cal::CalendarDialogMode dialog;
  unsigned progressMessage;
  unsigned doneMessage;
  const char* progressText;
  std::string_view doneText;
  std::string_view nothingText;
  CommandId command;
};

constexpr std::array<KindFacts, 4> kKinds = {{
    {cal::CalendarViewMode::kLunar, cal::CalendarDialogMode::kLunar, cal::kLunarProgressMessage,
     cal::kLunarDoneMessage, txt::kLunarProgress, txt::kLunarDone, txt::kLunarNothing, CommandId::kLunarCalendar},
    {cal::CalendarViewMode::kPlanetaryHours, cal::CalendarDialogMode::kPlanetaryHours, cal::kHoursProgressMessage,
     cal::kHoursDoneMessage, txt::kHoursProgress, txt::kHoursDone, txt::kHoursDone, CommandId::kPlanetaryHours},
    {cal::CalendarViewMode::kVoidMoon, cal::CalendarDialogMode::kVoidMoon, cal::kVoidProgressMessage,
     cal::kVoidDoneMessage, txt::kVoidProgress, txt::kVoidDone, txt::kVoidNothing, CommandId::kVoidMoon},
    {cal::CalendarViewMode::kAspects, cal::CalendarDialogMode::kAspects, cal::kAspectProgressMessage,
     cal::kAspectDoneMessage, txt::kAspectProgress, txt::kAspectDone, txt::kAspectNothing, CommandId::kAspectCalendar},
}};

const KindFacts& FactsOf(CalendarKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

cal::CalendarResult& ResultOf(Session& session, CalendarKind kind) {
  return cal::ResultOf(session.calendarResults, FactsOf(kind).view);
}

// The aspect settings the aspect calendar was scanned with: the transit background keeps
// to one chart's table, the other methods to the table between two charts.
const ws::AspectTable& AspectTableOf(const Session& session) {
  const bool background = session.calendarResults.aspects.header.starts_with(txt::kBackgroundCode);
  return background ? session.aspectTables.single : session.aspectTables.between;
}

// The indicator's two pictures: the Moon full and the Moon as a crescent.
QPixmap MoonIcon(bool full) {
  QPixmap picture(kIconSize, kIconSize);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(1, 1, kIconSize - 2, kIconSize - 2);
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  painter.setBrush(QColor(250, 235, 150));
  painter.drawEllipse(disc);
  if (!full) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 70, 90));
    painter.drawEllipse(disc.translated(kIconSize * 0.35, 0));
  }
  return picture;
}

std::string ProgressText(const char* format, int percent) {
  char text[32];
  std::snprintf(text, sizeof text, format, percent);
  return text;
}

}  // namespace

CalendarProgressArea::CalendarProgressArea(QWidget* parent)
    : QWidget(parent), text_(new QLabel(this)), bar_(new QProgressBar(this)), stop_(new QToolButton(this)) {
  setObjectName("calendarProgress");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  for (std::size_t i = 0; i < icons_.size(); ++i) {
    icons_[i] = new QLabel(this);
    icons_[i]->setPixmap(MoonIcon(i == 0));
    row->addWidget(icons_[i]);
  }
  text_->setObjectName("progressText");
  bar_->setObjectName("progressBar");
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  bar_->setFixedWidth(kBarWidth);
  bar_->setToolTip(ToQt(txt::kStopCaption));
  bar_->installEventFilter(this);
  stop_->setObjectName("stopCalendar");
  stop_->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
  stop_->setToolTip(ToQt(txt::kStopCaption));
  stop_->setAutoRaise(true);
  connect(stop_, &QToolButton::clicked, this, &CalendarProgressArea::stopRequested);
  row->addWidget(text_);
  row->addWidget(bar_);
  row->addWidget(stop_);
  hide();
}

void CalendarProgressArea::ShowStep(const QString& text, int percent) {
  ++steps_;
  icons_[0]->setVisible(steps_ % 2 == 0);
  icons_[1]->setVisible(steps_ % 2 == 1);
  text_->setText(text);
  bar_->setValue(percent);
  show();
}

void CalendarProgressArea::Finish() {
  hide();
  bar_->setValue(0);
  text_->clear();
}

bool CalendarProgressArea::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_ && event->type() == QEvent::MouseButtonPress) {
    emit stopRequested();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// The worker of one calendar kind and what its finished run leaves for the window.
// The worker comes last, so it is stopped before the rest goes.
struct CalendarRunner::Job {
  platform::QtMessageSink sink;
  std::mutex mutex;
  std::optional<cal::CalendarResult> finished;
  platform::Worker worker{&sink};
};

CalendarRunner::CalendarRunner(CMainFrame& frame, Session& session, const ws::ChartEngine& engine,
                               const platform::Clock* clock, cal::DayScanSource dayScan)
    : QObject(&frame),
      frame_(frame),
      session_(session),
      engine_(engine),
      clock_(clock),
      dayScan_(std::move(dayScan)),
      progress_(new CalendarProgressArea(&frame)) {
  frame_.statusBar()->addPermanentWidget(progress_);
  connect(progress_, &CalendarProgressArea::stopRequested, this, &CalendarRunner::StopAll);
  for (std::size_t i = 0; i < jobs_.size(); ++i) {
    jobs_[i] = std::make_unique<Job>();
    const auto kind = static_cast<CalendarKind>(i);
    connect(&jobs_[i]->sink, &platform::QtMessageSink::messageArrived, this,
            [this, kind](unsigned message, quintptr wParam, qintptr) { OnMessage(kind, message, wParam); });
  }
}

CalendarRunner::~CalendarRunner() {
  for (auto& job : jobs_) job->worker.Stop();
}

bool CalendarRunner::IsRunning(CalendarKind kind) const { return JobOf(kind).worker.IsRunning(); }

cal::CalendarUi CalendarRunner::Ui() { return {MessagesOver(&frame_), chooseFile_}; }

void CalendarRunner::Command(CalendarKind kind) {
  if (ResultOf(session_, kind).lines.empty()) {
    Ask(kind);
  } else {
    OfferResult(kind);
  }
}

// "Пересчитать" clears the result and goes through the command again, so the refusals
// of the command (a running "Сейчас" chart) hold for every new calculation.
void CalendarRunner::OfferResult(CalendarKind kind) {
  const KindFacts& facts = FactsOf(kind);
  const cal::CalendarWindowSetup setup{facts.view, &AspectTableOf(session_), &frame_.Zones(), UtcNowHours()};
  cal::CCalendarWnd window(setup, session_.calendarResults, Ui(), &frame_);
  connect(&window, &cal::CCalendarWnd::textRequested, &frame_, &CMainFrame::RequestText);
  if (window.exec() != cal::CCalendarWnd::kRecalculate) return;
  ResultOf(session_, kind) = {};
  frame_.RunCommand(facts.command);
}

void CalendarRunner::Ask(CalendarKind kind) {
  const KindFacts& facts = FactsOf(kind);
  const cal::CalendarRequest shown = cal::OpeningRequest(facts.dialog, DialogContext(), session_.calendarRequest);
  auto* place = facts.dialog == cal::CalendarDialogMode::kVoidMoon
                    ? nullptr
                    : new CalendarPlaceSection(frame_.Places(), session_.cityBase);
  const auto loadFile = [this, kind, view = facts.view](QWidget* parent) {
    return cal::ChooseAndOpenCalendar(view, session_.calendarResults, Ui(), parent) &&
           !ResultOf(session_, kind).lines.empty();
  };
  cal::CCalendarDlg dialog(facts.dialog, shown, place, Ui(), loadFile, &frame_);
  const int code = dialog.exec();
  if (code == cal::CCalendarDlg::kFileLoaded) {
    OfferResult(kind);
  } else if (code == QDialog::Accepted) {
    session_.calendarRequest = dialog.request();
    Start(kind, dialog.request());
  }
}

// What a worker calculates with: copies of everything the window may change meanwhile.
struct CalendarRunner::RunInputs {
  CalendarKind kind;
  cal::CalendarRequest request;
  ws::ChartRecord main;
  std::optional<ws::ChartRecord> second;  // a double chart's second chart
  ws::AspectTables aspects;
  cal::ColumnOrder columnOrder;
  cal::DayScanSource dayScan;
};

std::optional<cal::CalendarResult> CalendarRunner::Calculate(const RunInputs& in, platform::Worker& worker) const {
  const ws::TimeZoneSource* zones = &frame_.Zones();
  const unsigned progressMessage = FactsOf(in.kind).progressMessage;
  const cal::CalendarRun dayRun{engine_, in.dayScan, zones,
                                [&worker, progressMessage](int percent) { worker.Post(progressMessage, percent); },
                                [&worker] { return worker.StopRequested(); }};
  const cal::ScanCalendarRun scanRun{engine_, zones, &worker};
  switch (in.kind) {
    case CalendarKind::kLunar: return cal::CalculateLunarCalendar(in.request, dayRun);
    case CalendarKind::kPlanetaryHours: return cal::CalculatePlanetaryHours(in.request, dayRun);
    case CalendarKind::kVoidMoon: return cal::CalculateVoidMoon(in.request, in.main, scanRun);
    case CalendarKind::kAspects: {
      const cal::AspectCalendarCharts charts{in.main, in.second ? &*in.second : nullptr};
      return cal::CalculateAspectCalendar(in.request, charts, in.aspects, in.columnOrder, scanRun);
    }
  }
  return std::nullopt;
}

void CalendarRunner::Start(CalendarKind kind, const cal::CalendarRequest& request) {
  Job& job = JobOf(kind);
  job.worker.Stop();
  {
    std::lock_guard lock(job.mutex);
    job.finished.reset();
  }
  const ws::WorkspaceState& charts = session_.charts;
  RunInputs inputs{kind, request, charts.main, std::nullopt, session_.aspectTables,
                   session_.calendarResults.columnOrder, dayScan_};
  if (charts.doubleChart) inputs.second = charts.second;
  job.worker.Start([this, &job, inputs = std::move(inputs)](platform::Worker& worker) {
    std::optional<cal::CalendarResult> result = Calculate(inputs, worker);
    if (!result || worker.StopRequested()) return;  // a stopped run leaves the old result
    {
      std::lock_guard lock(job.mutex);
      job.finished = std::move(result);
    }
    const KindFacts& facts = FactsOf(inputs.kind);
    worker.Post(facts.progressMessage, 0);
    worker.Post(facts.doneMessage);
  });
  progress_->ShowStep(QString(), 0);
}

void CalendarRunner::StopAll() {
  for (auto& job : jobs_) job->worker.Stop();
  progress_->Finish();
}

void CalendarRunner::OnMessage(CalendarKind kind, unsigned message, quintptr wParam) {
  const KindFacts& facts = FactsOf(kind);
  if (message == facts.progressMessage) {
    const int percent = static_cast<int>(wParam);
    progress_->ShowStep(percent > 0 ? ToQt(ProgressText(facts.progressText, percent)) : QString(), percent);
  } else if (message == facts.doneMessage) {
    OnDone(kind);
  } else if (message == eventmap::kWmScanOutOfMemory) {
    ShowMessage(&frame_, eventmap::kOutOfMemoryText);
  }
}

void CalendarRunner::OnDone(CalendarKind kind) {
  Job& job = JobOf(kind);
  job.worker.Join();
  std::optional<cal::CalendarResult> finished;
  {
    std::lock_guard lock(job.mutex);
    finished.swap(job.finished);
  }
  const bool othersRunning = std::any_of(jobs_.begin(), jobs_.end(), [](const auto& j) { return j->worker.IsRunning(); });
  if (!othersRunning) progress_->Finish();
  if (!finished) return;
  cal::CalendarResult& result = ResultOf(session_, kind);
  result = std::move(*finished);
  if (!result.refusal.empty()) ShowMessage(&frame_, result.refusal);
  const KindFacts& facts = FactsOf(kind);
  TellEnd(result.lines.empty() ? facts.nothingText : facts.doneText);
  // Over another dialog the result waits for its command.
  if (!result.lines.empty() && !QApplication::activeModalWidget()) OfferResult(kind);
}

// A box while the user works in the main window; elsewhere the status bar tells it.
void CalendarRunner::TellEnd(std::string_view text) {
  if (frame_.isActiveWindow()) {
    ShowMessage(&frame_, text);
  } else {
    frame_.statusBar()->showMessage(ToQt(text), kStatusMessageMs);
  }
}

cal::CalendarDialogContext CalendarRunner::DialogContext() const {
  const ws::WorkspaceState& charts = session_.charts;
  cal::CalendarDialogContext context;
  context.today = clock_ ? clock_->LocalNow() : platform::SystemClock().LocalNow();
  if (charts.doubleChart && !charts.second.name.empty()) context.secondChartDate = charts.second.local;
  context.placeName = charts.main.placeName;
  context.latitudeDeg = charts.main.latitudeDeg;
  context.longitudeDeg = charts.main.longitudeDeg;
  return context;
}

double CalendarRunner::UtcNowHours() const {
  const platform::SystemClock system;
  const platform::Clock& clock = clock_ ? *clock_ : static_cast<const platform::Clock&>(system);
  const platform::DateTimeFields now = clock.LocalNow().Fields();
  return ws::HoursSince1860({now.year, now.month, now.day, now.hour, now.minute, now.second}) -
         clock.TimeZone().CurrentOffsetHours();
}

CalendarRunner* InstallCalendars(CMainFrame& frame, Session& session, const ws::ChartEngine& engine,
                                 const platform::Clock* clock, cal::DayScanSource dayScan) {
  auto* runner = new CalendarRunner(frame, session, engine, clock, std::move(dayScan));
  frame.Services().calendar = [runner](CalendarKind kind) { runner->Command(kind); };
  return runner;
}

}  // namespace kelvara::app
