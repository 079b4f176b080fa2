// The birth-data dialog and its place pick, driven as a user drives them: keys into
// the fields, the drop-down of places, the file buttons, OK and "Отмена".
#include "app/qt/birth_data_dialog.h"

#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QToolButton>

#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>

#include "app/qt/angle_edit.h"
#include "app/qt/places_progress.h"
#include "app/qt/qt_text.h"
#include "app/qt/tests/place_dialog_support.h"
#include "places/messages.h"
#include "places/place_files.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::app {
namespace {

using namespace testing;
using workspace::BirthField;
using workspace::ChartRecord;

// Near the Greenwich meridian degrees and minutes put together again miss the double
// they came from; no city lies there.
constexpr double kOddLatitude = 0.3813;
constexpr double kOddLongitude = -0.05312;

ChartRecord PersonChart() {
  ChartRecord chart;
  chart.name = "Иван Петров";
  chart.placeName = "Хутор";
  chart.latitudeDeg = kOddLatitude;
  chart.longitudeDeg = kOddLongitude;
  chart.local = {1985, 7, 12, 12, 0, 0};
  chart.gmtOffsetHours = 3.0;
  return chart;
}

// The dialog's controls by their object names.
struct View {
  explicit View(QWidget& d)
      : dialog(d),
        name(d.findChild<QLineEdit*>("nameEdit")),
        kinds(d.findChild<QComboBox*>("kindCombo")),
        place(*d.findChild<PlacePicker*>()),
        latitude(*d.findChild<AngleEdit*>("latitude")),
        longitude(*d.findChild<AngleEdit*>("longitude")),
        gmt(d.findChild<QLineEdit*>("gmtEdit")) {}
  QDateTime Greenwich() const {
    return QDateTime(dialog.findChild<QDateEdit*>("greenwichDate")->date(),
                     dialog.findChild<QTimeEdit*>("greenwichTime")->time(), Qt::UTC);
  }
  void SetLocal(QDate date, QTime time) const {
    dialog.findChild<QDateEdit*>("localDate")->setDate(date);
    dialog.findChild<QTimeEdit*>("localTime")->setTime(time);
  }
  void Ok() const { QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton); }

  QWidget& dialog;
  QLineEdit* name;
  QComboBox* kinds;
  PlacePicker& place;
  AngleEdit& latitude;
  AngleEdit& longitude;
  QLineEdit* gmt;
};

QDateTime Utc(int y, int mo, int d, int h, int mi, int s = 0) { return {QDate(y, mo, d), QTime(h, mi, s), Qt::UTC}; }

class BirthDataDialogTest : protected testing::ApplicationFirst, public ::testing::Test {
 protected:
  void SetUp() override { platform::testing::TestApplication(); }
  BirthDialogSetup Inputs(bool second = false, const ChartRecord* main = nullptr) {
    return {list_, base_, second, main, &lastPlace_};
  }
  BirthDialogSetup RealInputs() { return {unbuilt_, RealCityBase(), false, nullptr, &lastPlace_}; }

  places::PlacesList list_ = BuiltList({{"Москва", 37.61556, 55.75222}, {"Минск", 27.56667, 53.9}});
  places::PlacesList unbuilt_;
  places::CityBase base_;
  std::string lastPlace_ = "прежнее";
};

