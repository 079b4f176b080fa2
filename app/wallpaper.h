// The picture the user lays under the view: a BMP file, decoded once when chosen (or at
// start), drawn in place of each picture's background with its proportions kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/bmp.h"
#include "platform/canvas.h"

namespace kelvara::app {

inline constexpr std::string_view kWallpaperUnreadable = "Не удалось прочитать рисунок: ";

struct Wallpaper {
  std::string file;
  platform::BmpImage image;
};

// The wallpaper, or the message that says why the file gives none.
std::variant<Wallpaper, std::string> ReadWallpaper(const std::string& file);

// The centred part of an image of `image` size that covers `area` at one scale.
platform::Rect CoveringSource(platform::Size image, platform::Size area);

// Covers `area` with the wallpaper.
void DrawWallpaper(platform::Canvas& canvas, const platform::Rect& area, const Wallpaper& wallpaper);

}  // namespace kelvara::app
