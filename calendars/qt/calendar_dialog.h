// The calendar dialog: the date range, the place and the choices of one calendar, as
// its model lays them out. OK runs the model's checks; the small file button at the top
// loads a calendar file of the dialog's kind instead.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "calendars/calendar_dialog_model.h"
#include "calendars/qt/calendar_ui.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QToolButton;

namespace kelvara::calendars {

class CCalendarDlg : public QDialog {
  Q_OBJECT

 public:
  // The result code after the file button loaded lines: the window then shows them.
  static constexpr int kFileLoaded = 3;
  // Loads a file of the dialog's kind into its result; true when lines were loaded.
  using FileLoader = std::function<bool(QWidget* parent)>;

  // `place` (may be null) becomes the dialog's child; the void Moon needs none.
  CCalendarDlg(CalendarDialogMode mode, const CalendarRequest& shown, CalendarPlaceFields* place,
               CalendarUi ui, FileLoader loadFile, QWidget* parent = nullptr);

  // What the controls say now, and after OK the request to run.
  CalendarDialogForm form() const;
  const CalendarRequest& request() const { return request_; }

  QDateEdit* fromDate() const { return from_; }
  QDateEdit* toDate() const { return to_; }
  QToolButton* fileButton() const { return fileButton_; }
  QGroupBox* placeGroup() const { return placeGroup_; }
  QGroupBox* choicesGroup() const { return choicesGroup_; }
  QGroupBox* voidAspectsGroup() const { return voidGroup_; }

  void accept() override;

 private:
  void LoadFile();
  QWidget* FocusOf(const CalendarDialogCheck& check) const;

  CalendarDialogMode mode_;
  CalendarRequest request_;
  CalendarUi ui_;
  FileLoader loadFile_;
  QToolButton* fileButton_;
  QDateEdit* from_;
  QDateEdit* to_;
  CalendarPlaceFields* place_;
  QGroupBox* placeGroup_;
  QGroupBox* choicesGroup_;
  QGroupBox* voidGroup_;
  std::array<QCheckBox*, 5> lunarChoices_{};  // new moons ... lunar days
  std::array<QCheckBox*, 9> voidChoices_{};
};

}  // namespace kelvara::calendars
