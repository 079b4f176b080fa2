// The rows of the aspect list and their CSV form.
#include "eventmap/day_event_rows.h"

#include <gtest/gtest.h>

#include "workspace/chart_record.h"

namespace kelvara::eventmap {
namespace {

namespace ws = workspace;
const ws::CalendarMoment kDay{2020, 3, 10, 0, 0, 0};
const double kDayStart = ws::HoursSince1860(kDay);

EventRecord Exact(double start, double culmination, double end, bool startFound = true) {
  EventRecord e;
  e.movingPoint = ws::kSlotMars;
  e.basePoint = ws::kSlotSecondLot;
  e.aspectAngleDeg = 120.0;
  e.orbDeg = 0.8;
  e.startHours = kDayStart + start;
  e.culminationHours = kDayStart + culmination;
  e.endHours = kDayStart + end;
  e.exactFound = e.endFound = true;
  e.startFound = startFound;
  return e;
}

TEST(EventTimeText, MinutesRoundBeforeTheClockAndBothFormats) {
  EXPECT_EQ(EventTimeText(kDayStart + 14.0 + 59.7 / 60.0, TimeFormat::kMilitary), "10.03 15:00");
  EXPECT_EQ(EventTimeText(kDayStart + 0.5, TimeFormat::kCivil), "10.03 12:30am");
  EXPECT_EQ(EventTimeText(kDayStart + 12.25, TimeFormat::kCivil), "10.03 12:15pm");
  EXPECT_EQ(EventTimeText(kDayStart + 23.0 + 59.9 / 60.0, TimeFormat::kCivil), "11.03 12:00am");
  EXPECT_EQ(EventTimeText(kDayStart + 13.0, TimeFormat::kCivil), "10.03 1:00pm");
}

TEST(AspectListRows, TheDaysEventsThenTheAspectsInForce) {
  EventRecord hidden = Exact(1.0, 2.0, 3.0);
  hidden.orbDeg = -0.8;
  EventRecord inForce = Exact(-24.0, 5.0, 48.0, false);
  inForce.exactFound = inForce.endFound = false;
  inForce.movingPoint = 11;
  // Exact at midnight is the day's; in force at midnight is the day before's.
  EventRecord inForceAtMidnight = inForce;
  inForceAtMidnight.culminationHours = kDayStart;
  EventRecord inForceAtNextMidnight = inForce;
  inForceAtNextMidnight.culminationHours = kDayStart + 24.0;
  inForceAtNextMidnight.movingPoint = ws::kSlotSaturn;
  const std::vector<EventRecord> exact = {Exact(-3.0, 0.0, 4.0, false), hidden, Exact(20.0, 24.0, 26.0)};
  const auto rows =
      AspectListRows(exact, {inForceAtMidnight, inForce, inForceAtNextMidnight}, kDay, TimeFormat::kMilitary);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].kind, kKindExact);
  EXPECT_EQ(rows[0].moving, "Марс");
  EXPECT_EQ(rows[0].aspect, "120°");
  EXPECT_EQ(rows[0].base, "Второй жребий");
  EXPECT_EQ(rows[0].entry, kNotFoundText);
  EXPECT_EQ(rows[0].exact, "10.03 00:00");
  EXPECT_EQ(rows[0].exit, "10.03 04:00");
  EXPECT_EQ(rows[1].kind, kKindInForce);
  EXPECT_EQ(rows[1].moving, "Плутон");
  EXPECT_EQ(rows[1].exact, kNotFoundText);
  EXPECT_EQ(rows[2].moving, "Сатурн");

  const std::string csv = AspectListCsv({rows[0], rows[1]});
  EXPECT_EQ(csv,
            "kind,moving,aspect,base,entry,exact,exit\r\n"
            "точный,Марс,120°,Второй жребий,-,10.03 00:00,10.03 04:00\r\n"
            "в силе,Плутон,120°,Второй жребий,-,-,-\r\n");
}

TEST(AspectListRows, TheGridTableShowsTheTextsInTheAspectsColourAndSortsTimesAndAnglesByValue) {
  EventRecord today = Exact(1.0, 2.0, 3.0);
  today.colour = 0x0000FF;
  EventRecord longAgo = Exact(-10 * 24.0, 5.0, 30.0);  // entered on 29.02
  longAgo.aspectAngleDeg = 90.0;
  const auto rows = AspectListRows({today, longAgo}, {}, kDay, TimeFormat::kMilitary);
  AspectListGridTable table;
  table.Show(rows);
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.HeaderText(1), "Транзит");
  EXPECT_EQ(table.Cell(1, 4).text, "29.02 00:00");
  EXPECT_EQ(table.Cell(0, 6).text, rows[0].exit);
  EXPECT_EQ(table.Cell(0, 0).textColor, (platform::Color{255, 0, 0}));
  for (const int column : {2, 4}) {
    platform::GridRowOrder order;
    order.HeaderClicked(table, column);
    EXPECT_EQ(order.ModelRows(), (std::vector<int>{1, 0})) << "by value, not by text, in column " << column;
  }
}

TEST(AspectListRows, CsvQuotesFieldsThatNeedIt) {
  AspectListRow row{"a,b", "say \"hi\"", "line\nbreak", "plain", "-", "-", "-"};
  EXPECT_EQ(AspectListCsv({row}).substr(AspectListCsv({}).size()),
            "\"a,b\",\"say \"\"hi\"\"\",\"line\nbreak\",plain,-,-,-\r\n");
}

}  // namespace
}  // namespace kelvara::eventmap
