#include "app/dignity_tables.h"

#include <gtest/gtest.h>

#include "app/tests/test_support.h"

namespace kelvara::app {
namespace {

using testing::ReadAt;
using testing::WithFieldAt;

constexpr std::size_t kTableBytes = kSignCount * kChainObjectCount * 4;
constexpr int kLeo = 4, kVirgo = 5, kAries = 0;

int OnlyObjectOf(const DignityTable& table, int sign) {
  int found = -1;
  for (int object = 0; object < kChainObjectCount; ++object) {
    if (table[sign][object] == 0) continue;
    EXPECT_EQ(found, -1) << "two objects in sign " << sign;
    found = object;
  }
  return found;
}

using DignityFileTest = testing::DataFolderTest;

TEST(DignityDefaults, EachSignHasOneObjectPerTableInBothTraditions) {
  for (Tradition tradition : {Tradition::kWestern, Tradition::kAvestan}) {
    const DignityTables t = DefaultDignityTables(tradition);
    for (const DignityTable* table : {&t.exaltation, &t.exile, &t.fall, &t.rulership}) {
      for (int sign = 0; sign < kSignCount; ++sign) EXPECT_NE(OnlyObjectOf(*table, sign), -1);
    }
  }
  // Each tradition has rulers of its own.
  EXPECT_EQ(OnlyObjectOf(DefaultDignityTables(Tradition::kWestern).rulership, kLeo), kSun);
  EXPECT_EQ(OnlyObjectOf(DefaultDignityTables(Tradition::kAvestan).rulership, kVirgo), kProserpina);
}

TEST(DignityFileForm, FourTablesOf192IntegersInExaltationExileFallRulershipOrder) {
  const std::string bytes = EncodeDignityTables(DefaultDignityTables(Tradition::kWestern));
  ASSERT_EQ(bytes.size(), 4 * kTableBytes);
  const auto cell = [&](int table, int sign, int object) {
    return ReadAt<std::int32_t>(bytes, table * kTableBytes + (sign * kChainObjectCount + object) * 4);
  };
  EXPECT_EQ(cell(0, kAries, kSun), 1);          // exaltation
  EXPECT_EQ(cell(1, kAries, kVenus), 1);        // exile
  EXPECT_EQ(cell(2, kAries, kSaturn), 1);       // fall
  EXPECT_EQ(cell(3, kAries, kMars), 1);         // rulership
  EXPECT_EQ(cell(3, kLeo, kMoon), 0);
}

TEST_F(DignityFileTest, AnEditedFileOverridesTheDefaultsOfEitherTradition) {
  EXPECT_EQ(LoadDignityTables(Prefix(), Tradition::kAvestan).tables,
            DefaultDignityTables(Tradition::kAvestan));

  DignityTables edited = DefaultDignityTables(Tradition::kWestern);
  edited.rulership[kLeo][kSun] = 0;
  edited.rulership[kLeo][kJupiter] = 1;
  ASSERT_FALSE(SaveDignityTables(Prefix(), edited).has_value());
  for (Tradition tradition : {Tradition::kWestern, Tradition::kAvestan}) {
    const DignityLoad load = LoadDignityTables(Prefix(), tradition);
    EXPECT_TRUE(load.message.empty());
    EXPECT_EQ(load.tables, edited);
  }
}

TEST_F(DignityFileTest, DamagedFilesAreReportedAndLeaveTheTraditionsDefaults) {
  const std::string good = EncodeDignityTables(DefaultDignityTables(Tradition::kWestern));
  for (const std::string& bytes :
       {std::string(), good.substr(0, good.size() - 2), WithFieldAt(good, 3 * kTableBytes + 8, std::int32_t{2}),
        WithFieldAt(good, 40, std::int32_t{-1})}) {
    WriteFile("upr.", bytes);
    const DignityLoad load = LoadDignityTables(Prefix(), Tradition::kAvestan);
    EXPECT_NE(load.message.find("upr."), std::string::npos);
    EXPECT_EQ(load.tables, DefaultDignityTables(Tradition::kAvestan));
  }
}

TEST(DignityFileForm, RandomlyDamagedFilesDecodeToZerosAndOnesOrFail) {
  const std::string original = EncodeDignityTables(DefaultDignityTables(Tradition::kAvestan));
  std::mt19937 random(5300);
  for (int round = 0; round < testing::kMutationRounds; ++round) {
    std::string error;
    const auto tables = DecodeDignityTables(testing::Mutate(original, random), error);
    if (!tables) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    for (const auto& row : tables->rulership) {
      for (std::int32_t cell : row) EXPECT_TRUE(cell == 0 || cell == 1);
    }
  }
}

}  // namespace
}  // namespace kelvara::app
