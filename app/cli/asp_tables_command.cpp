// aspects: the aspect tables the program works with, from "asp1." and "asp2." under the
// data-file prefix (the defaults where a file is missing), every field of each record.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/asp_tables.h"
#include "app/cli/cli.h"
#include "platform/csv.h"

namespace kelvara::cli {
namespace {

namespace ws = workspace;

constexpr const char* kCommand = "kelvara-cli aspects: ";
constexpr const char* kCsvHeader =
    "table,aspect,enabled,angle,first_colour,pen_width,pen_style,second_colour,first_text,second_text,"
    "applying_orbs,separating_orbs\n";
// Per-slot orbs in one CSV field, slot 0 first.
constexpr char kCsvOrbSeparator = ';';

constexpr const char* kUsage =
    "  aspects [--table 1|2] [--format text|csv]\n"
    "      таблицы аспектов, с которыми работает программа: 1 - для одной карты (\"asp1.\"),\n"
    "      2 - между двумя картами (\"asp2.\"), без --table - обе; нет файла - таблица\n"
    "      по умолчанию; у каждого аспекта: включен ли, угол, цвет и толщина линии, стиль\n"
    "      (0 сплошная, 1 штрихи, 2 точки), второй цвет, тексты и орбисы сходящегося\n"
    "      и расходящегося аспекта: одно число, если у всех объектов орбис один, иначе\n"
    "      по объектам 0-33; csv: " "table,aspect,enabled,angle,first_colour,pen_width,pen_style,\n"
    "      second_colour,first_text,second_text,applying_orbs,separating_orbs\n";

constexpr std::array<const char*, 3> kPenStyleNames = {"сплошная", "штрихи", "точки"};

struct TableEntry {
  int number;
  std::string_view file;
  const char* caption;
};
constexpr std::array<TableEntry, 2> kTables = {{{1, app::kAspectTable1File, "для одной карты"},
                                                {2, app::kAspectTable2File, "между двумя картами"}}};

struct AspectsRequest {
  std::vector<TableEntry> tables;
  bool csv = false;
};

// The shortest text that reads back as the same double.
std::string Number(double value) {
  std::array<char, 32> text{};
  const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), written.ptr);
}

std::string ColourText(std::uint32_t colourRef) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "0x%06X", unsigned(colourRef));
  return text.data();
}

const char* PenStyleName(std::int32_t style) {
  return style >= 0 && style < std::int32_t(kPenStyleNames.size()) ? kPenStyleNames[style] : "?";
}

bool OneOrb(const ws::OrbArray& orbs) {
  return std::all_of(orbs.begin(), orbs.end(), [&](double orb) { return orb == orbs.front(); });
}

// One value when every slot agrees, else every slot's value in slot order.
std::string OrbsText(const ws::OrbArray& orbs, std::string_view separator, bool numberSlots) {
  if (OneOrb(orbs)) return Number(orbs.front());
  std::string text;
  for (int slot = 0; slot < ws::kOrbSlotCount; ++slot) {
    if (slot > 0) text += separator;
    if (numberSlots) text += std::to_string(slot) + "=";
    text += Number(orbs[slot]);
  }
  return text;
}

void PrintRecordText(int index, const ws::AspectRecord& record, std::ostream& out) {
  out << index << ": " << (record.enabled ? "включен" : "выключен") << ", угол " << Number(record.angle)
      << ", цвет " << ColourText(record.firstColor) << ", толщина " << record.penWidth << ", стиль "
      << record.penStyle << " (" << PenStyleName(record.penStyle) << "), второй цвет "
      << ColourText(record.secondColor) << ", текст \"" << record.firstText << "\", второй текст \""
      << record.secondText << "\"\n"
      << "   орбис сходящегося: " << OrbsText(record.firstOrbs, " ", true) << "\n"
      << "   орбис расходящегося: " << OrbsText(record.secondOrbs, " ", true) << "\n";
}

void PrintRecordCsv(int table, int index, const ws::AspectRecord& record, std::ostream& out) {
  const std::string separator(1, kCsvOrbSeparator);
  out << table << ',' << index << ',' << (record.enabled ? 1 : 0) << ',' << Number(record.angle) << ','
      << ColourText(record.firstColor) << ',' << record.penWidth << ',' << record.penStyle << ','
      << ColourText(record.secondColor) << ',' << platform::CsvField(record.firstText) << ','
      << platform::CsvField(record.secondText) << ',' << OrbsText(record.firstOrbs, separator, false) << ','
      << OrbsText(record.secondOrbs, separator, false) << "\n";
}

void PrintTable(const AspectsRequest& request, const TableEntry& entry, const ws::AspectTable& table,
                const std::string& prefix, std::ostream& out) {
  if (!request.csv) {
    const bool stored = std::filesystem::exists(prefix + std::string(entry.file));
    out << "Таблица " << entry.number << " (" << entry.caption << "): "
        << (stored ? prefix + std::string(entry.file) : std::string("по умолчанию")) << "\n";
  }
  for (int i = 0; i < ws::kAspectCount; ++i) {
    if (request.csv) {
      PrintRecordCsv(entry.number, i, table[i], out);
    } else {
      PrintRecordText(i, table[i], out);
    }
  }
}

int Refuse(const std::string& reason, std::ostream& err) {
  err << kCommand << reason << "\nИспользование: kelvara-cli\n" << kUsage;
  return kExitUsage;
}

std::optional<AspectsRequest> ParseRequest(const std::vector<std::string>& args, std::string& reason) {
  std::optional<std::string> table, format;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::optional<std::string>* value = args[i] == "--table" ? &table : args[i] == "--format" ? &format : nullptr;
    if (!value || value->has_value() || i + 1 >= args.size()) {
      reason = "лишний или неверный параметр \"" + args[i] + "\"";
      return std::nullopt;
    }
    *value = args[++i];
  }
  AspectsRequest request;
  for (const TableEntry& entry : kTables) {
    if (!table || *table == std::to_string(entry.number)) request.tables.push_back(entry);
  }
  if (request.tables.empty()) reason = "таблица --table должна быть 1 или 2";
  const std::string shape = format.value_or("text");
  if (shape != "text" && shape != "csv") reason = "формат должен быть text или csv";
  if (!reason.empty()) return std::nullopt;
  request.csv = shape == "csv";
  return request;
}

}  // namespace

std::string_view AspectsUsage() { return kUsage; }

int RunAspectsCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                      std::ostream& err) {
  std::string reason;
  const std::optional<AspectsRequest> request = ParseRequest(args, reason);
  if (!request) return Refuse(reason, err);
  const std::string prefix = (context.dataDir / "").string();
  ws::AspectTables tables;
  const std::vector<std::string> messages = app::LoadAspectTables(prefix, tables);
  if (!messages.empty()) {
    for (const std::string& message : messages) err << kCommand << message << "\n";
    return kExitFailure;
  }
  if (request->csv) out << kCsvHeader;
  for (const TableEntry& entry : request->tables) {
    PrintTable(*request, entry, entry.number == 1 ? tables.single : tables.between, prefix, out);
  }
  return kExitOk;
}

}  // namespace kelvara::cli
