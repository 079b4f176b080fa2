// calendar: the lunar calendar, the planetary hours, the void-of-course Moon and the
// aspect calendar over a range of days, printed as the program's lines, as the rows of
// their files, as CSV or as iCalendar; and the calendar files read back.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/asp_tables.h"
#include "app/chart_output.h"
#include "app/cli/chart_request.h"
#include "app/cli/cli.h"
#include "app/cli/moment_text.h"
#include "calendars/dated_aspects.h"
#include "calendars/calendar_dialog_model.h"
#include "calendars/calendar_file_text.h"
#include "calendars/calendar_files.h"
#include "calendars/calendar_texts.h"
#include "calendars/calendar_view.h"
#include "calendars/ics_export.h"
#include "calendars/lunar_calendar.h"
#include "calendars/planetary_hours.h"
#include "calendars/void_moon.h"
#include "places/chart_zones.h"
#include "places/city_base.h"
#include "places/name_search.h"
#include "platform/codepage.h"
#include "workspace/birth_data.h"
#include "workspace/chart_compute.h"
#include "workspace/engine_driver.h"
#include "workspace/gmt_text.h"

namespace kelvara::cli {
namespace {

namespace cal = calendars;
namespace ws = workspace;
using cal::CalendarViewMode;

constexpr const char* kCommand = "kelvara-cli calendar: ";

constexpr const char* kUsage =
    "  calendar lunar|hours|void|aspects --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ\n"
    "           (--place НАЗВАНИЕ | --lat 55n45 --lon 037e37) [--phases new,first,full,last,days]\n"
    "           [--aspects 0,180,90,135,45,120,60,150,30] [ПАРАМЕТРЫ_КАРТЫ [--second 51|52] [--background]]\n"
    "           [--table] [--save ФАЙЛ] [--format text|csv|ics]\n"
    "  calendar read ФАЙЛ [--table] [--format text|csv|ics]\n"
    "      лунный календарь (lunar: фазы и лунные дни, --phases - какие), планетарные часы\n"
    "      (hours), Луна без курса (void: --aspects - учитываемые аспекты) и календарь\n"
    "      аспектов (aspects: транзиты к карте ПАРАМЕТРЫ_КАРТЫ - тем же, что у chart, без\n"
    "      --kind; --second 51 - прогрессии, 52 - дирекции, --background - транзитный фон);\n"
    "      время местное для --place, иначе по Гринвичу; вывод - заголовок и строки\n"
    "      результата, --table - строки файла календаря, csv - момент (utc, local) и поля\n"
    "      строки, ics - календарь iCalendar; --save записывает файл календаря (.moo, .plh,\n"
    "      .luc, .das); read печатает такой файл, вид - по его первой строке\n";

struct Kind {
  std::string_view name;
  CalendarViewMode view;
  cal::CalendarDialogMode dialog;
};

constexpr Kind kKinds[] = {
    {"lunar", CalendarViewMode::kLunar, cal::CalendarDialogMode::kLunar},
    {"hours", CalendarViewMode::kPlanetaryHours, cal::CalendarDialogMode::kPlanetaryHours},
    {"void", CalendarViewMode::kVoidMoon, cal::CalendarDialogMode::kVoidMoon},
    {"aspects", CalendarViewMode::kAspects, cal::CalendarDialogMode::kAspects},
};

enum class Format { kText, kCsv, kIcs };

struct OutputOptions {
  std::optional<std::string> save, format;
  bool table = false;
};

struct CalendarOptions {
  ChartOptions chart;
  OutputOptions output;
  std::optional<std::string> from, to, phases, aspects, second;
  bool background = false;
};

int Refuse(const Failure& failure, std::ostream& err) {
  const int status = Report(kCommand, failure, err);
  if (status == kExitUsage) err << "Использование: kelvara-cli\n" << kUsage;
  return status;
}

Result<Format> FormatOf(const OutputOptions& output) {
  const std::string format = output.format.value_or("text");
  if (format == "text") return {Format::kText, {}};
  if (format == "csv") return {Format::kCsv, {}};
  if (format == "ics") return {Format::kIcs, {}};
  return Result<Format>::Fail("формат должен быть text, csv или ics");
}

// --- what a result prints ---

// A moment on the result's clock as "utc,local"; a side that is not known stays empty.
struct Clock {
  cal::ShownClock shown;
  cal::ToUtc toUtc;

