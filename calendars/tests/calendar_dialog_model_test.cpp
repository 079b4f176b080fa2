#include "calendars/calendar_dialog_model.h"

#include <gtest/gtest.h>


namespace kelvara::calendars {
namespace {

using workspace::CalendarMoment;

CalendarDialogContext MoscowOn(int year, int month, int day) {
  return {platform::DateTime::FromFields(year, month, day, 10, 30), std::nullopt, "Москва", 55.75, 37.6};
}

TEST(CalendarDialogModel, DefaultRangesFollowTodayOrTheSecondChart) {
  CalendarDialogContext context = MoscowOn(2024, 3, 1);
  CalendarRequest lunar = OpeningRequest(CalendarDialogMode::kLunar, context, std::nullopt);
  EXPECT_EQ(lunar.from, (CalendarMoment{2024, 2, 15}));  // across the leap day
  EXPECT_EQ(lunar.to, (CalendarMoment{2024, 3, 16}));
  EXPECT_EQ(OpeningRequest(CalendarDialogMode::kPlanetaryHours, context, std::nullopt).from, lunar.from);

  CalendarRequest aspects = OpeningRequest(CalendarDialogMode::kAspects, context, std::nullopt);
  EXPECT_EQ(aspects.from, (CalendarMoment{2024, 3, 1}));
  EXPECT_EQ(aspects.to, (CalendarMoment{2024, 3, 2}));

  context.secondChartDate = CalendarMoment{1999, 12, 31, 17, 45, 3};
  CalendarRequest voidMoon = OpeningRequest(CalendarDialogMode::kVoidMoon, context, std::nullopt);
  EXPECT_EQ(voidMoon.from, (CalendarMoment{1999, 12, 31}));  // the time of day dropped
  EXPECT_EQ(voidMoon.to, (CalendarMoment{2000, 1, 15}));
  EXPECT_EQ(OpeningRequest(CalendarDialogMode::kAspects, context, std::nullopt).to, (CalendarMoment{2000, 1, 1}));

  // Near the end of the scale the default stays on it, so OK accepts it as it opens.
  context.secondChartDate = CalendarMoment{2130, 12, 25};
  EXPECT_EQ(OpeningRequest(CalendarDialogMode::kVoidMoon, context, std::nullopt).to, (CalendarMoment{2130, 12, 31}));
  EXPECT_EQ(OpeningRequest(CalendarDialogMode::kLunar, MoscowOn(1860, 1, 5), std::nullopt).from,
            (CalendarMoment{1860, 1, 1}));
}

TEST(CalendarDialogModel, ChoicesAndPlaceAreKeptForTheRun) {
  const CalendarDialogContext context = MoscowOn(2024, 3, 1);
  const CalendarRequest first = OpeningRequest(CalendarDialogMode::kLunar, context, std::nullopt);
  EXPECT_TRUE(first.newMoons && first.firstQuarters && first.fullMoons && first.lastQuarters && first.lunarDays);
  EXPECT_EQ(first.placeName, "Москва");
  EXPECT_EQ(first.voidAspects, (std::array<bool, 9>{true, true, true, false, false, true, true, false, false}));

  CalendarRequest kept = first;
  kept.fullMoons = false;
  kept.voidAspects[3] = true;
  kept.placeName = "Тромсё";
  kept.latitudeDeg = 69.65;
  const CalendarRequest again = OpeningRequest(CalendarDialogMode::kPlanetaryHours, context, kept);
  EXPECT_FALSE(again.fullMoons);
  EXPECT_TRUE(again.voidAspects[3]);
  EXPECT_EQ(again.placeName, "Тромсё");
  EXPECT_EQ(again.latitudeDeg, 69.65);
  EXPECT_EQ(again.from, first.from);  // the range is the default again
  // The fixed-moment calendars always work at the chart's place.
  EXPECT_EQ(OpeningRequest(CalendarDialogMode::kAspects, context, kept).placeName, "Москва");
}

TEST(CalendarDialogModel, OkChecksDatesThenCoordinates) {
  CalendarDialogForm form{OpeningRequest(CalendarDialogMode::kLunar, MoscowOn(2024, 3, 1), std::nullopt),
                          workspace::AngleFields::FromDegrees(55.75), workspace::AngleFields::FromDegrees(37.6)};
  EXPECT_TRUE(CheckCalendarForm(CalendarDialogMode::kLunar, form).ok);

  form.request.to = form.request.from;  // one day is a range
  EXPECT_TRUE(CheckCalendarForm(CalendarDialogMode::kLunar, form).ok);
  form.request.from = CalendarMoment{2024, 3, 2};
  CalendarDialogCheck check = CheckCalendarForm(CalendarDialogMode::kLunar, form);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.message, "Неверно задан временной диапазон.");
  EXPECT_EQ(check.focus, CalendarDialogFocus::kFromDate);

  form.request.from = CalendarMoment{2024, 2, 1};
  form.request.to = CalendarMoment{2131, 1, 1};
  check = CheckCalendarForm(CalendarDialogMode::kLunar, form);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.focus, CalendarDialogFocus::kToDate);
  form.request.to = CalendarMoment{2024, 2, 30};
  EXPECT_FALSE(CheckCalendarForm(CalendarDialogMode::kLunar, form).ok);

  form.request.to = CalendarMoment{2024, 2, 20};
  form.latitude.minutes = 75.0;
  check = CheckCalendarForm(CalendarDialogMode::kPlanetaryHours, form);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.message, workspace::kMessageBadData);
  EXPECT_EQ(check.focus, CalendarDialogFocus::kCoordinate);
  EXPECT_EQ(check.coordinate, workspace::BirthField::kLatitudeMinutes);
  // Fields that cannot be edited are not the user's to mend.
  EXPECT_TRUE(CheckCalendarForm(CalendarDialogMode::kAspects, form).ok);
  EXPECT_TRUE(CheckCalendarForm(CalendarDialogMode::kVoidMoon, form).ok);
}

}  // namespace
}  // namespace kelvara::calendars