TEST_F(BirthDataDialogTest, OkChecksInTheirOrderAndFocusesTheFieldAtFault) {
  using Edit = QLineEdit* (*)(const View&);
  const Edit gmt = [](const View& v) { return v.gmt; };
  const Edit latDeg = [](const View& v) { return v.latitude.degreesEdit(); };
  const Edit latMin = [](const View& v) { return v.latitude.minutesEdit(); };
  const Edit lonDeg = [](const View& v) { return v.longitude.degreesEdit(); };
  const Edit lonMin = [](const View& v) { return v.longitude.minutesEdit(); };
  const Edit name = [](const View& v) { return v.name; };
  const char* bad = "Неправильные данные!";
  const struct {
    std::vector<std::pair<Edit, const char*>> typed;
    const char* message;
    BirthField focus;
  } cases[] = {
      {{{gmt, "+13:30"}}, bad, BirthField::kGmt},
      {{{latDeg, "91"}, {gmt, "abc"}}, bad, BirthField::kGmt},
      {{{lonDeg, "200"}, {latDeg, "91"}}, bad, BirthField::kLatitudeDegrees},
      {{{latDeg, ""}}, bad, BirthField::kLatitudeDegrees},
      {{{latMin, "61"}}, bad, BirthField::kLatitudeMinutes},
      {{{lonDeg, "181"}}, bad, BirthField::kLongitudeDegrees},
      {{{lonMin, "-5"}}, bad, BirthField::kLongitudeMinutes},
      {{{latDeg, "90"}, {latMin, "30"}}, bad, BirthField::kLatitudeMinutes},
      {{{lonDeg, "180"}, {lonMin, "0,5"}}, bad, BirthField::kLongitudeMinutes},
      {{{name, "   "}}, "Введите имя", BirthField::kName},
      {{{name, " Неизвестный "}}, "Введите имя", BirthField::kName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.front().second);
    const ChartRecord chart = PersonChart();
    CBirthDataDlg dialog(chart, Inputs());
    ShowAndActivate(dialog);
    const View view(dialog);
    for (const auto& [edit, text] : c.typed) Retype(edit(view), Q(text));
    RecordedBoxes boxes;
    view.Ok();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{c.message});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.fieldWidget(c.focus));
    EXPECT_EQ(dialog.chart(), chart);
    EXPECT_EQ(lastPlace_, "прежнее");
  }
}

TEST_F(BirthDataDialogTest, UntouchedOkKeepsEveryValueBitForBit) {
  ASSERT_NE(workspace::AngleFields::FromDegrees(kOddLatitude).Degrees(), kOddLatitude);
  ASSERT_NE(workspace::AngleFields::FromDegrees(kOddLongitude).Degrees(), kOddLongitude);
  ChartRecord chart = PersonChart();
  chart.gmtOffsetHours = 2.5028;  // a mean time, finer than the field's minutes
  CBirthDataDlg dialog(chart, Inputs());
  const View view(dialog);
  EXPECT_EQ(view.gmt->text(), Q("+02:30"));
  EXPECT_EQ(view.latitude.minutesEdit()->text(), Q("22.878"));
  EXPECT_TRUE(view.longitude.negativeButton()->isChecked());
  RecordedBoxes boxes;
  view.Ok();
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chart(), chart);
  EXPECT_EQ(lastPlace_, "Хутор");
}

TEST_F(BirthDataDialogTest, GreenwichFollowsEveryChangeWithTheFullOffset) {
  CBirthDataDlg dialog(PersonChart(), Inputs());
  const View view(dialog);
  EXPECT_EQ(view.Greenwich(), Utc(1985, 7, 12, 9, 0));
  Retype(view.gmt, Q("+05:30"));
  EXPECT_EQ(view.Greenwich(), Utc(1985, 7, 12, 6, 30));
  view.SetLocal(QDate(2000, 3, 1), QTime(2, 10, 5));
  EXPECT_EQ(view.Greenwich(), Utc(2000, 2, 29, 20, 40, 5));
  Retype(view.gmt, Q("-03:30"));
  EXPECT_EQ(view.Greenwich(), Utc(2000, 3, 1, 5, 40, 5));
  Retype(view.gmt, Q("-"));  // half typed: the last moment stays
  EXPECT_EQ(view.Greenwich(), Utc(2000, 3, 1, 5, 40, 5));
}

