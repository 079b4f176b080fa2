// The horoscope report: the built-in natal section, written by the program itself from
// the fixed report files in the library root and the positions and aspects of a chart.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/aspect_tables.h"
#include "workspace/chart_record.h"

namespace kelvara::interpretation {

inline constexpr std::string_view kTitleFile = "cup.txt";
inline constexpr std::string_view kRefrainFile = "REFREN.txt";
inline constexpr std::string_view kShortIntroFile = "midl1.txt";
inline constexpr std::string_view kShortFile = "SHORT.txt";
inline constexpr std::string_view kAfterShortFile = "midl12.txt";
inline constexpr std::string_view kPlanetInSignFile = "Pl_Zz.txt";
inline constexpr std::string_view kAspectIntroFile = "midl2.txt";
inline constexpr std::string_view kAspectFile = "ASP.txt";
inline constexpr std::string_view kClosingFile = "END.txt";

struct ReportResult {
  // Every piece is written, in order, as Windows-1251 bytes.
  std::vector<std::string> pieces;
  // What the user is shown (UTF-8), one message box each, e.g. "Не найден файл 'cup.txt'".
  std::vector<std::string> messages;

  std::string Text() const;
};

// The report of a chart over the horoscope aspect table (table 1). A missing framing
// file ends the report where it stands; a missing SHORT, Pl_Zz or ASP file leaves out
// the steps that read it; a missing refrain is empty.
ReportResult Report(const workspace::ChartRecord& chart, const workspace::AspectTable& aspects,
                    const std::filesystem::path& libraryRoot);

// "в Овне" ... "в Рыбах" for signs 1-12; empty otherwise.
std::string_view SignPrepositional(int sign);

// The position within the sign as " ... DD.HH град. ", rounded to hundredths and never
// past 29.99.
std::string PositionInSignText(double signDegree);

}  // namespace kelvara::interpretation
