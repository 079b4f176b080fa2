#include "app/wheel_input.h"

namespace kelvara::app {

display::WheelOptions WheelOptionsOf(const Settings& settings, int manualRotationDeg) {
  display::WheelOptions options;
  options.avesta = settings.avesta;
  options.fromAries = settings.fromAries;
  options.sort = settings.sortAlongZodiac;
  options.degreesShown = settings.degreesShown;
  options.iChing = settings.iChing;
  options.applyingShown = settings.applyingShown;
  options.separatingShown = settings.separatingShown;
  options.tapShowsAspects = settings.tapShowsAspects;
  options.manualRotationDeg = manualRotationDeg;
  options.background = settings.viewBackColor;
  options.signBand = settings.signBandColor;
  return options;
}

display::WheelInput WheelInputOf(workspace::WorkspaceState& charts, const AspectTables& tables,
                                 const display::WheelOptions& options, bool secondShown) {
  display::WheelInput input;
  input.options = options;
  input.aspects = &tables.single;
  if (!secondShown) {
    input.inner = &charts.main.objects;
  } else if (charts.secondAlone) {
    input.inner = &charts.second.objects;
  } else {
    input.inner = &charts.main.objects;
    input.outer = &charts.second.objects;
    input.outerName = charts.second.name;
    input.aspects = &tables.between;
  }
  return input;
}

}  // namespace kelvara::app
