// Drives the real main dialog over a store in a scratch folder and checks the results
// in the store itself. Modal dialogs are answered from a timer; message boxes are
// recorded and answered by RecordingMessages.
#include "registry/vornal_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>

#include "platform/registry.h"
#include "platform/tests/scratch_dir.h"
#include "registry/message_boxes.h"
#include "registry/value_format.h"

namespace kelvara::vornal {
namespace {

using namespace platform;
using ItemKind = VornalDialog::ItemKind;

constexpr std::string_view kSettingsPath = "Software\\Kelvara\\Kelvara\\Settings";

class RecordingMessages : public MessageBoxes {
 public:
  void Information(const QString& text) override { shown << "information: " + text; }
  bool Question(const QString& text) override {
    shown << "question: " + text;
    return answerYes;
  }
  void FatalError(const QString& text) override { shown << "fatal: " + text; }

  QStringList shown;
  bool answerYes = true;
};

// Acts on the next modal dialog as soon as it is on screen.
void WhenModalOpens(std::function<void(QDialog&)> act, int triesLeft = 500) {
  QTimer::singleShot(5, [act, triesLeft] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      act(*dialog);
    } else if (triesLeft > 0) {
      WhenModalOpens(act, triesLeft - 1);
    }
  });
}

void FillEditDialog(QDialog& dialog, const QString& name, const QString& data) {
  dialog.findChild<QLineEdit*>("nameEdit")->setText(name);
  dialog.findChild<QLineEdit*>("dataEdit")->setText(data);
  dialog.findChild<QPushButton*>("applyButton")->click();
}

QString FieldText(QDialog& dialog, const char* name) {
  return dialog.findChild<QLineEdit*>(name)->text();
}

class VornalDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "vornal_dialog_tests";
    static char* argv[] = {name, nullptr};
    if (!qApp) new QApplication(argc, argv);
  }

  void SetUp() override {
    setenv("KELVARA_REGISTRY", (dir_ / "registry.db").c_str(), 1);
    registry_ = std::make_unique<Registry>();
    ASSERT_TRUE(registry_->IsOpen());
    Set(HKEY_CURRENT_USER, kSettingsPath, "SysHouse", REG_DWORD, RegDwordData(1));
    Set(HKEY_CURRENT_USER, kSettingsPath, "sLastNowPlace", REG_SZ, RegSzData("Москва"));
    Create(HKEY_CURRENT_USER, "Empty");
    Set(HKEY_USERS, "S-1-5-21", "Name", REG_SZ, RegSzData("user"));
  }

  void TearDown() override { unsetenv("KELVARA_REGISTRY"); }

  void Create(RegKey root, std::string_view path) {
    ScopedRegKey key(*registry_);
    ASSERT_EQ(registry_->CreateKey(root, path, key.Out()), RegStatus::Success);
  }

  void Set(RegKey root, std::string_view path, std::string_view name, RegType type,
           std::string_view data) {
    ScopedRegKey key(*registry_);
    ASSERT_EQ(registry_->CreateKey(root, path, key.Out()), RegStatus::Success);
    ASSERT_EQ(registry_->SetValue(key.Get(), name, type, data), RegStatus::Success);
  }

  std::optional<std::string> Stored(RegKey root, std::string_view path, std::string_view name) {
    ScopedRegKey key(*registry_);
    std::string data;
    if (registry_->OpenKey(root, path, key.Out()) != RegStatus::Success ||
        registry_->QueryValue(key.Get(), name, nullptr, &data) != RegStatus::Success) {
      return {};
    }
    return data;
  }

  std::optional<std::string> StoredSetting(std::string_view name) {
    return Stored(HKEY_CURRENT_USER, kSettingsPath, name);
  }

  bool KeyExists(RegKey root, std::string_view path) {
    ScopedRegKey key(*registry_);
    return registry_->OpenKey(root, path, key.Out()) == RegStatus::Success;
  }

  VornalDialog& Open() {
    dialog_ = std::make_unique<VornalDialog>(*registry_, messages_);
    return *dialog_;
  }

  static QTreeWidgetItem* Child(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; parent && i < parent->childCount(); ++i) {
      if (VornalDialog::NameOf(parent->child(i)) == name) return parent->child(i);
    }
    return nullptr;
  }

  // Expands item after item from "My Computer" down, as the user would.
  QTreeWidgetItem* ExpandTo(const QStringList& names) {
    QTreeWidgetItem* item = dialog_->Tree()->topLevelItem(0);
    for (const QString& name : names) {
      item->setExpanded(true);
      item = Child(item, name);
      if (!item) return nullptr;
    }
    item->setExpanded(true);
    return item;
  }

  QTreeWidgetItem* Settings() {
    return ExpandTo({"HKEY_CURRENT_USER", "Software", "Kelvara", "Kelvara", "Settings"});
  }

  void Run(Command command) { dialog_->CommandAction(command)->trigger(); }

  void Select(QTreeWidgetItem* item) { dialog_->Tree()->setCurrentItem(item); }

  void DoubleClick(QTreeWidgetItem* item) { emit dialog_->Tree()->itemDoubleClicked(item, 0); }

  // Makes a key under parent through the New Key dialog, as the user would.
  void AddKey(QTreeWidgetItem* parent, const QString& name) {
    Select(parent);
    WhenModalOpens([name](QDialog& d) { FillEditDialog(d, name, "not available"); });
    Run(Command::NewKey);
  }

  test_support::ScratchDir dir_;
  std::unique_ptr<Registry> registry_;
  RecordingMessages messages_;
  std::unique_ptr<VornalDialog> dialog_;
};

