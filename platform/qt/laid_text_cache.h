// The texts of grid cells, laid out once and drawn from then on. A refresh draws hundreds
// of short texts, and shaping each through Qt's text layout takes most of it; so a text of
// simple scripts (Latin, Greek, Cyrillic, digits, signs) whose glyphs the font itself has
// and that forms no ligature is set glyph by glyph from the font's kerned advances, which
// places the glyphs where shaping would. Any other text is shaped by QTextLayout.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QRawFont>
#include <QSizeF>
#include <QString>

namespace kelvara::platform {

class LaidTextCache {
 public:
  struct Text {
    QList<QGlyphRun> runs;  // placed from the text's top-left corner
    QSizeF size;
  };

  // Valid until the next call.
  const Text& Get(const QString& text, const QFont& font);
  // In the painter's pen colour.
  static void Draw(QPainter& painter, QPointF topLeft, const Text& text);

 private:
  static constexpr qsizetype kLargest = 4096;  // texts; a few pages of a calendar

  QHash<QString, Text> texts_;
  QFont font_;
  QRawFont raw_;
};

}  // namespace kelvara::platform
