#include "app/chart_output.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/csv.h"
#include "workspace/driver_points.h"
#include "workspace/gmt_text.h"
#include "workspace/position_text.h"

namespace kelvara::app {
namespace {

using workspace::ChartObject;
using workspace::ChartRecord;

constexpr int kNameColumn = 15;
constexpr int kSignColumn = 10;
constexpr int kPositionColumn = 12;
constexpr int kSpeedColumn = 12;

std::string Printf(const char* format, auto... values) {
  char text[128];
  std::snprintf(text, sizeof(text), format, values...);
  return text;
}

std::string MomentText(const workspace::CalendarMoment& m) {
  return Printf("%02d.%02d.%04d %02d:%02d:%02d", m.day, m.month, m.year, m.hour, m.minute, m.second);
}

int HouseColumn(const ChartRecord& chart, int slot) {
  if (workspace::IsCuspSlot(slot)) return slot - workspace::kSlotFirstCusp + 1;
  return workspace::HouseOfLongitude(chart.objects, chart.objects[slot].longitude);
}

std::string HouseSystemText(int houseSystem) {
  const auto name = workspace::HouseSystemName(houseSystem);
  return name.empty() ? "без домов" : std::string(name);
}

std::string DegreesMinutes(double value, const char* positive, const char* negative) {
  const double magnitude = std::fabs(value);
  const long long totalMinutes = std::llround(magnitude * 60.0);
  return Printf("%lld°%02lld' %s", totalMinutes / 60, totalMinutes % 60, value < 0.0 ? negative : positive);
}

void PrintHeaderText(const ChartRecord& chart, std::ostream& out) {
  out << (chart.name.empty() ? std::string("(без имени)") : chart.name) << " — " << chart.title << "\n"
      << "Местное время: " << MomentText(chart.local) << ", GMT "
      << workspace::FormatGmtOffset(chart.gmtOffsetHours) << ", по Гринвичу: "
      << MomentText(chart.greenwich) << "\n"
      << "Место: " << (chart.placeName.empty() ? std::string("—") : chart.placeName) << ", "
      << DegreesMinutes(chart.latitudeDeg, "с.ш.", "ю.ш.") << ", "
      << DegreesMinutes(chart.longitudeDeg, "в.д.", "з.д.") << "; дома: "
      << HouseSystemText(chart.houseSystem) << "\n\n";
}

}  // namespace

std::string Padded(std::string text, int width) {
  int characters = 0;
  for (const unsigned char c : text) characters += (c & 0xC0) != 0x80 ? 1 : 0;
  if (characters < width) text.append(width - characters, ' ');
  return text;
}

void PrintChartText(const ChartRecord& chart, std::ostream& out) {
  PrintHeaderText(chart, out);
  out << Padded("Объект", kNameColumn) << Padded("Знак", kSignColumn)
      << Padded("Положение", kPositionColumn) << Padded("Скорость", kSpeedColumn) << "Дом  R\n";
  for (int slot = workspace::kFirstSlot; slot <= workspace::kLastSlot; ++slot) {
    const ChartObject& object = chart.objects[slot];
    const bool known = object.HasLongitude();
    const int house = known ? HouseColumn(chart, slot) : 0;
    out << Padded(std::string(workspace::SlotName(slot)), kNameColumn)
        << Padded(known ? std::string(workspace::SignName(object.sign)) : "", kSignColumn)
        << Padded(workspace::DegreesMinutesText(object), kPositionColumn)
        << Padded(workspace::SpeedText(object, slot), kSpeedColumn)
        << Padded(house > 0 ? std::to_string(house) : "", 5) << (object.retrograde ? "R" : "") << "\n";
  }
}

std::string CsvField(std::string_view text) { return platform::CsvField(text); }

void PrintChartCsv(const ChartRecord& chart, std::ostream& out) {
  // The header line is a record of one field, so a name with a comma or a line break
  // stays inside it.
  out << CsvField("# name=" + chart.name + ";title=" + chart.title + ";local=" + MomentText(chart.local) +
                  ";gmt=" + MomentText(chart.greenwich) + ";offset=" + Printf("%g", chart.gmtOffsetHours) +
                  ";lat=" + Printf("%.6f", chart.latitudeDeg) + ";lon=" + Printf("%.6f", chart.longitudeDeg) +
                  ";house=" + std::to_string(chart.houseSystem))
      << "\n"
      << "slot,name,longitude,speed,retrograde,sign,house\n";
  for (int slot = workspace::kFirstSlot; slot <= workspace::kLastSlot; ++slot) {
    const ChartObject& object = chart.objects[slot];
    const bool known = object.HasLongitude();
    const int house = known ? HouseColumn(chart, slot) : 0;
    out << slot << ',' << CsvField(workspace::SlotName(slot)) << ',' << Printf("%.8f", object.longitude) << ','
        << Printf("%.8f", object.speed) << ',' << object.retrograde << ','
        << (known ? CsvField(workspace::SignName(object.sign)) : "") << ','
        << (house > 0 ? std::to_string(house) : "") << "\n";
  }
}

}  // namespace kelvara::app
