#include "registry/editor_model.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/tests/scratch_dir.h"
#include "registry/value_format.h"

namespace kelvara::vornal {
namespace {

using namespace platform;

const KeyPath kUser{"HKEY_CURRENT_USER", ""};

class EditorModelTest : public ::testing::Test {
 protected:
  std::optional<RegValue> Stored(const KeyPath& key, std::string_view name) {
    return editor_.ReadValue(key, name);
  }

  test_support::ScratchDir dir_;
  Registry registry_{dir_ / "registry.db"};
  RegistryEditor editor_{registry_};
};

TEST(EditorTexts, QuestionsNameTheFullPath) {
  EXPECT_EQ(DeleteValueQuestion({"HKEY_CURRENT_USER", "Software\\Kelvara"}, "SysHouse"),
            "Delete Value ?\nHKEY_CURRENT_USER\\Software\\Kelvara\\SysHouse");
  EXPECT_EQ(DeleteKeyQuestion(ChildPath({"HKEY_LOCAL_MACHINE", "A"}, "B")),
            "Delete Key ?\nHKEY_LOCAL_MACHINE\\A\\B");
  EXPECT_FALSE(RootKeyByName("HKEY_CURRENT_CONFIG"));
}

TEST(EditForms, ShowTheDataTheyCanWriteAndNoticeChanges) {
  const EditForm key = EditForm::ForNewKey();
  EXPECT_FALSE(key.dataEnabled);
  EXPECT_FALSE(key.IsChanged("", "not available"));
  EXPECT_TRUE(key.IsChanged("k", "not available"));

  const EditForm edit = EditForm::ForValue({"SysHouse", REG_DWORD, RegDwordData(12)});
  EXPECT_EQ(edit.data, "12");
  EXPECT_TRUE(edit.dataIsNumber);
  EXPECT_FALSE(edit.IsChanged("SysHouse", "12"));
  EXPECT_TRUE(edit.IsChanged("SysHouse", "13"));
  EXPECT_TRUE(edit.IsChanged("sysHouse", "12"));

  const EditForm binary = EditForm::ForValue({"b", REG_BINARY, std::string("\x00\xFF", 2)});
  EXPECT_EQ(binary.data, "00 FF");
  EXPECT_FALSE(binary.dataEnabled);
  std::string preview;
  for (int i = 0; i < 32; ++i) preview += "41 ";
  EXPECT_EQ(EditForm::ForValue({"b", 42, std::string(40, 'A')}).data, preview + "...");
  EXPECT_EQ(EditForm::ForValue({"d", REG_DWORD, "\x01\x02"}).data, "");
}

TEST_F(EditorModelTest, ReadsKeysWithTheirChildMarksAndValues) {
  editor_.CreateKey(kUser, "Full\\Child");
  editor_.CreateKey(kUser, "Empty");
  editor_.CreateString(kUser, "Note", "text");
  const KeyContents contents = editor_.ReadKey(kUser);
  ASSERT_EQ(contents.subKeys.size(), 2u);
  EXPECT_EQ(contents.subKeys[0].name, "Empty");
  EXPECT_FALSE(contents.subKeys[0].hasChildren);
  EXPECT_EQ(contents.subKeys[1].name, "Full");
  EXPECT_TRUE(contents.subKeys[1].hasChildren);
  ASSERT_EQ(contents.values.size(), 1u);
  EXPECT_EQ(contents.values[0].name, "Note");
  EXPECT_TRUE(editor_.ReadKey({"HKEY_CURRENT_USER", "Missing"}).subKeys.empty());
  EXPECT_TRUE(editor_.ReadKey({"NO_SUCH_ROOT", ""}).values.empty());
}

// Changes the store refuses are told apart from keys that are simply not there.
TEST_F(EditorModelTest, AStoreThatRefusesAChangeIsNoticed) {
  EXPECT_FALSE(editor_.DeleteValue(kUser, "absent"));
  EXPECT_FALSE(editor_.StoreRefused());
  test_support::ScratchDir other;
  std::ofstream(other / "file") << "x";
  Registry unopenable(other / "file" / "registry.db");
  RegistryEditor refusing(unopenable);
  EXPECT_FALSE(refusing.CreateString(kUser, "name", "text"));
  EXPECT_TRUE(refusing.StoreRefused());
  EXPECT_FALSE(refusing.CreateKey(kUser, "Key"));
  EXPECT_TRUE(refusing.StoreRefused());
}

TEST_F(EditorModelTest, EditedStringsAreWrittenWhole) {
  registry_.SetValue(HKEY_CURRENT_USER, "Text", REG_SZ, RegSzData("old"));
  const RegValue text = *Stored(kUser, "Text");
  EXPECT_EQ(editor_.WriteEdit(kUser, text, EditForm::ForValue(text), "Text", std::string(300, 'n')),
            WriteOutcome::Written);
  EXPECT_EQ(Stored(kUser, "Text")->data,
            RegSzData(std::string(300, 'n')));  // only new ones are cut
}

TEST_F(EditorModelTest, EditWritesNothingWithoutAChangeOrWithEmptyTexts) {
  const std::string unterminated("o\0l\0d\0", 6);
  registry_.SetValue(HKEY_CURRENT_USER, "Text", REG_SZ, unterminated);
  const RegValue text = *Stored(kUser, "Text");
  const EditForm form = EditForm::ForValue(text);
  EXPECT_EQ(editor_.WriteEdit(kUser, text, form, "Text", "old"), WriteOutcome::NotWritten);
  EXPECT_EQ(editor_.WriteEdit(kUser, text, form, "Text", ""), WriteOutcome::NotWritten);
  EXPECT_EQ(editor_.WriteEdit(kUser, text, form, "", "new"), WriteOutcome::NotWritten);
  EXPECT_EQ(Stored(kUser, "Text")->data, unterminated);

  editor_.CreateDword(kUser, "Number", "5");
  const RegValue number = *Stored(kUser, "Number");
  EXPECT_EQ(editor_.WriteEdit(kUser, number, EditForm::ForValue(number), "Number", "x"),
            WriteOutcome::NotWritten);
  EXPECT_EQ(Stored(kUser, "Number")->data, RegDwordData(5));
}

TEST_F(EditorModelTest, AnEditDoesNotBringBackAKeyDeletedMeanwhile) {
  const KeyPath gone{"HKEY_CURRENT_USER", "Gone"};
  editor_.CreateString(gone, "s", "old");
  const RegValue shown = *Stored(gone, "s");
  ASSERT_TRUE(editor_.DeleteKey(gone));
  EXPECT_EQ(editor_.WriteEdit(gone, shown, EditForm::ForValue(shown), "s", "new"),
            WriteOutcome::NotWritten);
  EXPECT_FALSE(editor_.HasChildren(kUser));
}

TEST_F(EditorModelTest, OtherTypesAreNotWritten) {
  registry_.SetValue(HKEY_CURRENT_USER, "Blob", REG_BINARY, "\x01\x02");
  const RegValue blob = *Stored(kUser, "Blob");
  EXPECT_EQ(editor_.WriteEdit(kUser, blob, EditForm::ForValue(blob), "Blob2", "01 02"),
            WriteOutcome::TypeNotWritable);
  EXPECT_EQ(Stored(kUser, "Blob")->data, "\x01\x02");
}

TEST_F(EditorModelTest, NewKeysAndValuesAreCreatedWhereAsked) {
  const std::optional<SubKeyEntry> nested = editor_.CreateKey(kUser, "Новый\\Ниже");
  ASSERT_TRUE(nested);
  EXPECT_EQ(nested->name, "Новый");
  EXPECT_TRUE(nested->hasChildren);
  EXPECT_FALSE(editor_.CreateKey(kUser, ""));
  EXPECT_FALSE(editor_.CreateKey(kUser, "a\\\\b"));
  EXPECT_FALSE(editor_.CreateKey(kUser, std::string(256, 'k')));

  const KeyPath below{"HKEY_CURRENT_USER", "Новый\\Ниже"};
  ASSERT_TRUE(editor_.CreateDword(below, "Число", "4294967295"));
  EXPECT_EQ(Stored(below, "число")->data, RegDwordData(4294967295u));
  EXPECT_FALSE(editor_.CreateDword(below, "Bad", "4294967296"));
  EXPECT_FALSE(editor_.CreateDword(below, "Empty", ""));
  EXPECT_FALSE(Stored(below, "Bad"));

  // The key is created when missing, as create-or-open does.
  const KeyPath fresh{"HKEY_LOCAL_MACHINE", "Made\\By\\Value"};
  ASSERT_TRUE(editor_.CreateString(fresh, "s", std::string(200, 's')));
  EXPECT_EQ(StringDataText(Stored(fresh, "s")->data), std::string(129, 's'));
}

}  // namespace
}  // namespace kelvara::vornal
