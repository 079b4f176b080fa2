// Editing one object's sign of a dignity, and the overview of the four tables.
#include "interpretation/dignity_edit.h"

#include <gtest/gtest.h>

namespace kelvara::interpretation {
namespace {

namespace ws = workspace;

enum Sign { kAries, kTaurus, kGemini, kCancer, kLeo, kVirgo, kLibra, kScorpio, kSagittarius, kCapricorn };
constexpr int kSun = 1, kMercury = 3, kVenus = 4, kPluto = 11, kLilith = 16;

const ws::DignityTables kWestern = ws::DefaultDignityTables(ws::Tradition::kWestern);
const ws::DignityTables kAvestan = ws::DefaultDignityTables(ws::Tradition::kAvestan);

DignityEdit Opened(const ws::DignityTables& tables, int object, int mode) {
  return DignityEdit::Open(tables, object, mode).value();
}

TEST(DignityModes, PairsOfModesShareATableAndItsCaption) {
  const struct {
    ChainKind kind;
    const char* caption;
  } pairs[] = {{ChainKind::kRulership, "управляет"},
               {ChainKind::kExile, "в изгнании"},
               {ChainKind::kExaltation, "экзальтирует"},
               {ChainKind::kFall, "в падении"}};
  for (int mode = 1; mode <= 8; ++mode) {
    SCOPED_TRACE(mode);
    const auto& pair = pairs[(mode - 1) / 2];
    const int occurrence = (mode - 1) % 2;
    EXPECT_EQ(DignityCaption(mode), pair.caption);
    EXPECT_EQ(DignityModeOf(mode)->kind, pair.kind);
    EXPECT_EQ(DignityModeOf(mode)->occurrence, occurrence);
    EXPECT_EQ(DignityModeFor(pair.kind, occurrence), mode);
  }
  for (int bad : {-1, 0, 9}) {
    EXPECT_EQ(DignityCaption(bad), "");
    EXPECT_FALSE(DignityModeOf(bad).has_value());
  }
  EXPECT_FALSE(DignityModeFor(ChainKind::kNone, 0).has_value());
  EXPECT_FALSE(DignityModeFor(ChainKind::kFall, 2).has_value());
}

TEST(DignityEditing, OddModesEditTheFirstSignAndEvenModesTheSecond) {
  // Western exaltation: Mercury in Gemini and Virgo; exile: Venus in Aries and Scorpio.
  EXPECT_EQ(Opened(kWestern, kMercury, 5).editedSign(), kGemini);
  EXPECT_EQ(Opened(kWestern, kMercury, 6).editedSign(), kVirgo);
  EXPECT_EQ(Opened(kWestern, kVenus, 3).editedSign(), kAries);
  EXPECT_EQ(Opened(kWestern, kVenus, 4).editedSign(), kScorpio);
  EXPECT_FALSE(Opened(kWestern, kSun, 2).editedSign().has_value());
  EXPECT_FALSE(Opened(kAvestan, kLilith, 1).editedSign().has_value());
  EXPECT_EQ(Opened(kWestern, kMercury, 5).objectName(), "Меркурий");
}

TEST(DignityEditing, ChoosingMovesOnlyTheObjectsMarkAndTheLastChoiceCounts) {
  DignityEdit edit = Opened(kWestern, kMercury, 6);
  EXPECT_EQ(edit.Result(), kWestern);
  edit.ChooseSign(kCapricorn);
  edit.ChooseSign(kLeo);  // Pluto's sign: the two now share it
  ws::DignityTables expected = kWestern;
  expected.exaltation[kVirgo][kMercury - 1] = 0;
  expected.exaltation[kLeo][kMercury - 1] = 1;
  EXPECT_EQ(edit.Result(), expected);
  EXPECT_EQ(edit.Result().exaltation[kLeo][kPluto - 1], 1);

  DignityEdit onto = Opened(kWestern, kMercury, 5);  // onto its other sign: one left
  onto.ChooseSign(kVirgo);
  EXPECT_EQ(SignsOfObject(onto.Result().exaltation, kMercury), std::vector<int>{kVirgo});

  DignityEdit added = Opened(kWestern, kSun, 2);  // a missing second sign is added
  added.ChooseSign(kAries);
  EXPECT_EQ(SignsOfObject(added.Result().rulership, kSun), (std::vector<int>{kAries, kLeo}));
  EXPECT_EQ(SignsOfObject(added.Result().rulership, 5), std::vector<int>{kAries});  // Mars keeps Aries
}

TEST(DignityEditing, OutOfRangeInputIsRefusedAndSharedSignsDoNotUpsetTheChains) {
  for (int object : {-1, 0, 17}) EXPECT_FALSE(DignityEdit::Open(kWestern, object, 1).has_value()) << object;
  for (int mode : {0, 9}) EXPECT_FALSE(DignityEdit::Open(kWestern, kSun, mode).has_value()) << mode;
  DignityEdit edit = Opened(kWestern, kSun, 1);
  EXPECT_FALSE(edit.ChooseSign(-1));
  EXPECT_FALSE(edit.ChooseSign(12));
  EXPECT_EQ(edit.Result(), kWestern);

  // Every object made a ruler of Leo, and all of them standing there.
  ws::DignityTables crowded = kWestern;
  ws::ObjectTable objects{};
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    DignityEdit moved = Opened(crowded, object, 1);
    moved.ChooseSign(kLeo);
    crowded = moved.Result();
    objects[object].SetLongitude(130.0);
    objects[object].visible = 1;
  }
  EXPECT_EQ(BuildChains(objects, crowded, ChainKind::kRulership).objects[kMercury].dispositors.size(), 16u);
}

}  // namespace
}  // namespace kelvara::interpretation
