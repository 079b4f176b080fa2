#include "calendars/table_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "calendars/dated_aspects.h"
#include "calendars/calendar_files.h"
#include "calendars/calendar_texts.h"
#include "calendars/tests/calendar_test_support.h"
#include "calendars/void_moon.h"
#include "platform/codepage.h"
#include "platform/file_io.h"

namespace kelvara::calendars {
namespace {

namespace fs = std::filesystem;
using platform::Utf8ToCp1251;
using testing::HoursOf;

CalendarResult VoidResult() {
  return {{VoidResultLine(6, 90.0, HoursOf("05.02.2024 10:15") + 0.2 / 60), VoidResultLine(28, 0.0, HoursOf("05.02.2024 19:52")),
           VoidResultLine(1, 22.5, HoursOf("29.02.2024 23:59") + 0.7 / 60), VoidResultLine(17, 0.0, HoursOf("01.03.2024 02:00"))},
          "", "", "c 01.02.2024 по 01.03.2024|ме.время: Москва", ""};
}

std::string AspectLine(const std::string& start, const std::string& end, const ColumnOrder& order = kInitialColumnOrder) {
  return ArrangedLine({PointFieldText(1, 149.9999), AngleFieldText(120.0), PointFieldText(26, 29.5),
                       TimeFieldText(HoursOf("11.01.2000 06:00")), start, end},
                      order);
}

CalendarResult AspectResult() {
  return {{AspectLine(TimeFieldText(HoursOf("10.01.2000 06:00")), TimeFieldText(HoursOf("12.01.2000 06:00"))),
           AspectLine(std::string(kStartNotFoundField), std::string(kEndNotFoundField))},
          "", "", "Tr|Nt|Иван|c 11.01.2000 по 13.01.2000|Tr: Москва", ""};
}

class TableFiles : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path File(const std::string& name) const { return folder_ / name; }
  void Write(const std::string& name, const std::string& bytes) const {
    ASSERT_TRUE(platform::WriteFileAtomically(File(name), bytes));
  }
  const fs::path folder_ = fs::temp_directory_path() / ("kelvara_tables_" + std::to_string(::getpid()));
};

TEST_F(TableFiles, EachKindIsWrittenReadAndWrittenAgainByteForByte) {
  const std::vector<std::pair<CalendarFileKind, CalendarResult>> kinds = {
      {CalendarFileKind::kVoidMoon, VoidResult()},
      {CalendarFileKind::kAspects, AspectResult()},
      {CalendarFileKind::kLunar, {{"* новолуние|05.02.2024 10:15"}, "Время местное", "", "Время местное|", ""}},
      {CalendarFileKind::kPlanetaryHours, {{"05.02.2024 10:15|Солнце"}, "", "", "", ""}}};
  for (const auto& [kind, original] : kinds) {
    ASSERT_FALSE(SaveCalendarFile(File("a"), kind, original, kInitialColumnOrder));
    CalendarResult read;
    ASSERT_FALSE(LoadCalendarFile(File("a"), kind, kInitialColumnOrder, read));
    EXPECT_EQ(read.header, original.header);
    EXPECT_EQ(read.lines.size(), original.lines.size());
    ASSERT_FALSE(SaveCalendarFile(File("b"), kind, read, kInitialColumnOrder));
    EXPECT_EQ(platform::ReadFileBytes(File("a")), platform::ReadFileBytes(File("b"))) << FileExtension(kind);
  }
}

TEST_F(TableFiles, VoidMoonRowsCountLettersNotBytesAndReadBackAsTheMoons) {
  const std::string bytes = VoidMoonFileBytes(VoidResult());
  const std::string ruler = std::string(59, '=') + "\r\n";
  EXPECT_TRUE(bytes.starts_with(Utf8ToCp1251("Луна без курса\r\nc 01.02.2024 по 01.03.2024|ме.время: Москва\r\n") +
                                ruler + Utf8ToCp1251(texts::kVoidFileColumns) + "\r\n" + ruler));
  for (const char* row : {"| Луна |  90° |     Юпитер | 05.02.2024 10:15 | 05.02.2024 10:15| без курса |\r\n",
                          "|      |   -> |       Рыбы | 05.02.2024 19:52 | 05.02.2024 19:52| в курсе   |\r\n",
                          "| Луна | 22.5° |     Солнце | 01.03.2024 00:00 | 01.03.2024 00:00| без курса |\r\n"}) {
    EXPECT_NE(bytes.find(Utf8ToCp1251(row)), std::string::npos) << row;
  }
  const auto read = ParseVoidMoonFile(bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->lines, (std::vector<std::string>{
                             VoidResultLine(6, 90.0, HoursOf("05.02.2024 10:15")),
                             VoidResultLine(28, 0.0, HoursOf("05.02.2024 19:52")),  // 2, 0.00, 16 + Pisces
                             VoidResultLine(1, 22.5, HoursOf("01.03.2024 00:00")),
                             VoidResultLine(17, 0.0, HoursOf("01.03.2024 02:00")),
                         }));
  EXPECT_TRUE(read->lines[1].starts_with("02#000.00#28#"));
}

TEST_F(TableFiles, AspectRowsInTheFixedOrderAndBackInTheCurrentOne) {
  // The lines hold the aspect first; the rows stay moving point, aspect, base point, times.
  const ColumnOrder byAspect = {2, 1, 3, 4, 5, 6};
  CalendarResult result = AspectResult();
  result.lines = {AspectLine(std::string(kStartNotFoundField), std::string(kEndNotFoundField), byAspect)};
  const std::string bytes = AspectFileBytes(result, byAspect);
  EXPECT_NE(bytes.find(Utf8ToCp1251("| Tr                  | аспект |                  Nt |")), std::string::npos);
  EXPECT_NE(bytes.find(Utf8ToCp1251("| Солнце     (00Дв00) |    120°| X_Дом      (29Ов30) | 11.01.2000 06:00 "
                                    "|   вне диапазона  |   вне диапазона  |\r\n")),
            std::string::npos);
  // Read back in the initial order: the start out of range is "-1", one field of six.
  const auto read = ParseAspectFile(bytes, kInitialColumnOrder);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->lines.size(), 1u);
  const std::string line = read->lines[0];
  EXPECT_EQ(line, "#" + TimeFieldText(HoursOf("11.01.2000 06:00")) + "#01(150.000)#120.000#26(029.500)#-1#9999999999.9999");
  EXPECT_EQ(std::count(line.begin(), line.end(), '#'), kAspectFieldCount);
}

