// The composite options dialog, driven through its controls.
#include "app/qt/composite_dialog.h"

#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "app/qt/angle_edit.h"
#include "app/qt/tests/place_dialog_support.h"

namespace kelvara::app {
namespace {

using namespace testing;
using workspace::BirthField;
using workspace::ChartAngle;
using workspace::CompositeHouses;

class CompositeDialogTest : protected testing::ApplicationFirst, public ::testing::Test {
 protected:
  void SetUp() override { platform::testing::TestApplication(); }
  void Click(const char* name) { QTest::mouseClick(dialog_.findChild<QAbstractButton*>(name), Qt::LeftButton); }
  bool Enabled(const char* name) { return dialog_.findChild<QWidget*>(name)->isEnabled(); }
  AngleEdit& Angle(const char* name) { return *dialog_.findChild<AngleEdit*>(name); }

  places::PlacesList list_ = BuiltList({{"Москва", 37.61556, 55.75222}, {"Буэнос-Айрес", -58.37723, -34.61315}});
  places::CityBase base_;
  CCompositeDlg dialog_{list_, base_};
};

TEST_F(CompositeDialogTest, OkChecksThePlaceOnlyWhenTheHousesAreCastForIt) {
  const struct {
    bool forPlace;
    const char* angle;
    bool minutes;
    const char* text;
    std::optional<BirthField> focus;  // none: OK goes through
  } cases[] = {
      {false, "latitude", false, "91", std::nullopt},
      {true, "latitude", false, "91", BirthField::kLatitudeDegrees},
      {true, "latitude", true, "60.5", BirthField::kLatitudeMinutes},
      {true, "longitude", false, "181", BirthField::kLongitudeDegrees},
      {true, "longitude", true, "-1", BirthField::kLongitudeMinutes},
      {true, "longitude", true, "59", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.angle) + " " + c.text);
    CCompositeDlg dialog(list_, base_);
    ShowAndActivate(dialog);
    QTest::mouseClick(dialog.findChild<QRadioButton*>("placeHouses"), Qt::LeftButton);
    AngleEdit& angle = *dialog.findChild<AngleEdit*>(c.angle);
    Retype(c.minutes ? angle.minutesEdit() : angle.degreesEdit(), Q(c.text));
    if (!c.forPlace) QTest::mouseClick(dialog.findChild<QRadioButton*>("averageHouses"), Qt::LeftButton);
    RecordedBoxes boxes;
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result() == QDialog::Accepted, !c.focus);
    EXPECT_EQ(boxes.texts, c.focus ? std::vector<std::string>{"Неправильные данные!"} : std::vector<std::string>{});
    if (c.focus) {
      EXPECT_EQ(dialog.focusWidget(), dialog.fieldWidget(*c.focus));
    }
  }
}

TEST_F(CompositeDialogTest, ControlsGiveTheOptionsAndOnlyThoseThatMatterAreOpen) {
  ShowAndActivate(dialog_);  // clicks land where the layout put the buttons
  EXPECT_EQ(dialog_.options().houses, CompositeHouses::kAverage);
  EXPECT_EQ(dialog_.options().fitAngle, ChartAngle::kAscendant);
  EXPECT_FALSE(Enabled("latitude") || Enabled("fitMidheaven") || Enabled("orderFromAscendant"));
  Click("fixOrder");
  EXPECT_TRUE(Enabled("orderFromAscendant"));
  Click("orderFromAscendant");
  Click("mercuryBySun");
  Click("venusBySun");
  Click("placeHouses");
  EXPECT_TRUE(Enabled("latitude") && Enabled("longitude") && Enabled("fitMidheaven"));
  EXPECT_FALSE(Enabled("fixOrder") || Enabled("orderFromAscendant"));
  Click("fitMidheaven");
  TypeAndPick(*dialog_.findChild<PlacePicker*>(), "буэ");

  const workspace::CompositeOptions chosen = dialog_.options();
  EXPECT_EQ(chosen.houses, CompositeHouses::kForPlace);
  EXPECT_EQ(chosen.placeName, "Буэнос-Айрес");
  EXPECT_NEAR(chosen.latitude.Degrees(), -34.61315, 1e-12);
  EXPECT_NEAR(chosen.longitude.Degrees(), -58.37723, 1e-12);
  EXPECT_TRUE(Angle("latitude").negativeButton()->isChecked() && Angle("longitude").negativeButton()->isChecked());
  EXPECT_EQ(chosen.fitAngle, ChartAngle::kMidheaven);
  EXPECT_TRUE(chosen.fixCuspOrder);
  EXPECT_EQ(chosen.orderFrom, ChartAngle::kAscendant);
  EXPECT_TRUE(chosen.mercuryBySun && chosen.venusBySun);
}

TEST_F(CompositeDialogTest, NothingIsClippedAtTheMinimumSize) {
  dialog_.show();
  Click("placeHouses");
  EXPECT_EQ(LayoutFaults(dialog_), std::vector<std::string>{});
  SaveShot(dialog_, "composite-dialog.png");
}

}  // namespace
}  // namespace kelvara::app