TEST_F(BirthDataDialogTest, ChoosingMoscowFillsItsPlaceAndTheOffsetInForceThen) {
  const struct {
    int month;
    const char* gmt;
    int greenwichHour;
  } cases[] = {{7, "+04:00", 8}, {1, "+03:00", 9}};
  for (const auto& c : cases) {
    CBirthDataDlg dialog(PersonChart(), RealInputs());
    ShowAndActivate(dialog);
    const View view(dialog);
    view.SetLocal(QDate(1985, c.month, 12), QTime(12, 0));
    Retype(PlaceEdit(view.place), Q("моск"));
    ASSERT_TRUE(unbuilt_.loaded);  // built on first use
    QAbstractItemView* popup = AnswersPopup(view.place);
    ASSERT_TRUE(popup->isVisible());
    ASSERT_GT(popup->model()->rowCount(), 1);
    EXPECT_EQ(popup->model()->index(0, 0).data().toString(), Q("Москва"));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);

    EXPECT_EQ(view.place.text(), Q("Москва"));
    EXPECT_EQ(view.latitude.degreesEdit()->text(), Q("55"));
    EXPECT_NEAR(view.latitude.fields().Degrees(), 55.7522, 1e-4);
    EXPECT_TRUE(view.latitude.positiveButton()->isChecked());
    EXPECT_NEAR(view.longitude.fields().Degrees(), 37.6156, 1e-4);
    EXPECT_TRUE(view.longitude.positiveButton()->isChecked());
    EXPECT_EQ(view.gmt->text(), Q(c.gmt));
    EXPECT_EQ(view.Greenwich(), Utc(1985, c.month, 12, c.greenwichHour, 0));

    RecordedBoxes boxes;
    view.Ok();
    EXPECT_TRUE(boxes.texts.empty());
    const auto moscow = std::find_if(unbuilt_.places.begin(), unbuilt_.places.end(),
                                     [](const places::PlaceRecord& p) { return p.name == "Москва"; });
    EXPECT_EQ(dialog.chart().latitudeDeg, moscow->latitude);
    EXPECT_EQ(dialog.chart().longitudeDeg, moscow->longitude);
    EXPECT_EQ(dialog.chart().gmtOffsetHours, 12 - c.greenwichHour);
    EXPECT_EQ(lastPlace_, "Москва");
  }
}

TEST_F(BirthDataDialogTest, APlaceTheListLacksKeepsWhatWasTyped) {
  const ChartRecord chart = PersonChart();
  CBirthDataDlg dialog(chart, Inputs());
  const View view(dialog);
  Retype(PlaceEdit(view.place), Q("Нигдеград"));
  EXPECT_FALSE(AnswersPopup(view.place)->isVisible());
  RecordedBoxes boxes;
  view.Ok();
  ChartRecord expected = chart;
  expected.placeName = "Нигдеград";
  EXPECT_EQ(dialog.chart(), expected);
  EXPECT_EQ(lastPlace_, "Нигдеград");
}

TEST_F(BirthDataDialogTest, OkOffersTheBaseNameOfACityAtThePlacesSpot) {
  places::BuildPlacesList(RealCityBase(), unbuilt_, {});
  const places::PlaceRecord moscow = unbuilt_.places[places::PlaceSearch(unbuilt_).Find("Москва").front()];
  for (const bool yes : {false, true}) {
    ChartRecord chart = PersonChart();
    chart.placeName = "Мой дом";
    chart.latitudeDeg = moscow.latitude;
    chart.longitudeDeg = moscow.longitude;
    CBirthDataDlg dialog(chart, RealInputs());
    RecordedBoxes boxes;
    boxes.answer = yes;
    View(dialog).Ok();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.texts.size(), yes ? 2u : 1u);
    EXPECT_EQ(boxes.kinds[0], BoxKind::kYesNo);
    EXPECT_NE(boxes.texts[0].find("\"Мой дом\"\nсоответствуют населенному пункту \"Москва\""), std::string::npos);
    if (yes) {
      EXPECT_EQ(boxes.texts[1], places::kRenameReminder);
    }
    EXPECT_EQ(dialog.chart().placeName, yes ? "Москва" : "Мой дом");
    EXPECT_EQ(lastPlace_, dialog.chart().placeName);
  }
}

