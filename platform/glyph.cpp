#include "platform/glyph.h"

#include <algorithm>

namespace kelvara::platform {
namespace {

constexpr int kSignCount = 12;
constexpr int kSlotCount = 35;
constexpr int kGlyphFaceKey = 0;  // the cache keys every face; only the glyph font yet

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

Font GlyphFont(int height) {
  Font font;
  font.face = kGlyphFace;
  font.height = height;
  font.weight = kNormalWeight;
  return font;
}

int FitByLoop(Canvas& canvas, std::string_view text, const Rect& box) {
  int height = box.Height() + 1;
  for (; height > 1; --height) {
    canvas.SetFont(GlyphFont(height));
    if (canvas.TextExtent(text).width < box.Width()) break;
  }
  return height;
}

}  // namespace

int SignGlyphCode(int sign) { return sign >= 1 && sign <= kSignCount ? kSignGlyphCodes[sign - 1] : 0; }

int SlotGlyphCode(int slot) { return slot >= 1 && slot < kSlotCount ? kSlotGlyphCodes[slot] : 0; }

std::string GlyphText(int code) {
  std::string text;
  AppendUtf8(kGlyphMirrorBase + static_cast<char32_t>(code), text);
  return text;
}

const int* GlyphFitCache::Find(const std::string& text, int face, Size box) const {
  const auto found = heights_.find({text, face, box.width, box.height});
  return found == heights_.end() ? nullptr : &found->second;
}

void GlyphFitCache::Store(const std::string& text, int face, Size box, int height) {
  heights_[{text, face, box.width, box.height}] = height;
}

int FittedGlyphHeight(Canvas& canvas, std::string_view text, const Rect& box, GlyphFitCache* cache) {
  const Size size{box.Width(), box.Height()};
  const std::string key(text);
  if (cache) {
    if (const int* height = cache->Find(key, kGlyphFaceKey, size)) return *height;
  }
  const int height = FitByLoop(canvas, text, box);
  if (cache) cache->Store(key, kGlyphFaceKey, size, height);
  return height;
}

void DrawGlyph(Canvas& canvas, const GlyphRecord& glyph, const Rect& box, GlyphFitCache* cache) {
  if (box.IsEmpty()) return;
  if (glyph.bitmap) {
    const Size size = glyph.bitmap->PixelSize();
    canvas.StretchCopy(box, *glyph.bitmap, {0, 0, size.width, size.height});
    return;
  }
  if (glyph.code <= 0) return;
  const std::string text = GlyphText(glyph.code);
  const int height = FittedGlyphHeight(canvas, text, box, cache);
  canvas.SetFont(GlyphFont(height));
  const Point centre = box.Center();
  canvas.DrawText({centre.x, centre.y + height / 2}, text, {HorizontalAlign::Center, VerticalAlign::Bottom});
}

Font GlyphLabelFont(int glyphSide) {
  Font font;
  font.face = kGlyphLabelFace;
  font.height = std::max(1, glyphSide / 2);
  font.width = std::max(1, glyphSide / 5);
  return font;
}

void DrawRetrogradeMark(Canvas& canvas, const Rect& square, int glyphSide) {
  canvas.SetFont(GlyphLabelFont(glyphSide));
  canvas.DrawText({square.right, square.bottom}, "R", {HorizontalAlign::Left, VerticalAlign::Bottom});
}

}  // namespace kelvara::platform
