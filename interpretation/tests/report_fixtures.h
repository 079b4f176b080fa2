// A small set of report files written into a scratch folder, and charts made by hand,
// for the report's tests and its benchmark.
#pragma once

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "interpretation/report.h"
#include "platform/codepage.h"
#include "workspace/aspect_tables.h"
#include "workspace/chart_record.h"

namespace kelvara::interpretation::testing {

namespace ws = workspace;

inline void WriteLibraryFile(const std::filesystem::path& folder, std::string_view name, std::string_view utf8) {
  std::ofstream(folder / name, std::ios::binary) << platform::Utf8ToCp1251(utf8);
}

inline constexpr std::string_view kAspectKinds[] = {"Соединение.", "Секстиль.", "Квадратура.", "Тригон.",
                                                    "Оппозиция."};

// Every object 1-16 in every sign in SHORT.txt; Pl_Zz.txt has all but Хирон, with the
// В.Узел under its "(Раху) " key. ASP.txt paragraphs show their number, kind and pair.
inline void WriteReportLibrary(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::string shortTexts = "Краткие характеристики\r\n";
  std::string paragraphs = "Черты\r\n";
  for (int slot = ws::kFirstSlot; slot <= ws::kSlotLilith; ++slot) {
    for (int sign = 1; sign <= 12; ++sign) {
      const std::string name(ws::SlotName(slot));
      const std::string where(SignPrepositional(sign));
      shortTexts += "#\r\n" + name + " " + where + ": кратко\r\n";
      if (slot == ws::kSlotChiron) continue;
      const std::string rahu = slot == ws::kSlotNorthNode ? "(Раху) " : "";
      paragraphs += "#\r\n" + name + " " + rahu + where + " абзац\r\n";
    }
  }
  paragraphs += "#\r\nСелена и Лилит вместе\r\n#\r\n";
  std::string aspects = "Аспекты\r\n";
  for (int number = 1; number <= 3; ++number) {
    for (std::string_view kind : kAspectKinds) {
      const std::string heading = std::to_string(number) + ". " + std::string(kind);
      aspects += "#" + heading + "\r\n<" + heading + " [pl1|pl2]>\r\n";
    }
  }
  WriteLibraryFile(folder, "cup.txt", "[TITLE]");
  WriteLibraryFile(folder, "REFREN.txt", "~");
  WriteLibraryFile(folder, "midl1.txt", "[MIDL1]");
  WriteLibraryFile(folder, "SHORT.txt", shortTexts + "#");
  WriteLibraryFile(folder, "midl12.txt", "[MIDL12]");
  WriteLibraryFile(folder, "PL_ZZ.TXT", paragraphs);
  WriteLibraryFile(folder, "midl2.txt", "[MIDL2]");
  WriteLibraryFile(folder, "ASP.txt", aspects + "#");
  WriteLibraryFile(folder, "end.TXT", "[END]");
}

// Objects 1-16 all visible, `step` degrees apart from 0° Aries, moving forward.
inline ws::ChartRecord SpreadChart(double stepDeg) {
  ws::ChartRecord chart;
  for (int slot = ws::kFirstSlot; slot <= ws::kSlotLilith; ++slot) {
    chart.objects[slot].SetLongitude(std::fmod(slot * stepDeg, ws::kFullCircle));
    chart.objects[slot].speed = 0.1 * slot;
  }
  chart.objects[ws::kSlotSouthNode].SetLongitude(
      std::fmod(chart.objects[ws::kSlotNorthNode].longitude + 180.0, ws::kFullCircle));
  return chart;
}

}  // namespace kelvara::interpretation::testing
