// The Avestan tradition reads five objects the Western one leaves out of the chart.
#pragma once

#include "workspace/chart_record.h"
#include "workspace/dignity_tables.h"

namespace kelvara::interpretation {

// Хирон, Прозерпина, Н.Узел, Селена and Лилит.
inline constexpr int kAvestanSlots[] = {workspace::kSlotChiron, workspace::kSlotProserpina,
                                        workspace::kSlotSouthNode, workspace::kSlotSelena,
                                        workspace::kSlotLilith};

// Sets (Avestan) or clears (Western) their visible and takes-part-in-aspects flags.
void ApplyTraditionFlags(workspace::ObjectTable& objects, workspace::Tradition tradition);

}  // namespace kelvara::interpretation
