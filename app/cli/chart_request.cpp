#include "app/cli/chart_request.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <initializer_list>

#include "app/cli/chart_documents.h"
#include "app/cli/moment_text.h"
#include "app/settings.h"
#include "places/chart_zones.h"
#include "places/city_base.h"
#include "places/name_search.h"
#include "places/place_time.h"
#include "workspace/birth_data.h"
#include "workspace/chart_compute.h"
#include "workspace/gmt_text.h"
#include "workspace/merged_chart.h"

namespace kelvara::cli {
namespace {

using workspace::CalendarMoment;
using workspace::ChartRecord;

constexpr const char* kDefaultTargetTime = "12:00";

template <typename Table>
auto FindIn(const Table& table, const std::string& option) -> typename Table::mapped_type {
  const auto found = table.find(option);
  return found == table.end() ? nullptr : found->second;
}

std::optional<std::string>* ChartValueOption(ChartOptions& o, const std::string& option) {
  const std::map<std::string, std::optional<std::string>*> table = {
      {"--name", &o.first.name},   {"--date", &o.first.date},     {"--time", &o.first.time},
      {"--gmt", &o.first.gmt},     {"--place", &o.first.place},   {"--lat", &o.first.lat},
      {"--lon", &o.first.lon},     {"--name2", &o.second.name},   {"--date2", &o.second.date},
      {"--time2", &o.second.time}, {"--gmt2", &o.second.gmt},     {"--place2", &o.second.place},
      {"--lat2", &o.second.lat},   {"--lon2", &o.second.lon},     {"--house", &o.house},
      {"--kind", &o.kind},         {"--target", &o.target},       {"--target-time", &o.targetTime},
      {"--open", &o.open}};
  return FindIn(table, option);
}

std::optional<std::string>* ValueOption(ChartOptions& chart, const CommandOptions& own, const std::string& option) {
  auto* value = ChartValueOption(chart, option);
  return value ? value : FindIn(own.values, option);
}

// Decimal degrees in range of a hemisphere text, minutes under 60.
std::optional<double> ReadCoordinate(const std::string& text, char positive, char negative) {
  const auto fields = CoordinateFields(text, positive, negative);
  if (!fields || fields->degrees < 0 || fields->minutes < 0 || fields->minutes >= 60) return std::nullopt;
  return fields->Degrees();
}

Failure BadData(const std::string& detail) {
  return {std::string(workspace::kMessageBadData) + " (" + detail + ")", kExitFailure};
}

using MomentReader = bool (*)(std::string_view, CalendarMoment&);

struct MomentOption {
  const std::optional<std::string>& text;
  std::string name;
  MomentReader read;
  const char* form;
};

// Date and time options into the moment; one that is missing or out of form is named.
std::optional<Failure> ReadMomentOptions(std::initializer_list<MomentOption> options, CalendarMoment& moment) {
  for (const MomentOption& option : options) {
    if (!option.text) return Failure{"нужен параметр " + option.name + " " + option.form};
    if (!option.read(*option.text, moment)) {
      return Failure{"неверный параметр " + option.name + " \"" + *option.text + "\": нужно " + option.form};
    }
  }
  return std::nullopt;
}

// Where a person was born: from the city base, overridden by explicit options.
struct BirthPlace {
  std::string name;
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
  std::optional<double> offsetHours;
};

Result<BirthPlace> PlaceFromBase(const std::string& placeName, const CalendarMoment& local, PlaceBase& places) {
  const auto city = places.Find(placeName);
  if (!city.value) return {std::nullopt, city.failure};
  const places::CityRecord& record = **city.value;
  BirthPlace place{record.DisplayName(), record.Latitude(), record.Longitude(), std::nullopt};
  if (workspace::IsValidMoment(local)) {
    const auto period = places::OffsetAt(places::PlaceTimeOfCity(record), local, false);
    if (period) place.offsetHours = period->offsetHours;
  }
  return {place, {}};
}

Result<BirthPlace> ResolvePlace(const PersonOptions& person, const std::string& suffix,
                                const CalendarMoment& local, PlaceBase& places) {
  if (!person.place && (!person.lat || !person.lon)) {
    return Result<BirthPlace>::Fail("нужны --place" + suffix + " или --lat" + suffix + " и --lon" + suffix);
  }
  BirthPlace place;
  if (person.place) {
    auto found = PlaceFromBase(*person.place, local, places);
    if (!found.value) return found;
    place = *found.value;
  }
  if (person.lat) {
    const auto value = ReadCoordinate(*person.lat, 'n', 's');
    if (!value) return {std::nullopt, BadData("--lat" + suffix)};
    place.latitudeDeg = *value;
  }
  if (person.lon) {
    const auto value = ReadCoordinate(*person.lon, 'e', 'w');
    if (!value) return {std::nullopt, BadData("--lon" + suffix)};
    place.longitudeDeg = *value;
  }
  if (person.gmt) place.offsetHours = workspace::ParseGmtOffset(*person.gmt);
  if (!place.offsetHours) {
    return {std::nullopt, BadData(person.gmt ? "--gmt" + suffix : "нет смещения от Гринвича: --gmt" + suffix)};
  }
  return {place, {}};
}

// The person's data through the birth-data dialog's own checks.
Result<ChartRecord> PersonChart(const PersonOptions& person, const std::string& suffix, int houseSystem,
                                PlaceBase& places) {
  workspace::BirthDataForm form;
  form.name = person.name.value_or("");
  if (auto failure = ReadMomentOptions({{person.date, "--date" + suffix, ReadDate, kDateForm},
                                        {person.time, "--time" + suffix, ReadTime, kTimeForm}},
                                       form.local)) {
    return {std::nullopt, *failure};
  }
  const auto place = ResolvePlace(person, suffix, form.local, places);
  if (!place.value) return {std::nullopt, place.failure};
  form.placeName = place.value->name;
  form.gmtText = workspace::FormatGmtOffset(*place.value->offsetHours);
  form.latitude = workspace::AngleFields::FromDegrees(place.value->latitudeDeg);
  form.longitude = workspace::AngleFields::FromDegrees(place.value->longitudeDeg);
  const auto check = workspace::CheckBirthData(form);
  if (!check.ok) return {std::nullopt, {std::string(check.message), kExitFailure}};
  ChartRecord chart;
  chart.houseSystem = houseSystem;
  workspace::ApplyBirthData(form, chart);
  // Exact values, not their dialog forms rounded to minutes.
  chart.gmtOffsetHours = *place.value->offsetHours;
  chart.latitudeDeg = place.value->latitudeDeg;
  chart.longitudeDeg = place.value->longitudeDeg;
  return {chart, {}};
}

Result<int> HouseSystem(const ChartOptions& options) {
  if (!options.house) return {workspace::kHousePlacidus, {}};
  const auto value = WholeNumber(*options.house);
  if (!value || !app::IsKnownHouseSystem(*value)) {
    return Result<int>::Fail("неизвестная система домов \"" + *options.house + "\"");
  }
  return {*value, {}};
}

Failure ComputeFailure(workspace::ComputeResult result) {
  if (result == workspace::ComputeResult::kReturnNotFound) {
    return {"возврат не найден в 1860-2130 годах", kExitFailure};
  }
  return {std::string(workspace::kMessageBadData), kExitFailure};
}

struct Session {
  const CliContext& context;
  workspace::EngineDriver driver;
  PlaceBase places;
  std::optional<places::CityBaseZones> zones;

