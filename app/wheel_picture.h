// The wheel in the main view: draws the charts the session shows, keeps what it drew
// for the stylus, turns by the user's hand, and says when its clock needs ticks.
#pragma once

#include <optional>

#include "app/step_shift.h"
#include "app/view_picture.h"
#include "display/wheel_stylus_target.h"
#include "platform/clock.h"

namespace kelvara::app {

inline constexpr int kFullTurnDeg = 360;

class WheelPicture : public ViewPicture, public display::StylusTarget {
 public:
  // Either may be null: no clock, no pressed step zone.
  WheelPicture(const platform::Clock* clock, const StepController* steps);

  void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) override;
  display::StylusTarget* Stylus() override { return this; }

  // The manual turn, whole degrees in [0, 360).
  void Turn(int degrees);
  void ResetTurn() { rotationDeg_ = 0; }
  int TurnDeg() const { return rotationDeg_; }
  // The last draw showed the clock, which then wants a redraw every second.
  bool ClockShown() const override { return clockShown_; }
  const display::WheelHits& Hits() const { return hits_; }

  std::optional<display::GlyphUnder> GlyphAt(platform::Point point) const override;
  std::optional<int> HexagramAt(platform::Point point) const override;
  int DragSquareSide() const override;
  bool Drop(const display::GlyphUnder& glyph, platform::Point point) override;
  std::vector<std::string> InformationLines(const display::GlyphUnder& glyph) const override;
  bool SwipeLeftAllowed() const override;

 private:
  std::vector<display::StepControls> StepControlsOf(const Session& session, const ViewMetrics& metrics) const;
  std::optional<display::ClockHands> ClockOf(const Session& session, const workspace::ObjectTable& inner) const;

  const platform::Clock* clock_;
  const StepController* steps_;
  int rotationDeg_ = 0;
  bool clockShown_ = false;
  display::WheelHits hits_;
  platform::GlyphFitCache glyphCache_;
  std::optional<display::WheelStylusTarget> target_;
};

}  // namespace kelvara::app
