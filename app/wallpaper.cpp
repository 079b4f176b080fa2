#include "app/wallpaper.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <typeinfo>

namespace kelvara::app {

std::variant<Wallpaper, std::string> ReadWallpaper(const std::string& file) {
  platform::BmpDecoding decoding = platform::ReadBmpFile(file);
  if (!decoding.image) return std::string(kWallpaperUnreadable) + file + ": " + decoding.refusal;
  return Wallpaper{file, std::move(*decoding.image)};
}

// The side that is relatively longer than the area's is cut; products in 64 bits, so
// no size the decoder admits overflows.
platform::Rect CoveringSource(platform::Size image, platform::Size area) {
  if (image.width <= 0 || image.height <= 0 || area.width <= 0 || area.height <= 0) return {};
  const std::int64_t imageWide = std::int64_t(image.width) * area.height;
  const std::int64_t areaWide = std::int64_t(area.width) * image.height;
  if (imageWide > areaWide) {
    const int width = std::max(1, int(areaWide / area.height));
    const int left = (image.width - width) / 2;
    return {left, 0, left + width, image.height};
  }
  const int height = std::max(1, int(imageWide / area.width));
  const int top = (image.height - height) / 2;
  return {0, top, image.width, top + height};
}

std::uint64_t NextWallpaperSerial() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

platform::Bitmap* WallpaperBitmap::For(platform::Canvas& canvas, const Wallpaper& wallpaper) {
  const std::type_index kind(typeid(canvas));
  if (!bitmap_ || serial_ != wallpaper.serial || canvasKind_ != kind) {
    bitmap_ = canvas.CreateBitmapFrom(wallpaper.image);
    serial_ = wallpaper.serial;
    canvasKind_ = kind;
  }
  return bitmap_.get();
}

void DrawWallpaper(platform::Canvas& canvas, const platform::Rect& area, const Wallpaper& wallpaper,
                   WallpaperBitmap& kept) {
  const platform::Size imageSize{wallpaper.image.width, wallpaper.image.height};
  const platform::Rect source = CoveringSource(imageSize, {area.Width(), area.Height()});
  if (source.IsEmpty()) return;
  if (platform::Bitmap* bitmap = kept.For(canvas, wallpaper)) canvas.StretchCopy(area, *bitmap, source);
}

void DrawWallpaper(platform::Canvas& canvas, const platform::Rect& area, const Wallpaper& wallpaper) {
  WallpaperBitmap once;
  DrawWallpaper(canvas, area, wallpaper, once);
}

}  // namespace kelvara::app