  std::string Fields(double shownHours) const {
    if (shown.kind == cal::ShownClock::Kind::kUtc) return IsoTime(shownHours) + ",";
    const auto utc = toUtc(shownHours);
    return (utc ? IsoTime(*utc) : "") + "," + IsoTime(shownHours);
  }
};

std::string_view LunarEvent(const std::string& label) {
  if (label == cal::texts::kNewMoonLabel) return "new_moon";
  if (label == cal::texts::kFirstQuarterLabel) return "first_quarter";
  if (label == cal::texts::kFullMoonLabel) return "full_moon";
  if (label == cal::texts::kLastQuarterLabel) return "last_quarter";
  if (label.find(cal::texts::kLunarDayRowMark) != std::string::npos) return "lunar_day";
  return "";
}

void PrintLunarCsv(const cal::CalendarResult& result, const Clock& clock, std::ostream& out) {
  out << "utc,local,event,day\n";
  for (const std::string& line : result.lines) {
    const auto dated = cal::ParseDatedLine(CalendarViewMode::kLunar, line);
    if (!dated) continue;
    const std::string_view event = LunarEvent(dated->label);
    const std::string day = event == "lunar_day" ? std::to_string(std::atoi(dated->label.c_str())) : "";
    out << clock.Fields(dated->hours) << ',' << event << ',' << day << '\n';
  }
}

// Day or night of every hour: from the sunrise and sunset marks, and before the first
// mark the other half of the day.
std::vector<std::string_view> HourParts(const std::vector<std::optional<cal::DatedLine>>& hours) {
  std::vector<std::string_view> parts(hours.size());
  std::string_view part;
  std::size_t firstMarked = hours.size();
  for (std::size_t i = 0; i < hours.size(); ++i) {
    if (!hours[i]) continue;
    const std::string& label = hours[i]->label;
    const bool sunrise = label.ends_with(cal::texts::kSunriseMarkClose);
    const bool sunset = label.ends_with(cal::texts::kSunsetMark);
    if (sunrise || sunset) {
      part = sunrise ? "day" : "night";
      firstMarked = std::min(firstMarked, i);
    }
    parts[i] = part;
  }
  if (firstMarked < hours.size()) {
    const std::string_view before = parts[firstMarked] == "day" ? "night" : "day";
    for (std::size_t i = 0; i < firstMarked; ++i) parts[i] = before;
  }
  return parts;
}

void PrintHoursCsv(const cal::CalendarResult& result, const Clock& clock, std::ostream& out) {
  std::vector<std::optional<cal::DatedLine>> hours;
  for (const std::string& line : result.lines) hours.push_back(cal::ParseDatedLine(CalendarViewMode::kPlanetaryHours, line));
  const auto parts = HourParts(hours);
  out << "utc,local,ruler,part\n";
  for (std::size_t i = 0; i < hours.size(); ++i) {
    if (!hours[i]) continue;
    const std::string& label = hours[i]->label;
    out << clock.Fields(hours[i]->hours) << ',' << app::CsvField(label.substr(0, label.find(" ("))) << ','
        << parts[i] << '\n';
  }
}

void PrintVoidCsv(const cal::CalendarResult& result, const Clock& clock, std::ostream& out) {
  out << "utc,local,end_utc,end_local\n";
  for (std::size_t i = 0; i + 1 < result.lines.size(); ++i) {
    const auto aspect = cal::ParseVoidLine(result.lines[i]);
    const auto ingress = cal::ParseVoidLine(result.lines[i + 1]);
    if (!aspect || aspect->IsIngress() || !ingress || !ingress->IsIngress()) continue;
    out << clock.Fields(aspect->hours) << ',' << clock.Fields(ingress->hours) << '\n';
    ++i;
  }
}

void PrintAspectsCsv(const cal::CalendarResult& result, const cal::ColumnOrder& order, const Clock& clock,
                     std::ostream& out) {
  out << "utc,local,moving,aspect_deg,base\n";
  for (const std::string& line : result.lines) {
    const auto aspect = cal::ParseAspectLine(line, order);
    if (!aspect) continue;
    out << clock.Fields(aspect->culminationHours) << ',' << app::CsvField(ws::SlotName(aspect->movingPoint)) << ','
        << cal::AngleText(aspect->angleDeg) << ',' << app::CsvField(ws::SlotName(aspect->basePoint)) << '\n';
  }
}

// The file's text as the terminal shows it: UTF-8, one "\n" a line.
std::string TerminalText(const std::string& cp1251) {
  std::string text = platform::Cp1251ToUtf8(cp1251);
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  return lines;
}

// What a shown result is: its kind, lines, column order and where its times stand.
struct Shown {
  CalendarViewMode mode;
  const cal::CalendarResult& result;
  cal::ColumnOrder order;
  Clock clock;
};

void PrintCsv(const Shown& shown, std::ostream& out) {
  switch (shown.mode) {
    case CalendarViewMode::kLunar: return PrintLunarCsv(shown.result, shown.clock, out);
    case CalendarViewMode::kPlanetaryHours: return PrintHoursCsv(shown.result, shown.clock, out);
    case CalendarViewMode::kVoidMoon: return PrintVoidCsv(shown.result, shown.clock, out);
    case CalendarViewMode::kAspects: break;
  }
  PrintAspectsCsv(shown.result, shown.order, shown.clock, out);
}

// Events left out make the calendar incomplete: told, and the exit code says so.
int PrintIcs(const Shown& shown, double stampUtcHours, std::ostream& out, std::ostream& err) {
  const cal::IcsCalendar ics = cal::CalendarToIcs(shown.result, {shown.mode, shown.order, shown.clock.toUtc, stampUtcHours});
  out << ics.text;
  if (ics.skipped == 0) return kExitOk;
  err << kCommand << ics.skipped << " строк не вошли в календарь: время не переводится в UTC или строка не читается\n";
  return kExitFailure;
}

int Print(const Shown& shown, const OutputOptions& output, Format format, const CliContext& context,
          std::ostream& out, std::ostream& err) {
  if (output.save) {
    if (auto failure = cal::SaveCalendarFile(*output.save, cal::ViewFileKind(shown.mode), shown.result, shown.order)) {
      return Refuse({*failure, kExitFailure}, err);
    }
  }
  if (format == Format::kIcs) return PrintIcs(shown, context.nowGreenwichHours(), out, err);
  if (format == Format::kCsv) {
    PrintCsv(shown, out);
  } else if (output.table) {
    out << TerminalText(cal::CalendarFileBytes(cal::ViewFileKind(shown.mode), shown.result, shown.order));
  } else {
    out << shown.result.header << '\n';
    for (const std::string& line : shown.result.lines) out << line << '\n';
  }
  return kExitOk;
}

Clock ClockOf(CalendarViewMode mode, const cal::CalendarResult& result, PlaceBase& cities,
              std::optional<std::pair<double, double>> position = std::nullopt) {
  Clock clock{cal::ClockOfResult(mode, result), {}};
  if (position) {
    // Local times of a place the header does not name: the zones find it by its position.
    if (clock.shown.kind == cal::ShownClock::Kind::kUnknown) clock.shown.kind = cal::ShownClock::Kind::kPlace;
    std::tie(clock.shown.latitudeDeg, clock.shown.longitudeDeg) = *position;
  }
  clock.toUtc = cal::ShownToUtc(clock.shown, cities.Zones());
  return clock;
}

// --- calendar read FILE ---

std::optional<CalendarViewMode> KindOfFile(const std::string& bytes) {
  const std::string title = platform::Cp1251ToUtf8(bytes.substr(0, bytes.find_first_of("\r\n")));
  for (const Kind& kind : kKinds) {
    if (title == cal::ViewTitle(kind.view)) return kind.view;
  }
  return std::nullopt;
}

int ReadCalendarFile(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                     std::ostream& err) {
  OutputOptions output;
  std::optional<std::string> path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--table") {
      output.table = true;
    } else if (args[i] == "--format" && i + 1 < args.size()) {
      output.format = args[++i];
    } else if (!args[i].starts_with("--") && !path) {
      path = args[i];
    } else {
      return Refuse({"лишний или неверный параметр \"" + args[i] + "\""}, err);
    }
  }
  if (!path) return Refuse({"не задан файл календаря"}, err);
  const auto format = FormatOf(output);
  if (!format.value) return Refuse(format.failure, err);
  std::string bytes;
  if (auto failure = cal::ReadCalendarBytes(*path, bytes)) return Refuse({*failure, kExitFailure}, err);
  const auto mode = KindOfFile(bytes);
  const auto result = mode ? cal::ParseCalendarFile(cal::ViewFileKind(*mode), bytes, cal::kInitialColumnOrder) : std::nullopt;
  if (!result) return Refuse({std::string(cal::texts::kBadFile), kExitFailure}, err);
  PlaceBase cities(context.dataDir);
  const Shown shown{*mode, *result, cal::kInitialColumnOrder, ClockOf(*mode, *result, cities)};
  return Print(shown, output, *format.value, context, out, err);
}

