// The windowed program needs a display; without one it says so in the program's words
// before the window system is started, instead of Qt's own abort.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kelvara::app {

inline constexpr const char* kNoDisplayMessage =
    "Кельвара: нет графического дисплея (не заданы DISPLAY, WAYLAND_DISPLAY и QT_QPA_PLATFORM).\n"
    "Запустите программу в графическом сеансе или задайте QT_QPA_PLATFORM=offscreen.";

// Reads an environment variable; null or empty counts as unset.
using EnvironmentReader = std::function<const char*(const char* name)>;

// The message when none of the variables names a display.
std::optional<std::string> MissingDisplayMessage(const EnvironmentReader& environment);

}  // namespace kelvara::app
