#include "app/object_settings.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/tests/test_support.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
using testing::ReadAt;
using testing::WithFieldAt;

// Version, then five int32 per slot 1-34, Western set then Avestan set.
constexpr std::size_t kSlotBytes = 5 * 4;
constexpr std::size_t kSetBytes = ws::kLastSlot * kSlotBytes;
constexpr std::size_t kFileBytes = 4 + 2 * kSetBytes;
std::size_t SlotOffset(int slot, int set = 0) { return 4 + set * kSetBytes + (slot - 1) * kSlotBytes; }

using ObjectSettingsFilesTest = testing::DataFolderTest;

ObjectSettings EditedSet() {
  ObjectSettings settings = DefaultObjectSettings(ws::Tradition::kWestern);
  settings[ws::kSlotMoon].visible = false;
  settings[ws::kSlotFirstCusp].takesPartInAspects = false;
  settings[ws::kSlotSecondLot].usedAsMoving = false;
  settings[ws::kSlotSecondLot].colour = {0x12, 0x34, 0x56};
  return settings;
}

ChartObjectSettings Edited() {
  ChartObjectSettings settings;
  settings.west = EditedSet();
  settings.avesta[ws::kSlotLilith].colour = {9, 8, 7};
  return settings;
}

TEST(ObjectSettingsForm, TheFileHoldsTheVersionThenFlagsAndColourPerSlot) {
  const std::string bytes = EncodeObjectSettings(Edited());
  ASSERT_EQ(bytes.size(), kFileBytes);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, 0), kObjectSettingsVersion);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, SlotOffset(ws::kSlotMoon) + 2 * 4), 0);  // visible
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, SlotOffset(ws::kSlotSecondLot)), 0);     // used as moving
  EXPECT_EQ(ReadAt<std::uint32_t>(bytes, SlotOffset(ws::kSlotSecondLot) + 4 * 4), 0x563412u);
  EXPECT_EQ(ReadAt<std::uint32_t>(bytes, SlotOffset(ws::kSlotLilith, 1) + 4 * 4), 0x070809u);
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, SlotOffset(ws::kSlotLilith) + 2 * 4), 0) << "hidden in the West";
  EXPECT_EQ(ReadAt<std::int32_t>(bytes, SlotOffset(ws::kSlotLilith, 1) + 2 * 4), 1) << "shown in the Avesta";
}

TEST(ObjectSettingsForm, AOneSetFileGivesBothTraditionsItsValues) {
  const std::string bytes = EncodeObjectSettings(Edited());
  const std::string oneSet = WithFieldAt(bytes.substr(0, 4 + kSetBytes), 0, kObjectSettingsOneSetVersion);
  std::string error;
  const auto decoded = DecodeObjectSettings(oneSet, error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ(decoded->west, EditedSet());
  EXPECT_EQ(decoded->avesta, EditedSet());
}

TEST_F(ObjectSettingsFilesTest, SavedSettingsComeBackFromTheirFiles) {
  ChartObjectSettings second;
  second.avesta[ws::kSlotSun].usedAsAspected = false;
  ASSERT_FALSE(SaveObjectSettings(Prefix(), 1, Edited()));
  ASSERT_FALSE(SaveObjectSettings(Prefix(), 2, second));
  ChartObjectSettings main, loadedSecond;
  EXPECT_TRUE(LoadObjectSettings(Prefix(), main, loadedSecond).empty());
  EXPECT_EQ(main, Edited());
  EXPECT_EQ(loadedSecond, second);
}

TEST_F(ObjectSettingsFilesTest, DamagedFilesAreReportedAndLeaveTheDefaults) {
  const std::string good = EncodeObjectSettings(Edited());
  for (const std::string& bytes :
       {good.substr(0, good.size() - 1), WithFieldAt(good, 0, std::int32_t{3}),
        WithFieldAt(good, SlotOffset(ws::kSlotVenus) + 4, std::int32_t{2}), good + '\0',
        WithFieldAt(good, SlotOffset(ws::kSlotSun) + 4 * 4, std::int32_t{0x01000000})}) {
    WriteFile(kObjectSettingsMainFile, bytes);
    ChartObjectSettings main = Edited(), second = Edited();
    const auto messages = LoadObjectSettings(Prefix(), main, second);
    ASSERT_EQ(messages.size(), 1u) << bytes.size();
    EXPECT_EQ(messages[0].rfind(kDamagedFile, 0), 0u);
    EXPECT_NE(messages[0].find("pl1."), std::string::npos);
    EXPECT_EQ(main, ChartObjectSettings{});
    EXPECT_EQ(second, ChartObjectSettings{}) << "a missing file gives the defaults";
  }
}

TEST(ObjectSettingsApply, FlagsAndColoursGoIntoTheObjects) {
  ws::ObjectTable objects;
  objects[0].visible = 7;
  ApplyObjectSettings(EditedSet(), objects);
  EXPECT_EQ(objects[ws::kSlotMoon].visible, 0);
  EXPECT_EQ(objects[ws::kSlotMoon].takesPartInAspects, 1);
  EXPECT_EQ(objects[ws::kSlotFirstCusp].takesPartInAspects, 0);
  EXPECT_EQ(objects[ws::kSlotSecondLot].usedAsMoving, 0);
  EXPECT_EQ(objects[ws::kSlotSecondLot].display.colourRgb, 0x563412u);
  EXPECT_EQ(objects[ws::kSlotSun].display.colourRgb, DefaultObjectSettings()[ws::kSlotSun].colour.ToColorRef());
  EXPECT_EQ(objects[0].visible, 7) << "slot 0 is no object";
}

}  // namespace
}  // namespace kelvara::app
