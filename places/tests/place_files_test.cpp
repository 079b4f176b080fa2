#include "places/place_files.h"

#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/file_io.h"
#include "places/place_text.h"
#include "places/tests/test_support.h"

namespace kelvara::places {
namespace {

const std::string kHeaderText =
    "строка 1:   ФАЙЛ КООРДИНАТ НАСЕЛЕННЫХ ПУНКТОВ ДОЛЖЕН ИМЕТЬ ТАКОЙ ФОРМАТ.\r\n"
    "строка 2:   Название     широта  долгота\r\n"
    "строка 3:   (информация должна начинаться с ПЯТОЙ строки)\r\n"
    "\r\n";

std::string Utf16Le(const std::string& utf8) {
  return platform::Utf16ToLeBytes(platform::Utf8ToUtf16(utf8));
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  ASSERT_TRUE(platform::WriteFileAtomically(file, bytes));
}

class PlaceFilesTest : public ::testing::Test {
 protected:
  // Loads a text file of the given place lines, written the way the program writes them.
  PlaceFileResult LoadLines(const std::string& lines, const std::string& fileName = "p.txt") {
    WriteBytes(dir_ / fileName, Utf16Le(kHeaderText + lines));
    return LoadPlaces(dir_ / fileName, list_, ui_);
  }

  testing::ScratchDir dir_;
  PlacesList list_;
  std::vector<std::string> questions_;
  bool answerOk_ = true;
  PlaceFileUi ui_{nullptr, [this](const std::string& q) {
                    questions_.push_back(q);
                    return answerOk_;
                  }};
};

TEST_F(PlaceFilesTest, BothNotationsGiveTheSamePlace) {
  const auto seconds = ParsePlaceLine("Москва 55°45'00\" 37°37'00\"");
  const auto minutes = ParsePlaceLine("Москва 55.45  37.37");
  for (const PlaceLine& place : {seconds, minutes}) {
    EXPECT_EQ(place.name, "Москва");
    EXPECT_NEAR(place.latitude, 55.75, 1e-12);
    EXPECT_NEAR(place.longitude, 37.0 + 37.0 / 60.0, 1e-12);
  }
}

TEST_F(PlaceFilesTest, SouthernAndWesternValuesAreNegativeInEitherForm) {
  EXPECT_NEAR(ParsePlaceLine("Сидней -33°52'00\" 151°12'00\"").latitude, -33.8666666667, 1e-9);
  EXPECT_NEAR(ParsePlaceLine("Сидней 33°52'00\"S 151°12'00\"").latitude, -33.8666666667, 1e-9);
  EXPECT_NEAR(ParsePlaceLine("Lima 12°02'36\"S 77°01'42\"W").longitude, -77.0283333333, 1e-9);
  EXPECT_NEAR(ParsePlaceLine("Lima -12.02 -77.01").longitude, -77.0 - 1.0 / 60.0, 1e-12);
  // A leading S or W belongs to no number and does not flip the sign.
  EXPECT_NEAR(ParsePlaceLine("X 10.30 W20.00").longitude, kUnreadableDegrees, 1e-12);
}

TEST_F(PlaceFilesTest, NamesOfSeveralWordsAndTabsAreKept) {
  EXPECT_EQ(ParsePlaceLine("Нижний Новгород\t56°19'37\" 44°00'27\"").name, "Нижний Новгород");
  EXPECT_EQ(ParsePlaceLine("  Нижний Новгород 56.19 44.00").name, "Нижний Новгород");
  EXPECT_NEAR(ParsePlaceLine("Нижний Новгород 56.19 44.00").latitude, 56.0 + 19.0 / 60.0, 1e-12);
}

TEST_F(PlaceFilesTest, UnreadableCoordinatesFailTheRangeTest) {
  for (const char* line : {"Москва", "Москва 55°45'00\"", "Москва 55.45", "Москва ab cd",
                           "Москва 55.75583 37.61730", "Москва 55°75'00\" 37°00'00\""}) {
    const PlaceLine place = ParsePlaceLine(line);
    EXPECT_FALSE(CoordinatesInRange(place.latitude, place.longitude)) << line;
  }
}

TEST_F(PlaceFilesTest, CoordinatesAreWrittenWithSecondsRoundedEvenTo60) {
  EXPECT_EQ(FormatCoordinate(55.75), "55°45'00\"");
  EXPECT_EQ(FormatCoordinate(-33.0 - 52.0 / 60.0), "-33°52'00\"");
  EXPECT_EQ(FormatCoordinate(10.0 + 59.0 / 60.0 + 59.6 / 3600.0), "10°59'60\"");
  EXPECT_NEAR(ParsePlaceLine("X 10°59'60\" 0°00'00\"").latitude, 11.0, 1e-12);
}

TEST_F(PlaceFilesTest, ALineOutOfRangeStopsTheImportWithItsNumberAndText) {
  const auto result = LoadLines("Москва 55°45'00\" 37°37'00\"\r\nОшибка 95°00'00\" 10°00'00\"\r\n"
                                "Киев 50°27'00\" 30°31'00\"\r\n");
  EXPECT_EQ(result.status, PlaceFileStatus::kDataError);
  EXPECT_EQ(result.message,
            "Ошибка в данных у 2-го населенного пункта !!!\r\nОшибка 95°00'00\" 10°00'00\"");
  ASSERT_EQ(list_.places.size(), 1u);
  EXPECT_EQ(list_.places[0].name, "Москва");
}

TEST_F(PlaceFilesTest, ImportingTheSameFileTwiceAddsNothing) {
  const std::string lines = "Москва 55°45'00\" 37°37'00\"\r\nКиев 50.27  30.31\r\n\r\n";
  EXPECT_EQ(LoadLines(lines).placesDone, 2);
  const auto second = LoadLines(lines);
  EXPECT_EQ(second.status, PlaceFileStatus::kDone);
  EXPECT_EQ(second.placesDone, 0);
  EXPECT_EQ(list_.places.size(), 2u);
  EXPECT_TRUE(questions_.empty());
}

TEST_F(PlaceFilesTest, AKnownNameWithOtherCoordinatesAsksOkToKeepOrCancelToStop) {
  LoadLines("Москва 55°45'00\" 37°37'00\"\r\n");
  LoadLines("Москва 50°00'00\" 37°37'00\"\r\nКиев 50°27'00\" 30°31'00\"\r\n");
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0],
            "Населенный пункт: \nМосква\nуже был загружен однажды,\nно совсем с другими "
            "координатами !!!\n\nПродолжить без учета новых координат ?");
  ASSERT_EQ(list_.places.size(), 2u);
  EXPECT_NEAR(list_.places[0].latitude, 55.75, 1e-12);