TEST_F(BirthDataDialogTest, TheSecondChartPicksAKindInTheirOrder) {
  const ChartRecord person = PersonChart();
  ChartRecord composite = PersonChart();
  composite.name = "Комп.карта (А + Б)";
  auto items = [](QComboBox* combo) {
    std::vector<std::string> texts;
    for (int i = 0; i < combo->count(); ++i) texts.push_back(FromQt(combo->itemText(i)));
    return texts;
  };
  std::vector<std::string> kinds = {"Сейчас"};
  for (const int id : {52, 53, 59, 51, 58, 54, 55, 56, 57}) kinds.emplace_back(workspace::KindName(*workspace::KindOfId(id)));

  CBirthDataDlg overPerson(person, Inputs(true, &person));
  const View view(overPerson);
  ASSERT_NE(view.kinds, nullptr);
  EXPECT_EQ(view.name, nullptr);
  EXPECT_EQ(items(view.kinds), kinds);
  EXPECT_EQ(view.kinds->currentText(), Q("Иван Петров"));
  view.kinds->setCurrentIndex(3);
  RecordedBoxes boxes;
  view.Ok();
  EXPECT_EQ(overPerson.chart().name, kinds[3]);

  CBirthDataDlg overComposite(person, Inputs(true, &composite));
  ShowAndActivate(overComposite);
  const View second(overComposite);
  EXPECT_EQ(items(second.kinds), std::vector<std::string>{"Сейчас"});
  Retype(second.kinds->lineEdit(), Q(" "));
  second.Ok();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Введите имя"});
  EXPECT_EQ(overComposite.focusWidget(), second.kinds);
}

TEST_F(BirthDataDialogTest, EditBirthDataStoresEditsOnOkAndNothingOnCancel) {
  for (const bool ok : {false, true}) {
    ChartRecord chart = PersonChart();
    const ChartRecord before = chart;
    WhenModalOpens([ok](QDialog& dialog) {
      const View view(dialog);
      Retype(view.name, Q("  Пётр "));
      Retype(view.latitude.degreesEdit(), Q("33"));
      Retype(view.latitude.minutesEdit(), Q("52"));
      QTest::mouseClick(view.latitude.negativeButton(), Qt::LeftButton);
      QTest::mouseClick(view.longitude.positiveButton(), Qt::LeftButton);
      Retype(view.gmt, Q("+05:45"));
      dialog.findChild<QPushButton*>(ok ? "okButton" : "cancelButton")->click();
    });
    RecordedBoxes boxes;
    EXPECT_EQ(EditBirthData(nullptr, chart, Inputs()), ok);
    if (!ok) {
      EXPECT_EQ(chart, before);
      continue;
    }
    EXPECT_EQ(chart.name, "Пётр");
    EXPECT_NEAR(chart.latitudeDeg, -(33 + 52.0 / 60), 1e-12);
    EXPECT_NEAR(chart.longitudeDeg, -kOddLongitude, 1e-9);
    EXPECT_EQ(chart.gmtOffsetHours, 5.75);
  }
}

class PlaceFilesTest : public BirthDataDialogTest {
 protected:
  void SetUp() override {
    BirthDataDialogTest::SetUp();
    picker_.setProgressDelay(0);
    picker_.setFileChooser([this](PlacePicker::FileChoice, QWidget*) { return QString::fromStdString(file_.string()); });
  }
  void WriteFile(const std::string& lines) {
    std::ofstream(file_, std::ios::binary) << "строка 1\r\nстрока 2\r\nстрока 3\r\n\r\n" << lines;
  }

  platform::test_support::ScratchDir dir_;
  std::filesystem::path file_ = dir_ / "места.txt";
  CBirthDataDlg dialog_{PersonChart(), Inputs()};
  PlacePicker& picker_ = *dialog_.findChild<PlacePicker*>();
};