// --- calculations ---

// The options of one kind only: another kind's and the chart's ones where no chart is taken.
std::optional<Failure> ForeignOption(const Kind& kind, const CalendarOptions& o) {
  const bool scans = kind.view == CalendarViewMode::kAspects;
  const bool dayScans = kind.view == CalendarViewMode::kLunar || kind.view == CalendarViewMode::kPlanetaryHours;
  const bool natal = scans && !o.background;  // the person's chart; else the calendar's own place
  const ChartOptions& c = o.chart;
  const PersonOptions& p = c.first;
  const std::pair<bool, const char*> foreign[] = {
      {o.phases && kind.view != CalendarViewMode::kLunar, "--phases"},
      {o.aspects && kind.view != CalendarViewMode::kVoidMoon, "--aspects"},
      {o.second && !scans, "--second"},
      {o.background && !scans, "--background"},
      {c.kind.has_value(), "--kind"},
      {c.target.has_value() || c.targetTime.has_value(), "--target"},
      {c.composite || c.midpoint, "--composite/--midpoint"},
      {c.second.name || c.second.date || c.second.time || c.second.gmt || c.second.place || c.second.lat ||
           c.second.lon,
       "данные второго человека"},
      {!natal && (p.name || p.date || p.time || c.open || c.house), "данные карты"},
      {dayScans && p.gmt, "--gmt"},
  };
  for (const auto& [given, option] : foreign) {
    if (given) return Failure{std::string("лишний параметр: ") + option};
  }
  return std::nullopt;
}

