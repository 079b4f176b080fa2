#include "app/qt/kelvara_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolTip>
#include <QWheelEvent>

#include "app/command_menu.h"
#include "app/messages.h"
#include "app/qt/map_day_dialog.h"
#include "app/qt/message_boxes.h"
#include "app/qt/qt_text.h"
#include "app/event_map_picture.h"
#include "app/wheel_picture.h"
#include "platform/qt/qt_canvas.h"

namespace kelvara::app {
namespace {

constexpr platform::Color kDragGrey{128, 128, 128};
constexpr int kClockTickMs = 1000;
constexpr int kTurnStepDeg = 1;
constexpr int kFastTurnStepDeg = 10;
constexpr int kWheelNotchUnits = 120;  // angle delta of one notch of a mouse wheel
constexpr int kInformationFontUnits = 12;
constexpr int kTextFontUnits = 14;
constexpr int kTextExtraWidthUnits = 12;
constexpr int kWindowMarginPx = 4;
constexpr const char* kInformationSample = "M99°99'99\"M";

platform::Point PointOf(const QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  return {position.x(), position.y()};
}

QString Joined(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << ToQt(line);
  return list.join('\n');
}

}  // namespace

// The stylus always talks to the picture of the current mode.
class CKelvaraCView::PictureTarget : public display::StylusTarget {
 public:
  explicit PictureTarget(CKelvaraCView& view) : view_(view) {}
  std::optional<display::GlyphUnder> GlyphAt(platform::Point p) const override {
    return Current() ? Current()->GlyphAt(p) : std::nullopt;
  }
  std::optional<int> HexagramAt(platform::Point p) const override {
    return Current() ? Current()->HexagramAt(p) : std::nullopt;
  }
  int DragSquareSide() const override { return Current() ? Current()->DragSquareSide() : 0; }
  void DragStarted(const display::GlyphUnder& g) override {
    if (Current()) Current()->DragStarted(g);
  }
  bool Drop(const display::GlyphUnder& g, platform::Point p) override {
    const bool changed = Current() && Current()->Drop(g, p);
    // The chains' places are not part of the document.
    if (changed && view_.session_.displayMode != DisplayMode::kChains) view_.session_.modified = true;
    return changed;
  }
  std::vector<std::string> InformationLines(const display::GlyphUnder& g) const override {
    return Current() ? Current()->InformationLines(g) : std::vector<std::string>{};
  }
  bool SwipeLeftAllowed() const override {
    return view_.session_.displayMode != DisplayMode::kChains && Current() && Current()->SwipeLeftAllowed();
  }

