// The glyphs every picture draws: one character of the glyph font "Kelvara" per sign,
// planet and point, or a bitmap. A glyph is fitted into a square by its character height.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/canvas.h"

namespace kelvara::platform {

inline constexpr const char* kGlyphFace = "Kelvara";
// The font holds every glyph a second time at this base plus its code, and the pictures
// draw through that copy: codes 145-159 are control characters and 173 the soft hyphen,
// which text shaping may drop.
inline constexpr char32_t kGlyphMirrorBase = 0xF000;

inline constexpr int kSignGlyphCodes[12] = {145, 146, 147, 148, 149, 150, 151, 152, 153, 154, 155, 156};
// By object slot 0-34 (slot 0 has none).
inline constexpr int kSlotGlyphCodes[35] = {
    0,   159, 161, 162, 163, 164, 165, 166, 170, 167, 168, 169, 171, 172, 173, 174, 175, 221,
    226, 227, 224, 229, 230, 222, 232, 233, 223, 235, 236, 178, 179, 180, 181, 176, 177};

// 0 outside 1-12 and 1-34.
int SignGlyphCode(int sign);
int SlotGlyphCode(int slot);

// A text glyph (a code of the glyph font) or, when `bitmap` is set, a picture.
struct GlyphRecord {
  int code = 0;
  std::shared_ptr<Bitmap> bitmap;
};

// The UTF-8 text that draws a code of the glyph font (its mirrored character).
std::string GlyphText(int code);

// Character heights found for a text and a box, so that redraws skip the fitting loop.
class GlyphFitCache {
 public:
  // The cached height, or none.
  const int* Find(const std::string& text, int face, Size box) const;
  void Store(const std::string& text, int face, Size box, int height);

 private:
  std::map<std::tuple<std::string, int, int, int>, int> heights_;
};

// The largest character height, from the box's height + 1 down to 1, whose text is
// narrower than the box (1 when none is).
int FittedGlyphHeight(Canvas& canvas, std::string_view text, const Rect& box, GlyphFitCache* cache = nullptr);

// Draws the glyph centred in the box in the current text colour: a bitmap stretched to
// it, a text glyph in the glyph font at its fitted height. An empty box draws nothing.
void DrawGlyph(Canvas& canvas, const GlyphRecord& glyph, const Rect& box, GlyphFitCache* cache = nullptr);

// The small label font written beside a glyph of side `glyphSide` (the "R" of a
// retrograde object, the degrees): character height G/2 and width G/5, at least 1.
inline constexpr const char* kGlyphLabelFace = "DejaVu Sans";
Font GlyphLabelFont(int glyphSide);
// Selects that font and writes "R" at the square's lower right corner, outside it, in
// the current text colour.
void DrawRetrogradeMark(Canvas& canvas, const Rect& square, int glyphSide);

}  // namespace kelvara::platform
