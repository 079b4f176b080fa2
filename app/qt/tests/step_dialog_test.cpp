#include "app/qt/step_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::app {
namespace {

using workspace::StepShift;

const QStringList kLabels = {"Лет", "Мес", "Дн", "час", "мин", "сек"};
constexpr StepShift kStep{1, 2, 3, 4, 5, 6, 9};

const QLabel* LabelledAs(const QDialog& dialog, const QString& text) {
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text() == text) return label;
  }
  return nullptr;
}

QSpinBox* FieldLabelled(const QDialog& dialog, const QString& text) {
  const QLabel* label = LabelledAs(dialog, text);
  return label ? qobject_cast<QSpinBox*>(label->buddy()) : nullptr;
}

QPushButton* ButtonNamed(const QDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

QPushButton* StandardButton(const QDialog& dialog, QDialogButtonBox::StandardButton which) {
  const auto* box = dialog.findChild<QDialogButtonBox*>();
  return box ? box->button(which) : nullptr;
}

void Type(QSpinBox* field, const QString& text) {
  ASSERT_NE(field, nullptr);
  field->selectAll();
  QTest::keyClicks(field, text);
}

void Click(QPushButton* button) {
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

class StepDialogTest : public ::testing::Test {
 protected:
  // Runs EditStep with `user` acting on the open dialog; a user that leaves it open
  // gets it cancelled, so a failing case does not hang.
  StepDialogResult Edit(StepShift& step, const std::function<void(CStepDlg&)>& user, QPoint tap = {40, 40}) {
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* dialog = qobject_cast<CStepDlg*>(modal);
      if (dialog == nullptr) {
        ADD_FAILURE() << "no step dialog open";
        if (modal != nullptr) modal->close();
        return;
      }
      shownAt_ = dialog->geometry();
      user(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    return CStepDlg::EditStep(nullptr, 1, step, tap);
  }

  QApplication& application_ = platform::testing::TestApplication();
  QRect shownAt_;
};

TEST_F(StepDialogTest, ShowsTheChartsStepUnderTheSixLabels) {
  for (const int chart : {1, 2}) {
    CStepDlg dialog(chart, kStep);
    EXPECT_EQ(dialog.windowTitle(), QString("Задайте шаг пересчета для карты %1").arg(chart));
    EXPECT_NE(LabelledAs(dialog, "Задайте шаг пересчета"), nullptr);
    const int parts[] = {kStep.years, kStep.months, kStep.days, kStep.hours, kStep.minutes, kStep.seconds};
    for (int i = 0; i < kLabels.size(); ++i) {
      QSpinBox* field = FieldLabelled(dialog, kLabels[i]);
      ASSERT_NE(field, nullptr) << kLabels[i].toStdString();
      EXPECT_EQ(field->value(), parts[i]) << kLabels[i].toStdString();
      field->setValue(-5);
      EXPECT_EQ(field->value(), 0) << kLabels[i].toStdString();
    }
    EXPECT_EQ(dialog.Shown(), StepShift{});
  }
}

TEST_F(StepDialogTest, TheButtonsDecideWhatBecomesOfTheStep) {
  const struct {
    const char* name;
    std::function<void(CStepDlg&)> user;
    StepDialogResult result;
    StepShift step;
  } cases[] = {
      {"typed, OK",
       [](CStepDlg& d) {
         Type(FieldLabelled(d, "Дн"), "12");
         Type(FieldLabelled(d, "сек"), "30");
         Click(StandardButton(d, QDialogButtonBox::Ok));
       },
       StepDialogResult::kAccepted, {1, 2, 12, 4, 5, 30, 9}},
      {"cleared, OK",
       [](CStepDlg& d) {
         Click(ButtonNamed(d, "Обнулить"));
         Click(StandardButton(d, QDialogButtonBox::Ok));
       },
       StepDialogResult::kAccepted, {}},
      {"typed, Убрать",
       [](CStepDlg& d) {
         Type(FieldLabelled(d, "час"), "7");
         Click(ButtonNamed(d, "Убрать"));
       },
       StepDialogResult::kStepModeOff, kStep},
      {"cleared, Cancel",
       [](CStepDlg& d) {
         Click(ButtonNamed(d, "Обнулить"));
         Click(StandardButton(d, QDialogButtonBox::Cancel));
       },
       StepDialogResult::kCancelled, kStep},
  };
  for (const auto& c : cases) {
    StepShift step = kStep;
    EXPECT_EQ(Edit(step, c.user), c.result) << c.name;
    EXPECT_EQ(step, c.step) << c.name;
  }
}

TEST_F(StepDialogTest, OpensBesideTheTapAndStaysOnTheScreen) {
  const QRect screen(0, 0, 800, 600);
  const QSize size(200, 100);
  const struct {
    QPoint tap;
    QPoint at;
  } cases[] = {
      {{100, 100}, {108, 108}},  // below and right of the tap
      {{750, 550}, {542, 442}},  // the other side near the corner
      {{795, 20}, {587, 28}},
      {{150, 590}, {158, 482}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StepDialogPosition(size, c.tap, screen), c.at) << c.tap.x() << "," << c.tap.y();
  }
  EXPECT_EQ(StepDialogPosition({900, 700}, {400, 300}, screen), QPoint(0, 0));  // larger than the screen

  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  StepShift step = kStep;
  Edit(step, [](CStepDlg&) {}, available.bottomRight());
  EXPECT_TRUE(available.contains(shownAt_)) << shownAt_.x() << "," << shownAt_.y();
}

}  // namespace
}  // namespace kelvara::app