 private:
  display::StylusTarget* Current() const {
    return PictureOfMode(view_.pictures_, view_.session_.displayMode).Stylus();
  }
  CKelvaraCView& view_;
};

CKelvaraCView::CKelvaraCView(Session& session, ViewPictures& pictures, StepController& steps, QWidget* parent)
    : QWidget(parent),
      session_(session),
      pictures_(pictures),
      steps_(steps),
      target_(std::make_unique<PictureTarget>(*this)) {
  stylus_ = std::make_unique<display::ChartViewStylus>(*target_, [this](int number) {
    return shortText_ ? shortText_(number) : std::string();
  });
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(240, 240);
  setMouseTracking(false);
  information_ = new QLabel(this);
  information_->setObjectName("smallWindow");
  information_->setFrameStyle(QFrame::Box | QFrame::Plain);
  information_->setAutoFillBackground(true);
  information_->setStyleSheet("QLabel { background: #ffffe0; color: black; }");
  information_->hide();
  elapsed_.start();
  stepTimer_.setInterval(static_cast<int>(kStepTickMs));
  connect(&stepTimer_, &QTimer::timeout, this, [this] {
    const std::vector<StepAction> due = steps_.Tick(NowMs());
    if (!due.empty()) emit stepActions(due, QCursor::pos());
    UpdateStepTimer();
  });
  clockTimer_.setInterval(kClockTickMs);
  connect(&clockTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

CKelvaraCView::~CKelvaraCView() = default;

void CKelvaraCView::SetShortTextSource(display::ShortTextSource source) { shortText_ = std::move(source); }

ViewMetrics CKelvaraCView::Metrics() const { return MetricsForSize(width(), height()); }

bool CKelvaraCView::StepZonesActive() const {
  return session_.displayMode == DisplayMode::kWheel && session_.settings.stepShift;
}

bool CKelvaraCView::StylusActive() const { return session_.displayMode != DisplayMode::kEventMap; }

WheelPicture* CKelvaraCView::Wheel() const { return dynamic_cast<WheelPicture*>(pictures_.wheel.get()); }

EventMapPicture* CKelvaraCView::EventMap() const {
  return session_.displayMode == DisplayMode::kEventMap ? dynamic_cast<EventMapPicture*>(pictures_.eventMap.get())
                                                        : nullptr;
}

void CKelvaraCView::DrawPicture(platform::Canvas& canvas, const ViewMetrics& metrics) {
  DrawViewPicture(canvas, metrics, session_, pictures_, &wallpaperBitmap_);
  if (!dragSquare_) return;
  canvas.SetPen({kDragGrey, 1});
  canvas.SetBrush(platform::Brush::Solid(kDragGrey));
  canvas.DrawRectangle(*dragSquare_);
}

void CKelvaraCView::UpdateClockTimer() {
  const bool ticking = PictureOfMode(pictures_, session_.displayMode).ClockShown();
  if (ticking && !clockTimer_.isActive()) clockTimer_.start();
  if (!ticking) clockTimer_.stop();
}

// Through an off-screen picture at the screen's pixel density, copied in one step.
void CKelvaraCView::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  QImage image = imageFactory_ ? imageFactory_(size() * ratio)
                               : QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(this);
  if (image.isNull()) {
    painter.fillRect(rect(), Qt::white);
    if (!resourceMessageShown_) {
      resourceMessageShown_ = true;
      QTimer::singleShot(0, this, [this] { ShowMessage(this, kGraphicsResourcesShort); });
    }
    return;
  }
  resourceMessageShown_ = false;
  image.setDevicePixelRatio(ratio);
  {
    QPainter offscreen(&image);
    offscreen.setRenderHint(QPainter::Antialiasing);
    offscreen.setRenderHint(QPainter::TextAntialiasing);
    platform::QtCanvas canvas(offscreen, &glyphImages_);
    DrawPicture(canvas, Metrics());
  }
  painter.drawImage(0, 0, image);
  UpdateClockTimer();
  // Shown once the picture is up, and not from inside the paint.
  const std::string message = PictureOfMode(pictures_, session_.displayMode).TakeMessage();
  if (!message.empty()) QTimer::singleShot(0, this, [this, message] { ShowMessage(this, message); });
}

void CKelvaraCView::ShowSmallWindow(const QString& text, QPoint corner, int fontHeight, int minimumWidth) {
  QFont font = information_->font();
  font.setPixelSize(fontHeight);
  information_->setFont(font);
  information_->setText(text);
  information_->setMargin(kWindowMarginPx);
  information_->adjustSize();
  information_->resize(std::max(information_->width(), minimumWidth), information_->height());
  // Kept wholly inside the view.
  const int x = std::clamp(corner.x(), 0, std::max(0, width() - information_->width()));
  const int y = std::clamp(corner.y(), 0, std::max(0, height() - information_->height()));
  information_->move(x, y);
  information_->show();
  information_->raise();
}

void CKelvaraCView::ShiftMapDay(int days) {
  EventMapPicture* map = EventMap();
  if (!map) return;
  CloseSmallWindows();
  map->ShiftDay(days);
  update();
}

void CKelvaraCView::PickMapDay() {
  EventMapPicture* map = EventMap();
  if (!map) return;
  CloseSmallWindows();
  if (const auto day = MapDayDialog::Choose(this, map->ShownDay(session_))) {
    map->ShowDay(*day);
    update();
  }
}

// The events under a tap on the event map, in the information window at the tap.
void CKelvaraCView::ShowEvents(const std::vector<std::string>& lines, platform::Point point) {
  if (lines.empty()) {
    information_->hide();
    return;
  }
  const int height = kInformationFontUnits * Metrics().lineScale;
  ShowSmallWindow(Joined(lines), {point.x, point.y}, height, 0);
}

void CKelvaraCView::CloseSmallWindows() {
  information_->hide();
  stylus_->WindowsClosed();
}

void CKelvaraCView::Perform(const display::StylusAction& action) {
  using Kind = display::StylusActionKind;
  const ViewMetrics metrics = Metrics();
  switch (action.kind) {
    case Kind::kStartDrag:
    case Kind::kMoveDrag:
      setCursor(Qt::SizeAllCursor);
      dragSquare_ = action.square;
      update();
      return;
    case Kind::kDrop:
      dragSquare_.reset();
      unsetCursor();
      update();
      return;
    case Kind::kShowInformation: {
      const int height = kInformationFontUnits * metrics.lineScale;
      QFont font = information_->font();
      font.setPixelSize(height);
      const int sample = QFontMetrics(font).horizontalAdvance(kInformationSample) + 2 * kWindowMarginPx;
      ShowSmallWindow(Joined(action.lines), {action.corner.x, action.corner.y}, height, sample);
      return;
    }
    case Kind::kShowText: {
      const int height = kTextFontUnits * metrics.lineScale;
      QFont font = information_->font();
      font.setPixelSize(height);
      const int titleWidth = QFontMetrics(font).horizontalAdvance(ToQt(action.title)) +
                             static_cast<int>(kTextExtraWidthUnits * metrics.displayScale);
      ShowSmallWindow("<b>" + ToQt(action.title).toHtmlEscaped() + "</b><br>" +
                          ToQt(action.body).toHtmlEscaped().replace('\n', "<br>"),
                      {action.corner.x, action.corner.y}, height, titleWidth);
      return;
    }
    case Kind::kCloseWindows: information_->hide(); return;
    case Kind::kOpenPositionTable: emit positionTableRequested(action.chart); return;
    case Kind::kNone: return;
  }
}

void CKelvaraCView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const platform::Point point = PointOf(event);
  const ViewMetrics metrics = Metrics();
  if (StepZonesActive()) {
    if (const auto hit = HitStepZone(point, metrics, SecondChartShown(session_))) {
      const workspace::StepShift& step =
          hit->chart == kSecondChart ? session_.charts.second.step : session_.charts.main.step;
      const StepAction action = steps_.Press(*hit, step, NowMs());
      UpdateStepTimer();
      update();
      if (action.command != StepCommand::kNone) emit stepActions({action}, event->globalPosition().toPoint());
      return;
    }
  }
  if (PictureOfMode(pictures_, session_.displayMode).Tap(point, metrics, session_)) update();
  if (StylusActive()) Perform(stylus_->Down(point));
  if (EventMapPicture* map = EventMap()) ShowEvents(map->EventLinesAt(point), point);
}

void CKelvaraCView::mouseMoveEvent(QMouseEvent* event) {
  if (StylusActive() && stylus_->Dragging()) Perform(stylus_->Move(PointOf(event)));
}

void CKelvaraCView::mouseReleaseEvent(QMouseEvent* event) {
  steps_.Release();
  UpdateStepTimer();
  if (event->button() == Qt::LeftButton && StylusActive()) Perform(stylus_->Up(PointOf(event)));
  update();
}

void CKelvaraCView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // Two quick taps on a step zone are two steps, not a freeze of the "now" charts.
  if (StepZonesActive() && HitStepZone(PointOf(event), Metrics(), SecondChartShown(session_))) {
    mousePressEvent(event);
    return;
  }
  CloseSmallWindows();
  emit doubleTapped();
}