  answerOk_ = false;
  const auto cancelled = LoadLines("Киев 10°00'00\" 30°31'00\"\r\nМинск 53°54'00\" 27°34'00\"\r\n");
  EXPECT_EQ(cancelled.status, PlaceFileStatus::kCancelled);
  EXPECT_EQ(list_.places.size(), 2u);
}

TEST_F(PlaceFilesTest, InterruptingAnImportKeepsThePlacesDoneSoFar) {
  ui_.progress = [](const PlacesProgress& p) { return p.done < 2; };
  const auto result = LoadLines("A 1.00 1.00\r\nB 2.00 2.00\r\nC 3.00 3.00\r\n");
  EXPECT_EQ(result.status, PlaceFileStatus::kCancelled);
  EXPECT_EQ(list_.places.size(), 2u);
}

TEST_F(PlaceFilesTest, TextInOtherEncodingsIsReadToo) {
  const std::string lines = "Москва 55°45'00\" 37°37'00\"\r\n";
  const std::string utf8 = kHeaderText + lines;
  for (const std::string& bytes :
       {"\xFF\xFE" + Utf16Le(utf8), std::string("\xEF\xBB\xBF") + utf8, utf8}) {
    EXPECT_EQ(DecodePlaceText(bytes), utf8);
  }
  // Windows-1251 has no degree sign, so such files use the minutes notation.
  const std::string cp1251 = platform::Utf8ToCp1251(kHeaderText + "Москва 55.45 37.37\n");
  WriteBytes(dir_ / "ansi.TXT", cp1251);
  EXPECT_EQ(LoadPlaces(dir_ / "ansi.TXT", list_, ui_).placesDone, 1);
  ASSERT_EQ(list_.places.size(), 1u);
  EXPECT_EQ(list_.places[0].name, "Москва");
}

TEST_F(PlaceFilesTest, SavedPlacesReadBackInBothFormats) {
  PlacesList original;
  original.places = {{"Москва", 37.0 + 37.0 / 60.0, 55.75},
                     {"Буэнос-Айрес", -58.0 - 22.0 / 60.0 - 52.0 / 3600.0, -34.0 - 36.0 / 60.0},
                     {"", 1.0, 1.0},
                     {"Ушуая", -68.3, -54.8}};
  for (const char* file : {"export.txt", "export.bin"}) {
    ASSERT_EQ(SavePlaces(dir_ / file, original, ui_).status, PlaceFileStatus::kDone);
    PlacesList back;
    EXPECT_EQ(LoadPlaces(dir_ / file, back, ui_).placesDone, 3) << file;
    ASSERT_EQ(back.places.size(), 3u);
    for (std::size_t i : {0u, 1u}) {
      EXPECT_EQ(back.places[i].name, original.places[i].name);
      EXPECT_NEAR(back.places[i].latitude, original.places[i].latitude, 1e-9);
      EXPECT_NEAR(back.places[i].longitude, original.places[i].longitude, 1e-9);
    }
    // Re-importing the export into the list it came from finds every place there.
    PlacesList again = original;
    EXPECT_EQ(LoadPlaces(dir_ / file, again, ui_).placesDone, 0) << file;
  }
  EXPECT_TRUE(questions_.empty());
}

