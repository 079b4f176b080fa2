// Picking a colour: a swatch that opens the colour dialog, and the dialog on its own for
// the grids' colour cells.
#pragma once

#include <QToolButton>
#include <functional>
#include <optional>

#include "platform/geometry.h"

class QPainter;

namespace kelvara::platform {

// Asks for a new colour; none when the user cancels. Tests put their own in place.
using ColorChooser = std::function<std::optional<Color>(Color current, QWidget* parent)>;

// The colour dialog opened on `current`.
std::optional<Color> AskColour(Color current, QWidget* parent);

// A sample of the colour filling `rect` less a margin, outlined so that white shows.
void PaintSwatch(QPainter& painter, const QRect& rect, Color colour);

class ColourPicker : public QToolButton {
  Q_OBJECT

 public:
  explicit ColourPicker(QWidget* parent = nullptr);

  Color Colour() const { return colour_; }
  void SetColour(Color colour);
  void SetColorChooser(ColorChooser chooser) { choose_ = std::move(chooser); }

  QSize sizeHint() const override;

 signals:
  // The user chose a colour other than the one shown.
  void colourChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Choose();

  Color colour_;
  ColorChooser choose_;
};

}  // namespace kelvara::platform