void CKelvaraCView::wheelEvent(QWheelEvent* event) {
  WheelPicture* wheel = Wheel();
  const int notches = event->angleDelta().y() / kWheelNotchUnits;
  if (session_.displayMode != DisplayMode::kWheel || !wheel || notches == 0) return;
  const int step = event->modifiers() & Qt::ShiftModifier ? kFastTurnStepDeg : kTurnStepDeg;
  wheel->Turn(notches * step);
  update();
}

void CKelvaraCView::CopyPicture() {
  const ViewMetrics metrics = Metrics();
  QImage image(size(), QImage::Format_ARGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  platform::QtCanvas canvas(painter);
  DrawPicture(canvas, metrics);
  painter.end();
  QApplication::clipboard()->setImage(image);
}

bool CKelvaraCView::PrintPicture(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  const double scale = std::min(page.width() / width(), page.height() / height());
  painter.scale(scale, scale);
  painter.setRenderHint(QPainter::Antialiasing);
  platform::QtCanvas canvas(painter);
  DrawPicture(canvas, Metrics());
  return painter.end();
}

void CKelvaraCView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    CloseSmallWindows();
  } else if (EventMapPicture* map = EventMap(); map && event->key() == Qt::Key_Home) {
    CloseSmallWindows();
    map->ResetDay();
    update();
  } else if (map && event->key() == Qt::Key_G && event->modifiers() == Qt::ControlModifier) {
    PickMapDay();
  } else if (event->key() == Qt::Key_Home && Wheel()) {
    Wheel()->ResetTurn();
    update();
  } else if (event->matches(QKeySequence::Copy)) {
    CopyPicture();
  } else if (event->matches(QKeySequence::Print)) {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintPicture(printer);
  } else {
    QWidget::keyPressEvent(event);
  }
}

bool CKelvaraCView::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const platform::Point point{help->pos().x(), help->pos().y()};
  if (const EventMapPicture* map = EventMap()) {
    const std::vector<std::string> lines = map->EventLinesAt(point);
    QToolTip::showText(help->globalPos(), lines.empty() ? QString() : Joined(lines), this);
    return true;
  }
  if (!StylusActive()) return QWidget::event(event);
  const auto glyph = target_->GlyphAt(point);
  if (!glyph) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  const std::vector<std::string> lines = target_->InformationLines(*glyph);
  QToolTip::showText(help->globalPos(), lines.empty() ? QString() : ToQt(lines.front()), this);
  return true;
}

void CKelvaraCView::UpdateStepTimer() {
  if (steps_.NeedsTicks() && !stepTimer_.isActive()) stepTimer_.start();
  if (!steps_.NeedsTicks()) stepTimer_.stop();
}

}  // namespace kelvara::app
