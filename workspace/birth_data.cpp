#include "workspace/birth_data.h"

#include <cmath>

#include "workspace/chart_compute.h"
#include "workspace/gmt_text.h"
#include "workspace/text_trim.h"

namespace kelvara::workspace {
namespace {

constexpr int kMaxLatitudeDegrees = 90;
constexpr int kMaxLongitudeDegrees = 180;
constexpr double kMaxMinutes = 60.0;
// The date pickers accept 1 January 1860 - 1 January 2130.
constexpr CalendarMoment kLastPickerDay{kLastYear, 1, 1, 23, 59, 59};

bool Within(double value, double low, double high) { return value >= low && value <= high; }

BirthDataCheck Refuse(BirthField focus) { return {false, kMessageBadData, focus}; }

bool IsPickerMoment(const CalendarMoment& moment) {
  return IsValidMoment(moment) && HoursSince1860(moment) <= HoursSince1860(kLastPickerDay);
}

}  // namespace

std::string TrimmedName(std::string_view name) { return std::string(TrimBlanks(name)); }

BirthDataForm FormFromChart(const ChartRecord& chart) {
  return {chart.name,
          chart.placeName,
          AngleFields::FromDegrees(chart.latitudeDeg),
          AngleFields::FromDegrees(chart.longitudeDeg),
          chart.local,
          FormatGmtOffset(chart.gmtOffsetHours)};
}

std::optional<CalendarMoment> ShownGreenwich(const BirthDataForm& form) {
  const auto offset = ParseGmtOffset(form.gmtText);
  if (!offset || !IsValidMoment(form.local)) return std::nullopt;
  return MomentFromHours(GreenwichHoursFromLocal(form.local, *offset));
}

void FillFromPlace(BirthDataForm& form, const std::string& placeName, double latitudeDeg,
                   double longitudeDeg, double offsetHours) {
  form.placeName = placeName;
  form.latitude = AngleFields::FromDegrees(latitudeDeg);
  form.longitude = AngleFields::FromDegrees(longitudeDeg);
  form.gmtText = FormatGmtOffset(offsetHours);
}

BirthDataCheck CheckBirthData(const BirthDataForm& form) {
  const auto offset = ParseGmtOffset(form.gmtText);
  if (!offset || std::fabs(*offset) > kMaxOffsetHours) return Refuse(BirthField::kGmt);
  if (!Within(form.latitude.degrees, 0, kMaxLatitudeDegrees)) return Refuse(BirthField::kLatitudeDegrees);
  if (!Within(form.latitude.minutes, 0.0, kMaxMinutes)) return Refuse(BirthField::kLatitudeMinutes);
  if (!Within(form.longitude.degrees, 0, kMaxLongitudeDegrees)) return Refuse(BirthField::kLongitudeDegrees);
  if (!Within(form.longitude.minutes, 0.0, kMaxMinutes)) return Refuse(BirthField::kLongitudeMinutes);
  if (std::fabs(form.latitude.Degrees()) > kMaxLatitudeDegrees) return Refuse(BirthField::kLatitudeMinutes);
  if (std::fabs(form.longitude.Degrees()) > kMaxLongitudeDegrees) return Refuse(BirthField::kLongitudeMinutes);
  if (!IsPickerMoment(form.local)) return Refuse(BirthField::kLocalDate);
  const std::string name = TrimmedName(form.name);
  if (name.empty() || name == kNameUnknown) return {false, kMessageEnterName, BirthField::kName};
  return {};
}

void ApplyBirthData(const BirthDataForm& form, ChartRecord& chart) {
  chart.name = TrimmedName(form.name);
  chart.local = form.local;
  chart.gmtOffsetHours = ParseGmtOffset(form.gmtText).value_or(chart.gmtOffsetHours);
  chart.placeName = form.placeName;
  chart.latitudeDeg = form.latitude.Degrees();
  chart.longitudeDeg = form.longitude.Degrees();
}

std::vector<std::string> SecondChartKinds(const ChartRecord& mainChart) {
  std::vector<std::string> kinds = {std::string(kNameNow)};
  if (IsMergedName(mainChart.name)) return kinds;
  for (const ChartKind kind :
       {ChartKind::kSymbolicDirection, ChartKind::kProfection, ChartKind::kSolarArcDirection,
        ChartKind::kSecondaryProgression, ChartKind::kSolarArcMidheaven, ChartKind::kSolarReturnForward,
        ChartKind::kSolarReturnBackward, ChartKind::kLunarReturnForward, ChartKind::kLunarReturnBackward}) {
    kinds.emplace_back(KindName(kind));
  }
  return kinds;
}

}  // namespace kelvara::workspace
