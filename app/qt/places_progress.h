// The progress window of the long work on the places list (dialog 136): building the
// list, importing and exporting place files. Quick work never shows it.
#pragma once

#include <string>

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include "places/places_list.h"

class QLabel;
class QPushButton;

namespace kelvara::app {

class PlacesProgressWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDefaultShowAfterMs = 300;

  // `interruptible` false greys "Прервать" out, for work that must run to its end.
  PlacesProgressWindow(places::PlacesWork work, int showAfterMs, bool interruptible, QWidget* parent);

  // What the places functions call after each place: shows the window once the work
  // has taken `showAfterMs`, then lets its timer and "Прервать" be heard. False once
  // "Прервать" was pressed.
  bool Report(const places::PlacesProgress& progress);
  places::ProgressCallback Callback() {
    return [this](const places::PlacesProgress& progress) { return Report(progress); };
  }

  QString text() const;
  QPushButton* interruptButton() const { return interrupt_; }

  // Closing the window is the same as "Прервать".
  void reject() override;

 private:
  void Refresh();

  places::PlacesWork work_;
  int showAfterMs_;
  QLabel* text_;
  QPushButton* interrupt_;
  QTimer refresh_;
  QElapsedTimer running_;
  QElapsedTimer sincePoll_;
  places::PlacesProgress last_;
  std::string lastName_;  // `last_.current` views this copy
  bool interrupted_ = false;
};

}  // namespace kelvara::app
