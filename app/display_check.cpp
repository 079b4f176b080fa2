#include "app/display_check.h"

namespace kelvara::app {

std::optional<std::string> MissingDisplayMessage(const EnvironmentReader& environment) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = environment(name);
    if (value && *value) return std::nullopt;
  }
  return std::string(kNoDisplayMessage);
}

}  // namespace kelvara::app
