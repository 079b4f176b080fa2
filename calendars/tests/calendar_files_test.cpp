#include "calendars/calendar_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "calendars/calendar_texts.h"
#include "calendars/lunar_calendar.h"
#include "calendars/tests/calendar_test_support.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "workspace/tests/fake_sky.h"

namespace kelvara::calendars {
namespace {

namespace fs = std::filesystem;
using platform::Utf8ToCp1251;

CalendarResult LunarMonth() {
  const workspace::testing::FakeSky sky;
  const DayScanSource scan = [](const workspace::EngineMoment&) { return std::optional(std::vector<std::string>{"10:00.000000 2 1 Moon"}); };
  return *CalculateLunarCalendar(testing::RequestFor({2001, 1, 1}, {2001, 2, 1}, 55.0, 37.0, "Москва"), {sky, scan, nullptr, {}, {}});
}

CalendarResult HoursDay() {
  return {{"01.01.2001 05:00|Солнце (Пн., восход Солнца)", "01.01.2001 06:00|Венера", "", "02.01.2001 05:00|Луна"},
          "Время местное", "Место: Москва", "Время местное|Место: Москва", ""};
}

class CalendarFiles : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path File(const std::string& name) const { return folder_ / name; }
  const fs::path folder_ = fs::temp_directory_path() / ("kelvara_calendars_" + std::to_string(::getpid()));
};

// Written, read and written again byte for byte; "|" at the fifteenth character of the
// 8-bit text ("* новолуние" is eleven letters, so four blanks), the padding kept on reading.
TEST_F(CalendarFiles, EachKindIsWrittenReadAndWrittenAgainByteForByte) {
  for (const auto& [kind, original] : {std::pair{PlainCalendarKind::kLunar, LunarMonth()},
                                       std::pair{PlainCalendarKind::kPlanetaryHours, HoursDay()}}) {
    ASSERT_FALSE(SavePlainCalendar(File("a"), kind, original));
    CalendarResult read;
    ASSERT_FALSE(LoadPlainCalendar(File("a"), kind, read));
    EXPECT_EQ(std::tie(read.header, read.timeKind, read.placeText), std::tie(original.header, original.timeKind, original.placeText));
    ASSERT_EQ(read.lines.size(), original.lines.size());
    for (const std::string& line : read.lines) EXPECT_TRUE(line.empty() || platform::Utf8ToCp1251(line).find('|') >= 15) << line;
    ASSERT_FALSE(SavePlainCalendar(File("b"), kind, read));
    EXPECT_EQ(platform::ReadFileBytes(File("a")), platform::ReadFileBytes(File("b")));
  }
  const std::string lunar = PlainCalendarBytes(PlainCalendarKind::kLunar, LunarMonth());
  EXPECT_TRUE(lunar.starts_with(Utf8ToCp1251("Лунный календарь\r\nВремя по Гринвичу|Место: Москва\r\n")));
  EXPECT_NE(lunar.find(Utf8ToCp1251("\r\n* новолуние    |")), std::string::npos);
  EXPECT_NE(PlainCalendarBytes(PlainCalendarKind::kPlanetaryHours, HoursDay()).find(Utf8ToCp1251("06:00|Венера\r\n\r\n02")), std::string::npos);
}

TEST_F(CalendarFiles, LastLineWithoutEndAndBareLineFeedsAreRead) {
  ASSERT_TRUE(platform::WriteFileAtomically(File("lf"), Utf8ToCp1251("Планетарные часы\nВремя местное|\n1|Солнце\n\n2|Луна")));
  CalendarResult read;
  ASSERT_FALSE(LoadPlainCalendar(File("lf"), PlainCalendarKind::kPlanetaryHours, read));
  EXPECT_EQ(read.lines, (std::vector<std::string>{"1|Солнце", "", "2|Луна"}));
  EXPECT_EQ(read.timeKind, "Время местное");
}

TEST_F(CalendarFiles, BadFilesLeaveTheOldResult) {
  const std::string good = PlainCalendarBytes(PlainCalendarKind::kLunar, LunarMonth());
  const std::vector<std::string> bad = {Utf8ToCp1251("Луна без курса\r\n|\r\n"), "Лунный календарь\r\n|\r\n",
                                        good + Utf8ToCp1251("новолуние 01.01.2001\r\n"),
                                        PlainCalendarBytes(PlainCalendarKind::kPlanetaryHours, HoursDay()),
                                        good + std::string(kCalendarFileLimit, 'x')};
  for (const std::string& bytes : bad) {
    std::ofstream(File("bad"), std::ios::binary) << bytes;
    CalendarResult kept = HoursDay();
    EXPECT_EQ(LoadPlainCalendar(File("bad"), PlainCalendarKind::kLunar, kept), std::string(texts::kBadFile)) << bytes.substr(0, 20);
    EXPECT_EQ(kept.lines, HoursDay().lines);
  }
  CalendarResult kept;
  EXPECT_EQ(LoadPlainCalendar(File("missing.moo"), PlainCalendarKind::kLunar, kept), std::string(texts::kCannotOpen) + "missing.moo");
  EXPECT_EQ(SavePlainCalendar(File("no/folder.moo"), PlainCalendarKind::kLunar, kept), std::string(texts::kCannotWrite) + "folder.moo");
}

}  // namespace
}  // namespace kelvara::calendars
