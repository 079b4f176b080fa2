// The canvas on a QPainter: windows, off-screen images, PNG, SVG and PDF files.
#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <map>
#include <tuple>

#include "platform/canvas.h"

namespace kelvara::platform {

// Qt draws text above this pixel size as filled outlines every time; on a raster image,
// text that large (glyphs, their labels) is drawn once into an image and copied from then on.
inline constexpr int kLargestUncachedGlyphPx = 64;
inline constexpr std::size_t kGlyphImageCacheEntries = 256;

// The images of large texts, kept by the caller from one paint to the next; emptied
// when it is full.
class GlyphImageCache {
 public:
  struct Entry {
    QImage image;
    QPoint offset;  // of the image's top-left corner from the text's origin
  };
  const Entry& Get(const QString& text, const QFont& font, const QColor& colour, qreal pixelRatio,
                   QPainter::RenderHints hints);
  std::size_t Size() const { return entries_.size(); }

 private:
  using Key = std::tuple<QString, QString, QRgb, qreal, int>;
  std::map<Key, Entry> entries_;
};

class QtCanvas : public Canvas {
 public:
  // Draws through a painter that is already active; render hints stay the caller's.
  // With a cache, large glyphs on a raster image come from it.
  explicit QtCanvas(QPainter& painter, GlyphImageCache* glyphImages = nullptr)
      : painter_(painter), glyphImages_(glyphImages) {}

  // Text in the glyph font drawn as filled outlines, so a picture file shows its glyphs
  // where that font is not installed.
  void SetGlyphTextAsPaths(bool asPaths) { glyphTextAsPaths_ = asPaths; }

  void DrawLine(Point from, Point to) override;
  void DrawPolyline(std::span<const Point> points) override;
  void DrawPolygon(std::span<const Point> corners) override;
  void DrawRectangle(const Rect& rect) override;
  void DrawEllipse(const Rect& bounds) override;
  void DrawArc(const Rect& bounds, double startDegrees, double sweepDegrees) override;
  void DrawPie(const Rect& bounds, double startDegrees, double sweepDegrees) override;
  void FillRect(const Rect& rect, Color color) override;
  void DrawText(Point anchor, std::string_view utf8, TextAlign align = {}) override;
  Size TextExtent(std::string_view utf8) override;

  std::unique_ptr<Bitmap> CreateBitmap(Size size) override;
  std::unique_ptr<Bitmap> CreateBitmapFrom(const BmpImage& image) override;
  void BlockCopy(Point destination, Bitmap& source, const Rect& sourceRect) override;
  void StretchCopy(const Rect& destination, Bitmap& source, const Rect& sourceRect) override;

 private:
  void UseOutlineTools();
  QRect OutlineRect(const Rect& rect) const;
  bool DrawsFromGlyphImages(const QFont& font) const;

  QPainter& painter_;
  GlyphImageCache* glyphImages_;
  bool glyphTextAsPaths_ = false;
};

// An off-screen image with its own painter, begun while it is drawn on and ended
// before it is copied.
class QtBitmap : public Bitmap {
 public:
  explicit QtBitmap(QImage image);
  Size PixelSize() const override { return {image_.width(), image_.height()}; }
  Canvas& Surface() override;
  const QImage& Image();

 private:
  QImage image_;
  QPainter painter_;
  QtCanvas canvas_{painter_};
};

// The installed family used for a face: the face itself when installed, else a
// similar one (sans serif for Arial and unknown faces, serif for Times).
QString ResolveFontFamily(const QString& face);
// Registers every TrueType and OpenType file of a folder; returns the families added.
QStringList RegisterFontFiles(const std::filesystem::path& folder);

using PictureDrawer = std::function<void(Canvas&)>;
// Draws a picture of the given size into a file; false when the file cannot be written.
// The file is written beside the target under another name and renamed over it only
// when whole, so a failure leaves the target as it was.
// PNG: on a white image.
bool ExportPicturePng(const PictureDrawer& draw, Size size, const QString& file);
// SVG: glyph-font text as outlines.
bool ExportPictureSvg(const PictureDrawer& draw, Size size, const QString& file, const QString& title);
// PDF: one page of exactly the picture's size without margins, a pixel to a point.
bool ExportPicturePdf(const PictureDrawer& draw, Size size, const QString& file, const QString& title);

}  // namespace kelvara::platform
