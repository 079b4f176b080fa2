// The calendar dialog's place: the program's place pick over the places list and the
// latitude and longitude fields of its place dialogs; choosing a place fills them.
#pragma once

#include "app/qt/angle_edit.h"
#include "app/qt/place_picker.h"
#include "calendars/qt/calendar_ui.h"

namespace kelvara::app {

class CalendarPlaceSection : public calendars::CalendarPlaceFields {
 public:
  CalendarPlaceSection(places::PlacesList& places, const places::CityBase& cityBase, QWidget* parent = nullptr);

  void ShowPlace(const std::string& name, double latitudeDeg, double longitudeDeg) override;
  std::string PlaceName() const override;
  double LatitudeDeg() const override { return latitude_->degrees(); }
  double LongitudeDeg() const override { return longitude_->degrees(); }
  workspace::AngleFields LatitudeFields() const override { return latitude_->fields(); }
  workspace::AngleFields LongitudeFields() const override { return longitude_->fields(); }
  QWidget* FieldWidget(workspace::BirthField field) const override;

  PlacePicker* Picker() const { return picker_; }

 private:
  void TakeChosenPlace();

  PlacePicker* picker_;
  AngleEdit* latitude_;
  AngleEdit* longitude_;
};

}  // namespace kelvara::app
