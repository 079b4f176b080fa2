// The four dignity tables of the rulership chains, their Western and Avestan defaults and
// their file form.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::workspace {

inline constexpr int kSignCount = 12;
inline constexpr int kChainObjectCount = 16;  // objects 1-16 of a chart

// Object numbers of the chains, minus one, as the tables index them.
enum ChainObject : int {
  kSun, kMoon, kMercury, kVenus, kMars, kJupiter, kSaturn, kChiron,
  kUranus, kNeptune, kPluto, kProserpina, kNorthNode, kSouthNode, kSelena, kLilith
};

enum class Tradition { kWestern, kAvestan };

// [sign 0-11, Aries first][object 0-15]: 1 when the object has the dignity there.
using DignityTable = std::array<std::array<std::int32_t, kChainObjectCount>, kSignCount>;

struct DignityTables {
  DignityTable exaltation{};
  DignityTable exile{};
  DignityTable fall{};
  DignityTable rulership{};

  bool operator==(const DignityTables&) const = default;
};

DignityTables DefaultDignityTables(Tradition tradition);

// Exaltation, exile, fall and rulership, 192 int32 each, sign by sign.
std::string EncodeDignityTables(const DignityTables& tables);
std::optional<DignityTables> DecodeDignityTables(std::string_view bytes, std::string& error);

}  // namespace kelvara::workspace
