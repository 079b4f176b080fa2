// Which aspects the tables give between the objects of one chart or two, whether each
// is applying, and the texts that name them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workspace/aspect_tables.h"
#include "workspace/chart_record.h"

namespace kelvara::workspace {

// The daily motion an inner object counts with when the outer chart moves over it.
inline constexpr double kStandingStillDegPerDay = 1e-19;

struct AspectFinderInput {
  const ObjectTable* inner = nullptr;  // the chart viewed
  const ObjectTable* outer = nullptr;  // the second chart of a double chart; == inner for a single chart
  bool twoCharts = false;
  const AspectTable* table = nullptr;  // table 1 for single charts, table 2 between two charts
  bool applyingShown = true;           // "b_SHOD"
  bool separatingShown = true;         // "b_NSHOD"
  bool innerStandsStill = false;       // see StandsStillForOuter
  int lastSlot = kLastSlot;            // kSlotLilith for a chart without houses
};

struct FoundAspect {
  int aspect = 0;          // index into the table, 0-17
  int innerSlot = 0;       // object A: the lower slot of a single chart's pair, the inner chart's object of a double chart
  int outerSlot = 0;       // object B
  double angleDeg = 0;     // the aspect's exact angle
  double distanceDeg = 0;  // from exactness
  double orbDeg = 0;
  bool applying = false;
};

// In table order, and within an aspect by object A, then B. Objects must be visible,
// take part in aspects and have a longitude.
std::vector<FoundAspect> FindAspects(const AspectFinderInput& input);

// Whether A and B, at distanceDeg from the exact aspect aspectDeg, come closer to it.
// An unknown speed (999) counts as none; where a motion is none the two motions are
// compared as for moving objects.
bool IsApplying(double longitudeADeg, double speedADegPerDay, double longitudeBDeg, double speedBDegPerDay,
                double aspectDeg, double distanceDeg);

// |a - b| brought into 0..180.
double AngularSeparationDeg(double a, double b);

// The angle printed with six decimals, then stripped of trailing zeros and of a
// trailing point: 120 -> "120", 22.5 -> "22.5".
std::string AspectAngleText(double angleDeg);
// "first + angle + second".
std::string AspectDescription(std::string_view firstName, double angleDeg, std::string_view secondName);

// True for an outer chart whose name makes the inner object count as standing still
// (kStandingStillDegPerDay): "Сейчас", "Останов", no name, and the directions,
// profections, progressions and solar-arc charts.
bool StandsStillForOuter(std::string_view outerChartName);

}  // namespace kelvara::workspace
