// The colour and line-style pickers, grabbed offscreen.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "platform/qt/colour_picker.h"
#include "platform/qt/pen_style_picker.h"
#include "platform/qt/tests/qt_test_application.h"

namespace kelvara::platform {
namespace {

constexpr Color kColorRefRed = Color::FromColorRef(0x0000FF);
constexpr Color kBlue{0, 0, 255};

int PixelsOf(const QImage& image, Color colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == QColor(colour.red, colour.green, colour.blue);
  }
  return count;
}

TEST(PickersTest, TheColourPickerShowsItsColourAndTakesTheChoosersAnswer) {
  testing::TestApplication();
  ColourPicker picker;
  picker.SetColour(kColorRefRed);
  std::optional<Color> answer;  // cancelled first
  picker.SetColorChooser([&](Color, QWidget*) { return answer; });
  picker.show();
  QSignalSpy changes(&picker, &ColourPicker::colourChanged);
  QTest::keyClick(&picker, Qt::Key_Space);
  EXPECT_GT(PixelsOf(picker.grab().toImage(), kColorRefRed), 0);
  answer = kBlue;
  QTest::keyClick(&picker, Qt::Key_Space);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_GT(PixelsOf(picker.grab().toImage(), kBlue), 0);
}

TEST(PickersTest, StyleSamplesAreDrawnInTheLinesColourAndGrowWithItsWidth) {
  testing::TestApplication();
  PenStylePicker picker;
  picker.SetLine(kColorRefRed, 1);
  picker.SetStyle(0);
  picker.show();
  const int thin = PixelsOf(picker.grab().toImage(), kColorRefRed);
  EXPECT_GT(thin, 0);
  picker.SetLine(kColorRefRed, 5);
  EXPECT_GT(PixelsOf(picker.grab().toImage(), kColorRefRed), 3 * thin);
  picker.SetStyle(2);
  EXPECT_LT(PixelsOf(picker.grab().toImage(), kColorRefRed), 3 * thin);  // dots leave gaps
  EXPECT_EQ(picker.currentText(), QString("Пунктирная"));
}

}  // namespace
}  // namespace kelvara::platform
