#include "places/city_base.h"

#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "places/tests/test_support.h"

namespace kelvara::places {
namespace {

using testing::Entry;
using testing::MakeCity;

std::string BaseOf(const std::vector<CityRecord>& cities) {
  std::string bytes;
  for (const CityRecord& city : cities) AppendCityRecord(city, bytes);
  return bytes;
}

void PutInt32(std::string& bytes, std::size_t at, int32_t value) {
  std::memcpy(bytes.data() + at, &value, sizeof(value));
}

TEST(CityBase, RecordsReadBackWithNamesPositionsAndSharedLists) {
  const TimeChangeList moscow = {Entry(1860, 1, 1, 0, 0, 0, 30000), Entry(1930, 6, 21, 1, 0, -2700, 0)};
  CityBase base;
  const auto load = ParseCityBase(BaseOf({MakeCity("Москва", "", 55.75222, 37.61556, moscow),
                                          MakeCity("  Кировск ", "(Murmansk, RU) ", 67.61475,
                                                   33.67274, moscow),
                                          MakeCity("Ушуая", "", -54.8, -68.3)}),
                                  base);
  EXPECT_EQ(load.status, CityBaseStatus::kComplete);
  ASSERT_EQ(base.cities.size(), 3u);
  EXPECT_EQ(base.cities[0].DisplayName(), "Москва");
  EXPECT_EQ(base.cities[1].DisplayName(), "Кировск (Murmansk, RU)");
  EXPECT_NEAR(base.cities[0].Latitude(), 55.75222, 1e-12);
  EXPECT_NEAR(base.cities[0].Longitude(), 37.61556, 1e-12);
  EXPECT_NEAR(base.cities[2].Latitude(), -54.8, 1e-12);
  EXPECT_NEAR(base.cities[2].Longitude(), -68.3, 1e-12);
  ASSERT_TRUE(base.cities[0].timeChanges);
  EXPECT_EQ(*base.cities[0].timeChanges, moscow);
  EXPECT_EQ(base.cities[0].timeChanges, base.cities[1].timeChanges);
  EXPECT_FALSE(base.cities[2].timeChanges);
}

TEST(CityBase, AnInvalidLengthEndsTheReadingAndKeepsEarlierCities) {
  const std::string one = BaseOf({MakeCity("A", "", 1, 2)});
  for (int32_t badLength : {-1, 1001, 0x7FFFFFFF}) {
    std::string bytes = one + one;
    PutInt32(bytes, one.size(), badLength);
    CityBase base;
    EXPECT_EQ(ParseCityBase(bytes, base).status, CityBaseStatus::kStoppedAtInvalidRecord);
    EXPECT_EQ(base.cities.size(), 1u) << badLength;
  }
}

TEST(CityBase, ATruncatedRecordEndsTheReading) {
  const std::string bytes =
      BaseOf({MakeCity("A", "", 1, 2), MakeCity("B", "", 1, 2, {Entry(1900, 1, 1, 0, 0, 0, 0)})});
  for (std::size_t cut = bytes.size() / 2 + 1; cut < bytes.size(); ++cut) {
    CityBase base;
    const auto load = ParseCityBase(std::string_view(bytes).substr(0, cut), base);
    EXPECT_EQ(load.status, CityBaseStatus::kStoppedAtInvalidRecord);
    EXPECT_FALSE(load.message.empty());
    EXPECT_LE(base.cities.size(), 1u);
  }
}

TEST(CityBase, ACountOutsideItsRangeMeansNoListAndReadingGoesOn) {
  const std::string first = BaseOf({MakeCity("A", "", 1, 2)});
  for (int32_t count : {0, -7, 10000, 0x7FFFFFFF}) {
    std::string bytes = first + first;
    PutInt32(bytes, first.size() - sizeof(int32_t), count);
    CityBase base;
    EXPECT_EQ(ParseCityBase(bytes, base).status, CityBaseStatus::kComplete) << count;
    ASSERT_EQ(base.cities.size(), 2u);
    EXPECT_FALSE(base.cities[0].timeChanges);
  }
}

TEST(CityBase, AMissingFileLeavesTheBaseEmpty) {
  CityBase base;
  base.cities.push_back(MakeCity("stale", "", 0, 0));
  EXPECT_EQ(LoadCityBase("/nonexistent/IndexFile", base).status, CityBaseStatus::kMissing);
  EXPECT_TRUE(base.cities.empty());
}

TEST(CityBase, AnEmptyFileOrSomethingElseInItsPlaceIsReportedAtOnce) {
  testing::ScratchDir dir;
  const std::filesystem::path file = dir / "IndexFile";
  CityBase base;
  std::ofstream(file, std::ios::binary).close();
  auto load = LoadCityBase(file, base);
  EXPECT_EQ(load.status, CityBaseStatus::kStoppedAtInvalidRecord);
  EXPECT_NE(load.message.find("повреждена: прочитано городов: 0"), std::string::npos) << load.message;
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  load = LoadCityBase(file, base);
  EXPECT_EQ(load.status, CityBaseStatus::kUnreadable);
  EXPECT_EQ(load.message, "Не удается открыть файл " + file.string());
  std::filesystem::remove(file);
  const auto fromFifo = testing::ReadBesideFifo<CityBaseLoad>(file, [&] { return LoadCityBase(file, base); });
  ASSERT_TRUE(fromFifo) << "reading a FIFO blocked";
  EXPECT_EQ(fromFifo->status, CityBaseStatus::kUnreadable);
  EXPECT_EQ(fromFifo->message, "Не удается открыть файл " + file.string());
}

TEST(CityBase, DisplayNameComparisonMatchesTheBuiltName) {
  for (const auto& [name, suffix] : std::vector<std::pair<std::string, std::string>>{
           {"Москва", ""}, {" Кировск ", " (Murmansk, RU)"}, {"", "(RU)"}, {"", ""}, {"A", "B"}}) {
    CityRecord city;
    city.name = name;
    city.suffix = suffix;
    const std::string built = city.DisplayName();
    EXPECT_TRUE(city.HasDisplayName(built)) << built;
    EXPECT_FALSE(city.HasDisplayName(built + "x")) << built;
    EXPECT_FALSE(city.HasDisplayName("x" + built)) << built;
  }
}

TEST(CityBase, AFileReadsLikeItsImageEvenWhenCut) {
  // Long lists make the base larger than one read chunk.
  TimeChangeList longList(9999, Entry(1900, 1, 1, 0, 0, -2700, 0));
  std::string bytes;
  for (int i = 0; i < 80; ++i) {
    longList[0].year = static_cast<int16_t>(1900 + i % 3);
    AppendCityRecord(MakeCity("C" + std::to_string(i), "", 1, 2, longList), bytes);
  }
  testing::ScratchDir dir;
  for (std::size_t cut : {bytes.size(), bytes.size() - 1, bytes.size() / 2, std::size_t{3}}) {
    {
      std::ofstream out(dir / "IndexFile", std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(cut));
    }
    CityBase fromFile, fromMemory;
    const auto fileLoad = LoadCityBase(dir / "IndexFile", fromFile);
    const auto memoryLoad = ParseCityBase(std::string_view(bytes).substr(0, cut), fromMemory);
    EXPECT_EQ(fileLoad.status, memoryLoad.status);
    ASSERT_EQ(fromFile.cities.size(), fromMemory.cities.size());
    if (cut == bytes.size()) {
      EXPECT_EQ(fromFile.cities.size(), 80u);
    }
    for (std::size_t i = 0; i < fromFile.cities.size(); ++i) {
      EXPECT_EQ(*fromFile.cities[i].timeChanges, *fromMemory.cities[i].timeChanges);
    }
  }
}

}  // namespace
}  // namespace kelvara::places
