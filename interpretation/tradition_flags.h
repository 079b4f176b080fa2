// The Avestan tradition reads five objects the Western one leaves out of the chart.
#pragma once

#include "workspace/chart_record.h"
#include "workspace/dignity_tables.h"

namespace kelvara::interpretation {

// Хирон, Прозерпина, Н.Узел, Селена and Лилит.
inline constexpr int kAvestanSlots[] = {workspace::kSlotChiron, workspace::kSlotProserpina,
                                        workspace::kSlotSouthNode, workspace::kSlotSelena,
                                        workspace::kSlotLilith};

// Sets (Avestan) or clears (Western) their visible and takes-part-in-aspects flags, in a
// chart's objects or in the object settings the charts are made from.
template <typename SlotTable>
void ApplyTraditionFlags(SlotTable& table, workspace::Tradition tradition) {
  const int flag = tradition == workspace::Tradition::kAvestan ? 1 : 0;
  for (int slot : kAvestanSlots) {
    table[slot].visible = flag;
    table[slot].takesPartInAspects = flag;
  }
}

}  // namespace kelvara::interpretation
