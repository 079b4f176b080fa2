#include "app/chart_document.h"
#include "app/stored_file.h"

#include <cmath>
#include <fstream>
#include <limits>

#include <gtest/gtest.h>

#include <cerrno>

#include "app/asp_tables.h"
#include "app/checked_archive.h"
#include "app/dignity_tables.h"
#include "app/messages.h"
#include "app/tests/test_support.h"
#include "places/tests/test_support.h"
#include "platform/archive.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::app {
namespace {

using testing::ReadAt;
using testing::WithFieldAt;
namespace ws = workspace;

// Item offsets of a document whose name is "Иван" (4 UTF-16 units) and whose place
// is "Москва" (6 units); a wide string is its 4-byte prefix and two bytes a unit.
constexpr std::size_t kDayOffset = 12;
constexpr std::size_t kNameOffset = 72;
constexpr std::size_t kPlaceOffset = kNameOffset + 4 + 2 * 4;
constexpr std::size_t kOffsetOffset = kPlaceOffset + 4 + 2 * 6 + 4;
constexpr std::size_t kLatitudeOffset = kOffsetOffset + 16;
constexpr std::size_t kHouseOffset = kLatitudeOffset + 16 + 16 + 8;
constexpr std::size_t kSecondOffset = kHouseOffset + 8;
constexpr std::size_t kWheelOffset = kSecondOffset + 12;
constexpr std::size_t kVersionOffset = kWheelOffset + kLayoutObjectCount * 16;
constexpr std::size_t kFurtherRingsOffset = kVersionOffset + 6;

struct SampleChart {
  ws::ChartRecord record;
  FurtherRings rings;
};

SampleChart Sample() {
  SampleChart chart;
  ws::ChartRecord& r = chart.record;
  r.local = {1984, 2, 29, 23, 59, 58};
  r.name = "Иван";
  r.placeName = "Москва";
  r.gmtOffsetHours = 5.5;
  r.latitudeDeg = -33.8666;
  r.longitudeDeg = -58.4;
  r.houseSystem = ws::kHouseEqualSun;
  r.note = "Первая строка\nвторая: «кавычки», 100%";
  for (int i = 0; i < kLayoutObjectCount; ++i) {
    r.objects[ws::kFirstSlot + i].display = {"", 0, "", 10.0 * i + 0.25, 0.5 + i / 100.0};
    for (int ring = 0; ring < kFurtherRingCount; ++ring) {
      chart.rings[ring][i] = {100.0 * ring + i, -0.5 * ring - i};
    }
  }
  return chart;
}

ChartDocument SampleDocument() {
  const SampleChart chart = Sample();
  return DocumentOf(chart.record, chart.rings);
}

std::string SampleBytes() { return EncodeChartDocument(SampleDocument()); }

std::optional<ChartDocument> Decode(const std::string& bytes, std::string* reason = nullptr) {
  std::string error;
  auto document = DecodeChartDocument(bytes, error);
  if (reason != nullptr) *reason = error;
  return document;
}

using DocumentFileTest = testing::DataFolderTest;

TEST_F(DocumentFileTest, AWrittenDocumentReadBackGivesTheSameChart) {
  const SampleChart saved = Sample();
  const auto path = dir_ / "Иван.kvd";
  ASSERT_FALSE(WriteChartDocument(path, SampleDocument()).has_value());

  const DocumentRead read = ReadChartDocument(path);
  ASSERT_TRUE(read.document) << read.message;
  SampleChart loaded;
  loaded.record.step.counter = 7;
  ApplyDocument(*read.document, loaded.record, loaded.rings);
  // Date, time, offset, place, coordinates, house system, name, note and all four rings.
  EXPECT_EQ(loaded.record.step.counter, 0);
  EXPECT_EQ(loaded.record.objects[16].display.radius, saved.record.objects[16].display.radius);
  EXPECT_EQ(DocumentOf(loaded.record, loaded.rings), SampleDocument());
}

TEST(DocumentFileForm, ItemsLieWhereTheLayoutPutsThemWithWideStrings) {
  const std::string bytes = SampleBytes();
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, 0), 1);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, kDayOffset), 29);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, kDayOffset + 8), 1984);
  for (std::size_t at = kDayOffset + 20; at < kNameOffset; at += 4) EXPECT_EQ(ReadAt<std::int32_t>(bytes, at), 0);
  // "Иван": wide marker, four units, U+0418 first.
  EXPECT_EQ(bytes.substr(kNameOffset, 6), std::string("\xFF\xFE\xFF\x04\x18\x04", 6));
  EXPECT_EQ(bytes.substr(kOffsetOffset - 4, 4), std::string("\xFF\xFE\xFF\x00", 4));  // item 21
  EXPECT_EQ(ReadAt<double>(bytes, kOffsetOffset), 5.5);
  EXPECT_EQ(ReadAt<double>(bytes, kLatitudeOffset), -33.8666);
  EXPECT_EQ(ReadAt<double>(bytes, kLatitudeOffset + 8), -58.4);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, kHouseOffset), ws::kHouseEqualSun);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, kSecondOffset), 58);
  EXPECT_EQ(ReadAt<double>(bytes, kWheelOffset + 16), 10.25);  // object 2: angle, radius
  EXPECT_EQ(ReadAt<double>(bytes, kWheelOffset + 24), 0.51);
  EXPECT_EQ(bytes.substr(kVersionOffset, 6), std::string("\xFF\xFE\xFF\x01\x33\x00", 6));
  EXPECT_EQ(ReadAt<double>(bytes, kFurtherRingsOffset + 16 * 16), 100.0);  // second further ring, object 1
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, bytes.size() - 4), 1);
  const std::string emptyWide("\xFF\xFE\xFF\x00", 4);
  EXPECT_EQ(bytes.substr(bytes.size() - 16, 12), emptyWide + emptyWide + emptyWide);
}

