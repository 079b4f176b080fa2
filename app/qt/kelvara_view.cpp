#include "app/qt/kelvara_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/command_menu.h"
#include "platform/qt/qt_canvas.h"

namespace kelvara::app {
namespace {

constexpr platform::Color kZoneColour{0x80, 0x80, 0x80};
constexpr platform::Color kPressedColour{0x00, 0x00, 0xC0};

platform::Point PointOf(const QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  return {position.x(), position.y()};
}

// The arrow of a pressed step zone: a triangle pointing the way the chart moves.
void DrawArrow(platform::Canvas& canvas, const platform::Rect& zone, StepZone kind) {
  const int inset = zone.Height() / 4;
  const int top = zone.top + inset, bottom = zone.bottom - inset, middle = (zone.top + zone.bottom) / 2;
  const int left = zone.left + inset, right = zone.right - inset;
  const std::array<platform::Point, 3> corners =
      kind == StepZone::kBackward ? std::array<platform::Point, 3>{{{right, top}, {right, bottom}, {left, middle}}}
                                  : std::array<platform::Point, 3>{{{left, top}, {left, bottom}, {right, middle}}};
  canvas.DrawPolygon(corners);
}

}  // namespace

CKelvaraCView::CKelvaraCView(Session& session, ViewPictures& pictures, StepController& steps, QWidget* parent)
    : QWidget(parent), session_(session), pictures_(pictures), steps_(steps) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(240, 240);
  elapsed_.start();
  stepTimer_.setInterval(static_cast<int>(kStepTickMs));
  connect(&stepTimer_, &QTimer::timeout, this, [this] {
    const std::vector<StepAction> due = steps_.Tick(NowMs());
    if (!due.empty()) emit stepActions(due, QCursor::pos());
    UpdateStepTimer();
  });
}

ViewMetrics CKelvaraCView::Metrics() const { return MetricsForSize(width(), height()); }

bool CKelvaraCView::StepZonesActive() const {
  return session_.displayMode == DisplayMode::kWheel && session_.settings.stepShift;
}

void CKelvaraCView::DrawPressedZone(platform::Canvas& canvas, const ViewMetrics& metrics) {
  const auto pressed = steps_.Pressed();
  if (!pressed || pressed->zone == StepZone::kMiddle) return;
  canvas.SetPen({kPressedColour, metrics.lineScale});
  canvas.SetBrush(platform::Brush::Solid(kPressedColour));
  DrawArrow(canvas, StepZonesFor(pressed->chart, metrics).Of(pressed->zone), pressed->zone);
}

void CKelvaraCView::DrawPicture(platform::Canvas& canvas, const ViewMetrics& metrics) {
  PictureOfMode(pictures_, session_.displayMode).Draw(canvas, metrics, session_);
  if (!StepZonesActive()) return;
  // The zones are outlined here until the wheel draws them in its own style.
  canvas.SetPen({kZoneColour, 1, platform::PenStyle::Dot});
  canvas.SetBrush(platform::Brush::Hollow());
  for (int chart : {kFirstChart, kSecondChart}) {
    if (chart == kSecondChart && !SecondChartShown(session_)) continue;
    const StepZones zones = StepZonesFor(chart, metrics);
    for (const platform::Rect& zone : {zones.backward, zones.middle, zones.forward}) canvas.DrawRectangle(zone);
  }
  DrawPressedZone(canvas, metrics);
}

void CKelvaraCView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  platform::QtCanvas canvas(painter);
  DrawPicture(canvas, Metrics());
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
}

void CKelvaraCView::mouseReleaseEvent(QMouseEvent*) {
  steps_.Release();
  UpdateStepTimer();
  update();
}

void CKelvaraCView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // Two quick taps on a step zone are two steps, not a freeze of the "now" charts.
  if (StepZonesActive() && HitStepZone(PointOf(event), Metrics(), SecondChartShown(session_))) {
    mousePressEvent(event);
    return;
  }
  emit doubleTapped();
}

void CKelvaraCView::UpdateStepTimer() {
  if (steps_.NeedsTicks() && !stepTimer_.isActive()) stepTimer_.start();
  if (!steps_.NeedsTicks()) stepTimer_.stop();
}

}  // namespace kelvara::app