std::optional<Failure> ReadRange(const CalendarOptions& options, cal::CalendarRequest& request) {
  if (!options.from || !options.to) return Failure{"нужны оба параметра --from и --to"};
  if (!ReadDate(*options.from, request.from)) {
    return Failure{"неверный параметр --from \"" + *options.from + "\": нужно " + kDateForm};
  }
  if (!ReadDate(*options.to, request.to)) return Failure{"неверный параметр --to \"" + *options.to + "\": нужно " + kDateForm};
  return std::nullopt;
}

std::optional<Failure> ReadPhases(const std::optional<std::string>& phases, cal::CalendarRequest& request) {
  if (!phases) return std::nullopt;
  const std::pair<std::string_view, bool*> names[] = {{"new", &request.newMoons},
                                                      {"first", &request.firstQuarters},
                                                      {"full", &request.fullMoons},
                                                      {"last", &request.lastQuarters},
                                                      {"days", &request.lunarDays}};
  for (const auto& [name, chosen] : names) *chosen = false;
  std::string_view list = *phases;
  while (true) {
    const std::string_view name = list.substr(0, list.find(','));
    const auto found = std::find_if(std::begin(names), std::end(names), [&](const auto& n) { return n.first == name; });
    if (found == std::end(names)) return Failure{"неверный параметр --phases: нужно new, first, full, last, days"};
    *found->second = true;
    if (name.size() == list.size()) return std::nullopt;
    list.remove_prefix(name.size() + 1);
  }
}

