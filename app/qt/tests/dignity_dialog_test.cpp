// The dignity edit dialog and the rulership systems, driven through their controls, with
// "upr." in a scratch data folder.
#include "app/qt/dignity_dialog.h"
#include "app/qt/rulership_systems_dialog.h"

#include <sys/resource.h>

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
using interpretation::ChainKind;
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

// The soft limit on file sizes, lowered for the test's life; root is bound by it as well.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

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

  fs::remove(File());
  WhenOpens<CRulershipSystemsDlg>([this](CRulershipSystemsDlg& dialog) {
    AnswerDignityDialog(kCapricorn, "okButton");
    QTest::keyClick(dialog.grid(ChainKind::kRulership), Qt::Key_Return);
    EXPECT_NE(dialog.systems().tables(), kWestern);
    Press(dialog, "cancelButton");
  });
  EXPECT_FALSE(EditRulershipSystems(nullptr, Prefix(), Tradition::kWestern, kWestern).has_value());
  EXPECT_FALSE(fs::exists(File()));
}

TEST_F(DignityDialogTest, CellsOpenTheEditAndOkSavesAllOfIt) {
  CRulershipSystemsDlg dialog(Prefix(), Tradition::kWestern, kWestern);
  ShowAndActivate(dialog);
  auto* tabs = dialog.findChild<QTabWidget*>();

  // Double-click: Venus's second sign of exaltation, Pisces, becomes Aquarius.
  QTableWidget* exaltation = dialog.grid(ChainKind::kExaltation);
  tabs->setCurrentWidget(exaltation);
  const QRect cell = exaltation->visualRect(exaltation->model()->index(kVenusNumber - 1, 1));
  QString caption;
  WhenOpens<CDignityDlg>([&](CDignityDlg& edit) {
    caption = Shown(edit, "caption");
    edit.findChild<QComboBox*>("signs")->setCurrentIndex(kAquarius);
    Press(edit, "okButton");
  });
  // A widget gets the second click alone; the first comes before it, as from a person.
  QTest::mouseClick(exaltation->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(exaltation->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(caption, Q("экзальтирует"));
  EXPECT_EQ(exaltation->item(kVenusNumber - 1, 1)->text(), Q("Водолей"));

  // Enter: the Sun gains a second sign of rulership.
  QTableWidget* rulership = dialog.grid(ChainKind::kRulership);
  tabs->setCurrentWidget(rulership);
  rulership->setCurrentCell(kSunNumber - 1, 1);
  AnswerDignityDialog(kLibra, "okButton");
  QTest::keyClick(rulership, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible()) << "Enter opens the cell and does not close the dialog";
  EXPECT_EQ(rulership->item(kSunNumber - 1, 1)->text(), Q("Весы"));
  EXPECT_FALSE(fs::exists(File()));
  EXPECT_EQ(LayoutFaults(dialog), std::vector<std::string>{});
  SaveShot(dialog, "rulership-dialog.png");

  Press(dialog, "okButton");
  const DignityTables expected =
      Moved(Moved(kWestern, &DignityTables::exaltation, kVenusNumber, kPisces, kAquarius), &DignityTables::rulership,
            kSunNumber, std::nullopt, kLibra);
  EXPECT_EQ(dialog.systems().tables(), expected);
  EXPECT_EQ(Stored(), expected);
}

TEST_F(DignityDialogTest, RestoringAsksThenRemovesTheFileAndShowsTheDefaults) {
  const DignityTables edited = Moved(kAvestan, &DignityTables::rulership, kProserpinaNumber, kVirgo, kLeo);
  Store(edited);
  RecordedBoxes boxes;
  WhenOpens<CRulershipSystemsDlg>([&](CRulershipSystemsDlg& dialog) {
    QTableWidget* rulership = dialog.grid(ChainKind::kRulership);
    EXPECT_EQ(rulership->item(kProserpinaNumber - 1, 0)->text(), Q("Лев"));
    boxes.answer = false;
    Press(dialog, "restoreButton");
    EXPECT_TRUE(fs::exists(File()));
    EXPECT_EQ(dialog.systems().tables(), edited);
    boxes.answer = true;
    Press(dialog, "restoreButton");
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_EQ(rulership->item(kProserpinaNumber - 1, 0)->text(), Q("Дева"));
    Press(dialog, "cancelButton");
  });
  // The file is gone, so even Cancel leaves the run with the defaults.
  EXPECT_EQ(EditRulershipSystems(nullptr, Prefix(), Tradition::kAvestan, edited), kAvestan);
  EXPECT_EQ(boxes.kinds, (std::vector<BoxKind>{BoxKind::kYesNo, BoxKind::kYesNo}));
  EXPECT_EQ(boxes.texts.back(), "Восстановить таблицы управителей по умолчанию?");
}

TEST_F(DignityDialogTest, AFailedSaveIsShownKeepsTheOldFileAndTheEditForTheRun) {
  const DignityTables old = Moved(kWestern, &DignityTables::fall, kSunNumber, kLibra, kAries);
  Store(old);
  const std::string oldBytes = *platform::ReadFileBytes(File());
  const DignityTables expected = Moved(old, &DignityTables::rulership, kSunNumber, kLeo, kCancer);
  {
    RecordedBoxes boxes;
    FileSizeLimit limit(100);  // the tables take 3072 bytes
    WhenOpens<CRulershipSystemsDlg>([this](CRulershipSystemsDlg& dialog) {
      AnswerDignityDialog(kCancer, "okButton");
      QTest::keyClick(dialog.grid(ChainKind::kRulership), Qt::Key_Return);
      Press(dialog, "okButton");
    });
    EXPECT_EQ(EditRulershipSystems(nullptr, Prefix(), Tradition::kWestern, old), expected);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("Не удается записать файл " + File().string() + ": ", 0), 0u) << boxes.texts[0];
  }
  EXPECT_EQ(platform::ReadFileBytes(File()), oldBytes);
}

}  // namespace
}  // namespace kelvara::app