  workspace::ComputeContext Compute(const ChartRecord* natal, std::string nowPlace = {}) {
    if (!zones && places.Load()) zones.emplace(places.Base());
    return {driver, natal, context.clock, zones ? &*zones : nullptr, std::move(nowPlace)};
  }
};

// The person's chart computed on its own, as a natal chart is.
Result<ChartRecord> ComputedPersonChart(const PersonOptions& person, const std::string& suffix, int houseSystem,
                                        Session& session) {
  auto chart = PersonChart(person, suffix, houseSystem, session.places);
  if (!chart.value) return chart;
  auto compute = session.Compute(nullptr);
  const auto result = workspace::ComputeChart(*chart.value, compute);
  if (result != workspace::ComputeResult::kComputed) return {std::nullopt, ComputeFailure(result)};
  return chart;
}

Result<ChartRecord> DerivedChart(const ChartOptions& options, const ChartRecord& natal, Session& session) {
  using R = Result<ChartRecord>;
  const auto id = WholeNumber(*options.kind);
  const auto kind = id ? workspace::KindOfId(*id) : std::nullopt;
  if (!kind) return R::Fail("вид карты --kind должен быть от 50 до 59");
  ChartRecord derived = natal;
  derived.name = workspace::KindName(*kind);
  derived.filePath.clear();
  if (*kind != workspace::ChartKind::kNow) {
    const std::optional<std::string> targetTime = options.targetTime.value_or(kDefaultTargetTime);
    if (auto failure = ReadMomentOptions({{options.target, "--target", ReadDate, kDateForm},
                                          {targetTime, "--target-time", ReadTime, kTimeForm}},
                                         derived.local)) {
      return {std::nullopt, *failure};
    }
  }
  auto compute = session.Compute(&natal, *kind == workspace::ChartKind::kNow ? natal.placeName : "");
  const auto result = workspace::ComputeChart(derived, compute);
  if (result != workspace::ComputeResult::kComputed) return {std::nullopt, ComputeFailure(result)};
  return {derived, {}};
}

Result<RequestedCharts> MergedChart(const ChartOptions& options, const ChartRecord& first, int houseSystem,
                                    Session& session) {
  auto second = ComputedPersonChart(options.second, "2", houseSystem, session);
  if (!second.value) return {std::nullopt, second.failure};
  auto compute = session.Compute(nullptr);
  workspace::WorkspaceState state;
  state.main = first;
  state.second = *second.value;
  state.doubleChart = true;
  const auto result = options.composite ? workspace::BuildCompositeChart(state, {}, session.driver)
                                        : workspace::BuildMidpointChart(state, compute);
  if (result != workspace::ComputeResult::kComputed) return {std::nullopt, ComputeFailure(result)};
  return {RequestedCharts{state.main, std::nullopt, state.merged}, {}};
}

// The document's chart, computed as the program computes an opened document.
Result<ChartRecord> DocumentChart(const std::string& path, Session& session) {
  const auto compute = [&session](ChartRecord& chart) {
    auto context = session.Compute(nullptr);
    return workspace::ComputeChart(chart, context) != workspace::ComputeResult::kNotComputable;
  };
  const app::ChartServices services{compute, session.places.Load() ? &session.places.Base() : nullptr, nullptr};
  auto opened = OpenChartDocument(path, services);
  if (!opened.chart) return Result<ChartRecord>::Fail(opened.message, kExitFailure);
  return {std::move(opened.chart), {}};
}

bool HasBirthData(const PersonOptions& person) {
  return person.name || person.date || person.time || person.gmt || person.place || person.lat || person.lon;
}

// The chart of a result alone, or the result's failure.
Result<RequestedCharts> Alone(Result<ChartRecord> chart) {
  if (!chart.value) return {std::nullopt, chart.failure};
  return {RequestedCharts{std::move(*chart.value), std::nullopt, std::nullopt}, {}};
}

// A chart with the chart of another result around it, or that result's failure.
Result<RequestedCharts> Paired(ChartRecord main, Result<ChartRecord> second) {
  if (!second.value) return {std::nullopt, second.failure};
  return {RequestedCharts{std::move(main), std::move(second.value), std::nullopt}, {}};
}

Result<RequestedCharts> ComputeRequested(const ChartOptions& options, SecondPerson secondPerson, Session& session) {
  const auto houseSystem = HouseSystem(options);
  if (!houseSystem.value) return {std::nullopt, houseSystem.failure};
  auto natal = options.open ? DocumentChart(*options.open, session)
                            : ComputedPersonChart(options.first, "", *houseSystem.value, session);
  if (!natal.value) return Alone(std::move(natal));
  if (options.kind) return Paired(*natal.value, DerivedChart(options, *natal.value, session));
  if (options.composite || options.midpoint) return MergedChart(options, *natal.value, *houseSystem.value, session);
  if (secondPerson == SecondPerson::kOwnChart && HasBirthData(options.second)) {
    return Paired(*natal.value, ComputedPersonChart(options.second, "2", *houseSystem.value, session));
  }
  return Alone(std::move(natal));
}

}  // namespace

std::optional<workspace::AngleFields> CoordinateFields(const std::string& text, char positive, char negative) {
  const auto letter = text.find_first_of(std::string{positive, negative, static_cast<char>(std::toupper(positive)),
                                                     static_cast<char>(std::toupper(negative))});
  if (letter == std::string::npos) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return workspace::AngleFields::FromDegrees(value);
  }
  const auto degrees = WholeNumber(std::string_view(text).substr(0, letter));
  const auto minutes = WholeNumber(std::string_view(text).substr(letter + 1));
  if (!degrees || !minutes) return std::nullopt;
  return workspace::AngleFields{*degrees, static_cast<double>(*minutes), std::tolower(text[letter]) == negative};
}

