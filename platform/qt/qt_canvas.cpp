#include "platform/qt/qt_canvas.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QMutex>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygon>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/bmp.h"
#include "platform/glyph.h"

namespace kelvara::platform {
namespace {

// Qt measures arc angles in sixteenths of a degree.
constexpr int kQtAngleUnitsPerDegree = 16;
constexpr double kEscapementUnitsPerDegree = 10.0;
constexpr int kMinFontWeight = 100;
constexpr int kMaxFontWeight = 900;
constexpr int kMaxFontStretch = 4000;
constexpr const char* kSansFallback = "DejaVu Sans";
constexpr const char* kSerifFallback = "DejaVu Serif";
constexpr const char* kMonoFallback = "DejaVu Sans Mono";
// A PDF page measured in points at this resolution takes one picture pixel per point.
constexpr int kPointsPerInch = 72;
// Viewers show an SVG's physical size at this resolution, so its pixels stay pixels.
constexpr int kCssPixelsPerInch = 96;

QColor ToQt(Color color) { return QColor(color.red, color.green, color.blue); }
QPoint ToQt(Point point) { return QPoint(point.x, point.y); }
QRect ToQt(const Rect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

QPolygon ToQt(std::span<const Point> points) {
  QPolygon polygon;
  polygon.reserve(qsizetype(points.size()));
  for (const Point& p : points) polygon << ToQt(p);
  return polygon;
}

int ToQtAngle(double degrees) { return qRound(degrees * kQtAngleUnitsPerDegree); }

// Off-screen images and exported pictures start as white paper.
QImage WhiteImage(Size size) {
  QImage image(std::max(1, size.width), std::max(1, size.height), QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

Qt::PenStyle ToQt(PenStyle style) {
  switch (style) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::None: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

QString FallbackFor(const QString& face) {
  const QString lower = face.toLower();
  if (lower.startsWith("times") || (lower.contains("serif") && !lower.contains("sans")))
    return kSerifFallback;
  if (lower.startsWith("courier") || lower.contains("mono")) return kMonoFallback;
  return kSansFallback;
}

QFont ToQt(const Font& font) {
  QFont qfont(ResolveFontFamily(FromUtf8(font.face)));
  qfont.setPixelSize(std::max(1, std::abs(font.height)));
  qfont.setWeight(QFont::Weight(std::clamp(font.weight, kMinFontWeight, kMaxFontWeight)));
  if (font.width > 0) {
    const int naturalWidth = std::max(1, QFontMetrics(qfont).averageCharWidth());
    qfont.setStretch(std::clamp(font.width * 100 / naturalWidth, 1, kMaxFontStretch));
  }
  return qfont;
}

// Offset of a text's top-left corner from its anchor, in the text's own direction.
QPoint AlignmentOffset(const QFontMetrics& metrics, const QString& text, TextAlign align) {
  const int width = metrics.horizontalAdvance(text);
  int x = 0;
  if (align.horizontal == HorizontalAlign::Center) x = -width / 2;
  if (align.horizontal == HorizontalAlign::Right) x = -width;
  int baseline = metrics.ascent();
  if (align.vertical == VerticalAlign::Middle) baseline = (metrics.ascent() - metrics.descent()) / 2;
  if (align.vertical == VerticalAlign::Baseline) baseline = 0;
  if (align.vertical == VerticalAlign::Bottom) baseline = -metrics.descent();
  return {x, baseline};
}

QtBitmap* AsQtBitmap(Bitmap& bitmap) { return dynamic_cast<QtBitmap*>(&bitmap); }

bool IsGlyphFace(std::string_view face) {
  return FromUtf8(face).compare(QLatin1String(kGlyphFace), Qt::CaseInsensitive) == 0;
}

// Writes a file through a scratch file beside it that replaces it only once `write`
// succeeded; otherwise the scratch file is removed and the target left alone.
bool WriteWhole(const QString& file, const std::function<bool(QIODevice&)>& write) {
  QSaveFile output(file);
  return output.open(QIODevice::WriteOnly) && write(output) && output.commit();
}

// Draws the picture on a paint device through an anti-aliased canvas.
bool Paint(QPaintDevice& device, const PictureDrawer& draw, bool glyphTextAsPaths = false) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  QtCanvas canvas(painter);
  canvas.SetGlyphTextAsPaths(glyphTextAsPaths);
  draw(canvas);
  return painter.end();
}

// Families already looked up by face; emptied when fonts are registered, so that a
// face installed later is found.
struct ResolvedFamilies {
  QMutex mutex;
  QHash<QString, QString> byFace;
};

ResolvedFamilies& Resolved() {
  static ResolvedFamilies resolved;
  return resolved;
}

}  // namespace

QString ResolveFontFamily(const QString& face) {
  QMutexLocker lock(&Resolved().mutex);
  QHash<QString, QString>& resolved = Resolved().byFace;
  const auto known = resolved.constFind(face);
  if (known != resolved.constEnd()) return *known;
  const QStringList families = QFontDatabase::families();
  const auto match = std::find_if(families.begin(), families.end(), [&](const QString& family) {
    return family.compare(face, Qt::CaseInsensitive) == 0;
  });
  const QString family = match != families.end() ? *match : FallbackFor(face);
  resolved.insert(face, family);
  return family;
}

QStringList RegisterFontFiles(const std::filesystem::path& folder) {
  QStringList added;
  const QDir dir(QString::fromStdString(folder.string()));
  for (const QString& name : dir.entryList({"*.ttf", "*.TTF", "*.otf", "*.OTF"}, QDir::Files)) {
    const int id = QFontDatabase::addApplicationFont(dir.filePath(name));
    if (id >= 0) added << QFontDatabase::applicationFontFamilies(id);
  }
  if (!added.isEmpty()) {
    QMutexLocker lock(&Resolved().mutex);
    Resolved().byFace.clear();
  }
  return added;
}

void QtCanvas::UseOutlineTools() {
  const Pen& pen = CurrentPen();
  if (pen.style == PenStyle::None) {
    painter_.setPen(Qt::NoPen);
  } else {
    QPen qpen(ToQt(pen.color), std::max(1, pen.width), ToQt(pen.style));
    qpen.setCapStyle(Qt::FlatCap);
    painter_.setPen(qpen);
  }
  const Brush& brush = CurrentBrush();
  painter_.setBrush(brush.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQt(brush.color)));
}

// An outlined shape covers its rectangle less the right and bottom edges, as on the
// handheld; Qt's outline would reach one pixel further.
QRect QtCanvas::OutlineRect(const Rect& rect) const {
  const QRect area = ToQt(rect);
  return CurrentPen().style == PenStyle::None ? area : area.adjusted(0, 0, -1, -1);
}

void QtCanvas::DrawLine(Point from, Point to) {
  UseOutlineTools();
  painter_.drawLine(ToQt(from), ToQt(to));
}

void QtCanvas::DrawPolyline(std::span<const Point> points) {
  UseOutlineTools();
  painter_.drawPolyline(ToQt(points));
}

void QtCanvas::DrawPolygon(std::span<const Point> corners) {
  UseOutlineTools();
  painter_.drawPolygon(ToQt(corners), Qt::OddEvenFill);
}

void QtCanvas::DrawRectangle(const Rect& rect) {
  UseOutlineTools();
  painter_.drawRect(OutlineRect(rect));
}

void QtCanvas::DrawEllipse(const Rect& bounds) {
  UseOutlineTools();
  painter_.drawEllipse(OutlineRect(bounds));
}

void QtCanvas::DrawArc(const Rect& bounds, double startDegrees, double sweepDegrees) {
  UseOutlineTools();
  painter_.drawArc(OutlineRect(bounds), ToQtAngle(startDegrees), ToQtAngle(sweepDegrees));
}

void QtCanvas::DrawPie(const Rect& bounds, double startDegrees, double sweepDegrees) {
  UseOutlineTools();
  painter_.drawPie(OutlineRect(bounds), ToQtAngle(startDegrees), ToQtAngle(sweepDegrees));
}

void QtCanvas::FillRect(const Rect& rect, Color color) { painter_.fillRect(ToQt(rect), ToQt(color)); }

void QtCanvas::DrawText(Point anchor, std::string_view utf8, TextAlign align) {
  const QString text = FromUtf8(utf8);
  const QFont font = ToQt(CurrentFont());
  painter_.save();
  painter_.translate(anchor.x, anchor.y);
  // Escapement turns counter-clockwise; with y growing downwards that is a negative Qt angle.
  painter_.rotate(-CurrentFont().escapement / kEscapementUnitsPerDegree);
  const QPoint origin = AlignmentOffset(QFontMetrics(font), text, align);
  if (DrawsFromGlyphImages(font)) {
    const GlyphImageCache::Entry& glyph = glyphImages_->Get(text, font, ToQt(TextColor()),
                                                            painter_.device()->devicePixelRatioF(), painter_.renderHints());
    painter_.drawImage(origin + glyph.offset, glyph.image);
  } else if (glyphTextAsPaths_ && IsGlyphFace(CurrentFont().face)) {
    // The painter keeps its font: an SVG would name the glyph font for the outline too.
    QPainterPath outline;
    outline.addText(origin, font, text);
    painter_.fillPath(outline, ToQt(TextColor()));
  } else {
    painter_.setFont(font);
    painter_.setPen(ToQt(TextColor()));
    painter_.drawText(origin, text);
  }
  painter_.restore();
}

// Only where a copied image looks as the text would: unturned, on a raster image.
bool QtCanvas::DrawsFromGlyphImages(const QFont& font) const {
  return glyphImages_ && font.pixelSize() > kLargestUncachedGlyphPx && painter_.paintEngine()->type() == QPaintEngine::Raster &&
         painter_.worldTransform().type() <= QTransform::TxTranslate;
}

const GlyphImageCache::Entry& GlyphImageCache::Get(const QString& text, const QFont& font, const QColor& colour,
                                                   qreal pixelRatio, QPainter::RenderHints hints) {
  const Key key{text, font.key(), colour.rgba(), pixelRatio, static_cast<int>(hints)};
  if (const auto found = entries_.find(key); found != entries_.end()) return found->second;
  if (entries_.size() >= kGlyphImageCacheEntries) entries_.clear();
  // Room for the antialiased edge and for ink the metrics do not count.
  const int margin = std::max(2, font.pixelSize() / 8);
  const QRect box = QFontMetrics(font).boundingRect(text).adjusted(-margin, -margin, margin, margin);
  QImage image(box.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(pixelRatio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHints(hints);
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(-box.topLeft(), text);
  painter.end();
  return entries_.emplace(key, Entry{image, box.topLeft()}).first->second;
}

Size QtCanvas::TextExtent(std::string_view utf8) {
  const QFontMetrics metrics(ToQt(CurrentFont()));
  return {metrics.horizontalAdvance(FromUtf8(utf8)), metrics.height()};
}

std::unique_ptr<Bitmap> QtCanvas::CreateBitmap(Size size) {
  return std::make_unique<QtBitmap>(WhiteImage(size));
}

std::unique_ptr<Bitmap> QtCanvas::CreateBitmapFrom(const BmpImage& bmp) {
  if (bmp.pixels.size() < std::size_t(std::max(bmp.width, 0)) * std::size_t(std::max(bmp.height, 0))) return nullptr;
  QImage image(bmp.width, bmp.height, QImage::Format_RGB32);
  if (image.isNull()) return nullptr;
  // Both hold a pixel as 0xFFRRGGBB in a 32-bit word; only the row strides may differ.
  const std::size_t rowBytes = std::size_t(bmp.width) * sizeof(std::uint32_t);
  for (int y = 0; y < bmp.height; ++y) {
    std::memcpy(image.scanLine(y), &bmp.pixels[std::size_t(y) * std::size_t(bmp.width)], rowBytes);
  }
  return std::make_unique<QtBitmap>(std::move(image));
}

void QtCanvas::BlockCopy(Point destination, Bitmap& source, const Rect& sourceRect) {
  if (QtBitmap* bitmap = AsQtBitmap(source)) {
    painter_.drawImage(ToQt(destination), bitmap->Image(), ToQt(sourceRect));
  }
}

void QtCanvas::StretchCopy(const Rect& destination, Bitmap& source, const Rect& sourceRect) {
  if (QtBitmap* bitmap = AsQtBitmap(source)) {
    painter_.drawImage(ToQt(destination), bitmap->Image(), ToQt(sourceRect));
  }
}

QtBitmap::QtBitmap(QImage image) : image_(std::move(image)) {}

Canvas& QtBitmap::Surface() {
  if (!painter_.isActive()) painter_.begin(&image_);
  return canvas_;
}

const QImage& QtBitmap::Image() {
  if (painter_.isActive()) painter_.end();
  return image_;
}

bool ExportPicturePng(const PictureDrawer& draw, Size size, const QString& file) {
  QImage image = WhiteImage(size);
  return Paint(image, draw) &&
         WriteWhole(file, [&image](QIODevice& output) { return image.save(&output, "PNG"); });
}

bool ExportPictureSvg(const PictureDrawer& draw, Size size, const QString& file, const QString& title) {
  return WriteWhole(file, [&](QIODevice& output) {
    QSvgGenerator generator;
    generator.setOutputDevice(&output);
    generator.setResolution(kCssPixelsPerInch);
    generator.setSize(QSize(size.width, size.height));
    generator.setViewBox(QRect(0, 0, size.width, size.height));
    generator.setTitle(title);
    return Paint(generator, draw, true);
  });
}

bool ExportPicturePdf(const PictureDrawer& draw, Size size, const QString& file, const QString& title) {
  return WriteWhole(file, [&](QIODevice& output) {
    QPdfWriter pdf(&output);
    pdf.setResolution(kPointsPerInch);
    // An exact match, or a size close to a standard one would become that one.
    pdf.setPageSize(QPageSize(QSizeF(size.width, size.height), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF());
    pdf.setTitle(title);
    return Paint(pdf, draw);
  });
}

}  // namespace kelvara::platform
