// The main view: paints the picture of the display mode through the canvas and hands
// the stylus to the picture's gesture model. Taps on the step zones, double taps, the
// step timer's ticks and the swipes that open a position table leave as signals; the
// view decides nothing about the charts.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>

class QPrinter;
#include <functional>
#include <memory>
#include <optional>

#include "app/session.h"
#include "app/step_shift.h"
#include "app/view_metrics.h"
#include "app/view_picture.h"
#include "display/chart_view_stylus.h"
#include "platform/qt/qt_canvas.h"

namespace kelvara::app {

class WheelPicture;
class EventMapPicture;

class CKelvaraCView : public QWidget {
  Q_OBJECT

 public:
  CKelvaraCView(Session& session, ViewPictures& pictures, StepController& steps, QWidget* parent = nullptr);
  ~CKelvaraCView() override;

  ViewMetrics Metrics() const;
  // Paints the picture of the mode on any canvas (the window, a picture file).
  void DrawPicture(platform::Canvas& canvas, const ViewMetrics& metrics);
  // Milliseconds on the view's steady count, as the step controller takes them.
  double NowMs() const { return static_cast<double>(elapsed_.elapsed()); }
  // Runs the 500-ms step timer while the controller wants ticks.
  void UpdateStepTimer();
  // The small windows opened by taps; null while none is shown.
  QLabel* InformationWindow() const { return information_->isVisible() ? information_ : nullptr; }
  void CloseSmallWindows();
  // The event map's day moves by whole days; nothing in the other modes.
  void ShiftMapDay(int days);
  // Ctrl+G on the event map: the date field, and the dial of the day picked.
  void PickMapDay();
  const display::ChartViewStylus& Stylus() const { return *stylus_; }
  bool ClockTicking() const { return clockTimer_.isActive(); }
  // Paints the picture onto the printer's page, as large as fits; false when it refused.
  bool PrintPicture(QPrinter& printer);
  // Makes the off-screen image each paint goes through; a null image stands for a
  // machine out of graphics memory.
  void SetImageFactory(std::function<QImage(QSize)> factory) { imageFactory_ = std::move(factory); }
  // The short text of a hexagram ("%d И-Цзин short"); empty when there is none.
  void SetShortTextSource(display::ShortTextSource source);

 signals:
  void doubleTapped();
  void stepActions(const std::vector<kelvara::app::StepAction>& actions, QPoint globalPoint);
  void positionTableRequested(int chart);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  class PictureTarget;

  bool StepZonesActive() const;
  bool StylusActive() const;
  WheelPicture* Wheel() const;
  // The event map while it is shown; null in the other modes.
  EventMapPicture* EventMap() const;
  void ShowEvents(const std::vector<std::string>& lines, platform::Point point);
  void Perform(const display::StylusAction& action);
  void ShowSmallWindow(const QString& text, QPoint corner, int fontHeight, int minimumWidth);
  void CopyPicture();
  void UpdateClockTimer();

  Session& session_;
  ViewPictures& pictures_;
  StepController& steps_;
  QTimer stepTimer_;
  QTimer clockTimer_;
  QElapsedTimer elapsed_;
  std::unique_ptr<PictureTarget> target_;
  std::unique_ptr<display::ChartViewStylus> stylus_;
  display::ShortTextSource shortText_;
  std::optional<platform::Rect> dragSquare_;
  QLabel* information_ = nullptr;
  bool resourceMessageShown_ = false;
  std::function<QImage(QSize)> imageFactory_;
  platform::GlyphImageCache glyphImages_;  // large glyphs, from one paint to the next
  WallpaperBitmap wallpaperBitmap_;        // the wallpaper, likewise
};

}  // namespace kelvara::app
