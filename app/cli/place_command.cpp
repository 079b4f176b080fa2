// place NAME [--at "DD.MM.YYYY HH:MM"] [--utc]: the places of the city base whose
// name equals or begins with NAME, with the offset from Greenwich at the moment.
#include <cstdio>
#include <optional>

#include "app/chart_output.h"
#include "app/cli/cli.h"
#include "app/cli/moment_text.h"
#include "places/city_base.h"
#include "workspace/hour_scale.h"
#include "places/name_search.h"
#include "places/place_time.h"

namespace kelvara::cli {
namespace {

struct PlaceRequest {
  std::string name;
  std::optional<std::string> at;
  bool greenwich = false;
};

std::optional<PlaceRequest> ParseRequest(const std::vector<std::string>& args, std::ostream& err) {
  PlaceRequest request;
  bool haveName = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--utc") {
      request.greenwich = true;
    } else if (args[i] == "--at" && i + 1 < args.size()) {
      request.at = args[++i];
    } else if (args[i].starts_with("--") || haveName) {
      err << "kelvara-cli place: лишний или неверный параметр \"" << args[i] << "\"\n";
      return std::nullopt;
    } else {
      request.name = args[i];
      haveName = true;
    }
  }
  if (!haveName || request.name.empty()) {
    err << "kelvara-cli place: не задано название населенного пункта\n";
    return std::nullopt;
  }
  return request;
}

// "DD.MM.YYYY HH:MM" within 1860-2130.
std::optional<workspace::CalendarMoment> ParseMoment(const std::string& text) {
  workspace::CalendarMoment m;
  if (!ReadDateTime(text, m) || !workspace::IsValidMoment(m)) return std::nullopt;
  return m;
}

// Hours with up to six decimals and no trailing zeros: "3", "5.75", "2.507704".
std::string FormatHours(double hours) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.6f", hours);
  std::string result = text;
  result.erase(result.find_last_not_of('0') + 1);
  if (result.back() == '.') result.pop_back();
  return result == "-0" ? "0" : result;
}

std::string FormatDegrees(double degrees) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.5f", degrees);
  return text;
}

void PrintCity(const places::CityRecord& city, double momentHours, bool greenwich,
               std::ostream& out) {
  const auto period = places::OffsetAt(places::PlaceTimeOfCity(city), momentHours, greenwich);
  out << app::CsvField(city.DisplayName()) << ',' << FormatDegrees(city.Latitude()) << ','
      << FormatDegrees(city.Longitude()) << ','
      << (period ? FormatHours(period->offsetHours) : std::string()) << '\n';
}

}  // namespace

int RunPlaceCommand(const std::vector<std::string>& args, const CliContext& context,
                    std::ostream& out, std::ostream& err) {
  const auto request = ParseRequest(args, err);
  if (!request) return kExitUsage;
  double momentHours = 0.0;
  bool greenwich = request->greenwich;
  if (request->at) {
    const auto moment = ParseMoment(*request->at);
    if (!moment) {
      err << "kelvara-cli place: неверный параметр --at \"" << *request->at << "\": нужно "
          << kDateTimeForm << " в 1860-2130 годах\n";
      return kExitUsage;
    }
    momentHours = workspace::HoursSince1860(*moment);
  } else {
    momentHours = context.nowGreenwichHours();
    greenwich = true;
  }
  places::CityBase base;
  const auto baseFile = context.dataDir / places::kCityBaseFileName;
  const auto load = places::LoadCityBase(baseFile, base);
  if (const std::string failure = CityBaseFailure(load, baseFile); !failure.empty()) {
    err << "kelvara-cli place: " << failure << "\n";
    return kExitFailure;
  }
  const auto found = places::FindCitiesByName(base, request->name);
  if (found.empty()) {
    err << "kelvara-cli place: населенный пункт \"" << request->name << "\" не найден\n";
    return kExitFailure;
  }
  for (std::size_t index : found) PrintCity(base.cities[index], momentHours, greenwich, out);
  return kExitOk;
}

}  // namespace kelvara::cli