TEST(DocumentFileForm, AnOlderDocumentEndsWithItsNoteWhereTheVersionStands) {
  const std::string head = SampleBytes().substr(0, kVersionOffset);
  for (const char* note : {"Заметка о клиенте", "2", "3", "12 марта"}) {
    platform::ArchiveWriter tail;
    tail.WriteString(note);
    const auto document = Decode(head + tail.Bytes());
    ASSERT_TRUE(document) << note;
    EXPECT_EQ(document->note, note);
    EXPECT_EQ(document->name, "Иван");
    EXPECT_EQ(document->furtherRings, FurtherRings{});
  }
  // Narrow strings of the older program are Windows-1251.
  const auto narrow = Decode(head + "\x04\xC4\xE0\xF2\xE0");
  ASSERT_TRUE(narrow);
  EXPECT_EQ(narrow->note, "Дата");
}

TEST(DocumentFileForm, DamagedAndHostileDocumentsGiveAReason) {
  const std::string good = SampleBytes();
  std::string hugeName = good;
  hugeName.replace(kNameOffset, 4, "\xFF\xFE\xFF\xFF");
  hugeName.insert(kNameOffset + 4, "\xFF\xFF\xFF\x7F");  // a 32-bit length far beyond the file
  std::string newerLayout = good;
  newerLayout[kVersionOffset + 4] = '4';
  const struct {
    std::string bytes;
    const char* reason;
  } cases[] = {{"", "неполны"},
               {good.substr(0, kOffsetOffset + 3), "неполны"},
               {good.substr(0, kFurtherRingsOffset + 40), "неполны"},
               {hugeName, "неполны"},
               {newerLayout, "версия формата 4"},
               {WithFieldAt(good, kHouseOffset, std::int32_t{3}), "система домов"},
               {WithFieldAt(good, kLatitudeOffset, std::numeric_limits<double>::quiet_NaN()), "широта"},
               {WithFieldAt(good, kDayOffset + 4, std::int32_t{13}), "дата"},  // month
               {WithFieldAt(good, kSecondOffset, std::int32_t{-1}), "дата"},
               {WithFieldAt(good, kWheelOffset, 1e300), "угол"}};
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_FALSE(Decode(c.bytes, &reason)) << c.reason;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

TEST(DocumentFileForm, RandomlyDamagedDocumentsDecodeToSoundChartsOrFail) {
  const std::string original = SampleBytes();
  std::mt19937 random(1287);
  int decoded = 0;
  for (int round = 0; round < testing::kMutationRounds; ++round) {
    const auto document = Decode(testing::Mutate(original, random));
    if (!document) continue;
    ++decoded;
    EXPECT_TRUE(ws::IsValidMoment(document->local));
    EXPECT_LE(std::abs(document->latitudeDeg), 90.0);
    EXPECT_LE(std::abs(document->longitudeDeg), 180.0);
    for (const RingPoint& point : document->wheel) EXPECT_LE(std::abs(point.angleDeg), 1000.0);
  }
  EXPECT_LT(decoded, testing::kMutationRounds);
}

TEST_F(DocumentFileTest, UnreadableFilesAndTheRetiredLayoutAreReported) {
  EXPECT_NE(ReadChartDocument(dir_ / "нет.kvd").message.find("Не удается открыть файл "), std::string::npos);
  WriteFile("old.MAP", SampleBytes());
  const DocumentRead old = ReadChartDocument(dir_ / "old.MAP");
  EXPECT_FALSE(old.document);
  EXPECT_NE(old.message.find(".MAP"), std::string::npos);
  WriteFile("old.map", SampleBytes());
  EXPECT_FALSE(ReadChartDocument(dir_ / "old.map").document) << "the extension in any case";
  for (const char* today : {".MAPs.kvd", "Семья.MAPLE.kvd", "A.MAP.kvd", ".MAP"}) {
    WriteFile(today, SampleBytes());
    EXPECT_TRUE(ReadChartDocument(dir_ / today).document) << today;
  }
}

TEST_F(DocumentFileTest, AFailedSaveReportsItAndLeavesNoFile) {
  const auto path = dir_ / "нет такой папки" / "a.kvd";
  const auto failure = WriteChartDocument(path, SampleDocument());
  ASSERT_TRUE(failure);
  EXPECT_EQ(*failure, "Не удается записать файл " + path.string() + ": нет такой папки");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(WriteFailure, TheReasonIsSaidInTheProgramsWords) {
  for (const auto& [code, reason] : {std::pair{ENOSPC, "нет места на диске"}, {EFBIG, "файл превысил допустимый размер"},
                                     {EACCES, "нет прав на запись"}, {EROFS, "диск только для чтения"}}) {
    EXPECT_EQ(WriteFailureReason({code, std::generic_category()}), reason) << code;
  }
}

TEST(DocumentRules, ALoadedChartIsComputedAndLookedUpOrNotChangedAtAll) {
  places::CityBase base;
  base.cities.push_back(places::testing::MakeCity("Буэнос-Айрес", "", -33.8666, -58.4));
  int computed = 0;
  const ChartServices services{[&](ws::ChartRecord& chart) {
                                 ++computed;
                                 EXPECT_EQ(chart.placeName, "Москва");  // computed before the look-up
                                 return true;
                               },
                               &base, nullptr};
  SampleChart chart;
  chart.record.step.counter = 3;
  EXPECT_FALSE(LoadDocumentIntoChart(SampleDocument(), "/charts/Иван.kvd", chart.record, chart.rings, services));
  EXPECT_EQ(computed, 1);
  EXPECT_EQ(chart.record.step.counter, 0);
  EXPECT_EQ(chart.record.filePath, "/charts/Иван.kvd");
  EXPECT_EQ(chart.record.placeName, "Буэнос-Айрес");
  EXPECT_EQ(chart.rings, Sample().rings);

  SampleChart kept;
  kept.record.name = "Мария";
  const SampleChart before = kept;
  const ChartServices refusing{[](ws::ChartRecord&) { return false; }, &base, nullptr};
  const auto message = LoadDocumentIntoChart(SampleDocument(), "/c/a.kvd", kept.record, kept.rings, refusing);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->rfind("Неправильные данные!", 0), 0u);
  EXPECT_EQ(kept.record, before.record);
  EXPECT_EQ(kept.rings, before.rings);
}

}  // namespace
}  // namespace kelvara::app