TEST_F(VornalDialogTest, StartShowsTheRootsUnderMyComputerWithExpandMarksOnlyWhereNeeded) {
  VornalDialog& dialog = Open();
  EXPECT_FALSE(dialog.HasFailed());
  EXPECT_EQ(dialog.windowTitle(), "Vornal v1.2");
  QTreeWidget* tree = dialog.Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* computer = tree->topLevelItem(0);
  EXPECT_EQ(computer->text(0), "My Computer");
  EXPECT_TRUE(computer->isExpanded());
  ASSERT_EQ(computer->childCount(), 4);
  EXPECT_EQ(computer->child(0)->childCount(), 0);  // empty HKEY_CLASSES_ROOT: no expand mark
  QTreeWidgetItem* user = computer->child(1);
  ASSERT_EQ(user->childCount(), 1);
  EXPECT_EQ(user->child(0)->text(0), "\\");

  user->setExpanded(true);
  ASSERT_EQ(user->childCount(), 2);
  EXPECT_EQ(user->child(0)->text(0), "Empty");
  EXPECT_EQ(user->child(0)->childCount(), 0);
  EXPECT_EQ(user->child(0)->childIndicatorPolicy(),
            QTreeWidgetItem::DontShowIndicatorWhenChildless);
  EXPECT_EQ(user->child(1)->text(0), "Software");
  EXPECT_EQ(user->child(1)->child(0)->text(0), "\\");

  QTreeWidgetItem* settings = Settings();
  ASSERT_NE(settings, nullptr);
  ASSERT_EQ(settings->childCount(), 2);
  EXPECT_EQ(settings->child(0)->text(0), "sLastNowPlace \\ Москва");
  EXPECT_EQ(settings->child(1)->text(0), "SysHouse \\ 1 (0x1)");
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(VornalDialogTest, RefreshPutsTheRootsAtTopLevelAndFillsEverything) {
  std::string deep = "Deep";
  for (int level = 1; level < 50; ++level) deep += "\\L" + std::to_string(level);
  Set(HKEY_LOCAL_MACHINE, deep, "bottom", REG_DWORD, RegDwordData(50));
  Open();
  Create(HKEY_CLASSES_ROOT, "AddedAfterStart");
  Run(Command::Refresh);

  QTreeWidget* tree = dialog_->Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(tree->topLevelItem(i)->text(0).toStdString(), kRootNames[i]);
    EXPECT_FALSE(tree->topLevelItem(i)->isExpanded());
  }
  EXPECT_NE(Child(tree->topLevelItem(0), "AddedAfterStart"), nullptr);
  QTreeWidgetItem* item = Child(tree->topLevelItem(2), "Deep");
  for (int level = 1; level < 50 && item; ++level) {
    item = Child(item, "L" + QString::number(level));
  }
  ASSERT_NE(item, nullptr);
  ASSERT_EQ(item->childCount(), 1);
  EXPECT_EQ(item->child(0)->text(0), "bottom \\ 50 (0x32)");

  std::function<int(QTreeWidgetItem*)> placeholders = [&](QTreeWidgetItem* parent) {
    int count = VornalDialog::KindOf(parent) == ItemKind::Placeholder ? 1 : 0;
    for (int i = 0; i < parent->childCount(); ++i) count += placeholders(parent->child(i));
    return count;
  };
  for (int i = 0; i < 4; ++i) EXPECT_EQ(placeholders(tree->topLevelItem(i)), 0);

  // Commands still find their keys with the roots at the top.
  AddKey(Child(Child(tree->topLevelItem(1), "Software"), "Kelvara"), "AfterRefresh");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Kelvara\\AfterRefresh"));
}

