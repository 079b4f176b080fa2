#include "engine/switches.h"

#include <string_view>

#include "engine/angles.h"
#include "engine/calendar.h"
#include "engine/value_syntax.h"

namespace kelvara::engine {
namespace {

constexpr std::string_view kPrefixes = "-/_=:";
constexpr int kMaxHouseSystem = kHouseSystemCount - 1;
constexpr int kMaxScanDivisions = 2880;
constexpr int kMaxProgressionYear = 20000;
constexpr double kMaxZodiacOffsetDeg = 360.0;
constexpr double kNoonHmm = 12.0;

bool IsPrefix(char c) { return c != '\0' && kPrefixes.find(c) != std::string_view::npos; }

// One element of the vector split into prefix, letter and up to three suffix characters.
struct Switch {
  char prefix = '\0';  // '\0' when the element has none
  char letter = '\0';
  char c1 = '\0';
  char c2 = '\0';
  char c3 = '\0';
};

Switch SplitSwitch(std::string_view text) {
  Switch s;
  if (!text.empty() && IsPrefix(text[0])) {
    s.prefix = text[0];
    text.remove_prefix(1);
  }
  const auto at = [&text](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
  s.letter = at(0);
  s.c1 = at(1);
  s.c2 = s.c1 ? at(2) : '\0';
  s.c3 = s.c2 ? at(3) : '\0';
  return s;
}

class SwitchParser {
 public:
  SwitchParser(EngineState& state, int argc, const char* const* args)
      : state_(state), settings_(state.settings), argc_(argc), args_(args) {}

  bool Run() {
    for (next_ = 1; next_ < argc_;) {
      const Switch s = SplitSwitch(Element(next_++));
      if (s.letter == ';') return true;
      if (!Apply(s)) return false;
    }
    return true;
  }

 private:
  std::string_view Element(int i) const {
    const char* text = args_[i];
    return text ? std::string_view(text) : std::string_view();
  }
  bool Has(int count) const { return next_ + count <= argc_; }
  std::string_view Take() { return Element(next_++); }
  bool HasNext() const { return next_ < argc_; }
  std::string_view PeekNext() const { return Element(next_); }

  void Toggle(const Switch& s, std::uint8_t& flag) const { flag = ApplyPrefix(s.prefix, flag); }

  bool Apply(const Switch& s) {
    switch (s.letter) {
      case 'c': return HouseSystemSwitch();
      case 'q': return ChartSwitch(s);
      case 'b': EphemerisSwitch(s); return true;
      case 'Y': NodeSwitch(s); return true;
      case 's': return SiderealSwitch(s);
      case 'Z': HorizonSwitch(s); return true;
      case 'L': CrossingSwitch(s); return true;
      case 'd': return ScanSwitch(s);
      case 'o': return FileSwitch(s);
      case '>': return OutputSwitch();
      default: return true;  // unknown letters are skipped
    }
  }

  bool HouseSystemSwitch() {
    if (!Has(1)) return false;
    const int system = ReadHouseSystem(Take());
    if (system < 0 || system > kMaxHouseSystem) return false;
    settings_.houseSystem = system;
    return true;
  }

  // The place and zone of the settings, used by the -q forms that give none.
  void DefaultPlace(ChartInput& chart) const {
    chart.dst = settings_.defaultDst;
    chart.zone = settings_.defaultZone;
    chart.longitude = settings_.defaultLongitude;
    chart.latitude = settings_.defaultLatitude;
  }

  void ReadDate(ChartInput& chart) {
    chart.month = ReadMonth(Take());
    chart.day = ReadDay(Take());
    chart.year = ReadYear(Take());
  }

  void ReadPlace(ChartInput& chart) {
    chart.longitude = ReadLongitude(Take());
    chart.latitude = ReadLatitude(Take());
  }

  // The -q forms: how many arguments each takes and how it reads them.
  struct ChartForm {
    int argument_count;
    void (SwitchParser::*read)(ChartInput&);
  };

  static ChartForm ChartFormOf(char c1) {
    switch (c1) {
      case 'a': return {7, &SwitchParser::ReadFrontEndForm};
      case 'b': return {8, &SwitchParser::ReadFullForm};
      case 'd': return {3, &SwitchParser::ReadDayForm};
      case 'm': return {2, &SwitchParser::ReadMonthForm};
      case 'y': return {1, &SwitchParser::ReadYearForm};
      case 'j': return {1, &SwitchParser::ReadJulianDayForm};
      default: return {4, &SwitchParser::ReadClockForm};
    }
  }

  bool ChartSwitch(const Switch& s) {
    const ChartForm form = ChartFormOf(s.c1);
    if (!Has(form.argument_count)) return false;
    (this->*form.read)(state_.chartInput);
    return true;
  }

  void ReadFrontEndForm(ChartInput& chart) {
    ReadDate(chart);
    chart.time = ReadTime(Take());
    chart.dst = 0.0;
    chart.zone = ReadZone(Take());
    ReadPlace(chart);
  }

  void ReadFullForm(ChartInput& chart) {
    ReadDate(chart);
    chart.time = ReadTime(Take());
    chart.dst = ReadDst(Take());
    chart.zone = ReadZone(Take());
    ReadPlace(chart);
  }

  void ReadClockForm(ChartInput& chart) {
    ReadDate(chart);
    chart.time = ReadTime(Take());
    DefaultPlace(chart);
  }

  void ReadDayForm(ChartInput& chart) {
    ReadDate(chart);
    chart.time = kNoonHmm;
    DefaultPlace(chart);
  }

  void ReadMonthForm(ChartInput& chart) {
    chart.month = ReadMonth(Take());
    chart.day = 1;
    chart.year = ReadYear(Take());
    chart.time = 0.0;
    DefaultPlace(chart);
  }

  void ReadYearForm(ChartInput& chart) {
    chart.month = 1;
    chart.day = 1;
    chart.year = ReadYear(Take());
    chart.time = 0.0;
    DefaultPlace(chart);
  }

  void ReadJulianDayForm(ChartInput& chart) { JulianDayChart(ReadNumber(Take()), chart); }

  void JulianDayChart(double jd, ChartInput& chart) const {
    const CalendarDate date = JulianToMdy(jd);
    chart.month = date.month;
    chart.day = date.day;
    chart.year = date.year;
    // The chart holds clock times as H.MM, so the decimal hours are converted.
    chart.time = DegToDec(date.hours);
    chart.dst = 0.0;
    chart.zone = 0.0;
    chart.longitude = settings_.defaultLongitude;
    chart.latitude = settings_.defaultLatitude;
  }

  void EphemerisSwitch(const Switch& s) {
    if (s.c1 == '0') Toggle(s, settings_.secondsFlag);
    if (s.c1 == 'a') Toggle(s, settings_.flagBa);
    Toggle(s, settings_.useEphemerisFiles);
  }

  void NodeSwitch(const Switch& s) {
    if (s.c1 == 'n') Toggle(s, settings_.trueNode);
    if (s.c1 == '\0') Toggle(s, settings_.flagY);
  }

  bool SiderealSwitch(const Switch& s) {
    if (HasNext() && (ReadNumber(PeekNext()) != 0.0 || BeginsWithDigit(PeekNext()))) {
      const double offset = ReadNumber(Take());
      if (!(offset >= -kMaxZodiacOffsetDeg && offset <= kMaxZodiacOffsetDeg)) return false;
      settings_.zodiacOffset = offset;
    }
    switch (s.c1) {
      case 'r': Toggle(s, settings_.equatorial); break;
      case 'h': settings_.siderealDisplay = 1; break;
      case 'd': settings_.siderealDisplay = 2; break;
      case 'z': settings_.siderealDisplay = 0; break;
      default: Toggle(s, settings_.sidereal); break;
    }
    return true;
  }

  void HorizonSwitch(const Switch& s) {
    Toggle(s, settings_.horizonScan);
    if (s.c1 == '0') Toggle(s, settings_.horizonZero);
    if (s.c1 == 'd') Toggle(s, settings_.riseSetScan);
  }

  // An optional count: consumed only when it reads as a non-zero whole number.
  bool TakeOptionalCount(int& count) {
    if (!HasNext() || ReadInteger(PeekNext()) == 0) return false;
    count = ReadInteger(Take());
    return true;
  }

  void CrossingSwitch(const Switch& s) {
    TakeOptionalCount(settings_.crossingStep);
    Toggle(s, settings_.crossingTable);
    if (s.c1 == '0') Toggle(s, settings_.crossingZero);
  }

  bool ScanSwitch(const Switch& s) {
    bool ok = true;
    switch (s.c1) {
      case 'm':
        Toggle(s, settings_.scanMonthYear);
        state_.progressionInput.month = kMonthScanMarker;
        break;
      case 'y':
        ok = YearScan(s, 1);
        break;
      case 'Y':
        ok = Has(1) && YearScan(s, ReadInteger(Take()));
        break;
      case 'p':
        ok = ProgressedScanSwitch(s);
        break;
      default:
        ok = ScanDivisions();
        break;
    }
    if (ok) Toggle(s, settings_.eventScan);
    return ok;
  }

  bool YearScan(const Switch& s, int years) {
    if (years < 1) return false;
    settings_.scanYears = years;
    Toggle(s, settings_.scanMonthYear);
    state_.progressionInput.month = kYearScanMarker;
    return true;
  }

  bool ScanDivisions() {
    int divisions = 0;
    if (!TakeOptionalCount(divisions)) return true;
    if (divisions < 1 || divisions > kMaxScanDivisions) return false;
    settings_.scanDivisions = divisions;
    return true;
  }

  bool ProgressedScanSwitch(const Switch& s) {
    char form = s.c2;
    if (s.c2 == '0') {
      settings_.progressedZero = 1;
      form = s.c3;
    }
    ProgressionInput& target = state_.progressionInput;
    if (form == 'y' || form == 'Y') {
      if (!Has(form == 'Y' ? 2 : 1)) return false;
      target.month = kYearScanMarker;
      target.year = ReadYear(Take());
      settings_.scanYears = form == 'Y' ? ReadInteger(Take()) : 1;
    } else {
      if (!Has(2)) return false;
      target.month = ReadMonth(Take());
      target.year = ReadYear(Take());
      if (target.month < 1 || target.month > 12) return false;
    }
    if (target.year < -kMaxProgressionYear || target.year > kMaxProgressionYear) return false;
    DefaultPlace(target);
    settings_.scanMonthYear = 1;
    settings_.progressedScan = 1;
    return true;
  }

  bool FileSwitch(const Switch& s) {
    if (s.c1 == 's') return OutputSwitch();
    if (!Has(1)) return false;
    Toggle(s, settings_.writeChartFile);
    if (s.c1 == '0') Toggle(s, settings_.chartFileZero);
    settings_.chartFileName = std::string(Take());
    if (state_.initialParse) {
      state_.chartFileSwitches.assign(1, settings_.chartFileName);
      while (HasNext() && !IsPrefix(PeekNext().empty() ? '\0' : PeekNext()[0])) {
        state_.chartFileSwitches.emplace_back(Take());
      }
    }
    return true;
  }

  bool OutputSwitch() {
    if (!Has(1)) return false;
    settings_.outputFileName = std::string(Take());
    return true;
  }

  EngineState& state_;
  EngineSettings& settings_;
  int argc_;
  const char* const* args_;
  int next_ = 1;
};

}  // namespace

std::uint8_t ApplyPrefix(char prefix, std::uint8_t old_value) {
  std::uint8_t value = (prefix == '=' || old_value) && prefix != '_' ? 1 : 0;
  if (prefix == '-' || prefix == '/' || prefix == '\0') value ^= 1;
  return value;
}

bool ParseSwitches(EngineState& state, int argc, const char* const* args) {
  if (args == nullptr || argc < 2) return true;
  return SwitchParser(state, argc, args).Run();
}

}  // namespace kelvara::engine
