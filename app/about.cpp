#include "app/about.h"

namespace kelvara::app {
namespace {

constexpr std::string_view kProgramName = "Кельвара";

// The licences of what the data folder and the program carry; data/README.md and
// data/fonts/README.md say the same at length.
constexpr std::string_view kAttributions =
    "Астрологическая программа: карты, карта событий, планетарные цепочки.\n"
    "\n"
    "Данные и теории:\n"
    "• Населённые пункты: © GeoNames (https://www.geonames.org/), лицензия Creative Commons "
    "Attribution 4.0 (CC BY 4.0, https://creativecommons.org/licenses/by/4.0/); данные отобраны "
    "и изменены.\n"
    "• Русские названия городов часовых поясов: Unicode CLDR, лицензия Unicode License v3.\n"
    "• История поясного и летнего времени: база часовых поясов IANA (tz).\n"
    "• Юпитер – Нептун: теория VSOP87 (P. Bretagnon, G. Francou, 1988).\n"
    "• Плутон, Хирон, Церера, Паллада, Юнона, Веста: численное интегрирование от начальных "
    "условий JPL (NASA) и Центра малых планет (MPC).\n"
    "• Модель элементов: J. Meeus, Astronomical Algorithms.\n"
    "\n"
    "Библиотеки и шрифты:\n"
    "• Qt 6 © The Qt Company, лицензия GNU LGPL v3.\n"
    "• SQLite: общественное достояние (public domain).\n"
    "• Шрифт знаков Kelvara: на основе DejaVu Sans, лицензия Bitstream Vera Fonts.";

}  // namespace

std::string_view ProgramVersion() { return KELVARA_VERSION; }

std::string ProgramTitle() { return std::string(kProgramName) + " " + std::string(ProgramVersion()); }

std::string AboutText() { return ProgramTitle() + "\n" + std::string(kAttributions); }

}  // namespace kelvara::app
