#include "app/qt/calendar_place_fields.h"

#include <QComboBox>
#include <QVBoxLayout>

#include "app/qt/qt_text.h"

namespace kelvara::app {

CalendarPlaceSection::CalendarPlaceSection(places::PlacesList& places, const places::CityBase& cityBase,
                                           QWidget* parent)
    : CalendarPlaceFields(parent),
      picker_(new PlacePicker(places, cityBase, this)),
      latitude_(AngleEdit::Latitude(this)),
      longitude_(AngleEdit::Longitude(this)) {
  setObjectName("placeFields");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picker_);
  layout->addWidget(latitude_);
  layout->addWidget(longitude_);
  connect(picker_, &PlacePicker::placeChosen, this, &CalendarPlaceSection::TakeChosenPlace);
}

void CalendarPlaceSection::ShowPlace(const std::string& name, double latitudeDeg, double longitudeDeg) {
  picker_->setText(ToQt(name));
  latitude_->setDegrees(latitudeDeg);
  longitude_->setDegrees(longitudeDeg);
}

std::string CalendarPlaceSection::PlaceName() const { return FromQt(picker_->text().trimmed()); }

QWidget* CalendarPlaceSection::FieldWidget(workspace::BirthField field) const {
  QWidget* coordinate = CoordinateFieldWidget(field, *latitude_, *longitude_);
  return coordinate ? coordinate : static_cast<QWidget*>(picker_->comboBox());
}

void CalendarPlaceSection::TakeChosenPlace() {
  if (const places::PlaceRecord* place = picker_->chosenPlace()) {
    latitude_->setDegrees(place->latitude);
    longitude_->setDegrees(place->longitude);
  }
}

}  // namespace kelvara::app
