#include "app/qt/angle_edit.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>

namespace kelvara::app {
namespace {

// Below every range the checks accept.
constexpr int kUnreadableDegrees = -1;
constexpr double kUnreadableMinutes = -1.0;
// A ten-thousandth of a minute is about 0.006 arc-seconds: finer than any place needs.
constexpr int kShownMinuteDecimals = 4;

QLineEdit* MakeField(const char* objectName, const char* pattern, const char* widest, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
  edit->setAlignment(Qt::AlignRight);
  const int frame = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 10;
  // Fixed, so the latitude and longitude rows line up under each other.
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) + frame);
  return edit;
}

QString MinutesText(double minutes) {
  QString text = QString::number(minutes, 'f', kShownMinuteDecimals);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text;
}

}  // namespace

AngleEdit::AngleEdit(const char* positiveText, const char* negativeText, QWidget* parent)
    : QWidget(parent),
      degrees_(MakeField("degrees", "-?\\d{0,3}", "-000", this)),
      minutes_(MakeField("minutes", "-?\\d{0,3}([.,]\\d{0,8})?", "00.0000", this)),
      positive_(new QRadioButton(QString::fromUtf8(positiveText), this)),
      negative_(new QRadioButton(QString::fromUtf8(negativeText), this)) {
  positive_->setObjectName("positive");
  negative_->setObjectName("negative");
  auto* hemisphere = new QButtonGroup(this);
  hemisphere->addButton(positive_);
  hemisphere->addButton(negative_);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(degrees_);
  row->addWidget(new QLabel(QStringLiteral("°"), this));
  row->addWidget(minutes_);
  row->addWidget(new QLabel(QStringLiteral("'"), this));
  row->addSpacing(8);
  row->addWidget(positive_);
  row->addWidget(negative_);
  row->addStretch();

  connect(degrees_, &QLineEdit::textEdited, this, &AngleEdit::MarkEdited);
  connect(minutes_, &QLineEdit::textEdited, this, &AngleEdit::MarkEdited);
  // setDegrees() clears the mark after its own changes.
  connect(positive_, &QRadioButton::toggled, this, &AngleEdit::MarkEdited);
  setDegrees(0.0);
}

AngleEdit* AngleEdit::Latitude(QWidget* parent) {
  auto* edit = new AngleEdit(kNorthText, kSouthText, parent);
  edit->setObjectName("latitude");
  return edit;
}

AngleEdit* AngleEdit::Longitude(QWidget* parent) {
  auto* edit = new AngleEdit(kEastText, kWestText, parent);
  edit->setObjectName("longitude");
  return edit;
}

void AngleEdit::setDegrees(double value) {
  const workspace::AngleFields shown = workspace::AngleFields::FromDegrees(value);
  degrees_->setText(QString::number(shown.degrees));
  minutes_->setText(MinutesText(shown.minutes));
  (shown.negative ? negative_ : positive_)->setChecked(true);
  shown_ = value;
  edited_ = false;
}

double AngleEdit::degrees() const { return edited_ ? fields().Degrees() : shown_; }

workspace::AngleFields AngleEdit::fields() const {
  if (!edited_) return workspace::AngleFields::FromDegrees(shown_);
  bool degreesRead = false;
  bool minutesRead = false;
  const int degrees = degrees_->text().toInt(&degreesRead);
  const double minutes = QString(minutes_->text()).replace(',', '.').toDouble(&minutesRead);
  return {degreesRead ? degrees : kUnreadableDegrees, minutesRead ? minutes : kUnreadableMinutes,
          negative_->isChecked()};
}

QWidget* CoordinateFieldWidget(workspace::BirthField field, const AngleEdit& latitude, const AngleEdit& longitude) {
  switch (field) {
    case workspace::BirthField::kLatitudeDegrees:
      return latitude.degreesEdit();
    case workspace::BirthField::kLatitudeMinutes:
      return latitude.minutesEdit();
    case workspace::BirthField::kLongitudeDegrees:
      return longitude.degreesEdit();
    case workspace::BirthField::kLongitudeMinutes:
      return longitude.minutesEdit();
    default:
      return nullptr;
  }
}

}  // namespace kelvara::app
