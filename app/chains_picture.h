// The chains picture in the main view: builds the chains of the chart shown from the
// session's tables and kind at every draw, so each computation and each change of kind
// or tables shows at once, and lets the user arrange the glyphs by hand.
#pragma once

#include <string>

#include "app/view_picture.h"
#include "interpretation/chain_picture.h"

namespace kelvara::app {

// The view's rectangle is in logical pixels and P already grows with it.
inline constexpr double kChainsGlyphScale = 1.0;

inline constexpr std::string_view kDispositorsCaption = "Диспозиторы: ";

class ChainsPicture : public ViewPicture, public display::StylusTarget {
 public:
  void Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) override;
  display::StylusTarget* Stylus() override { return this; }
  std::string TakeMessage() override;

  std::optional<display::GlyphUnder> GlyphAt(platform::Point point) const override;
  int DragSquareSide() const override { return drawing_.glyphSide; }
  void DragStarted(const display::GlyphUnder& glyph) override;
  bool Drop(const display::GlyphUnder& glyph, platform::Point point) override;
  std::vector<std::string> InformationLines(const display::GlyphUnder& glyph) const override;
  bool SwipeLeftAllowed() const override { return false; }

  const interpretation::ChartChains& Chains() const { return chains_; }
  const interpretation::ChainDrawing& Drawing() const { return drawing_; }

 private:
  Session* session_ = nullptr;  // of the last draw
  int chart_ = 1;
  platform::Rect view_;
  interpretation::ChartChains chains_;
  interpretation::ChainDrawing drawing_;
  platform::GlyphFitCache glyphCache_;
  std::string message_;
};

}  // namespace kelvara::app
