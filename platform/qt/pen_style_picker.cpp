#include "platform/qt/pen_style_picker.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "platform/canvas.h"
#include "platform/editable_grid_model.h"
#include "platform/qt/qt_canvas.h"

namespace kelvara::platform {
namespace {

constexpr int kSampleHeight = 16;  // logical pixels of a list entry's sample
constexpr int kSampleInset = 2;

PenStyle StyleOf(int style) { return static_cast<PenStyle>(std::clamp(style, 0, 2)); }

}  // namespace

void PaintPenSample(QPainter& painter, const QRect& rect, int style, Color colour, int width) {
  const QRect room = rect.adjusted(kSampleInset, kSampleInset, -kSampleInset, -kSampleInset);
  if (room.isEmpty()) return;
  const int fitted = std::clamp(width, 0, std::min(kMaxPenWidth, room.height()));
  painter.save();
  painter.setClipRect(room);
  QtCanvas canvas(painter);
  canvas.SetPen({colour, fitted, StyleOf(style)});
  const int middle = room.top() + room.height() / 2;
  canvas.DrawLine({room.left() + fitted / 2, middle}, {room.right() - fitted / 2, middle});
  painter.restore();
}

PenStylePicker::PenStylePicker(QWidget* parent) : QComboBox(parent) {
  for (const std::string& name : kPenStyleNames) addItem(QString::fromStdString(name));
  setIconSize(QSize(kPenSampleWidth, kSampleHeight));
  DrawSamples();
}

void PenStylePicker::SetLine(Color colour, int width) {
  colour_ = colour;
  width_ = width;
  DrawSamples();
}

void PenStylePicker::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (event->type() == QEvent::ScreenChangeInternal) DrawSamples();
}

// Each sample drawn at the screen's pixel ratio so that the dots stay dots.
void PenStylePicker::DrawSamples() {
  const qreal ratio = devicePixelRatioF();
  const QSize logical = iconSize();
  for (int style = 0; style < count(); ++style) {
    QPixmap sample(logical * ratio);
    sample.setDevicePixelRatio(ratio);
    sample.fill(Qt::transparent);
    QPainter painter(&sample);
    PaintPenSample(painter, QRect(QPoint(0, 0), logical), style, colour_, width_);
    painter.end();
    setItemIcon(style, QIcon(sample));
  }
}

}  // namespace kelvara::platform