// Where the calendar is calculated: the place of the city base, its coordinates
// overridden by --lat and --lon, or the coordinates alone.
std::optional<Failure> ReadPlace(const PersonOptions& person, PlaceBase& cities,
                                 cal::CalendarDialogForm& form) {
  if (!person.place && (!person.lat || !person.lon)) return Failure{"нужны --place или --lat и --lon"};
  cal::CalendarRequest& request = form.request;
  if (person.place) {
    const auto city = cities.Find(*person.place);
    if (!city.value) return city.failure;
    request.placeName = (*city.value)->DisplayName();
    request.latitudeDeg = (*city.value)->Latitude();
    request.longitudeDeg = (*city.value)->Longitude();
  }
  form.latitude = ws::AngleFields::FromDegrees(request.latitudeDeg);
  form.longitude = ws::AngleFields::FromDegrees(request.longitudeDeg);
  if (person.lat) {
    const auto fields = CoordinateFields(*person.lat, 'n', 's');
    if (!fields) return Failure{"неверный параметр --lat \"" + *person.lat + "\""};
    form.latitude = *fields;
  }
  if (person.lon) {
    const auto fields = CoordinateFields(*person.lon, 'e', 'w');
    if (!fields) return Failure{"неверный параметр --lon \"" + *person.lon + "\""};
    form.longitude = *fields;
  }
  request.latitudeDeg = form.latitude.Degrees();
  request.longitudeDeg = form.longitude.Degrees();
  return std::nullopt;
}

int PrintDayScanCalendar(const Kind& kind, const CalendarOptions& options, Format format, const CliContext& context,
                         std::ostream& out, std::ostream& err) {
  PlaceBase cities(context.dataDir);
  cal::CalendarDialogForm form;
  if (auto failure = ReadRange(options, form.request)) return Refuse(*failure, err);
  if (auto failure = ReadPhases(options.phases, form.request)) return Refuse(*failure, err);
  if (auto failure = ReadPlace(options.chart.first, cities, form)) return Refuse(*failure, err);
  if (const auto check = cal::CheckCalendarForm(kind.dialog, form); !check.ok) {
    return Refuse({std::string(check.message), kExitFailure}, err);
  }
  const ws::EngineDriver driver(ProgramFolder(context.dataDir));
  const cal::CalendarRun run{driver, [&driver](const ws::EngineMoment& at) { return driver.RunDayScan(at); },
                             cities.Zones(), {}, {}};
  const cal::CalendarRequest& request = form.request;
  const bool lunar = kind.view == CalendarViewMode::kLunar;
  const auto result = lunar ? cal::CalculateLunarCalendar(request, run) : cal::CalculatePlanetaryHours(request, run);
  if (!result) return Refuse({"расчет прерван", kExitFailure}, err);
  if (!result->refusal.empty()) {
    err << kCommand << result->refusal << "\n";
    if (result->lines.empty()) return kExitFailure;
  } else if (result->lines.empty() && lunar) {
    err << kCommand << cal::texts::kLunarNothing << "\n";
  }
  const Shown shown{kind.view, *result, cal::kInitialColumnOrder,
                    ClockOf(kind.view, *result, cities, std::pair{request.latitudeDeg, request.longitudeDeg})};
  return Print(shown, options.output, format, context, out, err);
}

// --- the calendars of the event scanner ---

