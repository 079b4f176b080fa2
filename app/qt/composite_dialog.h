// The composite options (dialog 141): how the composite chart gets its houses and
// which of its points are kept by the Sun.
#pragma once

#include <optional>

#include <QDialog>

#include "places/city_base.h"
#include "places/places_list.h"
#include "workspace/merged_chart.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace kelvara::app {

class AngleEdit;
class PlacePicker;

class CCompositeDlg : public QDialog {
  Q_OBJECT

 public:
  CCompositeDlg(places::PlacesList& places, const places::CityBase& cityBase, QWidget* parent = nullptr);

  // What the controls say now.
  workspace::CompositeOptions options() const;
  QWidget* fieldWidget(workspace::BirthField field) const;

  void accept() override;

 private:
  void ShowOptions(const workspace::CompositeOptions& options);
  void EnableChoices();
  void TakeChosenPlace();

  QRadioButton* averageHouses_;
  QRadioButton* placeHouses_;
  PlacePicker* place_;
  AngleEdit* latitude_;
  AngleEdit* longitude_;
  QLabel* fitLabel_;
  QRadioButton* fitAscendant_;
  QRadioButton* fitMidheaven_;
  QCheckBox* fixOrder_;
  QRadioButton* orderFromMidheaven_;
  QRadioButton* orderFromAscendant_;
  QCheckBox* mercuryBySun_;
  QCheckBox* venusBySun_;
};

// The options after OK; none after Cancel.
std::optional<workspace::CompositeOptions> EditCompositeOptions(QWidget* parent, places::PlacesList& places,
                                                                const places::CityBase& cityBase);

}  // namespace kelvara::app
