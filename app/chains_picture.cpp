#include "app/chains_picture.h"

#include <algorithm>
#include <utility>

#include "display/wheel_stylus_target.h"
#include "workspace/driver_points.h"

namespace kelvara::app {
namespace {

namespace ws = workspace;
namespace in = interpretation;


// A drop beyond the view lands on its edge.
platform::Point KeptInView(platform::Point point, const platform::Rect& view) {
  return {std::clamp(point.x, view.left, std::max(view.left, view.right - 1)),
          std::clamp(point.y, view.top, std::max(view.top, view.bottom - 1))};
}

std::string ObjectNames(const ws::ObjectTable& objects, const std::vector<int>& numbers) {
  std::string names;
  for (int number : numbers) {
    if (!names.empty()) names += ", ";
    names += ws::ObjectDisplayName(objects, number);
  }
  return names;
}

}  // namespace

void ChainsPicture::Draw(platform::Canvas& canvas, const ViewMetrics& metrics, Session& session) {
  session_ = &session;
  chart_ = &ChainsChart(session) == &session.charts.second ? 2 : 1;
  view_ = metrics.rect;
  const ws::ObjectTable& objects = ChainsChart(session).objects;
  chains_ = in::BuildChains(objects, session.dignityTables, session.chainKind);
  drawing_ = in::DrawChains(canvas, metrics.rect, kChainsGlyphScale, objects, chains_, ChainsLayout(session),
                            session.chainKind, &glyphCache_, !metrics.wallpaperUnder);
  if (drawing_.layoutFailed) message_ = in::kLayoutFailedText;
}

std::string ChainsPicture::TakeMessage() { return std::exchange(message_, {}); }

std::optional<display::GlyphUnder> ChainsPicture::GlyphAt(platform::Point point) const {
  for (const in::ChainGlyph& glyph : drawing_.glyphs) {
    if (glyph.square.Contains(point)) return display::GlyphUnder{chart_, glyph.object, glyph.square};
  }
  return std::nullopt;
}

void ChainsPicture::DragStarted(const display::GlyphUnder&) {
  if (session_ && session_->chainKind != ChainKind::kNone) ChainsLayout(*session_).Keep(session_->chainKind);
}

bool ChainsPicture::Drop(const display::GlyphUnder& glyph, platform::Point point) {
  if (!session_ || session_->chainKind == ChainKind::kNone || drawing_.pictureSide <= 0) return false;
  const auto geometry = display::DropGeometryOf(drawing_.centre, KeptInView(point, view_));
  if (!geometry) return false;  // the centre has no direction: the glyph stays
  in::ChainPlace& place = ChainsLayout(*session_).At(session_->chainKind, glyph.slot);
  place.angleDeg = ws::Normalise360(geometry->alphaDeg);
  place.fraction = geometry->distancePx / (drawing_.pictureSide / 2.0);
  return true;
}

std::vector<std::string> ChainsPicture::InformationLines(const display::GlyphUnder& glyph) const {
  if (!session_ || glyph.slot < in::kFirstChainObject || glyph.slot > in::kLastChainObject) return {};
  const ws::ObjectTable& objects = ChainsChart(*session_).objects;
  const in::ChainLinks& links = chains_.objects[glyph.slot];
  std::vector<std::string> lines{display::ObjectPositionLine(objects, glyph.slot)};
  if (!links.dispositors.empty()) lines.push_back(std::string(kDispositorsCaption) + ObjectNames(objects, links.dispositors));
  if (!links.label.empty()) lines.push_back(links.label);
  return lines;
}

}  // namespace kelvara::app
