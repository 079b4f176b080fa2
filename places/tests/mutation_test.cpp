// Damaged files of every kind the places code reads: random byte changes,
// cuts and insertions from a fixed seed. The readers must stop cleanly.
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "places/city_base.h"
#include "platform/file_io.h"
#include "places/place_files.h"
#include "places/place_time.h"
#include "places/tests/test_support.h"

namespace kelvara::places {
namespace {

using testing::Entry;
using testing::MakeCity;

constexpr int kRounds = 400;

std::string Mutate(std::string bytes, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  const int edits = 1 + static_cast<int>(random() % 8);
  for (int i = 0; i < edits && !bytes.empty(); ++i) {
    const std::size_t at = random() % bytes.size();
    switch (random() % 4) {
      case 0: bytes[at] = static_cast<char>(byte(random)); break;
      case 1: bytes.resize(at); break;
      case 2: bytes.insert(at, 1, static_cast<char>(byte(random))); break;
      default: bytes[at] = static_cast<char>(0xFF); break;  // large or negative numbers
    }
  }
  return bytes;
}

std::string SampleBase() {
  const TimeChangeList changes = {Entry(1860, 1, 1, 0, 0, 0, 30000), Entry(1919, 7, 1, 0, 0, -2700, 1),
                                  Entry(1984, 1, 1, 0, 0, -2700, 10), Entry(2011, 3, 27, 3, 0, -3600, 0)};
  std::string bytes;
  for (int i = 0; i < 4; ++i) {
    AppendCityRecord(MakeCity("Город" + std::to_string(i), "(Region, RU)", 50.0 + i, 30.0 + i, changes), bytes);
  }
  return bytes;
}

TEST(Mutation, DamagedCityBasesStopCleanlyAndTheirListsExpandSafely) {
  const std::string original = SampleBase();
  std::mt19937 random(20260512);
  for (int round = 0; round < kRounds; ++round) {
    CityBase base;
    ParseCityBase(Mutate(original, random), base);
    ASSERT_LE(base.cities.size(), 8u);
    for (const CityRecord& city : base.cities) {
      EXPECT_LE(city.name.size(), 3000u);  // at most 1000 bytes, up to 3 UTF-8 bytes each
      EXPECT_TRUE(std::isfinite(city.Latitude()) && std::isfinite(city.Longitude()));
      const PlaceTime time = PlaceTimeOfCity(city);
      for (const TimePeriod& period : time.periods) {
        EXPECT_TRUE(std::isfinite(period.offsetHours));
        OffsetAt(time, period.startHours, true);
      }
    }
  }
}

TEST(Mutation, DamagedPlaceFilesLoadWhatIsReadableAndNeverCrash) {
  testing::ScratchDir dir;
  PlacesList sample;
  sample.places = {{"Москва", 37.6, 55.75}, {"Буэнос-Айрес", -58.4, -34.6}, {"Киев", 30.5, 50.4}};
  const PlaceFileUi ui{nullptr, [](const std::string&) { return true; }};
  std::mt19937 random(1860);
  for (const char* name : {"sample.txt", "sample.bin"}) {
    ASSERT_EQ(SavePlaces(dir / name, sample, ui).status, PlaceFileStatus::kDone);
    const std::string original = *platform::ReadFileBytes(dir / name);
    for (int round = 0; round < kRounds; ++round) {
      ASSERT_TRUE(platform::WriteFileAtomically(dir / name, Mutate(original, random)));
      PlacesList list;
      const PlaceFileResult result = LoadPlaces(dir / name, list, ui);
      EXPECT_LE(list.places.size(), 8u) << name;
      for (const PlaceRecord& place : list.places) {
        EXPECT_TRUE(place.latitude >= -90 && place.latitude <= 90) << name;
        EXPECT_TRUE(place.longitude >= -180 && place.longitude <= 180) << name;
      }
      if (result.status != PlaceFileStatus::kDone && result.status != PlaceFileStatus::kCancelled) {
        EXPECT_FALSE(result.message.empty()) << name;
      }
    }
  }
}

}  // namespace
}  // namespace kelvara::places
