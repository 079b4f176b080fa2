// Charts for the chains picture's golden images and benchmarks, made by hand so that no
// engine is needed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "interpretation/dispositor_chains.h"
#include "workspace/chart_record.h"

namespace kelvara::interpretation::testing {

namespace ws = workspace;

// The default object colours of the program's object settings (app/object_settings.cpp),
// 0x00BBGGRR, objects 1-16.
inline constexpr std::array<std::uint32_t, kLastChainObject + 1> kDefaultColours = {
    0,         0x00005AC8, 0x006E503C, 0x00287800, 0x006E7800, 0x000000C8, 0x00A00000, 0x00143C64, 0x0064288C,
    0x00AA006E, 0x008C003C, 0x005A005A, 0x008C4682, 0x00505050, 0x00505050, 0x008C645A, 0x00282828};

struct FixedObject {
  double longitude;
  bool retrograde;
  bool visible;
};

inline ws::ObjectTable FixedChart(const std::array<FixedObject, kLastChainObject + 1>& fixed) {
  ws::ObjectTable objects{};
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    objects[object].SetLongitude(fixed[object].longitude);
    objects[object].retrograde = fixed[object].retrograde ? 1 : 0;
    objects[object].speed = fixed[object].retrograde ? -0.05 : 0.5;
    objects[object].visible = fixed[object].visible ? 1 : 0;
    objects[object].display.colourRgb = kDefaultColours[object];
    objects[object].display.name = std::string(ws::SlotName(object));
  }
  return objects;
}

// A spring chart in the Western tradition (Хирон, Прозерпина, Н.Узел, Селена and Лилит
// left out). Rulership: Mars in Taurus and Venus in Aries receive each other, the Moon
// in Cancer and Jupiter in Sagittarius stand in their own signs; Uranus, Neptune and
// Pluto retrograde across the Sun.
inline ws::ObjectTable WesternSpringChart() {
  return FixedChart({{{0, false, false},
                      {15.2, false, true},    // Солнце, Aries
                      {100.7, false, true},   // Луна, Cancer
                      {5.4, false, true},     // Меркурий, Aries
                      {27.9, false, true},    // Венера, Aries
                      {40.3, false, true},    // Марс, Taurus
                      {250.4, false, true},   // Юпитер, Sagittarius
                      {300.1, false, true},   // Сатурн, Aquarius
                      {12.0, false, false},   // Хирон
                      {218.0, true, true},    // Уран, Scorpio
                      {265.0, true, true},    // Нептун, Sagittarius
                      {203.0, true, true},    // Плутон, Libra
                      {160.0, false, false},  // Прозерпина
                      {75.0, true, true},     // В.Узел, Gemini
                      {255.0, true, false},   // Н.Узел
                      {31.0, false, false},   // Селена
                      {140.0, false, false}}});  // Лилит
}

// A summer chart with all sixteen objects, for the Avestan tradition. Exaltation: the
// Moon, Venus, Jupiter, Прозерпина and Uranus close a cycle of five; Mercury in Virgo
// stands in its own sign; clusters in Aries, Taurus, Libra and Pisces.
inline ws::ObjectTable AvestanSummerChart() {
  return FixedChart({{{0, false, false},
                      {128.0, false, true},   // Солнце, Leo
                      {340.0, false, true},   // Луна, Pisces
                      {152.0, false, true},   // Меркурий, Virgo
                      {100.0, false, true},   // Венера, Cancer
                      {45.0, false, true},    // Марс, Taurus
                      {62.0, false, true},    // Юпитер, Gemini
                      {335.0, true, true},    // Сатурн, Pisces
                      {20.0, true, true},     // Хирон, Aries
                      {50.0, false, true},    // Уран, Taurus
                      {357.0, true, true},    // Нептун, Pisces
                      {299.0, true, true},    // Плутон, Capricorn
                      {230.0, false, true},   // Прозерпина, Scorpio
                      {15.0, true, true},     // В.Узел, Aries
                      {195.0, true, true},    // Н.Узел, Libra
                      {200.0, false, true},   // Селена, Libra
                      {160.0, false, true}}});  // Лилит, Virgo
}

// All sixteen within a few degrees of 200°: the spreading runs out its passes.
inline ws::ObjectTable Stellium() {
  ws::ObjectTable objects = AvestanSummerChart();
  for (int object = kFirstChainObject; object <= kLastChainObject; ++object) {
    objects[object].SetLongitude(200.0 + 0.25 * object);
  }
  return objects;
}

}  // namespace kelvara::interpretation::testing
