#include "registry/editor_model.h"

#include <cstdio>

#include "registry/value_format.h"

namespace kelvara::vornal {

using namespace platform;

namespace {

constexpr std::array<RegKey, 4> kRootKeys = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
                                             HKEY_LOCAL_MACHINE, HKEY_USERS};
// Enough of unwritable data to recognise it; the rest is elided.
constexpr std::size_t kHexPreviewBytes = 32;
constexpr std::string_view kNotAvailable = "not available";
constexpr std::string_view kValueNameLabel = "Value Name :";
constexpr std::string_view kValueDataLabel = "Value Data :";

std::string HexPreview(std::string_view data) {
  std::string text;
  for (std::size_t i = 0; i < data.size() && i < kHexPreviewBytes; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X ", static_cast<unsigned char>(data[i]));
    text += byte;
  }
  if (data.size() > kHexPreviewBytes) text += "...";
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string DataText(const RegValue& value) {
  std::uint32_t number = 0;
  switch (value.type) {
    case REG_SZ: return StringDataText(value.data);
    case REG_DWORD: return DecodeRegDword(value.data, &number) ? std::to_string(number) : "";
    default: return HexPreview(value.data);
  }
}

EditForm NewValueForm(EditForm::Kind kind, std::string caption, std::string typeText) {
  EditForm form;
  form.kind = kind;
  form.caption = std::move(caption);
  form.typeText = std::move(typeText);
  form.nameLabel = kValueNameLabel;
  form.dataLabel = kValueDataLabel;
  return form;
}

}  // namespace

std::optional<RegKey> RootKeyByName(std::string_view rootName) {
  for (std::size_t i = 0; i < kRootNames.size(); ++i) {
    if (kRootNames[i] == rootName) return kRootKeys[i];
  }
  return {};
}

KeyPath ChildPath(const KeyPath& parent, std::string_view name) {
  KeyPath child = parent;
  if (!child.path.empty()) child.path += kRegPathSeparator;
  child.path += name;
  return child;
}

std::string DeleteValueQuestion(const KeyPath& key, std::string_view valueName) {
  return "Delete Value ?\n" + key.rootName + "\\" + key.path + "\\" + std::string(valueName);
}

std::string DeleteKeyQuestion(const KeyPath& key) {
  return "Delete Key ?\n" + key.rootName + "\\" + key.path;
}

std::string FatalErrorText(std::string_view message) {
  return "ERROR & QUIT !\n" + std::string(message);
}

EditForm EditForm::ForValue(const RegValue& value) {
  EditForm form = NewValueForm(Kind::EditValue, "Vornal : Edit Value...", TypeName(value.type));
  form.name = value.name;
  form.data = DataText(value);
  form.dataEnabled = value.type == REG_SZ || value.type == REG_DWORD;
  form.dataIsNumber = value.type == REG_DWORD;
  return form;
}

EditForm EditForm::ForNewKey() {
  EditForm form;
  form.kind = Kind::NewKey;
  form.caption = "Vornal : New KEY...";
  form.typeText = "REG_KEY";
  form.nameLabel = "Key Name :";
  form.data = kNotAvailable;
  form.dataEnabled = false;
  return form;
}

EditForm EditForm::ForNewDword() {
  EditForm form = NewValueForm(Kind::NewDword, "Vornal : New DWORD...", "REG_DWORD");
  form.dataIsNumber = true;
  return form;
}

EditForm EditForm::ForNewString() {
  return NewValueForm(Kind::NewString, "Vornal : New STRING...", "REG_SZ");
}

bool EditForm::IsChanged(std::string_view newName, std::string_view newData) const {
  return newName != name || newData != data;
}

bool RegistryEditor::Open(const KeyPath& key, ScopedRegKey* handle) const {
  const std::optional<RegKey> root = RootKeyByName(key.rootName);
  return root && registry_.OpenKey(*root, key.path, handle->Out()) == RegStatus::Success;
}

bool RegistryEditor::Create(const KeyPath& key, ScopedRegKey* handle) {
  const std::optional<RegKey> root = RootKeyByName(key.rootName);
  return root && Track(registry_.CreateKey(*root, key.path, handle->Out())) == RegStatus::Success;
}

RegStatus RegistryEditor::Track(RegStatus status) {
  storeRefused_ = status == RegStatus::CantWrite || status == RegStatus::CantOpen ||
                  status == RegStatus::AccessDenied || status == RegStatus::RegistryCorrupt;
  return status;
}

bool RegistryEditor::HasChildren(const KeyPath& key) const {
  ScopedRegKey handle(registry_);
  std::uint32_t subKeys = 0;
  std::uint32_t values = 0;
  return Open(key, &handle) &&
         registry_.QueryInfoKey(handle.Get(), &subKeys, &values) == RegStatus::Success &&
         subKeys + values > 0;
}

KeyContents RegistryEditor::ReadKey(const KeyPath& key) const {
  KeyContents contents;
  ScopedRegKey handle(registry_);
  if (!Open(key, &handle)) return contents;
  std::string name;
  for (std::uint32_t i = 0; registry_.EnumKey(handle.Get(), i, &name) == RegStatus::Success; ++i) {
    contents.subKeys.push_back({name, HasChildren(ChildPath(key, name))});
  }
  RegValue value;
  for (std::uint32_t i = 0; registry_.EnumValue(handle.Get(), i, &value) == RegStatus::Success;
       ++i) {
    contents.values.push_back(value);
  }
  return contents;
}

std::optional<RegValue> RegistryEditor::ReadValue(const KeyPath& key, std::string_view name) const {
  ScopedRegKey handle(registry_);
  RegValue value;
  if (!Open(key, &handle) ||
      registry_.QueryValue(handle.Get(), name, &value.type, &value.data) != RegStatus::Success) {
    return {};
  }
  value.name = std::string(name);
  return value;
}

WriteOutcome RegistryEditor::WriteEdit(const KeyPath& key, const RegValue& original,
                                       const EditForm& form, std::string_view newName,
                                       std::string_view newData) {
  if (!form.IsChanged(newName, newData) || newName.empty() || newData.empty()) {
    return WriteOutcome::NotWritten;
  }
  std::string data;
  if (original.type == REG_SZ) {
    data = RegSzData(newData);
  } else if (original.type == REG_DWORD) {
    const std::optional<std::uint32_t> number = ParseDword(newData);
    if (!number) return WriteOutcome::NotWritten;
    data = RegDwordData(*number);
  } else {
    return WriteOutcome::TypeNotWritable;
  }
  return SetValue(key, KeyAccess::OpenExisting, original.name, original.type, std::move(data))
             ? WriteOutcome::Written
             : WriteOutcome::NotWritten;
}

std::optional<SubKeyEntry> RegistryEditor::CreateKey(const KeyPath& parent, std::string_view name) {
  storeRefused_ = false;
  ScopedRegKey handle(registry_);
  if (name.empty() || !Create(ChildPath(parent, name), &handle)) return {};
  const std::string firstLevel(name.substr(0, name.find(kRegPathSeparator)));
  return SubKeyEntry{firstLevel, HasChildren(ChildPath(parent, firstLevel))};
}

std::optional<RegValue> RegistryEditor::CreateDword(const KeyPath& key, std::string_view name,
                                                    std::string_view dataText) {
  const std::optional<std::uint32_t> number = ParseDword(dataText);
  if (!number) return {};
  return SetValue(key, KeyAccess::CreateMissing, name, REG_DWORD, RegDwordData(*number));
}

std::optional<RegValue> RegistryEditor::CreateString(const KeyPath& key, std::string_view name,
                                                     std::string_view dataText) {
  return SetValue(key, KeyAccess::CreateMissing, name, REG_SZ, NewStringData(dataText));
}

std::optional<RegValue> RegistryEditor::SetValue(const KeyPath& key, KeyAccess access,
                                                 std::string_view name, RegType type,
                                                 std::string data) {
  // An edit must not bring back a key that another program deleted meanwhile.
  storeRefused_ = false;
  ScopedRegKey handle(registry_);
  const bool opened =
      access == KeyAccess::CreateMissing ? Create(key, &handle) : Open(key, &handle);
  if (!opened || Track(registry_.SetValue(handle.Get(), name, type, data)) != RegStatus::Success) {
    return {};
  }
  return RegValue{std::string(name), type, std::move(data)};
}

bool RegistryEditor::DeleteValue(const KeyPath& key, std::string_view name) {
  storeRefused_ = false;
  ScopedRegKey handle(registry_);
  return Open(key, &handle) && Track(registry_.DeleteValue(handle.Get(), name)) == RegStatus::Success;
}

bool RegistryEditor::DeleteKey(const KeyPath& key) {
  const std::optional<RegKey> root = RootKeyByName(key.rootName);
  storeRefused_ = false;
  return root && !key.path.empty() && Track(registry_.DeleteKey(*root, key.path)) == RegStatus::Success;
}

}  // namespace kelvara::vornal