bool PlaceBase::Load() {
  if (!load_) {
    load_ = places::LoadCityBase(file_, base_);
    if (!base_.cities.empty()) zones_.emplace(base_);
  }
  return !base_.cities.empty();
}

Result<const places::CityRecord*> PlaceBase::Find(const std::string& name) {
  Load();
  if (const std::string failure = CityBaseFailure(*load_, file_); !failure.empty()) {
    return Result<const places::CityRecord*>::Fail(failure, kExitFailure);
  }
  const auto found = places::FindCitiesByName(base_, name);
  if (found.empty()) {
    return Result<const places::CityRecord*>::Fail("населенный пункт \"" + name + "\" не найден", kExitFailure);
  }
  return {&base_.cities[found.front()], {}};
}

const workspace::TimeZoneSource* PlaceBase::Zones() {
  Load();
  return zones_ ? &*zones_ : nullptr;
}

std::string ProgramFolder(std::filesystem::path dataDir) {
  if (!dataDir.has_filename()) dataDir = dataDir.parent_path();
  return (dataDir.parent_path() / "").string();
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<Failure> ParseChartOptions(const std::vector<std::string>& args, ChartOptions& chart,
                                         const CommandOptions& own) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--composite" || args[i] == "--midpoint") {
      (args[i] == "--composite" ? chart.composite : chart.midpoint) = true;
    } else if (bool* flag = FindIn(own.switches, args[i])) {
      *flag = true;
    } else if (auto* value = ValueOption(chart, own, args[i]); value && i + 1 < args.size()) {
      *value = args[++i];
    } else {
      return Failure{"лишний или неверный параметр \"" + args[i] + "\""};
    }
  }
  return std::nullopt;
}

Result<RequestedCharts> ComputeRequestedCharts(const ChartOptions& options, const CliContext& context,
                                               SecondPerson secondPerson) {
  using R = Result<RequestedCharts>;
  if (options.composite && options.midpoint) return R::Fail("нужно одно из --composite и --midpoint");
  if (options.open && HasBirthData(options.first)) return R::Fail("нужно одно из --open и данных рождения");
  Session session{context, workspace::EngineDriver(ProgramFolder(context.dataDir)), PlaceBase(context.dataDir),
                  std::nullopt};
  return ComputeRequested(options, secondPerson, session);
}

int Report(std::string_view command, const Failure& failure, std::ostream& err) {
  err << command << failure.message << "\n";
  return failure.exitCode;
}

}  // namespace kelvara::cli
