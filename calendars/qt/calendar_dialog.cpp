#include "calendars/qt/calendar_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "calendars/calendar_texts.h"

namespace kelvara::calendars {
namespace {

using workspace::CalendarMoment;

constexpr const char* kDateFormat = "dd.MM.yyyy";
constexpr int kVoidChoiceColumns = 3;

// The lunar choices in the order of their boxes.
constexpr std::array<bool CalendarRequest::*, 5> kLunarFlags = {
    &CalendarRequest::newMoons, &CalendarRequest::firstQuarters, &CalendarRequest::fullMoons,
    &CalendarRequest::lastQuarters, &CalendarRequest::lunarDays};
constexpr std::array<std::string_view, 5> kLunarCaptions = {
    texts::kNewMoonsChoice, texts::kFirstQuartersChoice, texts::kFullMoonsChoice, texts::kLastQuartersChoice,
    texts::kLunarDaysChoice};
constexpr std::size_t kLunarDaysBox = 4;

// The pickers count in UTC, so no daylight-saving gap of the machine swallows a date.
QDateEdit* MakeDatePicker(const char* objectName, const CalendarMoment& date, QWidget* parent) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(objectName);
  picker->setTimeSpec(Qt::UTC);
  picker->setCalendarPopup(true);
  picker->setDisplayFormat(QString::fromLatin1(kDateFormat));
  picker->setDateRange(QDate(workspace::kFirstYear, 1, 1), QDate(workspace::kLastYear, 12, 31));
  picker->setDate(QDate(date.year, date.month, date.day));
  return picker;
}

CalendarMoment DateOf(const QDateEdit& picker) {
  const QDate date = picker.date();
  return {date.year(), date.month(), date.day(), 0, 0, 0};
}

QCheckBox* MakeChoice(const QString& caption, bool checked, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setChecked(checked);
  return box;
}

QString AngleCaption(double angleDeg) { return QString::number(angleDeg) + QStringLiteral("°"); }

}  // namespace

CCalendarDlg::CCalendarDlg(CalendarDialogMode mode, const CalendarRequest& shown, CalendarPlaceFields* place,
                           CalendarUi ui, FileLoader loadFile, QWidget* parent)
    : QDialog(parent),
      mode_(mode),
      request_(shown),
      ui_(std::move(ui)),
      loadFile_(std::move(loadFile)),
      fileButton_(new QToolButton(this)),
      from_(MakeDatePicker("fromDate", shown.from, this)),
      to_(MakeDatePicker("toDate", shown.to, this)),
      place_(place),
      placeGroup_(new QGroupBox(ToQt(texts::kPlaceGroup), this)),
      choicesGroup_(new QGroupBox(ToQt(texts::kChoicesGroup), this)),
      voidGroup_(new QGroupBox(ToQt(texts::kVoidAspectsGroup), this)) {
  const CalendarDialogLayout layout = DialogLayout(mode);
  setObjectName("calendarDialog");
  setWindowTitle(ToQt(layout.title));

  fileButton_->setObjectName("fileButton");
  fileButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  fileButton_->setToolTip(ToQt(texts::kOpenFileTip));
  fileButton_->setAutoRaise(true);
  connect(fileButton_, &QToolButton::clicked, this, &CCalendarDlg::LoadFile);
  auto* top = new QHBoxLayout;
  top->addStretch();
  top->addWidget(fileButton_);

  auto* range = new QGroupBox(ToQt(texts::kRangeGroup), this);
  auto* rangeRow = new QHBoxLayout(range);
  rangeRow->addWidget(new QLabel(ToQt(texts::kFromLabel), range));
  rangeRow->addWidget(from_, 1);
  rangeRow->addSpacing(12);
  rangeRow->addWidget(new QLabel(ToQt(texts::kToLabel), range));
  rangeRow->addWidget(to_, 1);

  placeGroup_->setObjectName("placeGroup");
  auto* placeLayout = new QVBoxLayout(placeGroup_);
  if (place_) {
    place_->setParent(placeGroup_);
    place_->ShowPlace(shown.placeName, shown.latitudeDeg, shown.longitudeDeg);
    placeLayout->addWidget(place_);
  }
  placeGroup_->setVisible(layout.placeShown && place_);
  placeGroup_->setEnabled(layout.placeEnabled);

  choicesGroup_->setObjectName("choicesGroup");
  auto* choices = new QVBoxLayout(choicesGroup_);
  for (std::size_t i = 0; i < kLunarFlags.size(); ++i) {
    lunarChoices_[i] = MakeChoice(ToQt(kLunarCaptions[i]), shown.*kLunarFlags[i], choicesGroup_);
    lunarChoices_[i]->setVisible(i == kLunarDaysBox ? layout.lunarDaysShown : layout.phaseChoicesShown);
    choices->addWidget(lunarChoices_[i]);
  }
  choicesGroup_->setVisible(layout.phaseChoicesShown || layout.lunarDaysShown);

  voidGroup_->setObjectName("voidAspectsGroup");
  auto* aspects = new QGridLayout(voidGroup_);
  for (std::size_t i = 0; i < voidChoices_.size(); ++i) {
    voidChoices_[i] = MakeChoice(AngleCaption(kVoidAspectAnglesDeg[i]), shown.voidAspects[i], voidGroup_);
    aspects->addWidget(voidChoices_[i], int(i) / kVoidChoiceColumns, int(i) % kVoidChoiceColumns);
  }
  voidGroup_->setVisible(layout.voidAspectsShown);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQt(texts::kCancelCaption));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &CCalendarDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CCalendarDlg::reject);

  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addWidget(range);
  column->addWidget(placeGroup_);
  column->addWidget(choicesGroup_);
  column->addWidget(voidGroup_);
  column->addStretch();
  column->addWidget(buttons);
  column->setSizeConstraint(QLayout::SetMinimumSize);
  from_->setFocus();
}

