#include "workspace/chart_record.h"

#include <gtest/gtest.h>

namespace kelvara::workspace {
namespace {

TEST(ChartObject, SignPositionFromLongitude) {
  ChartObject object;
  object.SetLongitude(123.5125);  // 3°30'45" of Leo
  EXPECT_EQ(object.sign, 5);
  EXPECT_NEAR(object.signDegree, 3.5125, 1e-12);
  EXPECT_NEAR(object.signMinutes, 30.75, 1e-9);
  EXPECT_NEAR(object.signSeconds, 45.0, 1e-7);
  object.SetLongitude(359.999);
  EXPECT_EQ(object.sign, 12);
  object.longitude = kNotAvailable;
  EXPECT_FALSE(object.HasLongitude());
  EXPECT_EQ(ChartObject{}.house, kHouseNotComputed);
}

TEST(ChartKinds, NamesAreComparedAsExactStrings) {
  EXPECT_EQ(KindOfName("Прогрессия втop. (1День=1ГодТроп)"), ChartKind::kSecondaryProgression);
  // The same caption with a Cyrillic "о" and "р" is a person's name, not the kind.
  EXPECT_FALSE(KindOfName("Прогрессия втор. (1День=1ГодТроп)"));
  EXPECT_FALSE(KindOfName("Соляр (вперед) "));
  for (int id = kFirstKindId; id <= kLastKindId; ++id) {
    EXPECT_EQ(KindOfName(KindName(*KindOfId(id))), KindOfId(id));
  }
  EXPECT_FALSE(KindOfId(49));
  EXPECT_FALSE(KindOfId(60));
}

TEST(ChartKinds, TitleRule) {
  for (const char* name : {"", "Сейчас", "Останов"}) EXPECT_EQ(TitleForName(name), kTitleTransit) << name;
  for (const char* name : {"Иван", "Соляр (назад)", "Ср.карта (А + Б)"}) {
    EXPECT_EQ(TitleForName(name), kTitleNatal) << name;
  }
  EXPECT_EQ(TitleForName("Прогрессия МС по солн.дуге"), kTitleProgressed);
  EXPECT_EQ(TitleForName("Профекция (30°= 1ГодТроп)"), kTitleDirect);
  EXPECT_EQ(TitleForName("Дирекция по солн.дуге"), kTitleDirect);
}

TEST(ChartKinds, PersonNamesExcludeReservedNamesAndCaptions) {
  EXPECT_TRUE(IsPersonName("Иван"));
  EXPECT_FALSE(IsPersonName(""));
  EXPECT_FALSE(IsPersonName("Останов"));
  EXPECT_FALSE(IsPersonName("Лунар (вперед)"));
  EXPECT_FALSE(IsPersonName("Комп.карта (А + Б)"));
  EXPECT_TRUE(IsMidpointName("Ср.карта (А + Б)"));
  EXPECT_FALSE(IsMidpointName("карта Ср.карта ("));
}

TEST(Slots, NamesOutsideTheTablesAreEmpty) {
  EXPECT_EQ(SlotName(17), "I_Дом");  // the first cusp: the names keep the slot order
  EXPECT_EQ(SlotName(35), "");
  EXPECT_EQ(HouseSystemName(3), "");
}

}  // namespace
}  // namespace kelvara::workspace
