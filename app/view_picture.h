// The pictures of the main view, one per display mode. Each draws the session's charts
// on a canvas (the window, a picture file or the tests' recording canvas) and may take
// taps.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/view_metrics.h"
#include "display/chart_view_stylus.h"
#include "platform/canvas.h"
#include "platform/clock.h"

namespace kelvara::app {

class ViewPicture {
 public:
  virtual ~ViewPicture() = default;
  // Pictures keep their glyphs' places in the charts, so drawing may write to them.
  virtual void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) = 0;
  // A tap on the picture; true when the picture took it and wants a redraw.
  virtual bool Tap(platform::Point, const ViewMetrics&, Session&) { return false; }
  // What the stylus drags and taps on this picture; none for a picture without glyphs.
  virtual display::StylusTarget* Stylus() { return nullptr; }
  // The last draw showed a running clock, which then wants a redraw every second.
  virtual bool ClockShown() const { return false; }
  // What the last draw has to tell the user, once; empty when nothing.
  virtual std::string TakeMessage() { return {}; }
};

struct ViewPictures {
  std::unique_ptr<ViewPicture> wheel;
  std::unique_ptr<ViewPicture> eventMap;
  std::unique_ptr<ViewPicture> chains;
};

class StepController;

// The wheel, the event map and the chains. The clock, the step controller and the zones
// may be null.
ViewPictures DefaultPictures(const platform::Clock* clock, const StepController* steps,
                             const workspace::ChartEngine& engine, const workspace::TimeZoneSource* zones);
ViewPicture& PictureOfMode(ViewPictures& pictures, DisplayMode mode);

// The display mode's picture over the wallpaper where one is shown; a window that
// repaints often keeps the wallpaper's bitmap in `kept`.
void DrawViewPicture(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session, ViewPictures& pictures,
                     WallpaperBitmap* kept = nullptr);

}  // namespace kelvara::app
