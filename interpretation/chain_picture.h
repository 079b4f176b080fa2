// The chains picture ("Формула Души"): the objects of one chart on a circle, each with
// an arrow to every object that disposes it. Drawn through the canvas only, so the view,
// the picture files and the tests' recording canvas get the same drawing.
#pragma once

#include <string_view>
#include <vector>

#include "interpretation/chain_layout.h"
#include "interpretation/dispositor_chains.h"
#include "platform/canvas.h"
#include "platform/glyph.h"

namespace kelvara::interpretation {

inline constexpr std::string_view kLayoutFailedText = "*** Ошибка при компановке!";

struct ChainGlyph {
  int object = 0;  // 1-16
  platform::Rect square;
  friend bool operator==(const ChainGlyph&, const ChainGlyph&) = default;
};

struct ChainDrawing {
  platform::Point centre;  // of the drawing rectangle
  int pictureSide = 0;     // P, pixels
  int glyphSide = 0;       // G, pixels
  std::vector<ChainGlyph> glyphs;  // the squares drawn, for the stylus
  // The spreading found no other visible object to place against; the caller shows
  // kLayoutFailedText once, after painting.
  bool layoutFailed = false;
};

// P = 0.8 x the rectangle's smaller side, G = P / 10 x scale. Objects whose angle for the
// kind is not placed start at their longitude, are spread apart as the wheel spreads its
// glyphs, and their angles are stored in the layout. The background is white, left
// unfilled over a wallpaper; with no kind nothing else is drawn.
ChainDrawing DrawChains(platform::Canvas& canvas, const platform::Rect& rect, double scale,
                        const workspace::ObjectTable& objects, const ChartChains& chains, ChainLayout& layout,
                        ChainKind kind, platform::GlyphFitCache* glyphCache = nullptr,
                        bool backgroundFilled = true);

}  // namespace kelvara::interpretation
