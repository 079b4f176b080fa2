// The calendars' own texts, all in one place (UTF-8; files convert them to Windows-1251).
#pragma once

#include <string_view>

namespace kelvara::calendars::texts {

// Dialog.
inline constexpr std::string_view kLunarDialogTitle = "Расчет лунного календаря";
inline constexpr std::string_view kHoursDialogTitle = "Расчет планетарных часов";
inline constexpr std::string_view kAspectDialogTitle = "Расчет календаря аспектов";
inline constexpr std::string_view kRangeGroup = "во временном диапазоне";
inline constexpr std::string_view kFromLabel = "от";
inline constexpr std::string_view kToLabel = "до";
inline constexpr std::string_view kPlaceGroup = "для географического места";
inline constexpr std::string_view kChoicesGroup = "В расчетах учитывать:";
inline constexpr std::string_view kNewMoonsChoice = "новолуния";
inline constexpr std::string_view kFirstQuartersChoice = "1-е четверти";
inline constexpr std::string_view kFullMoonsChoice = "полнолуния";
inline constexpr std::string_view kLastQuartersChoice = "3-и четверти";
inline constexpr std::string_view kLunarDaysChoice = "лунные дни";
inline constexpr std::string_view kNorth = "С.Ш.";
inline constexpr std::string_view kSouth = "Ю.Ш.";
inline constexpr std::string_view kEast = "В.Д. ";
inline constexpr std::string_view kWest = "З.Д.";
inline constexpr std::string_view kBadRange = "Неверно задан временной диапазон.";
inline constexpr std::string_view kRecalculate = "Пересчитать";

// Progress, in the window's progress area.
inline constexpr const char* kLunarProgress = "ЛунКа=%02d%%";
inline constexpr const char* kHoursProgress = "ПлаЧа=%02d%%";
inline constexpr const char* kAspectProgress = "КалАсп=%02d%%";

// End messages and refusals.
inline constexpr std::string_view kLunarDone = "Расчет лунного календаря закончен";
inline constexpr std::string_view kLunarNothing =
    "Ничего не найдено для лунного календаря в заданном диапазоне дат!";
inline constexpr std::string_view kHoursDone = "Расчет планетарных часов закончен";
inline constexpr std::string_view kAspectDone = "Расчет календаря аспектов закончен";
inline constexpr std::string_view kAspectNothing =
    "Ничего не найдено для календаря аспектов в заданном диапазоне дат!";
inline constexpr std::string_view kStopNowChart = "Прежде остановите карту двойным кликом по экрану.";
// Above the polar circle the Moon or the Sun may stay up or down for days, so a
// day-by-day count of risings means nothing there.
inline constexpr std::string_view kPolarLunarDays =
    "Лунные дни не рассчитываются за полярным кругом (широта выше 66°33'): "
    "Луна там может не восходить сутками. Фазы Луны рассчитаны.";
inline constexpr std::string_view kPolarHours =
    "Планетарные часы не рассчитываются за полярным кругом (широта выше 66°33'): "
    "Солнце там может не восходить или не заходить сутками.";

// Result header.
inline constexpr std::string_view kLocalTime = "Время местное";
inline constexpr std::string_view kGreenwichTime = "Время по Гринвичу";
inline constexpr std::string_view kPlacePrefix = "Место: ";

// Lunar calendar lines.
inline constexpr std::string_view kNewMoonLabel = "* новолуние";
inline constexpr std::string_view kFirstQuarterLabel = "* 1-я четверть";
inline constexpr std::string_view kFullMoonLabel = "* полнолуние";
inline constexpr std::string_view kLastQuarterLabel = "* 3-я четверть";
inline constexpr std::string_view kNewMoonMark = "новолуние";
inline constexpr const char* kLunarDayLabel = "%02d-й день луны";
inline constexpr std::string_view kFirstLunarDayMark = "01-й";

// Planetary hours.
inline constexpr std::string_view kWeekdays[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
inline constexpr std::string_view kSunriseMarkOpen = " (";
inline constexpr std::string_view kSunriseMarkClose = "., восход Солнца)";
inline constexpr std::string_view kSunsetMark = " (заход Солнца)";

// Files.
inline constexpr std::string_view kHoursFileTitle = "Планетарные часы";
inline constexpr std::string_view kLunarFileTitle = "Лунный календарь";
inline constexpr std::string_view kVoidFileTitle = "Луна без курса";
inline constexpr std::string_view kAspectFileTitle = "Календарь аспектов";
inline constexpr std::string_view kHoursFilter = "Планетарные часы (*.PLH)|*.plh||";
inline constexpr std::string_view kLunarFilter = "Лунный календарь (*.MOO)|*.moo||";
inline constexpr std::string_view kVoidFilter = "Луна без курса (*.LUC)|*.luc||";
inline constexpr std::string_view kAspectFilter = "Календарь аспектов (*.DAS)|*.das||";
inline constexpr std::string_view kBadFile = "Неверная структура файла!";
inline constexpr std::string_view kCannotOpen = "Не удается открыть файл ";
inline constexpr std::string_view kCannotWrite = "Не удается записать файл ";
inline constexpr std::string_view kVoidStarts = "без курса";
inline constexpr std::string_view kInCourse = "в курсе";
inline constexpr std::string_view kOutOfRange = "вне диапазона";

}  // namespace kelvara::calendars::texts
