#include "workspace/dignity_tables.h"

#include "platform/archive.h"
#include "workspace/checked_archive.h"

namespace kelvara::workspace {
namespace {

// One object per sign, Aries to Pisces, in the order the tables are kept.
using SignObjects = std::array<ChainObject, kSignCount>;

struct TraditionDefaults {
  SignObjects exaltation;
  SignObjects exile;
  SignObjects fall;
  SignObjects rulership;
};

constexpr TraditionDefaults kWestern = {
    {kSun, kMoon, kMercury, kJupiter, kPluto, kMercury, kSaturn, kUranus, kVenus, kMars, kNeptune, kVenus},
    {kVenus, kPluto, kJupiter, kSaturn, kUranus, kNeptune, kMars, kVenus, kMercury, kMoon, kSun, kMercury},
    {kSaturn, kUranus, kVenus, kMars, kNeptune, kVenus, kSun, kMoon, kMercury, kJupiter, kPluto, kMercury},
    {kMars, kVenus, kMercury, kMoon, kSun, kMercury, kVenus, kPluto, kJupiter, kSaturn, kUranus, kNeptune},
};

constexpr TraditionDefaults kAvestan = {
    {kSun, kMoon, kProserpina, kJupiter, kPluto, kMercury, kSaturn, kUranus, kChiron, kMars, kNeptune, kVenus},
    {kChiron, kPluto, kJupiter, kSaturn, kUranus, kNeptune, kMars, kVenus, kMercury, kMoon, kSun, kProserpina},
    {kSaturn, kUranus, kChiron, kMars, kNeptune, kVenus, kSun, kMoon, kProserpina, kJupiter, kPluto, kMercury},
    {kMars, kVenus, kMercury, kMoon, kSun, kProserpina, kChiron, kPluto, kJupiter, kSaturn, kUranus, kNeptune},
};

DignityTable TableOf(const SignObjects& objects) {
  DignityTable table{};
  for (int sign = 0; sign < kSignCount; ++sign) table[sign][objects[sign]] = 1;
  return table;
}

// The file order of the four tables.
template <typename Tables, typename Visit>
void ForEachTable(Tables& tables, Visit visit) {
  visit(tables.exaltation);
  visit(tables.exile);
  visit(tables.fall);
  visit(tables.rulership);
}

}  // namespace

DignityTables DefaultDignityTables(Tradition tradition) {
  const TraditionDefaults& defaults = tradition == Tradition::kWestern ? kWestern : kAvestan;
  return {TableOf(defaults.exaltation), TableOf(defaults.exile), TableOf(defaults.fall),
          TableOf(defaults.rulership)};
}

std::string EncodeDignityTables(const DignityTables& tables) {
  platform::ArchiveWriter writer;
  ForEachTable(tables, [&](const DignityTable& table) {
    for (const auto& row : table) {
      for (std::int32_t cell : row) writer.WriteInt32(cell);
    }
  });
  return writer.Bytes();
}

std::optional<DignityTables> DecodeDignityTables(std::string_view bytes, std::string& error) {
  return DecodeChecked(bytes, error, [](CheckedArchiveReader& reader) {
    DignityTables tables;
    ForEachTable(tables, [&](DignityTable& table) {
      for (auto& row : table) {
        for (std::int32_t& cell : row) cell = reader.Int(0, 1, "ячейка таблицы достоинств");
      }
    });
    reader.ExpectEnd();
    return tables;
  });
}

}  // namespace kelvara::workspace
