// The dignity edit dialog, driven through its controls, with
// "upr." in a scratch data folder.
#include "app/qt/dignity_dialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "app/qt/tests/place_dialog_support.h"
#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::app {
namespace {

namespace fs = std::filesystem;
using namespace testing;
using interpretation::DignityEdit;

enum Sign { kAries, kTaurus, kGemini, kCancer, kLeo, kVirgo, kLibra, kScorpio, kSagittarius, kCapricorn, kAquarius, kPisces };
constexpr int kSunNumber = 1, kMercuryNumber = 3, kVenusNumber = 4, kProserpinaNumber = 12;
constexpr int kNoSignShown = -1;

const DignityTables kWestern = DefaultDignityTables(Tradition::kWestern);
const DignityTables kAvestan = DefaultDignityTables(Tradition::kAvestan);

// Acts on the next modal dialog of type T once it is up; a dialog left open is cancelled,
// so a failing case does not hang. The timers die with `owner`, so that no answer waits
// past its test for another test's dialog.
template <typename T>
void WhenOpens(QObject& owner, std::function<void(T&)> act, int triesLeft = 500) {
  QTimer::singleShot(5, &owner, [&owner, act, triesLeft] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();
    } else if (triesLeft > 0) {
      WhenOpens<T>(owner, act, triesLeft - 1);
    }
  });
}

void Press(QDialog& dialog, const char* button) {
  QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
}

QString Shown(const QDialog& dialog, const char* label) { return dialog.findChild<QLabel*>(label)->text(); }

// The next dignity dialog gets `sign` chosen and then OK or Cancel.
void AnswerDignityDialog(QObject& owner, int sign, const char* button) {
  WhenOpens<CDignityDlg>(owner, [sign, button](CDignityDlg& dialog) {
    dialog.findChild<QComboBox*>("signs")->setCurrentIndex(sign);
    Press(dialog, button);
  });
}

DignityTables Moved(DignityTables tables, DignityTable DignityTables::*table, int object, std::optional<int> from,
                    int to) {
  if (from) (tables.*table)[*from][object - 1] = 0;
  (tables.*table)[to][object - 1] = 1;
  return tables;
}

class DignityDialogTest : protected ApplicationFirst, public ::testing::Test {
 protected:
  std::string Prefix() const { return (dir_.Path() / "").string(); }
  fs::path File() const { return dir_ / "upr."; }
  std::optional<DignityTables> Stored() const {
    std::string reason;
    const auto bytes = platform::ReadFileBytes(File());
    return bytes ? DecodeDignityTables(*bytes, reason) : std::nullopt;
  }
  void Store(const DignityTables& tables) { ASSERT_FALSE(SaveDignityTables(Prefix(), tables).has_value()); }
  template <typename T>
  void WhenOpens(std::function<void(T&)> act) { kelvara::app::WhenOpens<T>(answers_, std::move(act)); }
  void AnswerDignityDialog(int sign, const char* button) { kelvara::app::AnswerDignityDialog(answers_, sign, button); }

  QObject answers_;
  platform::test_support::ScratchDir dir_;
};

TEST_F(DignityDialogTest, ShowsTheObjectTheCaptionOfEachModeAndItsSign) {
  // Western Mercury holds two signs in every table.
  const struct {
    int mode;
    const char* caption;
    int sign;
  } cases[] = {
      {1, "управляет", kGemini},    {2, "управляет", kVirgo},    {3, "в изгнании", kSagittarius},
      {4, "в изгнании", kPisces},   {5, "экзальтирует", kGemini}, {6, "экзальтирует", kVirgo},
      {7, "в падении", kSagittarius}, {8, "в падении", kPisces},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    CDignityDlg dialog(*DignityEdit::Open(kWestern, kMercuryNumber, c.mode));
    EXPECT_EQ(Shown(dialog, "objectName"), Q("Меркурий"));
    EXPECT_EQ(Shown(dialog, "caption"), Q(c.caption));
    const QComboBox* signs = dialog.findChild<QComboBox*>("signs");
    ASSERT_EQ(signs->count(), 12);
    EXPECT_EQ(signs->itemText(0), Q("Овен"));
    EXPECT_EQ(signs->itemText(11), Q("Рыбы"));
    EXPECT_EQ(signs->currentIndex(), c.sign);
  }
  CDignityDlg noSecond(*DignityEdit::Open(kWestern, kSunNumber, 2));
  EXPECT_EQ(noSecond.findChild<QComboBox*>("signs")->currentIndex(), kNoSignShown);

  CDignityDlg shot(*DignityEdit::Open(kAvestan, kProserpinaNumber, 5));
  shot.show();
  EXPECT_EQ(LayoutFaults(shot), std::vector<std::string>{});
  SaveShot(shot, "dignity-dialog.png");
}

TEST_F(DignityDialogTest, OkSavesTheChosenSignAndCancelWritesNothing) {
  AnswerDignityDialog(kLeo, "cancelButton");
  EXPECT_FALSE(EditObjectDignity(nullptr, Prefix(), kWestern, kMercuryNumber, 2).has_value());
  AnswerDignityDialog(kVirgo, "okButton");  // the sign it had
  EXPECT_EQ(EditObjectDignity(nullptr, Prefix(), kWestern, kMercuryNumber, 2), kWestern);
  EXPECT_FALSE(fs::exists(File()));

  const DignityTables expected = Moved(kWestern, &DignityTables::rulership, kMercuryNumber, kVirgo, kLeo);
  AnswerDignityDialog(kLeo, "okButton");
  EXPECT_EQ(EditObjectDignity(nullptr, Prefix(), kWestern, kMercuryNumber, 2), expected);
  EXPECT_EQ(Stored(), expected);

  EXPECT_FALSE(EditObjectDignity(nullptr, Prefix(), kWestern, 17, 9).has_value());
}

}  // namespace
}  // namespace kelvara::app
