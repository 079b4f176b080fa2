// The pictures of the main view, one per display mode. Each draws the session's charts
// on a canvas (the window, a picture file or the tests' recording canvas) and may take
// taps. Until a picture of its own is made for a mode, a text picture stands in.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/view_metrics.h"
#include "platform/canvas.h"

namespace kelvara::app {

class ViewPicture {
 public:
  virtual ~ViewPicture() = default;
  virtual void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, const Session& session) = 0;
  // A tap on the picture; true when the picture took it and wants a redraw.
  virtual bool Tap(platform::Point, const ViewMetrics&, Session&) { return false; }
};

struct ViewPictures {
  std::unique_ptr<ViewPicture> wheel;
  std::unique_ptr<ViewPicture> eventMap;
  std::unique_ptr<ViewPicture> chains;
};

// The text pictures: the wheel's is the position table of the charts shown; the event
// map's and the chains' say in the program's words that they are not drawn yet.
ViewPictures TextPictures();
ViewPicture& PictureOfMode(ViewPictures& pictures, DisplayMode mode);

// The lines the wheel's text picture shows: the main chart's table and, when the second
// chart takes part, the second chart's.
std::vector<std::string> PositionTableLines(const Session& session);

inline constexpr const char* kTextPictureFace = "DejaVu Sans Mono";

}  // namespace kelvara::app
