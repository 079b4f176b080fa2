#include "workspace/birth_data.h"

#include <gtest/gtest.h>

namespace kelvara::workspace {
namespace {

BirthDataForm GoodForm() {
  BirthDataForm form;
  form.name = "  Иван Петров ";
  form.placeName = "Москва";
  form.latitude = {55, 45.0, false};
  form.longitude = {37, 37.0, false};
  form.local = {1985, 7, 12, 14, 5, 0};
  form.gmtText = "+04:00";
  return form;
}

TEST(BirthData, ShowsGreenwichWithTheFullOffset) {
  BirthDataForm form = GoodForm();
  form.gmtText = "+05:30";
  EXPECT_EQ(ShownGreenwich(form), (CalendarMoment{1985, 7, 12, 8, 35, 0}));
  form.gmtText = "-03:30";
  EXPECT_EQ(ShownGreenwich(form), (CalendarMoment{1985, 7, 12, 17, 35, 0}));
  form.gmtText = "5.5";  // hours with a decimal point are not an offset
  EXPECT_FALSE(ShownGreenwich(form));
}

TEST(BirthData, ChoosingAPlaceFillsCoordinatesAndOffset) {
  BirthDataForm form = GoodForm();
  FillFromPlace(form, "Катманду", 27.70169, 85.3206, 5.75);
  EXPECT_EQ(form.placeName, "Катманду");
  EXPECT_EQ(form.gmtText, "+05:45");
  EXPECT_EQ(form.latitude.degrees, 27);
  EXPECT_NEAR(form.latitude.minutes, 42.1014, 1e-9);
  EXPECT_EQ(ShownGreenwich(form), (CalendarMoment{1985, 7, 12, 8, 20, 0}));
  FillFromPlace(form, "Сент-Джонс", 47.56494, -52.70931, -3.5);
  EXPECT_TRUE(form.longitude.negative);
  EXPECT_EQ(form.gmtText, "-03:30");
}

TEST(BirthData, OkChecksComeInTheirOrderWithTheirFocus) {
  struct Case {
    void (*spoil)(BirthDataForm&);
    std::string_view message;
    BirthField focus;
  };
  const Case cases[] = {
      {[](BirthDataForm& f) { f.gmtText = "+13:30"; f.latitude.degrees = 95; }, kMessageBadData, BirthField::kGmt},
      {[](BirthDataForm& f) { f.gmtText = "abc"; }, kMessageBadData, BirthField::kGmt},
      {[](BirthDataForm& f) { f.latitude.degrees = 91; f.longitude.degrees = 200; }, kMessageBadData, BirthField::kLatitudeDegrees},
      {[](BirthDataForm& f) { f.latitude.minutes = 61; }, kMessageBadData, BirthField::kLatitudeMinutes},
      {[](BirthDataForm& f) { f.latitude.minutes = std::nan(""); }, kMessageBadData, BirthField::kLatitudeMinutes},
      {[](BirthDataForm& f) { f.longitude.degrees = -1; }, kMessageBadData, BirthField::kLongitudeDegrees},
      {[](BirthDataForm& f) { f.longitude.minutes = -0.5; }, kMessageBadData, BirthField::kLongitudeMinutes},
      {[](BirthDataForm& f) { f.latitude = {90, 30.0, true}; }, kMessageBadData, BirthField::kLatitudeMinutes},
      {[](BirthDataForm& f) { f.longitude = {180, 1.0, false}; }, kMessageBadData, BirthField::kLongitudeMinutes},
      {[](BirthDataForm& f) { f.local = {2130, 6, 1, 0, 0, 0}; }, kMessageBadData, BirthField::kLocalDate},
      {[](BirthDataForm& f) { f.name = "   "; }, kMessageEnterName, BirthField::kName},
      {[](BirthDataForm& f) { f.name = " Неизвестный"; }, kMessageEnterName, BirthField::kName},
  };
  for (const Case& c : cases) {
    BirthDataForm form = GoodForm();
    c.spoil(form);
    const BirthDataCheck check = CheckBirthData(form);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.focus, c.focus) << static_cast<int>(c.focus);
  }
  EXPECT_TRUE(CheckBirthData(GoodForm()).ok);
}

TEST(BirthData, OkStoresTrimmedNameOffsetAndSignedCoordinates) {
  BirthDataForm form = GoodForm();
  form.latitude.negative = true;
  form.longitude = {70, 30.0, true};
  form.gmtText = "+05:45";
  ChartRecord chart;
  ApplyBirthData(form, chart);
  EXPECT_EQ(chart.name, "Иван Петров");
  EXPECT_DOUBLE_EQ(chart.gmtOffsetHours, 5.75);
  EXPECT_DOUBLE_EQ(chart.latitudeDeg, -55.75);
  EXPECT_DOUBLE_EQ(chart.longitudeDeg, -70.5);
  const BirthDataForm back = FormFromChart(chart);
  EXPECT_EQ(back.gmtText, "+05:45");
  EXPECT_EQ(back.longitude.degrees, 70);
  EXPECT_NEAR(back.longitude.minutes, 30.0, 1e-9);
  EXPECT_TRUE(back.longitude.negative);
}

TEST(BirthData, SecondChartKindsInTheirOrder) {
  ChartRecord main;
  main.name = "Иван";
  const auto kinds = SecondChartKinds(main);
  ASSERT_EQ(kinds.size(), 10u);
  EXPECT_EQ(kinds[0], "Сейчас");
  EXPECT_EQ(kinds[9], "Лунар (назад)");
  main.name = "Комп.карта (А + Б)";
  EXPECT_EQ(SecondChartKinds(main), std::vector<std::string>{"Сейчас"});
}

}  // namespace
}  // namespace kelvara::workspace
