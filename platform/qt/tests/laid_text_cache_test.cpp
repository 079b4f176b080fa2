#include "platform/qt/laid_text_cache.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <functional>

#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::platform {
namespace {

constexpr QPointF kTopLeft(4, 3);

QImage Painted(const std::function<void(QPainter&)>& draw) {
  QImage image(160, 24, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  draw(painter);
  return image;
}

// Kerned pairs, a ligature, right-to-left and a combining mark: set glyph by glyph or
// shaped, each text looks as Qt draws it and is as wide.
TEST(LaidTextCache, DrawsTextsAsQtDoes) {
  testing::TestApplication();
  const QFont font = QApplication::font();
  const QFontMetricsF metrics(font);
  LaidTextCache cache;
  for (const char* utf8 : {"Луна 12°34′", "AVATAR To, Wa.", "office", "שלום", "и\u0306"}) {
    const QString text = QString::fromUtf8(utf8);
    const LaidTextCache::Text& laid = cache.Get(text, font);
    EXPECT_NEAR(laid.size.width(), metrics.horizontalAdvance(text), 0.01) << utf8;
    EXPECT_EQ(Painted([&](QPainter& painter) { LaidTextCache::Draw(painter, kTopLeft, laid); }),
              Painted([&](QPainter& painter) {
                painter.setFont(font);
                painter.drawText(kTopLeft + QPointF(0, metrics.ascent()), text);
              }))
        << utf8;
  }
  QFont larger = font;
  larger.setPointSizeF(font.pointSizeF() * 2);
  const qreal width = cache.Get("Луна", font).size.width();
  EXPECT_GT(cache.Get("Луна", larger).size.width(), 1.5 * width);
}

}  // namespace
}  // namespace kelvara::platform
