#include "calendars/qt/calendar_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::calendars {
namespace {

// Plain fields in place of the program's place pick.
class TypedPlace : public CalendarPlaceFields {
 public:
  TypedPlace() : name_(new QLineEdit(this)), latitude_(new QLineEdit(this)), longitude_(new QLineEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    for (QLineEdit* edit : {name_, latitude_, longitude_}) layout->addWidget(edit);
  }
  void ShowPlace(const std::string& name, double latitudeDeg, double longitudeDeg) override {
    name_->setText(ToQt(name));
    latitude_->setText(QString::number(latitudeDeg));
    longitude_->setText(QString::number(longitudeDeg));
  }
  std::string PlaceName() const override { return FromQt(name_->text()); }
  double LatitudeDeg() const override { return latitude_->text().toDouble(); }
  double LongitudeDeg() const override { return longitude_->text().toDouble(); }
  workspace::AngleFields LatitudeFields() const override { return workspace::AngleFields::FromDegrees(LatitudeDeg()); }
  workspace::AngleFields LongitudeFields() const override { return workspace::AngleFields::FromDegrees(LongitudeDeg()); }
  QWidget* FieldWidget(workspace::BirthField field) const override {
    return field == workspace::BirthField::kLatitudeDegrees || field == workspace::BirthField::kLatitudeMinutes
               ? latitude_
               : longitude_;
  }
  QLineEdit* name_;
  QLineEdit* latitude_;
  QLineEdit* longitude_;
};

class CalendarDialogTest : public ::testing::Test {
 protected:
  CalendarDialogTest() { platform::testing::TestApplication(); }

  std::unique_ptr<CCalendarDlg> Open(CalendarDialogMode mode, CCalendarDlg::FileLoader loader = {}) {
    const CalendarDialogContext context{platform::DateTime::FromFields(2024, 3, 1), workspace::CalendarMoment{2024, 5, 9},
                                        "Москва", 55.75, 37.6};
    place_ = mode == CalendarDialogMode::kVoidMoon ? nullptr : new TypedPlace;
    auto dialog = std::make_unique<CCalendarDlg>(mode, OpeningRequest(mode, context, std::nullopt), place_,
                                                 CalendarUi{[this](const std::string& text) { told_.push_back(text); }, {}},
                                                 std::move(loader));
    dialog->show();
    return dialog;
  }
  static int VisibleBoxes(QGroupBox* group) {
    int shown = 0;
    for (QCheckBox* box : group->findChildren<QCheckBox*>()) shown += box->isVisible() ? 1 : 0;
    return shown;
  }
  static QStringList CheckedCaptions(QGroupBox* group) {
    QStringList checked;
    for (QCheckBox* box : group->findChildren<QCheckBox*>()) {
      if (box->isChecked()) checked << box->text();
    }
    return checked;
  }

  TypedPlace* place_ = nullptr;
  std::vector<std::string> told_;
};

TEST_F(CalendarDialogTest, EachModeShowsItsGroupsAndDefaults) {
  auto lunar = Open(CalendarDialogMode::kLunar);
  EXPECT_EQ(lunar->windowTitle(), "Расчет лунного календаря");
  EXPECT_TRUE(lunar->placeGroup()->isVisible() && lunar->placeGroup()->isEnabled());
  EXPECT_EQ(VisibleBoxes(lunar->choicesGroup()), 5);
  EXPECT_FALSE(lunar->voidAspectsGroup()->isVisible());
  EXPECT_EQ(lunar->fromDate()->date(), QDate(2024, 2, 15));
  EXPECT_EQ(lunar->toDate()->date(), QDate(2024, 3, 16));
  EXPECT_EQ(place_->PlaceName(), "Москва");

  auto hours = Open(CalendarDialogMode::kPlanetaryHours);
  EXPECT_EQ(hours->windowTitle(), "Расчет планетарных часов");
  EXPECT_FALSE(hours->choicesGroup()->isVisible());
  EXPECT_TRUE(hours->placeGroup()->isEnabled());

  auto voidMoon = Open(CalendarDialogMode::kVoidMoon);
  EXPECT_EQ(voidMoon->windowTitle(), "Расчет Луны без курса");
  EXPECT_FALSE(voidMoon->placeGroup()->isVisible());
  EXPECT_FALSE(voidMoon->choicesGroup()->isVisible());
  EXPECT_EQ(voidMoon->voidAspectsGroup()->title(), "В расчетах учитывать аспекты:");
  EXPECT_EQ(VisibleBoxes(voidMoon->voidAspectsGroup()), 9);
  EXPECT_EQ(CheckedCaptions(voidMoon->voidAspectsGroup()), (QStringList{"0°", "180°", "90°", "120°", "60°"}));
  EXPECT_EQ(voidMoon->fromDate()->date(), QDate(2024, 5, 9));  // the second chart's date
  EXPECT_EQ(voidMoon->toDate()->date(), QDate(2024, 5, 24));

  auto aspects = Open(CalendarDialogMode::kAspects);
  EXPECT_EQ(aspects->windowTitle(), "Расчет календаря аспектов");
  EXPECT_TRUE(aspects->placeGroup()->isVisible());
  EXPECT_FALSE(aspects->placeGroup()->isEnabled());
  EXPECT_FALSE(aspects->choicesGroup()->isVisible() || aspects->voidAspectsGroup()->isVisible());
  EXPECT_EQ(aspects->toDate()->date(), QDate(2024, 5, 10));
}

TEST_F(CalendarDialogTest, OkRefusesABackwardRangeAndStaysOpen) {
  auto dialog = Open(CalendarDialogMode::kLunar);
  dialog->fromDate()->setDate(QDate(2024, 4, 1));
  dialog->findChild<QPushButton*>("okButton")->click();
  ASSERT_EQ(told_, (std::vector<std::string>{"Неверно задан временной диапазон."}));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), 0);

  dialog->fromDate()->setDate(QDate(2024, 3, 16));  // one day is a range
  dialog->choicesGroup()->findChildren<QCheckBox*>().front()->setChecked(false);  // "новолуния"
  place_->name_->setText("Тверь");
  place_->latitude_->setText("56.86");
  dialog->findChild<QPushButton*>("okButton")->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const CalendarRequest& request = dialog->request();
  EXPECT_EQ(request.from, request.to);
  EXPECT_FALSE(request.newMoons);
  EXPECT_TRUE(request.lunarDays);
  EXPECT_EQ(request.placeName, "Тверь");
  EXPECT_DOUBLE_EQ(request.latitudeDeg, 56.86);
}

TEST_F(CalendarDialogTest, BadCoordinatesAreRefusedWithTheFieldFocused) {
  auto dialog = Open(CalendarDialogMode::kPlanetaryHours);
  QApplication::setActiveWindow(dialog.get());
  place_->latitude_->setText("95");
  dialog->findChild<QPushButton*>("okButton")->click();
  ASSERT_EQ(told_.size(), 1u);
  EXPECT_EQ(told_[0], workspace::kMessageBadData);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->focusWidget(), place_->latitude_);
}

TEST_F(CalendarDialogTest, TheFileButtonClosesTheDialogOnlyWhenLinesWereLoadedAndEscapeCancels) {
  bool loads = false;
  int asked = 0;
  auto dialog = Open(CalendarDialogMode::kAspects, [&](QWidget*) {
    ++asked;
    return loads;
  });
  dialog->fileButton()->click();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(dialog->isVisible());
  loads = true;
  dialog->fileButton()->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), CCalendarDlg::kFileLoaded);

  dialog = Open(CalendarDialogMode::kVoidMoon);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kelvara::calendars
