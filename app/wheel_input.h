// What the wheel is given: the program's settings turned into the wheel's switches,
// and the charts the view shows in their roles (the inner one, the one around it).
#pragma once

#include "app/asp_tables.h"
#include "app/settings.h"
#include "display/chart_wheel.h"
#include "workspace/workspace_state.h"

namespace kelvara::app {

display::WheelOptions WheelOptionsOf(const Settings& settings, int manualRotationDeg);

// The main chart alone; with the second chart shown, the second around the main one,
// or the second alone with the single-chart aspect table.
display::WheelInput WheelInputOf(workspace::WorkspaceState& charts, const AspectTables& tables,
                                 const display::WheelOptions& options, bool secondShown);

}  // namespace kelvara::app
