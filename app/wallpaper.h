// The picture the user lays under the view: a BMP file, decoded once when chosen (or at
// start), drawn in place of each picture's background with its proportions kept.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <variant>

#include "platform/bmp.h"
#include "platform/canvas.h"

namespace kelvara::app {

inline constexpr std::string_view kWallpaperUnreadable = "Не удалось прочитать рисунок: ";

// A number of its own for each reading, so that what is made from one can be kept.
std::uint64_t NextWallpaperSerial();

struct Wallpaper {
  std::string file;
  platform::BmpImage image;
  std::uint64_t serial = NextWallpaperSerial();
};

// The wallpaper's bitmap on a kind of canvas, kept between draws: turning the pixels
// into a canvas bitmap is the dearest part of a repaint with wallpaper.
class WallpaperBitmap {
 public:
  // Made again only for another wallpaper or another kind of canvas; null when the
  // canvas cannot make it.
  platform::Bitmap* For(platform::Canvas& canvas, const Wallpaper& wallpaper);

 private:
  std::unique_ptr<platform::Bitmap> bitmap_;
  std::uint64_t serial_ = 0;
  std::optional<std::type_index> canvasKind_;
};

// The wallpaper, or the message that says why the file gives none.
std::variant<Wallpaper, std::string> ReadWallpaper(const std::string& file);

// The centred part of an image of `image` size that covers `area` at one scale.
platform::Rect CoveringSource(platform::Size image, platform::Size area);

// Covers `area` with the wallpaper, through the kept bitmap.
void DrawWallpaper(platform::Canvas& canvas, const platform::Rect& area, const Wallpaper& wallpaper,
                   WallpaperBitmap& kept);
// The same for a single draw (a picture file, a print).
void DrawWallpaper(platform::Canvas& canvas, const platform::Rect& area, const Wallpaper& wallpaper);

}  // namespace kelvara::app
