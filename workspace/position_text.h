// The texts of an object's place and motion that the chart listing, the information
// window and the position table share.
#pragma once

#include <string>

#include "workspace/chart_record.h"

namespace kelvara::workspace {

// A place within a sign in whole degrees, minutes and seconds.
struct SignArc {
  int degrees = 0;
  int minutes = 0;
  int seconds = 0;
  friend bool operator==(const SignArc&, const SignArc&) = default;
};

// Cut to whole seconds, so a place never reads as a later one.
SignArc TruncatedSignArc(double longitudeDeg);
// Rounded to whole seconds with the carry going into minutes and degrees; the place
// stays in its own sign, so its very end reads 30°00′00″.
SignArc RoundedSignArc(double longitudeDeg);
// "15°23′45″".
std::string SignArcText(const SignArc& arc);

// " 5°07'": degrees and minutes within the sign, cut; "—" without a place.
std::string DegreesMinutesText(const ChartObject& object);
// "15°23′45″ Рак": the place in its sign, seconds cut; "—" without a place.
std::string SignPositionText(const ChartObject& object);
// "+0.9856" degrees a day; empty when unknown or for a cusp.
std::string SpeedText(const ChartObject& object, int slot);

}  // namespace kelvara::workspace
