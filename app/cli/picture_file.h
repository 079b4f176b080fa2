// The picture files the drawing commands write (render, chains): the format and side the
// options ask for, and the drawing exported headless through the Qt canvas.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/chart_request.h"
#include "platform/canvas.h"

namespace kelvara::cli {

enum class PictureFormat { kPng, kSvg, kPdf };

struct PictureFile {
  std::string path;
  PictureFormat format = PictureFormat::kPng;
  int side = 0;  // of the square, pixels
};

// The format asked for, else the one the file's extension names, else PNG; the side
// within 100-8000 pixels, `defaultSide` when none is asked for.
Result<PictureFile> PictureFileOf(const std::string& path, const std::optional<std::string>& format,
                                  const std::optional<std::string>& side, int defaultSide);

// The offscreen application the canvas needs and the program's fonts from data/fonts;
// a missing glyph font is warned of after the command's prefix.
void PrepareHeadlessDrawing(const std::filesystem::path& dataDir, std::string_view command, std::ostream& err);

using PictureDrawing = std::function<void(platform::Canvas&)>;

// Written whole or not at all; false when the file could not be written.
bool ExportPicture(const PictureFile& picture, const PictureDrawing& draw, const std::string& title);

}  // namespace kelvara::cli
