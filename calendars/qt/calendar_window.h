// The calendar result window: one calendar result as a table under its title and place
// line, with recalculation, saving and loading of the kind's file, iCalendar export and,
// for the aspect calendar, sorting by a column. It only shows the result view's model.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "calendars/calendar_view.h"
#include "calendars/qt/calendar_ui.h"
#include "workspace/chart_compute.h"

class QLabel;
class QPushButton;

namespace kelvara::platform {
class CALXGridCtrl;
}

namespace kelvara::calendars {

// Choose a file of the mode's kind and load it into that result; the result is replaced
// only after a good read, a failure is told. True when the result was replaced.
bool ChooseAndOpenCalendar(CalendarViewMode mode, CalendarResults& results, const CalendarUi& ui, QWidget* parent);
// Choose a file name and write the mode's result as its kind's file; true when written.
bool ChooseAndSaveCalendar(CalendarViewMode mode, const CalendarResults& results, const CalendarUi& ui, QWidget* parent);

struct CalendarWindowSetup {
  CalendarViewMode mode = CalendarViewMode::kLunar;
  const workspace::AspectTable* aspects = nullptr;  // the aspect calendar's text colours
  const workspace::TimeZoneSource* zones = nullptr;  // the result's local times back to UTC
  double nowUtcHours = 0.0;                          // on the hour scale
};

// The result view as the window lays it out. The handheld's shares of its 240-pixel
// screen add up to more than the width for the aspect calendar; on a wide window that
// would stretch the times far beyond their texts, so there the columns are as wide as
// their texts instead (the last one takes up the rest).
class CalendarWindowView : public CalendarView {
 public:
  using CalendarView::CalendarView;
  std::vector<double> ColumnFractions() const override;
};

class CCalendarWnd : public QDialog {
  Q_OBJECT

 public:
  // The result code of "Пересчитать": the command clears the result and asks again.
  static constexpr int kRecalculate = 2;

  CCalendarWnd(const CalendarWindowSetup& setup, CalendarResults& results, CalendarUi ui, QWidget* parent = nullptr);
  ~CCalendarWnd() override;

  const CalendarWindowView& View() const { return view_; }
  platform::CALXGridCtrl* Grid() const { return grid_; }
  QLabel* TitleLabel() const { return title_; }
  QLabel* PlaceLabel() const { return place_; }

  void Save();
  void Open();
  void SaveIcs();

 signals:
  // A lunar-day row was activated: its text request ("12-й лунный день").
  void textRequested(const std::string& request);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowResult();
  void Activate(int modelRow);
  QPushButton* AddButton(std::string_view caption, const char* objectName);

  CalendarWindowSetup setup_;
  CalendarResults& results_;
  CalendarUi ui_;
  CalendarWindowView view_;
  QLabel* title_;
  QLabel* place_;
  platform::CALXGridCtrl* grid_;
  bool openedOnNow_ = false;
};

}  // namespace kelvara::calendars