TEST_F(VornalDialogTest, EditingADwordAndAStringWritesTheStoreAndTheLabel) {
  Open();
  QTreeWidgetItem* settings = Settings();
  const struct {
    QString name, typedName, typedData, shownType, shownData;
    std::string stored;
    QString label;
  } cases[] = {
      {"SysHouse", "SysHouse", "4294967295", "REG_DWORD", "1", RegDwordData(0xFFFFFFFF),
       "SysHouse \\ 4294967295 (0xFFFFFFFF)"},
      {"sLastNowPlace", "Renamed is ignored", "Санкт-Петербург \"центр\" 100%", "REG_SZ", "Москва",
       RegSzData("Санкт-Петербург \"центр\" 100%"), "sLastNowPlace \\ Санкт-Петербург \"центр\" 100%"},
  };
  for (const auto& c : cases) {
    QTreeWidgetItem* item = Child(settings, c.name);
    QString caption, type, data;
    WhenModalOpens([&](QDialog& d) {
      caption = d.windowTitle();
      type = FieldText(d, "typeField");
      data = FieldText(d, "dataEdit");
      FillEditDialog(d, c.typedName, c.typedData);
    });
    DoubleClick(item);
    EXPECT_EQ(caption, "Vornal : Edit Value...") << c.name.toStdString();
    EXPECT_EQ(type, c.shownType);
    EXPECT_EQ(data, c.shownData);
    EXPECT_EQ(StoredSetting(c.name.toStdString()), c.stored);
    EXPECT_EQ(item->text(0), c.label);
  }
  EXPECT_FALSE(StoredSetting("Renamed is ignored"));
}

