// The drawing surface of the pictures, shaped like the handheld's device context: the
// current pen, brush, font and text colour are selected first, then shapes and text are
// drawn with them. Angles of arcs run counter-clockwise from three o'clock, in degrees;
// text escapement is counter-clockwise in tenths of a degree.
#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/bmp.h"
#include "platform/geometry.h"

namespace kelvara::platform {

// The numbers are the pen styles stored in the aspect tables.
enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, None = 3 };

struct Pen {
  Color color = kBlack;
  int width = 1;  // pixels; 0 draws one pixel wide
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  Color color = kWhite;
  bool hollow = false;  // shapes are outlined only

  static Brush Solid(Color color) { return {color, false}; }
  static Brush Hollow() { return {kWhite, true}; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr int kNormalWeight = 400;
inline constexpr int kBoldWeight = 700;

struct Font {
  std::string face;  // a missing face falls back to a similar installed one
  int height = 12;   // character height in pixels
  int width = 0;     // average character width in pixels; 0 keeps the face's proportions
  int weight = kNormalWeight;
  int escapement = 0;  // tenths of a degree, counter-clockwise
  friend bool operator==(const Font&, const Font&) = default;
};

enum class HorizontalAlign { Left, Center, Right };
enum class VerticalAlign { Top, Middle, Baseline, Bottom };

// Where the anchor point of a text lies on the text's box (in the text's own,
// possibly turned, direction).
struct TextAlign {
  HorizontalAlign horizontal = HorizontalAlign::Left;
  VerticalAlign vertical = VerticalAlign::Top;
  friend bool operator==(const TextAlign&, const TextAlign&) = default;
};

class Canvas;

// An off-screen picture: drawn through its own canvas, copied onto another canvas of
// the same back-end in one block.
class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual Size PixelSize() const = 0;
  virtual Canvas& Surface() = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  void SetPen(const Pen& pen) { pen_ = pen; }
  void SetBrush(const Brush& brush) { brush_ = brush; }
  void SetFont(const Font& font) { font_ = font; }
  void SetTextColor(Color color) { textColor_ = color; }
  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  const Font& CurrentFont() const { return font_; }
  Color TextColor() const { return textColor_; }

  virtual void DrawLine(Point from, Point to) = 0;
  virtual void DrawPolyline(std::span<const Point> points) = 0;
  // Closed, filled with the brush and outlined with the pen; likewise the shapes below.
  virtual void DrawPolygon(std::span<const Point> corners) = 0;
  virtual void DrawRectangle(const Rect& rect) = 0;
  virtual void DrawEllipse(const Rect& bounds) = 0;
  // The outline of the ellipse in `bounds` from `startDegrees`, turning `sweepDegrees`.
  virtual void DrawArc(const Rect& bounds, double startDegrees, double sweepDegrees) = 0;
  // The slice between that arc and the centre, filled and outlined.
  virtual void DrawPie(const Rect& bounds, double startDegrees, double sweepDegrees) = 0;
  // Fills with a colour, leaving the pen and brush alone.
  virtual void FillRect(const Rect& rect, Color color) = 0;

  // Text in the current font and text colour, on a transparent background.
  virtual void DrawText(Point anchor, std::string_view utf8, TextAlign align = {}) = 0;
  // Width and height of the text in the current font, as drawn unturned.
  virtual Size TextExtent(std::string_view utf8) = 0;

  virtual std::unique_ptr<Bitmap> CreateBitmap(Size size) = 0;
  // A bitmap holding a decoded picture.
  virtual std::unique_ptr<Bitmap> CreateBitmapFrom(const BmpImage& image) = 0;
  // A BMP file, decoded by platform/bmp.h; null when it cannot be read or is refused.
  std::unique_ptr<Bitmap> LoadBitmap(const std::filesystem::path& file) {
    const BmpDecoding decoded = ReadBmpFile(file);
    return decoded.image ? CreateBitmapFrom(*decoded.image) : nullptr;
  }
  // Copies `sourceRect` of the bitmap with its top-left corner at `destination`.
  virtual void BlockCopy(Point destination, Bitmap& source, const Rect& sourceRect) = 0;
  // Copies `sourceRect` of the bitmap scaled into `destination`.
  virtual void StretchCopy(const Rect& destination, Bitmap& source, const Rect& sourceRect) = 0;

 private:
  Pen pen_;
  Brush brush_;
  Font font_;
  Color textColor_ = kBlack;
};

}  // namespace kelvara::platform
