// What "О программе..." and `kelvara-cli --version` tell: the version and whose data,
// theories, libraries and fonts the program is built on.
#pragma once

#include <string>
#include <string_view>

namespace kelvara::app {

// The version the build gives, e.g. "0.1".
std::string_view ProgramVersion();
// "Кельвара 0.1".
std::string ProgramTitle();
// The whole text of the About box, UTF-8, lines separated by "\n".
std::string AboutText();

}  // namespace kelvara::app
