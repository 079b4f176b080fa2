#include "app/wheel_picture.h"

#include "app/command_menu.h"
#include "app/wheel_input.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;

int PressedOf(const StepController* steps, int chart) {
  if (!steps) return 0;
  const auto pressed = steps->Pressed();
  if (!pressed || pressed->chart != chart) return 0;
  if (pressed->zone == StepZone::kBackward) return -1;
  return pressed->zone == StepZone::kForward ? 1 : 0;
}

const ws::ChartRecord& InnerChart(const Session& session) {
  const bool alone = SecondChartShown(session) && session.charts.secondAlone;
  return alone ? session.charts.second : session.charts.main;
}

}  // namespace

WheelPicture::WheelPicture(const platform::Clock* clock, const StepController* steps)
    : clock_(clock), steps_(steps) {}

void WheelPicture::Turn(int degrees) { rotationDeg_ = ((rotationDeg_ + degrees) % kFullTurnDeg + kFullTurnDeg) % kFullTurnDeg; }

std::vector<display::StepControls> WheelPicture::StepControlsOf(const Session& session,
                                                                const ViewMetrics& metrics) const {
  std::vector<display::StepControls> controls;
  if (!session.settings.stepShift) return controls;
  for (int chart : {kFirstChart, kSecondChart}) {
    if (chart == kSecondChart && !SecondChartShown(session)) continue;
    const StepZones zones = StepZonesFor(chart, metrics);
    controls.push_back({zones.backward, zones.middle, zones.forward, PressedOf(steps_, chart)});
  }
  return controls;
}

std::optional<display::ClockHands> WheelPicture::ClockOf(const Session& session, const ws::ObjectTable&) const {
  if (!clock_) return std::nullopt;
  const platform::DateTime now = clock_->LocalNow();
  const ws::CalendarMoment today{now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(), now.Second()};
  if (!display::ClockShown(session.settings.clock, InnerChart(session).local, today)) return std::nullopt;
  return display::ClockHands{today.hour, today.minute, today.second};
}

void WheelPicture::Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) {
  display::WheelOptions options = WheelOptionsOf(session.settings, rotationDeg_);
  options.backgroundFilled = !metrics.wallpaperUnder;
  const bool secondShown = SecondChartShown(session);
  display::WheelInput input = WheelInputOf(session.charts, session.aspectTables, options, secondShown);
  input.scale = metrics.scale;
  input.stepControls = StepControlsOf(session, metrics);
  input.clock = ClockOf(session, *input.inner);
  input.glyphCache = &glyphCache_;
  clockShown_ = input.clock.has_value();
  hits_ = display::DrawWheel(canvas, metrics.rect, input);
  display::WheelCharts charts;
  charts.first = &session.charts.main.objects;
  charts.second = secondShown ? &session.charts.second.objects : nullptr;
  charts.secondAlone = secondShown && session.charts.secondAlone;
  target_.emplace(hits_, charts, options);
}

std::optional<display::GlyphUnder> WheelPicture::GlyphAt(platform::Point point) const {
  return target_ ? target_->GlyphAt(point) : std::nullopt;
}

std::optional<int> WheelPicture::HexagramAt(platform::Point point) const {
  return target_ ? target_->HexagramAt(point) : std::nullopt;
}

int WheelPicture::DragSquareSide() const { return hits_.layout.g; }

bool WheelPicture::Drop(const display::GlyphUnder& glyph, platform::Point point) {
  return target_ && target_->Drop(glyph, point);
}

std::vector<std::string> WheelPicture::InformationLines(const display::GlyphUnder& glyph) const {
  return target_ ? target_->InformationLines(glyph) : std::vector<std::string>{};
}

bool WheelPicture::SwipeLeftAllowed() const { return target_ && target_->SwipeLeftAllowed(); }

}  // namespace kelvara::app
