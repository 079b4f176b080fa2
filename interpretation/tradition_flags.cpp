#include "interpretation/tradition_flags.h"

namespace kelvara::interpretation {

void ApplyTraditionFlags(workspace::ObjectTable& objects, workspace::Tradition tradition) {
  const int flag = tradition == workspace::Tradition::kAvestan ? 1 : 0;
  for (int slot : kAvestanSlots) {
    objects[slot].visible = flag;
    objects[slot].takesPartInAspects = flag;
  }
}

}  // namespace kelvara::interpretation
