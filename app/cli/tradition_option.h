// The option --tradition west|avesta of the commands that read rulers or the Avestan
// objects.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "workspace/dignity_tables.h"

namespace kelvara::cli {

struct TraditionEntry {
  workspace::Tradition tradition;
  const char* option;
  const char* caption;
};

inline constexpr std::array<TraditionEntry, 2> kTraditions = {
    {{workspace::Tradition::kWestern, "west", "Западная традиция"},
     {workspace::Tradition::kAvestan, "avesta", "Авестийская традиция"}}};

inline constexpr std::string_view kBadTraditionMessage = "традиция --tradition должна быть west или avesta";

// The tradition the option names, the Western one when it is absent; none when unknown.
inline const TraditionEntry* TraditionOfOption(const std::optional<std::string>& option) {
  const std::string_view wanted = option ? std::string_view(*option) : std::string_view(kTraditions.front().option);
  for (const TraditionEntry& entry : kTraditions)
    if (wanted == entry.option) return &entry;
  return nullptr;
}

}  // namespace kelvara::cli
