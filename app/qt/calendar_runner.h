// The main window's four calendar commands: the result window when a result is there,
// else the calendar dialog; on OK the calculation runs on a worker of the lowest
// priority with its progress in the status bar; on completion the end message and the
// result window. One worker per calendar kind; each run stops the one before it.
#pragma once

#include <QObject>
#include <QWidget>
#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "app/commands.h"
#include "app/qt/main_frame.h"
#include "calendars/calendar_dialog_model.h"
#include "calendars/calendar_view.h"
#include "calendars/qt/calendar_ui.h"
#include "platform/qt/qt_message_sink.h"
#include "platform/worker.h"

class QLabel;
class QProgressBar;
class QToolButton;

namespace kelvara::app {

// The status bar's progress area: two indicator icons that change places at each step,
// the progress text, the bar and a stop button; a click on the bar stops as well.
class CalendarProgressArea : public QWidget {
  Q_OBJECT

 public:
  explicit CalendarProgressArea(QWidget* parent = nullptr);

  // One step: the text ("ЛунКа=42%", empty at 0%), the bar, and the icons swapped.
  void ShowStep(const QString& text, int percent);
  void Finish();

  QLabel* Text() const { return text_; }
  QProgressBar* Bar() const { return bar_; }
  QToolButton* StopButton() const { return stop_; }
  // Which of the two icons shows now (0 or 1).
  int ShownIcon() const { return steps_ % 2; }
  int Steps() const { return steps_; }

 signals:
  void stopRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLabel*, 2> icons_;
  QLabel* text_;
  QProgressBar* bar_;
  QToolButton* stop_;
  int steps_ = 0;
};

class CalendarRunner : public QObject {
  Q_OBJECT

 public:
  // The lines of one day's rise-and-set scan; the engine driver's RunDayScan.
  CalendarRunner(CMainFrame& frame, Session& session, const workspace::ChartEngine& engine,
                 const platform::Clock* clock, calendars::DayScanSource dayScan);
  ~CalendarRunner() override;

  // The command: the result first when there is one, else the dialog.
  void Command(CalendarKind kind);
  // A calculation of `request`, stopping one of the same kind first.
  void Start(CalendarKind kind, const calendars::CalendarRequest& request);
  // Stops every calculation in progress; the results they would have replaced stay.
  void StopAll();
  bool IsRunning(CalendarKind kind) const;

  CalendarProgressArea* Progress() const { return progress_; }
  // Tests stand in for the file dialogs.
  void SetFileChooser(calendars::CalendarUi::FileChooser chooser) { chooseFile_ = std::move(chooser); }

 private:
  struct Job;
  struct RunInputs;

  Job& JobOf(CalendarKind kind) const { return *jobs_[static_cast<std::size_t>(kind)]; }
  calendars::CalendarUi Ui();
  // The worker's body.
  std::optional<calendars::CalendarResult> Calculate(const RunInputs& inputs, platform::Worker& worker) const;
  void Ask(CalendarKind kind);
  void OfferResult(CalendarKind kind);
  void OnMessage(CalendarKind kind, unsigned message, quintptr wParam);
  void OnDone(CalendarKind kind);
  void TellEnd(std::string_view text);
  calendars::CalendarDialogContext DialogContext() const;
  double UtcNowHours() const;

  CMainFrame& frame_;
  Session& session_;
  const workspace::ChartEngine& engine_;
  const platform::Clock* clock_;
  calendars::DayScanSource dayScan_;
  calendars::CalendarUi::FileChooser chooseFile_;
  CalendarProgressArea* progress_;
  std::array<std::unique_ptr<Job>, 4> jobs_;
};

// Makes the frame's calendar commands run through a runner that lives as long as the frame.
CalendarRunner* InstallCalendars(CMainFrame& frame, Session& session, const workspace::ChartEngine& engine,
                                 const platform::Clock* clock, calendars::DayScanSource dayScan);

}  // namespace kelvara::app