// The frozen current-moment chart at 00:00 of the first day at the place: the transit
// chart of the void Moon and of the transit background. The offset is the place's then,
// else --gmt, else Greenwich.
Result<ws::ChartRecord> TransitChart(const cal::CalendarDialogForm& form, const std::optional<std::string>& gmt,
                                     PlaceBase& cities, const ws::ChartEngine& engine) {
  using R = Result<ws::ChartRecord>;
  if (const auto check = ws::CheckCoordinates(form.latitude, form.longitude); !check.ok) {
    return R::Fail(std::string(check.message), kExitFailure);
  }
  ws::ChartRecord transit;
  transit.name = std::string(ws::kNameStopped);
  transit.placeName = form.request.placeName;
  transit.latitudeDeg = form.request.latitudeDeg;
  transit.longitudeDeg = form.request.longitudeDeg;
  transit.local = form.request.from;
  std::optional<double> offset = gmt ? ws::ParseGmtOffset(*gmt) : 0.0;
  if (!offset) return R::Fail(std::string(ws::kMessageBadData) + " (--gmt)", kExitFailure);
  if (cities.Zones() && !transit.placeName.empty()) {
    offset = cities.Zones()
                 ->OffsetHoursAt(transit.placeName, transit.latitudeDeg, transit.longitudeDeg,
                                 ws::HoursSince1860(transit.local), false)
                 .value_or(*offset);
  }
  transit.gmtOffsetHours = *offset;
  const ws::ComputeContext compute{engine, nullptr, nullptr, cities.Zones(), {}};
  std::lock_guard lock(ws::EngineLock());
  if (ws::ComputeChart(transit, compute) != ws::ComputeResult::kComputed) {
    return R::Fail(std::string(ws::kMessageBadData) + " (транзитная карта не рассчитывается)", kExitFailure);
  }
  return {transit, {}};
}

std::optional<Failure> ReadVoidAspects(const std::optional<std::string>& list, cal::CalendarRequest& request) {
  if (!list) return std::nullopt;
  request.voidAspects.fill(false);
  std::string_view rest = *list;
  while (true) {
    const std::string_view angle = rest.substr(0, rest.find(','));
    const auto degrees = WholeNumber(angle);
    const auto found = degrees ? std::find(cal::kVoidAspectAnglesDeg.begin(), cal::kVoidAspectAnglesDeg.end(), *degrees)
                               : cal::kVoidAspectAnglesDeg.end();
    if (found == cal::kVoidAspectAnglesDeg.end()) {
      return Failure{"неверный параметр --aspects: нужно 0, 180, 90, 135, 45, 120, 60, 150, 30"};
    }
    request.voidAspects[found - cal::kVoidAspectAnglesDeg.begin()] = true;
    if (angle.size() == rest.size()) return std::nullopt;
    rest.remove_prefix(angle.size() + 1);
  }
}

// The charts of the aspect calendar: the person's (with --second its derived chart as the
// second chart), or the transit chart for the transit background.
struct AspectCharts {
  ws::ChartRecord main;
  std::optional<ws::ChartRecord> second;
};

Result<AspectCharts> ChartsOfAspects(const CalendarOptions& options, const cal::CalendarDialogForm& form,
                                     PlaceBase& cities, const ws::ChartEngine& engine,
                                     const CliContext& context) {
  using R = Result<AspectCharts>;
  if (options.background) {
    if (options.second) return R::Fail("нужно одно из --second и --background");
    auto transit = TransitChart(form, options.chart.first.gmt, cities, engine);
    if (!transit.value) return {std::nullopt, transit.failure};
    return {AspectCharts{std::move(*transit.value), std::nullopt}, {}};
  }
  ChartOptions chart = options.chart;
  if (options.second) {
    if (*options.second != "51" && *options.second != "52") return R::Fail("--second должен быть 51 или 52");
    chart.kind = options.second;
    chart.target = options.from;
  }
  auto charts = ComputeRequestedCharts(chart, context, SecondPerson::kMergedOnly);
  if (!charts.value) return {std::nullopt, charts.failure};
  return {AspectCharts{std::move(charts.value->main), std::move(charts.value->second)}, {}};
}

