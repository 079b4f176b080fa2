// The birth-data dialog (dialog 130): shows a chart's birth data as the workspace's
// form and, on OK, runs its checks and stores what was entered.
#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "places/city_base.h"
#include "places/places_list.h"
#include "workspace/birth_data.h"
#include "workspace/chart_record.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

namespace kelvara::app {

class AngleEdit;
class PlacePicker;

struct BirthDialogSetup {
  places::PlacesList& places;
  const places::CityBase& cityBase;
  // The second chart in double-chart mode: the name is picked from the kinds or typed.
  bool editsSecondChart = false;
  const workspace::ChartRecord* mainChart = nullptr;  // whose kinds the second chart offers
  std::string* lastPlace = nullptr;                  // OK stores the place name here
};

class CBirthDataDlg : public QDialog {
  Q_OBJECT

 public:
  CBirthDataDlg(const workspace::ChartRecord& chart, const BirthDialogSetup& setup, QWidget* parent = nullptr);

  // The chart as OK left it; as given until then.
  const workspace::ChartRecord& chart() const { return chart_; }
  // What the fields say now.
  workspace::BirthDataForm form() const;
  // The widget that takes the focus for a field the checks name.
  QWidget* fieldWidget(workspace::BirthField field) const;

  void accept() override;

 private:
  void ShowGreenwich();
  void TakeChosenPlace();

  workspace::ChartRecord chart_;
  BirthDialogSetup setup_;
  // The offset last shown by the dialog itself, kept exact until the user edits the text.
  std::optional<double> shownOffset_;
  QLineEdit* name_ = nullptr;
  QComboBox* kinds_ = nullptr;
  PlacePicker* place_;
  AngleEdit* latitude_;
  AngleEdit* longitude_;
  QDateEdit* localDate_;
  QTimeEdit* localTime_;
  QDateEdit* greenwichDate_;
  QTimeEdit* greenwichTime_;
  QLineEdit* gmt_;
};

// Opens the dialog on the chart; true after OK, when the chart holds the new data.
// Cancel leaves the chart as it was.
bool EditBirthData(QWidget* parent, workspace::ChartRecord& chart, const BirthDialogSetup& setup);

}  // namespace kelvara::app
