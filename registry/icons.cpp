#include "registry/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace kelvara::vornal {
namespace {

constexpr int kIconSize = 16;

QIcon DrawIcon(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return QIcon(pixmap);
}

}  // namespace

QIcon KeyIcon() {
  return DrawIcon([](QPainter& p) {
    QPainterPath folder;
    folder.moveTo(1.5, 3.5);
    folder.lineTo(6.0, 3.5);
    folder.lineTo(7.5, 5.0);
    folder.lineTo(14.5, 5.0);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(1.5, 13.5);
    folder.closeSubpath();
    p.setPen(QPen(QColor(0x9A, 0x7B, 0x12), 1.0));
    p.setBrush(QColor(0xF5, 0xD0, 0x4C));
    p.drawPath(folder);
    p.setBrush(QColor(0xFB, 0xE3, 0x8A));
    p.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
  });
}

QIcon ValueIcon() {
  return DrawIcon([](QPainter& p) {
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11.0, 13.0));
    p.setPen(QPen(QColor(0x1E, 0x5A, 0xC8), 1.0));
    for (double y : {4.5, 7.5, 10.5}) p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    p.setPen(QPen(QColor(0xC8, 0x32, 0x1E), 1.0));
    p.drawLine(QPointF(4.5, 12.5), QPointF(8.5, 12.5));
  });
}

QIcon ComputerIcon() {
  return DrawIcon([](QPainter& p) {
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
    p.setBrush(QColor(0xD8, 0xD8, 0xD8));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13.0, 9.5), 1.0, 1.0);
    p.setBrush(QColor(0x2A, 0x6F, 0xD6));
    p.drawRect(QRectF(3.0, 3.0, 10.0, 6.5));
    p.setBrush(QColor(0xB0, 0xB0, 0xB0));
    p.drawRect(QRectF(6.5, 11.0, 3.0, 2.0));
    p.drawRect(QRectF(3.5, 13.0, 9.0, 1.5));
  });
}

}  // namespace kelvara::vornal