int PrintScanCalendar(const Kind& kind, const CalendarOptions& options, Format format, const CliContext& context,
                      std::ostream& out, std::ostream& err) {
  PlaceBase cities(context.dataDir);
  const ws::EngineDriver driver(ProgramFolder(context.dataDir));
  const bool voidMoon = kind.view == CalendarViewMode::kVoidMoon;
  const bool ownPlace = voidMoon || options.background;  // else the chart's place
  cal::CalendarDialogForm form;
  if (auto failure = ReadRange(options, form.request)) return Refuse(*failure, err);
  if (auto failure = ReadVoidAspects(options.aspects, form.request)) return Refuse(*failure, err);
  if (ownPlace) {
    if (auto failure = ReadPlace(options.chart.first, cities, form)) return Refuse(*failure, err);
  }
  if (const auto check = cal::CheckCalendarForm(kind.dialog, form); !check.ok) {
    return Refuse({std::string(check.message), kExitFailure}, err);
  }
  const cal::ScanCalendarRun run{driver, cities.Zones(), nullptr};
  std::optional<cal::CalendarResult> result;
  std::pair<double, double> position;
  if (voidMoon) {
    const auto transit = TransitChart(form, options.chart.first.gmt, cities, driver);
    if (!transit.value) return Refuse(transit.failure, err);
    position = {transit.value->latitudeDeg, transit.value->longitudeDeg};
    result = cal::CalculateVoidMoon(form.request, *transit.value, run);
  } else {
    const auto charts = ChartsOfAspects(options, form, cities, driver, context);
    if (!charts.value) return Refuse(charts.failure, err);
    ws::AspectTables tables;
    for (const std::string& message : app::LoadAspectTables((context.dataDir / "").string(), tables)) {
      err << kCommand << "предупреждение: " << message << "\n";
    }
    form.request.placeName = charts.value->main.placeName;
    position = {charts.value->main.latitudeDeg, charts.value->main.longitudeDeg};
    const ws::ChartRecord* second = charts.value->second ? &*charts.value->second : nullptr;
    result = cal::CalculateAspectCalendar(form.request, {charts.value->main, second}, tables, cal::kInitialColumnOrder,
                                          run);
  }
  if (!result) return Refuse({"расчет прерван", kExitFailure}, err);
  if (!result->refusal.empty()) return Refuse({result->refusal, kExitFailure}, err);
  if (result->lines.empty()) err << kCommand << (voidMoon ? cal::texts::kVoidNothing : cal::texts::kAspectNothing) << "\n";
  const Shown shown{kind.view, *result, cal::kInitialColumnOrder, ClockOf(kind.view, *result, cities, position)};
  return Print(shown, options.output, format, context, out, err);
}

}  // namespace

std::string_view CalendarUsage() { return kUsage; }

int RunCalendarCommand(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
                       std::ostream& err) {
  if (args.empty()) return Refuse({"не задан календарь: lunar, hours, void, aspects или read"}, err);
  if (args.front() == "read") return ReadCalendarFile({args.begin() + 1, args.end()}, context, out, err);
  const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const Kind& k) { return k.name == args.front(); });
  if (kind == std::end(kKinds)) return Refuse({"неизвестный календарь \"" + args.front() + "\""}, err);

  CalendarOptions options;
  const CommandOptions own{{{"--from", &options.from},
                            {"--to", &options.to},
                            {"--phases", &options.phases},
                            {"--aspects", &options.aspects},
                            {"--second", &options.second},
                            {"--save", &options.output.save},
                            {"--format", &options.output.format}},
                           {{"--table", &options.output.table}, {"--background", &options.background}}};
  if (auto failure = ParseChartOptions({args.begin() + 1, args.end()}, options.chart, own)) return Refuse(*failure, err);
  if (auto failure = ForeignOption(*kind, options)) return Refuse(*failure, err);
  const auto format = FormatOf(options.output);
  if (!format.value) return Refuse(format.failure, err);
  if (kind->view == CalendarViewMode::kLunar || kind->view == CalendarViewMode::kPlanetaryHours) {
    return PrintDayScanCalendar(*kind, options, *format.value, context, out, err);
  }
  return PrintScanCalendar(*kind, options, *format.value, context, out, err);
}

}  // namespace kelvara::cli
