// The birth-data dialog's model (dialog 130): its fields, the Greenwich moment it shows,
// the checks of its OK button and what OK stores in the chart.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/chart_record.h"
#include "workspace/coordinate_fields.h"

namespace kelvara::workspace {

inline constexpr std::string_view kMessageBadData = "Неправильные данные!";  // string 60
inline constexpr std::string_view kMessageEnterName = "Введите имя";         // string 12

enum class BirthField {
  kName,  // the "Имя" edit, or the kind combo when the dialog edits the second chart
  kPlace,
  kLatitudeDegrees,
  kLatitudeMinutes,
  kLongitudeDegrees,
  kLongitudeMinutes,
  kLocalDate,
  kGmt,
};

struct BirthDataForm {
  std::string name;
  std::string placeName;
  AngleFields latitude;   // "С.Ш." / "Ю.Ш."
  AngleFields longitude;  // "В.Д. " / "З.Д."
  CalendarMoment local;   // "местное:"
  std::string gmtText;    // "GMT:", e.g. "+05:30"
};

BirthDataForm FormFromChart(const ChartRecord& chart);

// "по Гринвичу:": local minus the full offset; none while the GMT text does not read.
std::optional<CalendarMoment> ShownGreenwich(const BirthDataForm& form);

// Choosing a place fills latitude, longitude and offset from the places database.
void FillFromPlace(BirthDataForm& form, const std::string& placeName, double latitudeDeg,
                   double longitudeDeg, double offsetHours);

struct BirthDataCheck {
  bool ok = true;
  std::string_view message;  // shown in a message box when not ok
  BirthField focus = BirthField::kName;
};

// The OK checks in their order; the first failure names its message and the field that
// takes the focus.
BirthDataCheck CheckBirthData(const BirthDataForm& form);

// After the checks pass: the chart takes the trimmed name, the local moment, the
// offset, the place and the coordinates.
void ApplyBirthData(const BirthDataForm& form, ChartRecord& chart);

// The kind combo of the second chart: "Сейчас", then ids 52, 53, 59, 51, 58, 54, 55, 56,
// 57; "Сейчас" alone over a midpoint or composite main chart.
std::vector<std::string> SecondChartKinds(const ChartRecord& mainChart);

std::string TrimmedName(std::string_view name);

}  // namespace kelvara::workspace
