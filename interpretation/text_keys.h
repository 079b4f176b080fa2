// The keys that describe facts of the chart on screen, one set per kind of text file,
// built once per request so that matching an entry is a set lookup.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/dignity_tables.h"
#include "workspace/workspace_state.h"

namespace kelvara::interpretation {

// The text files whose names give their keys' meaning.
enum class KeyFile {
  kMoonDays, kDegrees, kIChing,
  kPlanetInSign, kCuspInSign, kPlanetInHouse, kRulerInHouse, kCuspInHouse,
  kFirstInHouse, kSecondInHouse,
  kPlanetAspectPlanet, kPlanetAspectCusp, kCuspAspectPlanet, kRulerAspectCusp,
};

// By the upper-cased file name ("PL_ZS.TXT", ...); none for other files.
std::optional<KeyFile> KeyFileOfName(std::string_view upperName);

// True when the object lies in house `house` (1-12) of the cusps of `houses`, by the
// house's own cusp and the next one.
bool LiesInHouse(const workspace::ObjectTable& houses, double longitudeDeg, int house);

struct KeyInput {
  const workspace::WorkspaceState* state = nullptr;
  const workspace::DignityTable* rulership = nullptr;  // the current tradition's
  std::vector<std::string> aspectDescriptions;         // the wheel's list, UTF-8
  std::string requestKey;                              // a single-point request's key, UTF-8
};

// Windows-1251 keys, as the library files hold them.
using KeySets = std::map<KeyFile, std::set<std::string>>;
KeySets BuildKeySets(const KeyInput& input);

}  // namespace kelvara::interpretation
