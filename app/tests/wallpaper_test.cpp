#include "app/wallpaper.h"

#include <gtest/gtest.h>

#include "platform/recording_canvas.h"

namespace kelvara::app {
namespace {

// Counts the bitmaps made from decoded pixels.
class CountingCanvas : public platform::RecordingCanvas {
 public:
  std::unique_ptr<platform::Bitmap> CreateBitmapFrom(const platform::BmpImage& image) override {
    ++made;
    return RecordingCanvas::CreateBitmapFrom(image);
  }
  int made = 0;
};
class OtherCanvas : public CountingCanvas {};

Wallpaper Plain(int width, int height) {
  return {"plain.bmp", {width, height, std::vector<std::uint32_t>(std::size_t(width) * height, 0xFF0000FFu)}};
}

TEST(WallpaperBitmap, MadeOncePerWallpaperAndKindOfCanvas) {
  const platform::Rect area{0, 0, 300, 200};
  Wallpaper wallpaper = Plain(40, 10);
  WallpaperBitmap kept;
  CountingCanvas canvas;
  for (int paint = 0; paint < 3; ++paint) DrawWallpaper(canvas, area, wallpaper, kept);
  EXPECT_EQ(canvas.made, 1);
  EXPECT_EQ(canvas.CallsOf(platform::CanvasCall::Kind::StretchCopy).size(), 3u);

  CountingCanvas nextPaint;
  DrawWallpaper(nextPaint, area, wallpaper, kept);
  EXPECT_EQ(nextPaint.made, 0) << "a new canvas of the same kind takes the kept bitmap";
  OtherCanvas other;
  DrawWallpaper(other, area, wallpaper, kept);
  EXPECT_EQ(other.made, 1);

  wallpaper = Plain(40, 10);  // read again: the same size, maybe other pixels
  DrawWallpaper(other, area, wallpaper, kept);
  EXPECT_EQ(other.made, 2);
  DrawWallpaper(other, area, wallpaper);
  EXPECT_EQ(other.made, 3) << "a single draw keeps nothing";
}

}  // namespace
}  // namespace kelvara::app
