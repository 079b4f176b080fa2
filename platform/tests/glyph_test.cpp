#include "platform/glyph.h"

#include <gtest/gtest.h>

#include "platform/recording_canvas.h"
#include "platform/view_scale.h"

namespace kelvara::platform {
namespace {

// The recording canvas makes every character half as wide as high: a glyph of height h
// is h/2 wide, so a box 20 wide and 30 high fits height 39 (19 < 20) if the box allowed;
// it starts at 31 and takes the first height whose width is below 20.
TEST(Glyph, FittedHeightAnchorAndFont) {
  RecordingCanvas canvas;
  const Rect box{10, 20, 30, 50};
  DrawGlyph(canvas, {SlotGlyphCode(1), nullptr}, box);
  const auto texts = canvas.CallsOf(CanvasCall::Kind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font.face, kGlyphFace);
  EXPECT_EQ(texts[0].font.height, 31);  // 15 wide: narrower than 20 at once
  EXPECT_EQ(texts[0].text, "\xEF\x82\x9F");  // U+F09F, the mirror of 159
  EXPECT_EQ(texts[0].points[0], (Point{20, 35 + 15}));
  EXPECT_EQ(texts[0].align, (TextAlign{HorizontalAlign::Center, VerticalAlign::Bottom}));
  RecordingCanvas narrow;
  EXPECT_EQ(FittedGlyphHeight(narrow, "ab", {0, 0, 10, 40}), 9);  // 2 x 4.5 < 10 at 9
  EXPECT_EQ(FittedGlyphHeight(narrow, "ab", {0, 0, 1, 40}), 1);   // stops at 1
}

TEST(Glyph, EmptyBoxesBitmapsAndTheCache) {
  RecordingCanvas canvas;
  DrawGlyph(canvas, {SlotGlyphCode(2), nullptr}, {5, 5, 5, 20});
  EXPECT_TRUE(canvas.Calls().empty());
  std::shared_ptr<Bitmap> bitmap = canvas.CreateBitmap({8, 6});
  DrawGlyph(canvas, {0, bitmap}, {0, 0, 16, 12});
  const auto copies = canvas.CallsOf(CanvasCall::Kind::StretchCopy);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].sourceRect, (Rect{0, 0, 8, 6}));
  GlyphFitCache cache;
  for (int side = 2; side < 40; side += 3) {
    const Rect box{0, 0, side, side + 5};
    RecordingCanvas a, b;
    EXPECT_EQ(FittedGlyphHeight(a, GlyphText(170), box, &cache), FittedGlyphHeight(b, GlyphText(170), box));
    EXPECT_EQ(FittedGlyphHeight(a, GlyphText(170), box, &cache), FittedGlyphHeight(b, GlyphText(170), box));
  }
}

TEST(Glyph, CodesOfSignsAndSlots) {
  EXPECT_EQ(SignGlyphCode(1), 145);
  EXPECT_EQ(SignGlyphCode(12), 156);
  EXPECT_EQ(SignGlyphCode(13), 0);
  EXPECT_EQ(SlotGlyphCode(8), 170);
  EXPECT_EQ(SlotGlyphCode(17), 221);
  EXPECT_EQ(SlotGlyphCode(26), 223);
  EXPECT_EQ(SlotGlyphCode(34), 177);
  EXPECT_EQ(SlotGlyphCode(35), 0);
}

TEST(ViewScale, FactorsOfTheShortAndTheLongSide) {
  EXPECT_EQ(ViewScaleOf({240, 320}), (ViewScale{1.0, 1, 1.0}));
  EXPECT_EQ(ViewScaleOf({100, 100}), (ViewScale{1.0, 1, 1.0}));
  EXPECT_EQ(ViewScaleOf({960, 720}), (ViewScale{3.0, 3, 3.0}));
}

}  // namespace
}  // namespace kelvara::platform