TEST_F(VornalDialogTest, ApplyWithoutAChangeWritesNothing) {
  const std::string unterminated("a\0b\0", 4);  // any write would add a terminator
  Set(HKEY_CURRENT_USER, "Raw", "text", REG_SZ, unterminated);
  Open();
  QTreeWidgetItem* value = Child(ExpandTo({"HKEY_CURRENT_USER", "Raw"}), "text");
  WhenModalOpens([](QDialog& d) { d.findChild<QPushButton*>("applyButton")->click(); });
  DoubleClick(value);
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Raw", "text"), unterminated);

  WhenModalOpens([](QDialog& d) {
    d.findChild<QLineEdit*>("dataEdit")->setText("changed, then cancelled");
    d.findChild<QPushButton*>("cancelButton")->click();
  });
  DoubleClick(value);
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Raw", "text"), unterminated);
  EXPECT_EQ(value->text(0), "text \\ ab");
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(VornalDialogTest, ANewStringOf200CharactersIsStoredCutTo129) {
  Open();
  QTreeWidgetItem* settings = Settings();
  Select(settings);
  QString caption;
  WhenModalOpens([&](QDialog& d) {
    caption = d.windowTitle();
    FillEditDialog(d, "Long", QString(200, 'z'));
  });
  Run(Command::NewString);
  EXPECT_EQ(caption, "Vornal : New STRING...");
  const auto stored = StoredSetting("Long");
  ASSERT_TRUE(stored);
  EXPECT_EQ(StringDataText(*stored), std::string(129, 'z'));
  QTreeWidgetItem* item = dialog_->Tree()->currentItem();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(VornalDialog::NameOf(item), "Long");
  EXPECT_EQ(item->parent(), settings);
}

TEST_F(VornalDialogTest, NewDwordTakesOnlyDigitsAndAppearsSelected) {
  Open();
  QTreeWidgetItem* empty = ExpandTo({"HKEY_CURRENT_USER", "Empty"});
  Select(empty);
  WhenModalOpens([](QDialog& d) {
    d.findChild<QLineEdit*>("nameEdit")->setText("Число");
    QTest::keyClicks(d.findChild<QLineEdit*>("dataEdit"), "12x3-");
    d.findChild<QPushButton*>("applyButton")->click();
  });
  Run(Command::NewDword);
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Empty", "Число"), RegDwordData(123));
  ASSERT_EQ(empty->childCount(), 1);
  EXPECT_EQ(empty->child(0)->text(0), "Число \\ 123 (0x7B)");
  EXPECT_EQ(dialog_->Tree()->currentItem(), empty->child(0));
  EXPECT_TRUE(empty->isExpanded());
}

TEST_F(VornalDialogTest, NewKeyUnderAnUnfilledKeyShowsItsSiblingsOnceAndNoPlaceholder) {
  Open();
  QTreeWidgetItem* user = ExpandTo({"HKEY_CURRENT_USER"});
  QTreeWidgetItem* software = Child(user, "Software");
  ASSERT_EQ(software->childCount(), 1);  // still the placeholder
  Select(software);
  WhenModalOpens([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Vornal : New KEY...");
    EXPECT_FALSE(d.findChild<QLineEdit*>("dataEdit")->isEnabled());
    EXPECT_EQ(FieldText(d, "dataEdit"), "not available");
    FillEditDialog(d, "Новый ключ", "not available");
  });
  Run(Command::NewKey);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Новый ключ"));
  ASSERT_EQ(software->childCount(), 2);
  EXPECT_EQ(software->child(0)->text(0), "Kelvara");
  EXPECT_EQ(software->child(1)->text(0), "Новый ключ");
  EXPECT_EQ(dialog_->Tree()->currentItem(), software->child(1));

  AddKey(software, "kelvara");  // exists already: selected, not doubled
  EXPECT_EQ(software->childCount(), 2);
  EXPECT_EQ(dialog_->Tree()->currentItem(), software->child(0));
}

TEST_F(VornalDialogTest, ANewKeyNameWithBackslashesMakesEveryLevel) {
  Open();
  QTreeWidgetItem* empty = ExpandTo({"HKEY_CURRENT_USER", "Empty"});
  AddKey(empty, "Уровень 1\\Уровень 2");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Empty\\Уровень 1\\Уровень 2"));
  ASSERT_EQ(empty->childCount(), 1);
  QTreeWidgetItem* first = empty->child(0);
  EXPECT_EQ(first->text(0), "Уровень 1");
  first->setExpanded(true);
  ASSERT_EQ(first->childCount(), 1);
  EXPECT_EQ(first->child(0)->text(0), "Уровень 2");

  AddKey(empty, "уровень 1\\Уровень 3");  // an existing first level is shown again, refilled
  ASSERT_EQ(empty->childCount(), 1);
  EXPECT_EQ(empty->child(0)->text(0), "Уровень 1");  // the store's spelling stays
  empty->child(0)->setExpanded(true);
  ASSERT_EQ(empty->child(0)->childCount(), 2);
  EXPECT_EQ(empty->child(0)->child(1)->text(0), "Уровень 3");

  AddKey(empty, "bad\\\\path");  // refused by the store: nothing shown, nothing reported
  EXPECT_EQ(empty->childCount(), 1);
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(VornalDialogTest, DeletingKeysAndValuesAsksFirst) {
  Open();
  QTreeWidgetItem* settings = Settings();
  Select(Child(settings, "SysHouse"));
  messages_.answerYes = false;
  Run(Command::DeleteSelected);
  EXPECT_TRUE(StoredSetting("SysHouse"));
  EXPECT_NE(Child(settings, "SysHouse"), nullptr);

  messages_.answerYes = true;
  Run(Command::DeleteSelected);
  EXPECT_FALSE(StoredSetting("SysHouse"));
  EXPECT_EQ(Child(settings, "SysHouse"), nullptr);

  QTreeWidgetItem* software = ExpandTo({"HKEY_CURRENT_USER", "Software"});
  Select(software);
  Run(Command::DeleteSelected);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software"));
  EXPECT_EQ(Child(ExpandTo({"HKEY_CURRENT_USER"}), "Software"), nullptr);
  const QString valueQuestion =
      "question: Delete Value ?\nHKEY_CURRENT_USER\\Software\\Kelvara\\Kelvara\\Settings\\SysHouse";
  EXPECT_EQ(messages_.shown, QStringList({valueQuestion, valueQuestion,
                                          "question: Delete Key ?\nHKEY_CURRENT_USER\\Software"}));
}

TEST_F(VornalDialogTest, DeletingARootShowsTheRootMessageAndDeletesNothing) {
  Open();
  Select(ExpandTo({"HKEY_USERS"}));
  Run(Command::DeleteSelected);
  EXPECT_EQ(messages_.shown, QStringList({"information: You cannot delete\na ROOT Key !"}));
  EXPECT_EQ(Stored(HKEY_USERS, "S-1-5-21", "Name"), RegSzData("user"));
  EXPECT_NE(Child(dialog_->Tree()->topLevelItem(0), "HKEY_USERS"), nullptr);

  messages_.shown.clear();
  Select(dialog_->Tree()->topLevelItem(0));
  Run(Command::DeleteSelected);  // "My Computer": nothing at all
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(VornalDialogTest, DamagedValuesAndOddNamesShowAndEditCleanly) {
  const std::string odd = "Нечётный \\ ключ";  // a backslash is only a value-name character
  Set(HKEY_CURRENT_USER, "Bad", "odd string", REG_SZ, std::string("o\0k\0!", 5));
  Set(HKEY_CURRENT_USER, "Bad", "short dword", REG_DWORD, "\x01\x02");
  Set(HKEY_CURRENT_USER, "Bad", "garbage", REG_BINARY, std::string("\0\xFF\xFE\x80", 4));
  Set(HKEY_CURRENT_USER, "Bad", "type 99", 99, "??");
  Set(HKEY_CURRENT_USER, "Bad", odd, REG_SZ, RegSzData("x"));
  Set(HKEY_CURRENT_USER, "Bad", "Нечётный", REG_SZ, RegSzData("other"));
  Open();
  QTreeWidgetItem* bad = ExpandTo({"HKEY_CURRENT_USER", "Bad"});
  ASSERT_EQ(bad->childCount(), 6);
  EXPECT_EQ(Child(bad, "odd string")->text(0), "odd string \\ ok");  // per type: value_format_test
  EXPECT_EQ(Child(bad, "type 99")->text(0), "type 99 \\ default");
  EXPECT_EQ(Child(bad, QString::fromStdString(odd))->text(0),
            QString::fromStdString(odd + " \\ x"));

  WhenModalOpens([](QDialog& d) {
    EXPECT_EQ(FieldText(d, "dataEdit"), "");
    FillEditDialog(d, "short dword", "5");
  });
  DoubleClick(Child(bad, "short dword"));
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Bad", "short dword"), RegDwordData(5));

  WhenModalOpens([](QDialog& d) {
    EXPECT_EQ(FieldText(d, "typeField"), "REG_BINARY");
    FillEditDialog(d, "garbage2", FieldText(d, "dataEdit"));
  });
  DoubleClick(Child(bad, "garbage"));
  EXPECT_EQ(messages_.shown,
            QStringList({"information: This Value's Type cannot be writen yet !"}));
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Bad", "garbage"), std::string("\0\xFF\xFE\x80", 4));

  WhenModalOpens([](QDialog& d) { FillEditDialog(d, FieldText(d, "nameEdit"), "y"); });
  DoubleClick(Child(bad, QString::fromStdString(odd)));
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Bad", odd), RegSzData("y"));
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Bad", "Нечётный"), RegSzData("other"));
}

TEST_F(VornalDialogTest, FindRecordsItsOptionsOnlyOnSearch) {
  Open();
  EXPECT_EQ(dialog_->Options().text, "");
  EXPECT_TRUE(dialog_->Options().keys && dialog_->Options().values && dialog_->Options().datas);
  WhenModalOpens([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Vornal : Find...");
    EXPECT_EQ(d.findChild<QCheckBox*>("keysCheck")->text(), "  Keys");
    d.findChild<QLineEdit*>("searchEdit")->setText("Kelvara");
    d.findChild<QCheckBox*>("valuesCheck")->setChecked(false);
    d.findChild<QPushButton*>("searchButton")->click();
  });
  Run(Command::Find);
  EXPECT_EQ(dialog_->Options().text, "Kelvara");
  EXPECT_FALSE(dialog_->Options().values);
  EXPECT_TRUE(dialog_->Options().datas);

  WhenModalOpens([](QDialog& d) {
    EXPECT_EQ(d.findChild<QLineEdit*>("searchEdit")->text(), "Kelvara");
    d.findChild<QLineEdit*>("searchEdit")->setText("other");
    d.findChild<QPushButton*>("cancelButton")->click();
  });
  Run(Command::Find);
  EXPECT_EQ(dialog_->Options().text, "Kelvara");
}

TEST_F(VornalDialogTest, AboutShowsTheWindowTitle) {
  Open();
  QString seen;  // filled only if the dialog really opened
  WhenModalOpens([&](QDialog& d) {
    seen = d.windowTitle() + " | " + d.findChild<QLabel*>("titleField")->text();
    d.accept();
  });
  Run(Command::About);
  EXPECT_EQ(seen, "Vornal : About... | Vornal v1.2");
}

TEST_F(VornalDialogTest, PreviousAndNextMoveThroughVisibleItems) {
  Open();
  QTreeWidget* tree = dialog_->Tree();
  QTreeWidgetItem* computer = tree->topLevelItem(0);
  Select(computer->child(1));
  EXPECT_EQ(dialog_->CommandAction(Command::SelectNext)->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_Down));
  Run(Command::SelectNext);
  EXPECT_EQ(tree->currentItem(), computer->child(2));  // HKCU is collapsed: skipped over
  Run(Command::SelectPrevious);
  Run(Command::SelectPrevious);
  EXPECT_EQ(tree->currentItem(), computer->child(0));
  Run(Command::SelectPrevious);
  Run(Command::SelectPrevious);
  EXPECT_EQ(tree->currentItem(), computer);  // stays at the top
}

TEST_F(VornalDialogTest, CommandsWithoutASelectedKeyDoNothing) {
  Open();
  dialog_->Tree()->setCurrentItem(nullptr);
  for (Command command :
       {Command::NewKey, Command::NewDword, Command::NewString, Command::DeleteSelected,
        Command::NewBinary, Command::NewExpString, Command::NewMultiString}) {
    Run(command);  // no dialog may open: nothing would answer it
  }
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(VornalDialogTest, AnUnavailableStoreIsAFatalError) {
  std::ofstream(dir_ / "file") << "x";
  Registry broken(dir_ / "file" / "registry.db");
  VornalDialog dialog(broken, messages_);
  EXPECT_TRUE(dialog.HasFailed());
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].startsWith("fatal: ERROR & QUIT !\n"))
      << messages_.shown[0].toStdString();
}

}  // namespace
}  // namespace kelvara::vornal
