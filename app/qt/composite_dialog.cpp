#include "app/qt/composite_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt/angle_edit.h"
#include "app/qt/dialog_buttons.h"
#include "app/qt/message_boxes.h"
#include "app/qt/place_picker.h"
#include "app/qt/qt_text.h"

namespace kelvara::app {
namespace {

using workspace::ChartAngle;
using workspace::CompositeHouses;

constexpr const char* kTitle = "Композитная карта";
// The place fields sit under their radio button.
constexpr int kPlaceIndent = 24;

QRadioButton* Radio(const char* text, const char* objectName, QButtonGroup& group, QWidget* parent) {
  auto* button = new QRadioButton(QString::fromUtf8(text), parent);
  button->setObjectName(objectName);
  group.addButton(button);
  return button;
}

QCheckBox* Check(const char* text, const char* objectName, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromUtf8(text), parent);
  box->setObjectName(objectName);
  return box;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, int indent = 0) {
  auto* row = new QHBoxLayout;
  row->addSpacing(indent);
  for (QWidget* widget : widgets) row->addWidget(widget);
  row->addStretch();
  return row;
}

}  // namespace

CCompositeDlg::CCompositeDlg(places::PlacesList& places, const places::CityBase& cityBase, QWidget* parent)
    : QDialog(parent) {
  setObjectName("compositeDialog");
  setWindowTitle(QString::fromUtf8(kTitle));
  auto* houses = new QButtonGroup(this);
  auto* fit = new QButtonGroup(this);
  auto* order = new QButtonGroup(this);
  averageHouses_ = Radio("Среднее положение Домов", "averageHouses", *houses, this);
  placeHouses_ = Radio("Дома на определенное Место", "placeHouses", *houses, this);
  place_ = new PlacePicker(places, cityBase, this);
  latitude_ = AngleEdit::Latitude(this);
  longitude_ = AngleEdit::Longitude(this);
  fitLabel_ = new QLabel(QString::fromUtf8("К среднему"), this);
  fitAscendant_ = Radio("ASC", "fitAscendant", *fit, this);
  fitMidheaven_ = Radio("MC", "fitMidheaven", *fit, this);
  fixOrder_ = Check("Править порядок Домов", "fixOrder", this);
  orderFromMidheaven_ = Radio("от MC", "orderFromMidheaven", *order, this);
  orderFromAscendant_ = Radio("от ASC", "orderFromAscendant", *order, this);
  mercuryBySun_ = Check("Мер. у Сол.", "mercuryBySun", this);
  venusBySun_ = Check("Вен. у Сол.", "venusBySun", this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(averageHouses_);
  layout->addLayout(Row({fixOrder_, orderFromMidheaven_, orderFromAscendant_}, kPlaceIndent));
  layout->addWidget(placeHouses_);
  auto* placeRow = new QHBoxLayout;
  placeRow->addSpacing(kPlaceIndent);
  placeRow->addWidget(place_, 1);
  layout->addLayout(placeRow);
  layout->addLayout(Row({latitude_}, kPlaceIndent));
  layout->addLayout(Row({longitude_}, kPlaceIndent));
  layout->addLayout(Row({fitLabel_, fitAscendant_, fitMidheaven_}, kPlaceIndent));
  layout->addLayout(Row({mercuryBySun_, venusBySun_}));
  layout->addStretch();
  layout->addLayout(MakeOkCancelRow(*this));
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  ShowOptions({});
  connect(houses, &QButtonGroup::buttonToggled, this, &CCompositeDlg::EnableChoices);
  connect(fixOrder_, &QCheckBox::toggled, this, &CCompositeDlg::EnableChoices);
  connect(place_, &PlacePicker::placeChosen, this, &CCompositeDlg::TakeChosenPlace);
  EnableChoices();
}

void CCompositeDlg::ShowOptions(const workspace::CompositeOptions& shown) {
  (shown.houses == CompositeHouses::kForPlace ? placeHouses_ : averageHouses_)->setChecked(true);
  place_->setText(ToQt(shown.placeName));
  latitude_->setDegrees(shown.latitude.Degrees());
  longitude_->setDegrees(shown.longitude.Degrees());
  (shown.fitAngle == ChartAngle::kMidheaven ? fitMidheaven_ : fitAscendant_)->setChecked(true);
  fixOrder_->setChecked(shown.fixCuspOrder);
  (shown.orderFrom == ChartAngle::kAscendant ? orderFromAscendant_ : orderFromMidheaven_)->setChecked(true);
  mercuryBySun_->setChecked(shown.mercuryBySun);
  venusBySun_->setChecked(shown.venusBySun);
}

workspace::CompositeOptions CCompositeDlg::options() const {
  workspace::CompositeOptions chosen;
  chosen.houses = placeHouses_->isChecked() ? CompositeHouses::kForPlace : CompositeHouses::kAverage;
  chosen.placeName = FromQt(place_->text());
  chosen.latitude = latitude_->fields();
  chosen.longitude = longitude_->fields();
  chosen.fitAngle = fitMidheaven_->isChecked() ? ChartAngle::kMidheaven : ChartAngle::kAscendant;
  chosen.fixCuspOrder = fixOrder_->isChecked();
  chosen.orderFrom = orderFromAscendant_->isChecked() ? ChartAngle::kAscendant : ChartAngle::kMidheaven;
  chosen.mercuryBySun = mercuryBySun_->isChecked();
  chosen.venusBySun = venusBySun_->isChecked();
  return chosen;
}

QWidget* CCompositeDlg::fieldWidget(workspace::BirthField field) const {
  QWidget* coordinate = CoordinateFieldWidget(field, *latitude_, *longitude_);
  return coordinate ? coordinate : static_cast<QWidget*>(place_->comboBox());
}

// The place and "К среднему" matter only for houses cast for a place, the order of
// the cusps only for averaged houses.
void CCompositeDlg::EnableChoices() {
  const bool forPlace = placeHouses_->isChecked();
  for (QWidget* widget : std::initializer_list<QWidget*>{place_, latitude_, longitude_, fitLabel_, fitAscendant_, fitMidheaven_}) {
    widget->setEnabled(forPlace);
  }
  fixOrder_->setEnabled(!forPlace);
  orderFromMidheaven_->setEnabled(!forPlace && fixOrder_->isChecked());
  orderFromAscendant_->setEnabled(!forPlace && fixOrder_->isChecked());
}

void CCompositeDlg::TakeChosenPlace() {
  if (const places::PlaceRecord* place = place_->chosenPlace()) {
    latitude_->setDegrees(place->latitude);
    longitude_->setDegrees(place->longitude);
  }
}

void CCompositeDlg::accept() {
  const workspace::BirthDataCheck check = workspace::CheckCompositeOptions(options());
  if (!check.ok) {
    ShowMessage(this, check.message);
    fieldWidget(check.focus)->setFocus();
    return;
  }
  QDialog::accept();
}

std::optional<workspace::CompositeOptions> EditCompositeOptions(QWidget* parent, places::PlacesList& places,
                                                                const places::CityBase& cityBase) {
  CCompositeDlg dialog(places, cityBase, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.options();
}

}  // namespace kelvara::app