TEST_F(TableFiles, ALastLineWithoutItsEndAndBareLineFeedsAreRead) {
  std::string bytes = VoidMoonFileBytes(VoidResult());
  std::erase(bytes, '\r');
  bytes.pop_back();
  const auto read = ParseVoidMoonFile(bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->lines.size(), 4u);
}

TEST_F(TableFiles, BadFilesLeaveTheOldResult) {
  const std::string luc = VoidMoonFileBytes(VoidResult());
  const std::string das = AspectFileBytes(AspectResult(), kInitialColumnOrder);
  const auto replaced = [](std::string bytes, std::string_view from, std::string_view to) {
    const std::string f = Utf8ToCp1251(from);
    return bytes.replace(bytes.find(f), f.size(), Utf8ToCp1251(to));
  };
  const std::vector<std::pair<CalendarFileKind, std::string>> bad = {
      {CalendarFileKind::kVoidMoon, das},                                  // another kind's title
      {CalendarFileKind::kVoidMoon, platform::Cp1251ToUtf8(luc)},          // UTF-8
      {CalendarFileKind::kVoidMoon, replaced(luc, "Юпитер", "Юпитерр")},   // unknown point
      {CalendarFileKind::kVoidMoon, replaced(luc, " 90°", "9x0°")},        // bad number
      {CalendarFileKind::kVoidMoon, replaced(luc, "05.02.2024 10:15 |", "30.02.2024 10:15 |")},  // no such day
      {CalendarFileKind::kVoidMoon, luc.substr(0, luc.rfind(Utf8ToCp1251("Овен")) + 4)},  // a row without its time
      {CalendarFileKind::kVoidMoon, luc.substr(0, luc.find(std::string(59, '=')))},  // no rulers
      {CalendarFileKind::kAspects, replaced(das, "Солнце", "Солнышко")},   // unknown point
      {CalendarFileKind::kAspects, replaced(das, "(00Дв00)", "(00Хх00)")},  // unknown sign
      {CalendarFileKind::kAspects, replaced(das, "(00Дв00)", "(30Дв00)")},  // degrees beyond the sign
      {CalendarFileKind::kAspects, das.substr(0, das.rfind(Utf8ToCp1251("|   вне диапазона  |")))},  // half a file
      {CalendarFileKind::kAspects, das + std::string(kCalendarFileLimit, 'x')},  // over the size limit
  };
  for (std::size_t i = 0; i < bad.size(); ++i) {
    const auto& [kind, bytes] = bad[i];
    std::ofstream(File("bad"), std::ios::binary) << bytes;
    CalendarResult kept = AspectResult();
    EXPECT_EQ(LoadCalendarFile(File("bad"), kind, kInitialColumnOrder, kept), std::string(texts::kBadFile)) << i;
    EXPECT_EQ(kept.lines, AspectResult().lines) << i;
  }
  CalendarResult kept;
  EXPECT_EQ(LoadCalendarFile(File("missing.luc"), CalendarFileKind::kVoidMoon, kInitialColumnOrder, kept),
            std::string(texts::kCannotOpen) + "missing.luc");
  Write("plain", "x");
  EXPECT_EQ(SaveCalendarFile(File("plain") / "in.das", CalendarFileKind::kAspects, AspectResult(), kInitialColumnOrder),
            std::string(texts::kCannotWrite) + "in.das");
  EXPECT_EQ(platform::ReadFileBytes(File("plain")), std::optional<std::string>("x"));
}

}  // namespace
}  // namespace kelvara::calendars
