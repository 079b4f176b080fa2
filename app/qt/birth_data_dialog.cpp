#include "app/qt/birth_data_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/help_topics.h"
#include "app/qt/angle_edit.h"
#include "app/qt/dialog_buttons.h"
#include "app/qt/help_key.h"
#include "app/qt/message_boxes.h"
#include "app/qt/place_picker.h"
#include "app/qt/qt_text.h"
#include "places/place_search.h"
#include "places/place_time.h"
#include "workspace/gmt_text.h"

namespace kelvara::app {
namespace {

using workspace::BirthField;
using workspace::CalendarMoment;

constexpr const char* kTitle = "Исходные данные";
// Both date pickers accept 1 January 1860 - 1 January 2130.
const QDate kFirstPickerDate(1860, 1, 1);
const QDate kLastPickerDate(2130, 1, 1);
constexpr const char* kDateFormat = "dd.MM.yyyy";
constexpr const char* kTimeFormat = "HH:mm:ss";

// The pickers count in UTC, so the machine's own daylight-saving gaps never swallow a
// wall-clock time of the chart.
QDateEdit* MakeDatePicker(const char* objectName, QWidget* parent) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(objectName);
  picker->setTimeSpec(Qt::UTC);
  picker->setDateRange(kFirstPickerDate, kLastPickerDate);
  picker->setDisplayFormat(QString::fromLatin1(kDateFormat));
  return picker;
}

QTimeEdit* MakeTimePicker(const char* objectName, QWidget* parent) {
  auto* picker = new QTimeEdit(parent);
  picker->setObjectName(objectName);
  picker->setTimeSpec(Qt::UTC);
  picker->setDisplayFormat(QString::fromLatin1(kTimeFormat));
  return picker;
}

void MakeReadOnly(QAbstractSpinBox* picker) {
  picker->setReadOnly(true);
  picker->setButtonSymbols(QAbstractSpinBox::NoButtons);
  picker->setFocusPolicy(Qt::NoFocus);
}

void ShowMoment(const CalendarMoment& moment, QDateEdit& date, QTimeEdit& time) {
  date.setDate(QDate(moment.year, moment.month, moment.day));
  time.setTime(QTime(moment.hour, moment.minute, moment.second));
}

CalendarMoment MomentOf(const QDateEdit& date, const QTimeEdit& time) {
  const QDate d = date.date();
  const QTime t = time.time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QLabel* Label(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

}  // namespace

CBirthDataDlg::CBirthDataDlg(const workspace::ChartRecord& chart, const BirthDialogSetup& setup, QWidget* parent)
    : QDialog(parent),
      chart_(chart),
      setup_(setup),
      place_(new PlacePicker(setup.places, setup.cityBase, this)),
      latitude_(AngleEdit::Latitude(this)),
      longitude_(AngleEdit::Longitude(this)),
      localDate_(MakeDatePicker("localDate", this)),
      localTime_(MakeTimePicker("localTime", this)),
      greenwichDate_(MakeDatePicker("greenwichDate", this)),
      greenwichTime_(MakeTimePicker("greenwichTime", this)),
      gmt_(new QLineEdit(this)) {
  setObjectName("birthDataDialog");
  setWindowTitle(QString::fromUtf8(kTitle));
  InstallHelpKey(*this, kHelpBirthData);
  const workspace::BirthDataForm shown = workspace::FormFromChart(chart);

  QWidget* nameField = nullptr;
  if (setup.editsSecondChart) {
    kinds_ = new QComboBox(this);
    kinds_->setObjectName("kindCombo");
    kinds_->setEditable(true);
    kinds_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& kind : workspace::SecondChartKinds(setup.mainChart ? *setup.mainChart : workspace::ChartRecord{})) {
      kinds_->addItem(ToQt(kind));
    }
    kinds_->setEditText(ToQt(shown.name));
    nameField = kinds_;
  } else {
    name_ = new QLineEdit(ToQt(shown.name), this);
    name_->setObjectName("nameEdit");
    nameField = name_;
  }
  place_->setText(ToQt(shown.placeName));
  latitude_->setDegrees(chart.latitudeDeg);
  longitude_->setDegrees(chart.longitudeDeg);
  ShowMoment(shown.local, *localDate_, *localTime_);
  MakeReadOnly(greenwichDate_);
  MakeReadOnly(greenwichTime_);
  gmt_->setObjectName("gmtEdit");
  gmt_->setMaximumWidth(gmt_->fontMetrics().horizontalAdvance(QStringLiteral("+00:00000")));
  gmt_->setText(ToQt(shown.gmtText));
  shownOffset_ = chart.gmtOffsetHours;

  auto* grid = new QGridLayout;
  grid->addWidget(Label("Имя", this), 0, 0);
  grid->addWidget(nameField, 0, 1, 1, 2);
  grid->addWidget(Label("Место", this), 1, 0);
  grid->addWidget(place_, 1, 1, 1, 2);
  grid->addWidget(latitude_, 2, 1, 1, 2);
  grid->addWidget(longitude_, 3, 1, 1, 2);
  grid->addWidget(Label("местное:", this), 4, 0);
  grid->addWidget(localDate_, 4, 1);
  grid->addWidget(localTime_, 4, 2);
  grid->addWidget(Label("по Гринвичу:", this), 5, 0);
  grid->addWidget(greenwichDate_, 5, 1);
  grid->addWidget(greenwichTime_, 5, 2);
  grid->addWidget(Label("GMT:", this), 6, 0);
  grid->addWidget(gmt_, 6, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(MakeOkCancelRow(*this));
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  connect(localDate_, &QDateEdit::dateChanged, this, &CBirthDataDlg::ShowGreenwich);
  connect(localTime_, &QTimeEdit::timeChanged, this, &CBirthDataDlg::ShowGreenwich);
  connect(gmt_, &QLineEdit::textChanged, this, &CBirthDataDlg::ShowGreenwich);
  connect(gmt_, &QLineEdit::textEdited, this, [this] { shownOffset_.reset(); });
  connect(place_, &PlacePicker::placeChosen, this, &CBirthDataDlg::TakeChosenPlace);
  ShowGreenwich();
  nameField->setFocus();
}

workspace::BirthDataForm CBirthDataDlg::form() const {
  return {FromQt(name_ ? name_->text() : kinds_->currentText()),
          FromQt(place_->text()),
          latitude_->fields(),
          longitude_->fields(),
          MomentOf(*localDate_, *localTime_),
          FromQt(gmt_->text())};
}

QWidget* CBirthDataDlg::fieldWidget(BirthField field) const {
  switch (field) {
    case BirthField::kName:
      return name_ ? static_cast<QWidget*>(name_) : kinds_;
    case BirthField::kPlace:
      return place_->comboBox();
    case BirthField::kLocalDate:
      return localDate_;
    case BirthField::kGmt:
      return gmt_;
    default:
      return CoordinateFieldWidget(field, *latitude_, *longitude_);
  }
}

void CBirthDataDlg::ShowGreenwich() {
  // While the GMT text does not read, the last Greenwich moment stays shown.
  if (const auto greenwich = workspace::ShownGreenwich(form())) {
    ShowMoment(*greenwich, *greenwichDate_, *greenwichTime_);
  }
}

void CBirthDataDlg::TakeChosenPlace() {
  const places::PlaceRecord* place = place_->chosenPlace();
  if (!place) return;
  workspace::BirthDataForm entered = form();
  const double offset = shownOffset_.value_or(workspace::ParseGmtOffset(entered.gmtText).value_or(chart_.gmtOffsetHours));
  const places::ChosenPlace chosen = places::ChoosePlace(setup_.cityBase, *place, entered.local, offset);
  workspace::FillFromPlace(entered, place->name, chosen.latitudeDeg, chosen.longitudeDeg, chosen.offsetHours);
  place_->setText(ToQt(entered.placeName));
  // The angle fields show the form's degrees and minutes and keep the exact values.
  latitude_->setDegrees(chosen.latitudeDeg);
  longitude_->setDegrees(chosen.longitudeDeg);
  gmt_->setText(ToQt(entered.gmtText));
  shownOffset_ = chosen.offsetHours;
}

void CBirthDataDlg::accept() {
  const workspace::BirthDataForm entered = form();
  const workspace::BirthDataCheck check = workspace::CheckBirthData(entered);
  if (!check.ok) {
    ShowMessage(this, check.message);
    fieldWidget(check.focus)->setFocus();
    return;
  }
  workspace::ApplyBirthData(entered, chart_);
  // Fields the user left alone give back exactly what they were shown.
  chart_.latitudeDeg = latitude_->degrees();
  chart_.longitudeDeg = longitude_->degrees();
  if (shownOffset_) chart_.gmtOffsetHours = *shownOffset_;
  const places::RenameUi rename{[this](const std::string& question) { return AskYesNo(this, question); },
                                [this](const std::string& message) { ShowMessage(this, message); }};
  places::FindPlaceTime(setup_.cityBase, chart_.placeName, chart_.latitudeDeg, chart_.longitudeDeg, &rename);
  if (setup_.lastPlace) *setup_.lastPlace = chart_.placeName;
  QDialog::accept();
}

bool EditBirthData(QWidget* parent, workspace::ChartRecord& chart, const BirthDialogSetup& setup) {
  CBirthDataDlg dialog(chart, setup, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  chart = dialog.chart();
  return true;
}

}  // namespace kelvara::app
