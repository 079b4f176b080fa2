// Midpoint and composite charts of two persons: both replace the main chart while they
// are shown, switch the second chart off, and can be left again with both charts
// restored exactly.
#pragma once

#include <string>

#include "workspace/birth_data.h"
#include "workspace/chart_compute.h"
#include "workspace/coordinate_fields.h"
#include "workspace/workspace_state.h"

namespace kelvara::workspace {

// The composite options (dialog 141), kept while the dialog is open.
enum class CompositeHouses { kAverage, kForPlace };  // "Среднее положение Домов" / "Дома на определенное Место"
enum class ChartAngle { kAscendant, kMidheaven };    // "ASC" / "MC"

struct CompositeOptions {
  CompositeHouses houses = CompositeHouses::kAverage;
  std::string placeName;
  AngleFields latitude;
  AngleFields longitude;
  ChartAngle fitAngle = ChartAngle::kAscendant;   // "К среднему"
  bool fixCuspOrder = false;                      // "Править порядок Домов"
  ChartAngle orderFrom = ChartAngle::kMidheaven;  // "от MC" / "от ASC"
  bool mercuryBySun = false;                      // "Мер. у Сол."
  bool venusBySun = false;                        // "Вен. у Сол."
};

// The options dialog's OK: the place fields are checked like the birth-data dialog's
// coordinates when the houses are cast for a place.
BirthDataCheck CheckCompositeOptions(const CompositeOptions& options);

// "Ср.карта (А + Б)" and "Комп.карта (А + Б)".
std::string MidpointName(const std::string& first, const std::string& second);
std::string CompositeName(const std::string& first, const std::string& second);

// The midpoint of two longitudes the short way round (350 and 10 give 0, not 180), with
// the mean speed; a point missing in either chart stays missing.
ChartObject CompositePoint(const ChartObject& first, const ChartObject& second);

// Of a point and its opposite, the one nearer the Sun.
double NearerTheSun(double longitudeDeg, double sunDeg);

// Puts the twelve cusps back into zodiacal order from the chosen angle: the cusps are
// sorted by their distance along the zodiac from that angle and handed out in house
// order from it (from the Midheaven: houses 10, 11, 12, 1 ... 9; from the Ascendant:
// 1 ... 12). The angle keeps its place; the set of cusp longitudes does not change.
void RestoreCuspOrder(ChartAngle from, ObjectTable& objects);

// Builds the midpoint chart into the main chart and computes it.
ComputeResult BuildMidpointChart(WorkspaceState& state, const ComputeContext& context);
// Builds the composite chart into the main chart (after the options dialog's OK).
ComputeResult BuildCompositeChart(WorkspaceState& state, const CompositeOptions& options,
                                  const ChartEngine& engine);
// Puts both saved charts back as they were when the merged chart replaced them, without
// computing them; false when no charts were saved.
bool RestoreSavedCharts(WorkspaceState& state);
// Puts both saved charts back and computes them.
void LeaveMergedChart(WorkspaceState& state, const ComputeContext& context);

}  // namespace kelvara::workspace