TEST_F(PlaceFilesTest, TheTextFileHasTheExactLayout) {
  PlacesList list;
  list.places = {{"Москва", 37.0 + 37.0 / 60.0, 55.75}};
  ASSERT_EQ(SavePlaces(dir_ / "a.txt", list, ui_).status, PlaceFileStatus::kDone);
  EXPECT_EQ(*platform::ReadFileBytes(dir_ / "a.txt"), Utf16Le(kHeaderText + "Москва 55°45'00\" 37°37'00\"\r\n"));
}

TEST_F(PlaceFilesTest, AnInterruptedExportLeavesTheOldFile) {
  WriteBytes(dir_ / "keep.txt", "old");
  PlacesList list;
  list.places = {{"A", 1, 1}, {"B", 2, 2}};
  ui_.progress = [](const PlacesProgress&) { return false; };
  EXPECT_EQ(SavePlaces(dir_ / "keep.txt", list, ui_).status, PlaceFileStatus::kCancelled);
  EXPECT_EQ(*platform::ReadFileBytes(dir_ / "keep.txt"), "old");
  EXPECT_EQ(SavePlaces(dir_ / "missing-dir" / "x.txt", list, {}).status,
            PlaceFileStatus::kCannotWrite);
}

TEST_F(PlaceFilesTest, ABinaryFileShorterThanItsCountKeepsWhatItHolds) {
  PlacesList list;
  list.places = {{"Москва", 37.6, 55.75}, {"Киев", 30.5, 50.45}};
  ASSERT_EQ(SavePlaces(dir_ / "a.bin", list, ui_).status, PlaceFileStatus::kDone);
  std::string bytes = *platform::ReadFileBytes(dir_ / "a.bin");
  const int32_t hugeCount = 0x7FFFFFFF;
  std::memcpy(bytes.data(), &hugeCount, sizeof(hugeCount));
  bytes.resize(bytes.size() - 3);
  WriteBytes(dir_ / "b.bin", bytes);
  PlacesList loaded;
  const auto result = LoadPlaces(dir_ / "b.bin", loaded, ui_);
  EXPECT_EQ(result.status, PlaceFileStatus::kDamaged);
  EXPECT_EQ(result.message, "Файл населенных пунктов поврежден: прочитано населенных пунктов: 1.");
  EXPECT_EQ(loaded.places.size(), 1u);
  EXPECT_EQ(LoadPlaces(dir_ / "none.bin", loaded, ui_).status, PlaceFileStatus::kCannotOpen);
  std::filesystem::resize_file(dir_ / "b.bin", std::uintmax_t{1} << 30);  // sparse, costs nothing
  EXPECT_EQ(LoadPlaces(dir_ / "b.bin", loaded, ui_).status, PlaceFileStatus::kDamaged);
  EXPECT_EQ(loaded.places.size(), 1u);
}

TEST_F(PlaceFilesTest, FileKindGoesByTheFileName) {
  for (const char* text : {"/a/b/places.txt", "PLACES.TXT.bak"}) EXPECT_TRUE(IsTextPlaceFile(text)) << text;
  for (const char* other : {"/home/u/list.txt.d/places", "places.dat"}) EXPECT_FALSE(IsTextPlaceFile(other)) << other;
}

TEST(PlacesList, BuildsOnceFromTheBaseWithProgressText) {
  CityBase base;
  base.cities = {testing::MakeCity("Москва", "", 55.75, 37.6),
                 testing::MakeCity("Кировск", "(Murmansk, RU)", 67.6, 33.7)};
  PlacesList list;
  std::string lastText;
  BuildPlacesList(base, list, [&](const PlacesProgress& p) {
    lastText = ProgressText(PlacesWork::kLoading, p);
    return true;
  });
  BuildPlacesList(base, list, nullptr);
  ASSERT_EQ(list.places.size(), 2u);
  EXPECT_TRUE(list.loaded);
  EXPECT_EQ(list.places[1].name, "Кировск (Murmansk, RU)");
  EXPECT_NEAR(list.places[1].latitude, 67.6, 1e-12);
  EXPECT_EQ(lastText, "Загружено  2\r\nКировск (Murmansk, RU)");
  EXPECT_EQ(ProgressCaption(PlacesWork::kSaving), "Населенные пункты (сохранение)");
}

}  // namespace
}  // namespace kelvara::places
