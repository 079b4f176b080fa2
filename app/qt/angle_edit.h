// Latitude or longitude as the place dialogs edit it: whole degrees, minutes and the
// two hemisphere buttons (the first for positive values).
#pragma once

#include <QWidget>

#include "workspace/birth_data.h"
#include "workspace/coordinate_fields.h"

class QLineEdit;
class QRadioButton;

namespace kelvara::app {

// The hemisphere buttons' texts; the blank after "В.Д." is the program's own.
inline constexpr const char* kNorthText = "С.Ш.";
inline constexpr const char* kSouthText = "Ю.Ш.";
inline constexpr const char* kEastText = "В.Д. ";
inline constexpr const char* kWestText = "З.Д.";

class AngleEdit : public QWidget {
  Q_OBJECT

 public:
  AngleEdit(const char* positiveText, const char* negativeText, QWidget* parent = nullptr);
  static AngleEdit* Latitude(QWidget* parent);
  static AngleEdit* Longitude(QWidget* parent);

  // Shows a value. Until the user edits a field, degrees() gives it back bit for bit:
  // degrees and minutes put together again need not land on the same double.
  void setDegrees(double value);
  double degrees() const;
  // What the fields say; text that does not read as a number gives a value outside
  // the fields' ranges, so the dialog's checks refuse it and focus that field.
  workspace::AngleFields fields() const;

  QLineEdit* degreesEdit() const { return degrees_; }
  QLineEdit* minutesEdit() const { return minutes_; }
  QRadioButton* positiveButton() const { return positive_; }
  QRadioButton* negativeButton() const { return negative_; }

 private:
  void MarkEdited() { edited_ = true; }

  QLineEdit* degrees_;
  QLineEdit* minutes_;
  QRadioButton* positive_;
  QRadioButton* negative_;
  double shown_ = 0.0;
  bool edited_ = false;
};

// The field of a latitude and longitude pair that a check names; null for the others.
QWidget* CoordinateFieldWidget(workspace::BirthField field, const AngleEdit& latitude, const AngleEdit& longitude);

}  // namespace kelvara::app
