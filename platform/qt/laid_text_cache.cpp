#include "platform/qt/laid_text_cache.h"

#include <QTextLayout>
#include <algorithm>
#include <optional>

namespace kelvara::platform {
namespace {

// Characters that need no shaping: no marks to combine, no right-to-left or joining scripts.
bool NeedsNoShaping(QChar c) {
  if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control) return false;
  switch (c.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
      return true;
    default:
      return false;
  }
}

// Latin typefaces join an f with the letter after it (fi, fl, ff and the like).
bool MayJoinLetters(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'f' && text[i + 1].isLetter()) return true;
  }
  return false;
}

std::optional<LaidTextCache::Text> GlyphByGlyph(const QRawFont& font, const QString& text) {
  if (!std::all_of(text.begin(), text.end(), NeedsNoShaping) || MayJoinLetters(text)) return std::nullopt;
  const QList<quint32> glyphs = font.glyphIndexesForString(text);
  if (glyphs.size() != text.size() || glyphs.contains(0)) return std::nullopt;  // another typeface's glyph
  QList<QPointF> positions;
  positions.reserve(glyphs.size());
  QPointF pen(0, font.ascent());
  for (const QPointF& advance : font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances)) {
    positions.push_back(pen);
    pen += advance;
  }
  QGlyphRun run;
  run.setRawFont(font);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  return LaidTextCache::Text{{run}, QSizeF(pen.x(), font.ascent() + font.descent())};
}

LaidTextCache::Text Shaped(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  return {layout.glyphRuns(), QSizeF(line.naturalTextWidth(), line.height())};
}

}  // namespace

const LaidTextCache::Text& LaidTextCache::Get(const QString& text, const QFont& font) {
  if (!raw_.isValid() || font != font_) {
    font_ = font;
    raw_ = QRawFont::fromFont(font);
    texts_.clear();
  } else if (texts_.size() >= kLargest) {
    texts_.clear();
  }
  auto found = texts_.find(text);
  if (found == texts_.end()) {
    std::optional<Text> laid = GlyphByGlyph(raw_, text);
    found = texts_.insert(text, laid ? std::move(*laid) : Shaped(text, font));
  }
  return *found;
}

void LaidTextCache::Draw(QPainter& painter, QPointF topLeft, const Text& text) {
  for (const QGlyphRun& run : text.runs) painter.drawGlyphRun(topLeft, run);
}

}  // namespace kelvara::platform
