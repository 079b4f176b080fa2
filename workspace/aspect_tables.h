// The two aspect tables: table 1 for single charts, table 2 for aspects between two
// charts, with their defaults and the file form of one table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::workspace {

inline constexpr int kAspectCount = 18;
inline constexpr int kOrbSlotCount = 34;  // object slots 0-33

enum PenStyle : std::int32_t { kPenSolid = 0, kPenDashes = 1, kPenDots = 2 };

using OrbArray = std::array<double, kOrbSlotCount>;

// The orb of an object slot. The arrays stop at slot 33, so the second lot (slot 34)
// shares the Part of Fortune's orb; slots outside 0-34 have none.
constexpr double OrbOfSlot(const OrbArray& orbs, int slot) {
  if (slot < 0 || slot > kOrbSlotCount) return 0.0;
  return orbs[slot < kOrbSlotCount ? slot : kOrbSlotCount - 1];
}

// The initial state of every record: disabled, angle 0, no orbs, empty texts.
struct AspectRecord {
  bool enabled = false;
  double angle = 0.0;  // degrees
  OrbArray firstOrbs{};   // degrees, for applying aspects
  OrbArray secondOrbs{};  // degrees, for separating aspects
  std::uint32_t secondColor = 0;  // 0x00BBGGRR
  std::string secondText;
  std::string firstText;
  std::int32_t penWidth = 1;
  std::int32_t penStyle = kPenSolid;
  std::uint32_t firstColor = 0;  // 0x00BBGGRR

  bool operator==(const AspectRecord&) const = default;
};

using AspectTable = std::array<AspectRecord, kAspectCount>;

// Table 1 as a new chart record starts it, and table 2 before "asp2." is read.
AspectTable DefaultSingleChartAspects();
AspectTable DefaultTwoChartAspects();

struct AspectTables {
  AspectTable single = DefaultSingleChartAspects();
  AspectTable between = DefaultTwoChartAspects();
};

// The file form: the 18 records one after the other in the archive encoding.
std::string EncodeAspectTable(const AspectTable& table);
// The table, or nothing with the reason in `error` (Russian, for the message box).
std::optional<AspectTable> DecodeAspectTable(std::string_view bytes, std::string& error);

}  // namespace kelvara::workspace
