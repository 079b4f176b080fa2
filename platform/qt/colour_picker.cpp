#include "platform/qt/colour_picker.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace kelvara::platform {
namespace {

constexpr int kSwatchMargin = 3;  // logical pixels around the sample
constexpr QSize kPickerSize(48, 22);
const QColor kOutline(96, 96, 96);

QColor ToQColor(Color colour) { return QColor(colour.red, colour.green, colour.blue); }

}  // namespace

std::optional<Color> AskColour(Color current, QWidget* parent) {
  const QColor chosen = QColorDialog::getColor(ToQColor(current), parent);
  if (!chosen.isValid()) return std::nullopt;
  return Color{std::uint8_t(chosen.red()), std::uint8_t(chosen.green()), std::uint8_t(chosen.blue())};
}

// Logical coordinates with a cosmetic outline: the painter scales them to the device's
// pixels, so the sample stays sharp at any pixel ratio.
void PaintSwatch(QPainter& painter, const QRect& rect, Color colour) {
  const QRect sample = rect.adjusted(kSwatchMargin, kSwatchMargin, -kSwatchMargin, -kSwatchMargin);
  if (sample.isEmpty()) return;
  painter.save();
  painter.fillRect(sample, ToQColor(colour));
  QPen outline(kOutline);
  outline.setCosmetic(true);
  painter.setPen(outline);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(sample.adjusted(0, 0, -1, -1));
  painter.restore();
}

ColourPicker::ColourPicker(QWidget* parent) : QToolButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QToolButton::clicked, this, &ColourPicker::Choose);
}

void ColourPicker::SetColour(Color colour) {
  colour_ = colour;
  update();
}

QSize ColourPicker::sizeHint() const { return kPickerSize.expandedTo(QToolButton::sizeHint()); }

void ColourPicker::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
  PaintSwatch(painter, rect().adjusted(kSwatchMargin, kSwatchMargin, -kSwatchMargin, -kSwatchMargin), colour_);
}

void ColourPicker::Choose() {
  const std::optional<Color> chosen = choose_ ? choose_(colour_, this) : AskColour(colour_, this);
  if (!chosen || *chosen == colour_) return;
  SetColour(*chosen);
  emit colourChanged();
}

}  // namespace kelvara::platform
