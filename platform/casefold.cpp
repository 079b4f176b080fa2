#include "platform/casefold.h"

namespace kelvara::platform {
namespace {

bool InRange(char16_t unit, char16_t first, char16_t last) { return unit >= first && unit <= last; }

// Blocks where upper and lower case alternate, each lower-case letter right after its
// upper-case one; blocks differ in whether the upper-case letters sit on even units.
char16_t FoldPairBlock(char16_t unit, bool upperIsEven) {
  const bool isEven = unit % 2 == 0;
  return isEven == upperIsEven ? unit : char16_t(unit - 1);
}

char16_t FoldLatin(char16_t unit) {
  if (InRange(unit, u'a', u'z')) return unit - 0x20;
  if (InRange(unit, 0x00E0, 0x00FE) && unit != 0x00F7) return unit - 0x20;
  if (unit == 0x00FF) return 0x0178;
  if (InRange(unit, 0x0100, 0x012F) || InRange(unit, 0x0132, 0x0137) ||
      InRange(unit, 0x014A, 0x0177)) {
    return FoldPairBlock(unit, true);
  }
  if (InRange(unit, 0x0139, 0x0148) || InRange(unit, 0x0179, 0x017E)) {
    return FoldPairBlock(unit, false);
  }
  return unit;
}

char16_t FoldCyrillic(char16_t unit) {
  if (InRange(unit, 0x0430, 0x044F)) return unit - 0x20;
  if (InRange(unit, 0x0450, 0x045F)) return unit - 0x50;
  if (InRange(unit, 0x0460, 0x0481) || InRange(unit, 0x048A, 0x04BF) ||
      InRange(unit, 0x04D0, 0x052F)) {
    return FoldPairBlock(unit, true);
  }
  if (unit == 0x04CF) return 0x04C0;
  if (InRange(unit, 0x04C1, 0x04CE)) return FoldPairBlock(unit, false);
  return unit;
}

}  // namespace

char16_t FoldUnitToUpper(char16_t unit) {
  return unit < 0x0400 ? FoldLatin(unit) : FoldCyrillic(unit);
}

std::u16string FoldToUpper(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& unit : folded) unit = FoldUnitToUpper(unit);
  return folded;
}

}  // namespace kelvara::platform
