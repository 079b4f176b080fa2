// The calendars' own texts, all in one place (UTF-8; files convert them to Windows-1251).
#pragma once

#include <string_view>

namespace kelvara::calendars::texts {

// Dialog.
inline constexpr std::string_view kLunarDialogTitle = "Расчет лунного календаря";
inline constexpr std::string_view kHoursDialogTitle = "Расчет планетарных часов";
inline constexpr std::string_view kAspectDialogTitle = "Расчет календаря аспектов";
inline constexpr std::string_view kVoidDialogTitle = "Расчет Луны без курса";
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
inline constexpr std::string_view kVoidAspectsGroup = "В расчетах учитывать аспекты:";
inline constexpr std::string_view kNorth = "С.Ш.";
inline constexpr std::string_view kSouth = "Ю.Ш.";
inline constexpr std::string_view kEast = "В.Д. ";
inline constexpr std::string_view kWest = "З.Д.";
inline constexpr std::string_view kBadRange = "Неверно задан временной диапазон.";
inline constexpr std::string_view kRecalculate = "Пересчитать";
inline constexpr std::string_view kCancelCaption = "Отмена";
inline constexpr std::string_view kOpenFileTip = "Загрузить из файла...";

// Result window.
inline constexpr std::string_view kSaveCaption = "Сохранить";
inline constexpr std::string_view kOpenCaption = "Открыть";
inline constexpr std::string_view kSaveIcsCaption = "Сохранить как календарь (.ics)…";
inline constexpr std::string_view kIcsFilter = "Календарь (*.ICS)|*.ics||";
inline constexpr std::string_view kCloseCaption = "Закрыть";
inline constexpr std::string_view kStopCaption = "Остановить расчет";

// Progress, in the window's progress area.
inline constexpr const char* kLunarProgress = "ЛунКа=%02d%%";
inline constexpr const char* kHoursProgress = "ПлаЧа=%02d%%";
inline constexpr const char* kAspectProgress = "КалАсп=%02d%%";
inline constexpr const char* kVoidProgress = "КурЛу=%02d%%";

// End messages and refusals.
inline constexpr std::string_view kLunarDone = "Расчет лунного календаря закончен";
inline constexpr std::string_view kLunarNothing =
    "Ничего не найдено для лунного календаря в заданном диапазоне дат!";
inline constexpr std::string_view kHoursDone = "Расчет планетарных часов закончен";
inline constexpr std::string_view kAspectDone = "Расчет календаря аспектов закончен";
inline constexpr std::string_view kAspectNothing =
    "Ничего не найдено для календаря аспектов в заданном диапазоне дат!";
inline constexpr std::string_view kVoidDone = "Расчет Луны без курса закончен";
inline constexpr std::string_view kVoidNothing =
    "Ничего не найдено для Луны без курса в заданном диапазоне дат!";
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
inline constexpr std::string_view kVoidFileColumns = "| Событие                  |      Время       |           |";
inline constexpr std::string_view kAspectFileColumns =
    "| Пл2                 | аспект |                 Пл1 |    кульминация   |      начало      |     окончание    |";
inline constexpr std::string_view kMovingCodeMark = "Пл2";
inline constexpr std::string_view kBaseCodeMark = "Пл1";

// Void-of-course Moon and aspect calendar results.
inline constexpr const char* kDateRangeFormat = "c %02d.%02d.%04d по %02d.%02d.%04d";
inline constexpr std::string_view kVoidLocalTime = "|ме.время: ";
inline constexpr std::string_view kWithoutHouses = "без учета Домов";
inline constexpr std::string_view kBackgroundCode = "Tr|Tr|Транзитный фон";
inline constexpr std::string_view kNatalCodePart = "|Nt|";
inline constexpr std::string_view kTransitShortCode = "Tr";
inline constexpr std::string_view kDirectionShortCode = "Dr";
inline constexpr std::string_view kProgressionShortCode = "Pr";
// Our own: the scan met a moment its chart cannot be cast for (an offset beyond 13 hours,
// a range past 2130).
inline constexpr std::string_view kScanRefused =
    "Карта не рассчитывается в заданном диапазоне дат: проверьте данные карты.";

// Result view.
inline constexpr std::string_view kAspectColumn = "Асп";
inline constexpr std::string_view kCulminationColumn = "кульминация";
inline constexpr std::string_view kStartColumn = "начало";
inline constexpr std::string_view kEndColumn = "окончание";
inline constexpr std::string_view kTimeColumn = "Время";
inline constexpr std::string_view kMovingChartCode = "П2";  // without a header
inline constexpr std::string_view kBaseChartCode = "П1";
inline constexpr std::string_view kLunarDayRowMark = "-й ";
inline constexpr std::string_view kIngressAngle = "->";
inline constexpr std::string_view kDegreeSign = "°";
inline constexpr std::string_view kVoidHeaderBar = " - ";

}  // namespace kelvara::calendars::texts