namespace kelvara::app {
namespace {

// A stored file says exactly what is wrong: bytes past its end, a value a hair beyond its
// limit, a file far too large to be one.
TEST(StoredFileVerdicts, TrailingBytesExactValuesAndSizeAreSaid) {
  std::string error;
  EXPECT_FALSE(DecodeChartDocument(EncodeChartDocument(ChartDocument{}) + "x", error));
  EXPECT_EQ(error, kReasonTrailingBytes);
  EXPECT_TRUE(DecodeChartDocument(EncodeChartDocument(ChartDocument{}), error));
  EXPECT_FALSE(DecodeAspectTable(EncodeAspectTable(DefaultSingleChartAspects()) + std::string(4, '\0'), error));
  EXPECT_EQ(error, kReasonTrailingBytes);
  EXPECT_FALSE(DecodeDignityTables(EncodeDignityTables(DefaultDignityTables(Tradition::kWestern)) + "\1", error));
  EXPECT_EQ(error, kReasonTrailingBytes);

  EXPECT_EQ(BadValueReason("угол", std::nextafter(-1000.0, -2000.0)), "недопустимое значение: угол = -1000.0000000000001");
  EXPECT_EQ(BadValueReason("угол", 91.0), "недопустимое значение: угол = 91");

  platform::test_support::ScratchDir dir;
  const std::filesystem::path huge = dir / "huge.kvd";
  std::ofstream(huge).put('x');
  std::filesystem::resize_file(huge, platform::kDefaultFileSizeLimit + 1);
  EXPECT_EQ(ReadChartDocument(huge).message, DamagedFileMessage(huge, kReasonTooLarge));
}

}  // namespace
}  // namespace kelvara::app
