// Picking the line style of an aspect: each style drawn as a line in the aspect's colour
// and width, beside its name.
#pragma once

#include <QComboBox>

#include "platform/geometry.h"

class QPainter;

namespace kelvara::platform {

inline constexpr int kMaxPenWidth = 20;  // pixels, as the aspect tables allow

// The line of style `style` (0 solid, 1 dashes, 2 dots) across `rect`, centred on its
// middle; a width too thick for the rectangle is drawn as thick as it fits.
void PaintPenSample(QPainter& painter, const QRect& rect, int style, Color colour, int width);

// The width a pen sample takes beside the style's name in a grid cell or list.
inline constexpr int kPenSampleWidth = 40;

class PenStylePicker : public QComboBox {
  Q_OBJECT

 public:
  explicit PenStylePicker(QWidget* parent = nullptr);

  // The colour and width the samples are drawn in.
  void SetLine(Color colour, int width);
  int Style() const { return currentIndex(); }
  void SetStyle(int style) { setCurrentIndex(style); }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void DrawSamples();

  Color colour_;
  int width_ = 1;
};

}  // namespace kelvara::platform
