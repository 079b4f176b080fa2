#include "app/view_picture.h"

#include "app/chains_picture.h"
#include "app/event_map_picture.h"
#include "app/wheel_picture.h"

namespace kelvara::app {

ViewPictures DefaultPictures(const platform::Clock* clock, const StepController* steps,
                             const workspace::ChartEngine& engine, const workspace::TimeZoneSource* zones) {
  ViewPictures pictures;
  pictures.wheel = std::make_unique<WheelPicture>(clock, steps);
  pictures.eventMap = std::make_unique<EventMapPicture>(engine, zones, clock);
  pictures.chains = std::make_unique<ChainsPicture>();
  return pictures;
}

ViewPicture& PictureOfMode(ViewPictures& pictures, DisplayMode mode) {
  switch (mode) {
    case DisplayMode::kEventMap: return *pictures.eventMap;
    case DisplayMode::kChains: return *pictures.chains;
    case DisplayMode::kWheel: break;
  }
  return *pictures.wheel;
}

void DrawViewPicture(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session, ViewPictures& pictures,
                     WallpaperBitmap* kept) {
  ViewMetrics shown = metrics;
  if (WallpaperDrawn(session)) {
    if (kept) {
      DrawWallpaper(canvas, metrics.rect, *session.wallpaper, *kept);
    } else {
      DrawWallpaper(canvas, metrics.rect, *session.wallpaper);
    }
    shown.wallpaperUnder = true;
  }
  PictureOfMode(pictures, session.displayMode).Draw(canvas, shown, session);
}

}  // namespace kelvara::app
