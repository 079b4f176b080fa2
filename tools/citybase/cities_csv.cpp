#include "tools/citybase/cities_csv.h"

#include <charconv>
#include <map>
#include <stdexcept>

namespace kelvara::citybase {
namespace {

const std::vector<std::string> kColumns = {"name_ru", "name",       "country", "admin1",
                                           "lat",     "lon",        "population", "tz"};

bool AtLineEnd(std::string_view text) { return text.empty() || text[0] == '\n' || text[0] == '\r'; }

void SkipLineEnd(std::string_view& text) {
  if (text.starts_with("\r\n")) {
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == '\n' || text[0] == '\r')) {
    text.remove_prefix(1);
  }
}

std::string QuotedField(std::string_view& text) {
  std::string field;
  text.remove_prefix(1);
  while (!text.empty()) {
    const char c = text[0];
    text.remove_prefix(1);
    if (c != '"') {
      field += c;
    } else if (!text.empty() && text[0] == '"') {
      field += '"';
      text.remove_prefix(1);
    } else {
      return field;
    }
  }
  throw std::runtime_error("unterminated quoted field");
}

template <typename T>
T Number(const std::string& field, std::size_t line) {
  T value{};
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) {
    throw std::runtime_error("line " + std::to_string(line) + ": bad number '" + field + "'");
  }
  return value;
}

}  // namespace

std::vector<std::string> NextCsvRecord(std::string_view& text) {
  std::vector<std::string> fields;
  while (true) {
    if (!text.empty() && text[0] == '"') {
      fields.push_back(QuotedField(text));
    } else {
      std::size_t end = 0;
      while (end < text.size() && text[end] != ',' && !AtLineEnd(text.substr(end))) ++end;
      fields.emplace_back(text.substr(0, end));
      text.remove_prefix(end);
    }
    if (text.empty() || text[0] != ',') break;
    text.remove_prefix(1);
  }
  SkipLineEnd(text);
  return fields;
}

std::vector<CitySource> ParseCitiesCsv(std::string_view text) {
  std::map<std::string, std::size_t> column;
  const auto header = NextCsvRecord(text);
  for (std::size_t i = 0; i < header.size(); ++i) column[header[i]] = i;
  for (const std::string& name : kColumns) {
    if (!column.contains(name)) throw std::runtime_error("the CSV lacks the column " + name);
  }
  std::vector<CitySource> cities;
  for (std::size_t line = 2; !text.empty(); ++line) {
    const auto fields = NextCsvRecord(text);
    if (fields.size() != header.size()) {
      throw std::runtime_error("line " + std::to_string(line) + ": wrong number of fields");
    }
    const auto field = [&](const char* name) -> const std::string& { return fields[column[name]]; };
    cities.push_back({field("name_ru"), field("name"), field("country"), field("admin1"),
                      Number<double>(field("lat"), line), Number<double>(field("lon"), line),
                      Number<long long>(field("population"), line), field("tz")});
  }
  return cities;
}

}  // namespace kelvara::citybase
