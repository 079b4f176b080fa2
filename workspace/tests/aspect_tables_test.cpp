#include "workspace/aspect_tables.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "workspace/tests/stored_bytes.h"

namespace kelvara::workspace {
namespace {

using testing::ReadAt;
using testing::WithFieldAt;

// Sizes of the file form with empty texts, each a wide empty string of 4 bytes.
constexpr std::size_t kOrbArrayBytes = kOrbSlotCount * 8;
constexpr std::size_t kSecondColorOffset = 4 + 8 + 2 * kOrbArrayBytes;
constexpr std::size_t kEmptyTextBytes = 4;
constexpr std::size_t kRecordBytes = kSecondColorOffset + 4 + 2 * kEmptyTextBytes + 3 * 4;

TEST(AspectDefaults, TablesShareAnglesAndPensWithOrbsInEveryObjectSlot) {
  const AspectTable single = DefaultSingleChartAspects();
  const AspectTable between = DefaultTwoChartAspects();
  for (int i = 0; i < kAspectCount - 1; ++i) {
    EXPECT_TRUE(single[i].enabled && between[i].enabled) << i;
    EXPECT_EQ(single[i].angle, between[i].angle) << i;
    EXPECT_GT(single[i].firstOrbs[33], between[i].firstOrbs[0]) << i;
  }
  EXPECT_FALSE(between[17].enabled);  // the last record is a spare, empty in the single table
  EXPECT_EQ(single[17], AspectRecord{});
}

TEST(AspectFileForm, RecordsFollowTheFieldOrderWithWideTexts) {
  AspectTable table = DefaultTwoChartAspects();
  table[0].secondText = "Я";
  const std::string bytes = EncodeAspectTable(table);
  ASSERT_EQ(bytes.size(), kAspectCount * kRecordBytes + 2);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, 0), 1);
  EXPECT_EQ(ReadAt<double>(bytes, 4), 0.0);
  EXPECT_EQ(ReadAt<double>(bytes, 12), 1.0);
  EXPECT_EQ(ReadAt<double>(bytes, 12 + kOrbArrayBytes), 0.0);
  EXPECT_EQ(ReadAt<std::uint32_t>(bytes, kSecondColorOffset), 0x000080u);
  // Wide marker, one UTF-16 unit: "Я" is U+042F.
  EXPECT_EQ(bytes.substr(kSecondColorOffset + 4, 6), std::string("\xFF\xFE\xFF\x01\x2F\x04", 6));
  const std::size_t secondRecord = kRecordBytes + 2;
  EXPECT_EQ(ReadAt<double>(bytes, secondRecord + 4), 120.0);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, secondRecord - 12), 3);  // pen width of record 0
}

TEST(AspectFileForm, EditedTablesComeBackWhole) {
  AspectTable edited = DefaultSingleChartAspects();
  edited[2].secondOrbs[33] = 1.25;
  edited[17].enabled = true;
  edited[17].angle = 51.428571;
  edited[4].firstText = "Полусекстиль";
  edited[9].firstColor = 0x123456;
  std::string error;
  EXPECT_EQ(DecodeAspectTable(EncodeAspectTable(edited), error), edited);
  EXPECT_TRUE(error.empty());
}

TEST(AspectFileForm, DamagedFieldsAreRefusedWithAReason) {
  const std::string good = EncodeAspectTable(DefaultSingleChartAspects());
  std::string hugeText = good;
  hugeText.replace(kSecondColorOffset + 4, 4, "\xFF\xFF\xFF\x7F");  // a 32-bit length far past the end
  for (const std::string& bytes :
       {std::string(), good.substr(0, good.size() - 1), good + '\0', hugeText,
        WithFieldAt(good, kRecordBytes - 12, std::int32_t{-3}),             // pen width
        WithFieldAt(good, 4, std::numeric_limits<double>::quiet_NaN()),     // angle
        WithFieldAt(good, kRecordBytes - 8, std::int32_t{7}),               // pen style
        WithFieldAt(good, 12 + 8, -1.0)}) {                                 // orb
    std::string error;
    EXPECT_FALSE(DecodeAspectTable(bytes, error)) << bytes.size();
    EXPECT_FALSE(error.empty());
  }
}

TEST(AspectFileForm, RandomlyDamagedTablesDecodeToSoundValuesOrFail) {
  AspectTable sample = DefaultTwoChartAspects();
  sample[1].firstText = "Трин";
  const std::string original = EncodeAspectTable(sample);
  std::mt19937 random(20261208);
  for (int round = 0; round < testing::kMutationRounds; ++round) {
    std::string error;
    const auto table = DecodeAspectTable(testing::Mutate(original, random), error);
    if (!table) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    for (const AspectRecord& record : *table) {
      EXPECT_TRUE(record.angle >= 0.0 && record.angle <= 360.0);
      EXPECT_TRUE(record.penStyle >= kPenSolid && record.penStyle <= kPenDots);
      for (double orb : record.firstOrbs) EXPECT_TRUE(std::isfinite(orb) && orb >= 0.0);
    }
  }
}

}  // namespace
}  // namespace kelvara::workspace