TEST_F(PlaceFilesTest, ImportAsksUnderTheProgressWindowAndReportsBadData) {
  WriteFile("Новосёлки 55.30  37.30\r\nМосква 10.00  10.00\r\n");
  RecordedBoxes boxes;
  QString caption, text;
  boxes.onBox = [&] {
    if (auto* progress = VisibleWindow<PlacesProgressWindow>()) {
      caption = progress->windowTitle();
      text = progress->text();
    }
  };
  QTest::mouseClick(picker_.importButton(), Qt::LeftButton);
  EXPECT_EQ(boxes.kinds, std::vector<BoxKind>{BoxKind::kOkCancel});
  EXPECT_EQ(boxes.texts, std::vector<std::string>{std::string(places::kConflict1) + "Москва" + places::kConflict2 +
                                                  places::kConflict3 + places::kConflict4});
  EXPECT_EQ(caption, Q("Населенные пункты (загрузка)"));
  EXPECT_EQ(text, Q("Загружено  1\nНовосёлки"));
  EXPECT_EQ(VisibleWindow<PlacesProgressWindow>(), nullptr);
  ASSERT_EQ(list_.places.size(), 3u);
  EXPECT_EQ(list_.places[0].latitude, 55.75222);  // OK kept the old place
  TypeAndPick(picker_, "новосе");
  EXPECT_EQ(picker_.text(), Q("Новосёлки"));
  EXPECT_NEAR(View(dialog_).latitude.fields().Degrees(), 55.5, 1e-12);

  WriteFile("Тула 54.12  37.37\r\nГде-то 95.00  10.00\r\n");
  boxes.texts.clear();
  QTest::mouseClick(picker_.importButton(), Qt::LeftButton);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Ошибка в данных у 2-го населенного пункта !!!\r\nГде-то 95.00  10.00"});
  EXPECT_EQ(list_.places.size(), 4u);  // the places read before stay
}

TEST_F(PlaceFilesTest, ExportWritesTheListAndInterruptingLeavesNoFile) {
  RecordedBoxes boxes;
  QTimer::singleShot(0, [] {
    if (auto* progress = VisibleWindow<PlacesProgressWindow>()) progress->interruptButton()->click();
  });
  QTest::mouseClick(picker_.exportButton(), Qt::LeftButton);
  EXPECT_FALSE(std::filesystem::exists(file_));

  QTest::mouseClick(picker_.exportButton(), Qt::LeftButton);
  EXPECT_TRUE(boxes.texts.empty());
  places::PlacesList back;
  ASSERT_EQ(places::LoadPlaces(file_, back, {}).status, places::PlaceFileStatus::kDone);
  ASSERT_EQ(back.places.size(), 2u);
  EXPECT_EQ(back.places[1].name, "Минск");
}

TEST_F(BirthDataDialogTest, BuildingTheListShowsTheProgressWindowWhenSlow) {
  CBirthDataDlg dialog(PersonChart(), RealInputs());
  PlacePicker& picker = *dialog.findChild<PlacePicker*>();
  picker.setProgressDelay(0);
  QString caption;
  bool interruptible = true;
  QTimer::singleShot(0, [&] {
    if (auto* progress = VisibleWindow<PlacesProgressWindow>()) {
      caption = progress->windowTitle();
      interruptible = progress->interruptButton()->isEnabled();
    }
  });
  Retype(PlaceEdit(picker), Q("т"));
  EXPECT_EQ(caption, Q("Населенные пункты (загрузка)"));
  EXPECT_FALSE(interruptible);  // a list half built would lose places
  EXPECT_EQ(unbuilt_.places.size(), RealCityBase().cities.size());
}

TEST_F(BirthDataDialogTest, NothingIsClippedAtTheMinimumSize) {
  const ChartRecord chart = PersonChart();
  for (const bool second : {false, true}) {
    CBirthDataDlg dialog(chart, Inputs(second, &chart));
    dialog.show();
    EXPECT_EQ(LayoutFaults(dialog), std::vector<std::string>{}) << second;
    if (!second) SaveShot(dialog, "birth-data-dialog.png");
  }
}

}  // namespace
}  // namespace kelvara::app