CalendarDialogForm CCalendarDlg::form() const {
  CalendarDialogForm shown{request_, workspace::AngleFields::FromDegrees(request_.latitudeDeg),
                           workspace::AngleFields::FromDegrees(request_.longitudeDeg)};
  CalendarRequest& request = shown.request;
  request.from = DateOf(*from_);
  request.to = DateOf(*to_);
  if (place_ && DialogLayout(mode_).placeEnabled) {
    request.placeName = place_->PlaceName();
    request.latitudeDeg = place_->LatitudeDeg();
    request.longitudeDeg = place_->LongitudeDeg();
    shown.latitude = place_->LatitudeFields();
    shown.longitude = place_->LongitudeFields();
  }
  for (std::size_t i = 0; i < kLunarFlags.size(); ++i) request.*kLunarFlags[i] = lunarChoices_[i]->isChecked();
  for (std::size_t i = 0; i < voidChoices_.size(); ++i) request.voidAspects[i] = voidChoices_[i]->isChecked();
  return shown;
}

QWidget* CCalendarDlg::FocusOf(const CalendarDialogCheck& check) const {
  switch (check.focus) {
    case CalendarDialogFocus::kFromDate: return from_;
    case CalendarDialogFocus::kToDate: return to_;
    case CalendarDialogFocus::kCoordinate: return place_ ? place_->FieldWidget(check.coordinate) : nullptr;
  }
  return nullptr;
}

void CCalendarDlg::accept() {
  const CalendarDialogForm entered = form();
  const CalendarDialogCheck check = CheckCalendarForm(mode_, entered);
  if (!check.ok) {
    if (ui_.tell) ui_.tell(std::string(check.message));
    if (QWidget* field = FocusOf(check)) field->setFocus();
    return;
  }
  request_ = entered.request;
  QDialog::accept();
}

void CCalendarDlg::LoadFile() {
  if (loadFile_ && loadFile_(this)) done(kFileLoaded);
}

}  // namespace kelvara::calendars
