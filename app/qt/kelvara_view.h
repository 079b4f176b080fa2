// The main view: paints the picture of the display mode through the canvas and hands
// the stylus to the frame. Taps on the step zones, double taps and the step timer's
// ticks leave as signals; the view decides nothing about the charts.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "app/session.h"
#include "app/step_shift.h"
#include "app/view_metrics.h"
#include "app/view_picture.h"

namespace kelvara::app {

class CKelvaraCView : public QWidget {
  Q_OBJECT

 public:
  CKelvaraCView(Session& session, ViewPictures& pictures, StepController& steps, QWidget* parent = nullptr);

  ViewMetrics Metrics() const;
  // Paints the picture of the mode on any canvas (the window, a picture file).
  void DrawPicture(platform::Canvas& canvas, const ViewMetrics& metrics);
  // Milliseconds on the view's steady count, as the step controller takes them.
  double NowMs() const { return static_cast<double>(elapsed_.elapsed()); }
  // Runs the 500-ms step timer while the controller wants ticks.
  void UpdateStepTimer();

 signals:
  void doubleTapped();
  void stepActions(const std::vector<kelvara::app::StepAction>& actions, QPoint globalPoint);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool StepZonesActive() const;
  void DrawPressedZone(platform::Canvas& canvas, const ViewMetrics& metrics);

  Session& session_;
  ViewPictures& pictures_;
  StepController& steps_;
  QTimer stepTimer_;
  QElapsedTimer elapsed_;
};

}  // namespace kelvara::app
