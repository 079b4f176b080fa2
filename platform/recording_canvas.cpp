#include "platform/recording_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/bmp.h"
#include "platform/codepage.h"

namespace kelvara::platform {
namespace {

void PrintRect(std::ostream& out, const Rect& r) {
  out << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

void KeepArc(CanvasCall& call, const Rect& bounds, double startDegrees, double sweepDegrees) {
  call.rect = bounds;
  call.startDegrees = startDegrees;
  call.sweepDegrees = sweepDegrees;
}

// Bitmaps of another back-end have no number.
int BitmapIdOf(Bitmap& bitmap) {
  const auto* recorded = dynamic_cast<RecordingBitmap*>(&bitmap);
  return recorded != nullptr ? recorded->Id() : 0;
}

}  // namespace

std::string KindName(CanvasCall::Kind kind) {
  using Kind = CanvasCall::Kind;
  switch (kind) {
    case Kind::Line: return "Line";
    case Kind::Polyline: return "Polyline";
    case Kind::Polygon: return "Polygon";
    case Kind::Rectangle: return "Rectangle";
    case Kind::Ellipse: return "Ellipse";
    case Kind::Arc: return "Arc";
    case Kind::Pie: return "Pie";
    case Kind::FillRect: return "FillRect";
    case Kind::Text: return "Text";
    case Kind::BlockCopy: return "BlockCopy";
    case Kind::StretchCopy: return "StretchCopy";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& out, const CanvasCall& call) {
  out << KindName(call.kind);
  for (const Point& p : call.points) out << " (" << p.x << ',' << p.y << ')';
  out << ' ';
  PrintRect(out, call.rect);
  if (!call.text.empty()) out << " \"" << call.text << '"';
  return out << " pen #" << std::hex << call.pen.color.ToColorRef() << std::dec << '/' << call.pen.width
             << '/' << int(call.pen.style);
}

CanvasCall& RecordingCanvas::Record(CanvasCall::Kind kind) {
  CanvasCall& call = calls_.emplace_back();
  call.kind = kind;
  call.pen = CurrentPen();
  call.brush = CurrentBrush();
  call.font = CurrentFont();
  call.textColor = TextColor();
  return call;
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasCall::Kind kind) const {
  std::vector<CanvasCall> matching;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(matching),
               [kind](const CanvasCall& call) { return call.kind == kind; });
  return matching;
}

void RecordingCanvas::DrawLine(Point from, Point to) { Record(CanvasCall::Kind::Line).points = {from, to}; }

void RecordingCanvas::DrawPolyline(std::span<const Point> points) {
  Record(CanvasCall::Kind::Polyline).points.assign(points.begin(), points.end());
}

void RecordingCanvas::DrawPolygon(std::span<const Point> corners) {
  Record(CanvasCall::Kind::Polygon).points.assign(corners.begin(), corners.end());
}

void RecordingCanvas::DrawRectangle(const Rect& rect) { Record(CanvasCall::Kind::Rectangle).rect = rect; }

void RecordingCanvas::DrawEllipse(const Rect& bounds) { Record(CanvasCall::Kind::Ellipse).rect = bounds; }

void RecordingCanvas::DrawArc(const Rect& bounds, double startDegrees, double sweepDegrees) {
  KeepArc(Record(CanvasCall::Kind::Arc), bounds, startDegrees, sweepDegrees);
}

void RecordingCanvas::DrawPie(const Rect& bounds, double startDegrees, double sweepDegrees) {
  KeepArc(Record(CanvasCall::Kind::Pie), bounds, startDegrees, sweepDegrees);
}

void RecordingCanvas::FillRect(const Rect& rect, Color color) {
  CanvasCall& call = Record(CanvasCall::Kind::FillRect);
  call.rect = rect;
  call.fillColor = color;
}

void RecordingCanvas::DrawText(Point anchor, std::string_view utf8, TextAlign align) {
  CanvasCall& call = Record(CanvasCall::Kind::Text);
  call.points = {anchor};
  call.text = utf8;
  call.align = align;
}

Size RecordingCanvas::TextExtent(std::string_view utf8) {
  const int height = std::abs(CurrentFont().height);
  const int characterWidth = CurrentFont().width > 0 ? CurrentFont().width : std::max(1, height / 2);
  return {int(Utf8ToUtf16(utf8).size()) * characterWidth, height};
}

std::unique_ptr<Bitmap> RecordingCanvas::CreateBitmap(Size size) {
  return std::make_unique<RecordingBitmap>(size, ++bitmapCount_);
}

std::unique_ptr<Bitmap> RecordingCanvas::CreateBitmapFrom(const BmpImage& image) {
  return CreateBitmap({image.width, image.height});
}

void RecordingCanvas::BlockCopy(Point destination, Bitmap& source, const Rect& sourceRect) {
  CanvasCall& call = Record(CanvasCall::Kind::BlockCopy);
  call.points = {destination};
  call.sourceRect = sourceRect;
  call.bitmapId = BitmapIdOf(source);
}

void RecordingCanvas::StretchCopy(const Rect& destination, Bitmap& source, const Rect& sourceRect) {
  CanvasCall& call = Record(CanvasCall::Kind::StretchCopy);
  call.rect = destination;
  call.sourceRect = sourceRect;
  call.bitmapId = BitmapIdOf(source);
}

}  // namespace kelvara::platform
