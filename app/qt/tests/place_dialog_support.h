// What the tests of the place dialogs share: message boxes answered in place of a
// person, typing of any text, the real city base, modal dialogs acted on from a
// timer, and the check that a dialog's controls have room.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/qt/message_boxes.h"
#include "app/qt/place_picker.h"
#include "places/city_base.h"
#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::app::testing {

// A fixture's widgets are members, made before its SetUp runs: this base, listed first,
// makes the application before them.
struct ApplicationFirst {
  ApplicationFirst() { platform::testing::TestApplication(); }
};

// Records every box's kind and text and answers `answer`; `onBox` runs while a box is up.
class RecordedBoxes {
 public:
  RecordedBoxes() {
    SetBoxAnswerer([this](BoxKind kind, const std::string& text) {
      kinds.push_back(kind);
      texts.push_back(text);
      if (onBox) onBox();
      return answer;
    });
  }
  ~RecordedBoxes() { SetBoxAnswerer({}); }

  std::vector<BoxKind> kinds;
  std::vector<std::string> texts;
  bool answer = true;
  std::function<void()> onBox;
};

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Selects the field's text and types over it. QTest::keyClicks passes only Latin-1.
inline void Retype(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline QLineEdit* PlaceEdit(PlacePicker& picker) { return picker.comboBox()->lineEdit(); }
inline QAbstractItemView* AnswersPopup(PlacePicker& picker) { return PlaceEdit(picker)->completer()->popup(); }

// Types over the place field and picks the first answer of the drop-down by keyboard.
inline void TypeAndPick(PlacePicker& picker, const char* typed) {
  Retype(PlaceEdit(picker), Q(typed));
  QTest::keyClick(AnswersPopup(picker), Qt::Key_Down);
  QTest::keyClick(AnswersPopup(picker), Qt::Key_Return);
}

inline void ShowAndActivate(QWidget& window) {
  window.show();
  window.activateWindow();
  static_cast<void>(QTest::qWaitForWindowActive(&window));
}

// The city base shipped with the program, read once.
inline const places::CityBase& RealCityBase() {
  static const places::CityBase base = [] {
    places::CityBase read;
    places::LoadCityBase(std::filesystem::path(KELVARA_SOURCE_DIR) / "data" / places::kCityBaseFileName, read);
    return read;
  }();
  return base;
}

inline places::PlacesList BuiltList(std::vector<places::PlaceRecord> records) { return {std::move(records), true}; }

// Acts on the next modal dialog once it is up.
inline void WhenModalOpens(std::function<void(QDialog&)> act, int triesLeft = 500) {
  QTimer::singleShot(5, [act, triesLeft] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      act(*dialog);
    } else if (triesLeft > 0) {
      WhenModalOpens(act, triesLeft - 1);
    }
  });
}

template <typename T>
T* VisibleWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<T*>(widget); found && found->isVisible()) return found;
  }
  return nullptr;
}

// At its minimum size no control of the window is smaller than it needs, lies over
// another or past the window's edge; the faults found, by class and object name.
inline std::vector<std::string> LayoutFaults(QWidget& window) {
  window.resize(window.minimumSize().expandedTo(window.minimumSizeHint()));
  window.layout()->activate();
  std::vector<std::pair<QWidget*, QRect>> controls;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    const bool part = qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget());
    if (w->window() != &window || !w->isVisible() || part) continue;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w)) {
      controls.emplace_back(w, QRect(w->mapTo(&window, QPoint(0, 0)), w->size()));
    }
  }
  auto name = [](QWidget* w) { return std::string(w->metaObject()->className()) + ":" + w->objectName().toStdString(); };
  std::vector<std::string> faults;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const auto& [widget, rect] = controls[i];
    const QSize needed = widget->minimumSizeHint();
    if (rect.width() < needed.width() || rect.height() < needed.height()) faults.push_back("clipped " + name(widget));
    if (!window.rect().contains(rect)) faults.push_back("outside " + name(widget));
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      if (rect.intersects(controls[j].second)) faults.push_back("overlap " + name(widget) + " " + name(controls[j].first));
    }
  }
  return faults;
}

// A picture for a person to look at, when KELVARA_SHOT_DIR names a folder.
inline void SaveShot(QWidget& window, const char* fileName) {
  if (const char* folder = std::getenv("KELVARA_SHOT_DIR")) window.grab().save(QString::fromUtf8(folder) + "/" + fileName);
}

}  // namespace kelvara::app::testing
