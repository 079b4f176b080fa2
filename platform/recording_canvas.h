// A canvas that draws nothing and keeps every drawing call with the pen, brush, font
// and text colour it was made with, so that tests can check what a picture drew.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace kelvara::platform {

struct CanvasCall {
  enum class Kind {
    Line,
    Polyline,
    Polygon,
    Rectangle,
    Ellipse,
    Arc,
    Pie,
    FillRect,
    Text,
    BlockCopy,
    StretchCopy
  };

  Kind kind = Kind::Line;
  std::vector<Point> points;  // line ends, polyline points, polygon corners, copy destination
  Rect rect;                  // shape bounds, filled rectangle, copy destination or source
  Rect sourceRect;            // the part of the bitmap copied
  double startDegrees = 0.0;
  double sweepDegrees = 0.0;
  std::string text;
  TextAlign align;
  Color fillColor;
  Pen pen;
  Brush brush;
  Font font;
  Color textColor;
  int bitmapId = 0;  // which bitmap a copy came from, numbered from 1 in order of creation
};

std::string KindName(CanvasCall::Kind kind);
std::ostream& operator<<(std::ostream& out, const CanvasCall& call);

class RecordingCanvas : public Canvas {
 public:
  const std::vector<CanvasCall>& Calls() const { return calls_; }
  std::vector<CanvasCall> CallsOf(CanvasCall::Kind kind) const;
  void Clear() { calls_.clear(); }

  void DrawLine(Point from, Point to) override;
  void DrawPolyline(std::span<const Point> points) override;
  void DrawPolygon(std::span<const Point> corners) override;
  void DrawRectangle(const Rect& rect) override;
  void DrawEllipse(const Rect& bounds) override;
  void DrawArc(const Rect& bounds, double startDegrees, double sweepDegrees) override;
  void DrawPie(const Rect& bounds, double startDegrees, double sweepDegrees) override;
  void FillRect(const Rect& rect, Color color) override;
  void DrawText(Point anchor, std::string_view utf8, TextAlign align = {}) override;
  // A fixed metric for tests: every character is the font's width wide (half its
  // height when the width is 0), and the text is the font's height high.
  Size TextExtent(std::string_view utf8) override;

  std::unique_ptr<Bitmap> CreateBitmap(Size size) override;
  // Keeps only the picture's size.
  std::unique_ptr<Bitmap> CreateBitmapFrom(const BmpImage& image) override;
  void BlockCopy(Point destination, Bitmap& source, const Rect& sourceRect) override;
  void StretchCopy(const Rect& destination, Bitmap& source, const Rect& sourceRect) override;

 private:
  CanvasCall& Record(CanvasCall::Kind kind);

  std::vector<CanvasCall> calls_;
  int bitmapCount_ = 0;
};

// The bitmap of a recording canvas: its surface records too.
class RecordingBitmap : public Bitmap {
 public:
  RecordingBitmap(Size size, int id) : size_(size), id_(id) {}
  Size PixelSize() const override { return size_; }
  Canvas& Surface() override { return surface_; }
  RecordingCanvas& Recording() { return surface_; }
  int Id() const { return id_; }

 private:
  Size size_;
  int id_;
  RecordingCanvas surface_;
};

}  // namespace kelvara::platform
