// What the editor's commands do to the registry, without any window: reading a key's
// children, the edit and "New" forms, writing, deleting, and the texts it shows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace kelvara::vornal {

inline constexpr std::string_view kWindowTitle = "Vornal v1.2";
inline constexpr std::string_view kApplicationTitle = "Vornal";
inline constexpr std::string_view kComputerItemText = "My Computer";
// The single child that marks a key as not yet filled.
inline constexpr std::string_view kPlaceholderText = "\\";
inline constexpr std::array<std::string_view, 4> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

inline constexpr std::string_view kRootKeyMessage = "You cannot delete\na ROOT Key !";
inline constexpr std::string_view kStoreRefusedMessage =
    "The change could not be written:\nthe registry store refused it.";
inline constexpr std::string_view kTypeNotWritableMessage =
    "This Value's Type cannot be writen yet !";

std::optional<platform::RegKey> RootKeyByName(std::string_view rootName);

// A key as the tree knows it: its root by name and the names below the root joined
// with "\" (empty for the root itself).
struct KeyPath {
  std::string rootName;
  std::string path;
};

KeyPath ChildPath(const KeyPath& parent, std::string_view name);

std::string DeleteValueQuestion(const KeyPath& key, std::string_view valueName);
std::string DeleteKeyQuestion(const KeyPath& key);
std::string FatalErrorText(std::string_view message);

struct SubKeyEntry {
  std::string name;
  bool hasChildren = false;
};

struct KeyContents {
  std::vector<SubKeyEntry> subKeys;
  std::vector<platform::RegValue> values;
};

// The edit dialog's set-up for editing a value and for the three "New" commands.
struct EditForm {
  enum class Kind { EditValue, NewKey, NewDword, NewString };

  Kind kind = Kind::EditValue;
  std::string caption;
  std::string nameLabel;
  std::string dataLabel;
  std::string typeText;
  std::string name;
  std::string data;
  bool dataEnabled = true;
  bool dataIsNumber = false;

  static EditForm ForValue(const platform::RegValue& value);
  static EditForm ForNewKey();
  static EditForm ForNewDword();
  static EditForm ForNewString();

  // "Apply" counts only when the user changed something.
  bool IsChanged(std::string_view newName, std::string_view newData) const;
};

enum class WriteOutcome { Written, NotWritten, TypeNotWritable };

// Search text and options of the find dialog, kept for the program run.
struct FindOptions {
  std::string text;
  bool keys = true;
  bool values = true;
  bool datas = true;
};

class RegistryEditor {
 public:
  explicit RegistryEditor(platform::Registry& registry) : registry_(registry) {}

  bool HasChildren(const KeyPath& key) const;
  // Subkeys and values in the store's order; an unreadable key has none.
  KeyContents ReadKey(const KeyPath& key) const;
  std::optional<platform::RegValue> ReadValue(const KeyPath& key, std::string_view name) const;

  // Writes the edited data under the value's original name, as the edit form allows.
  WriteOutcome WriteEdit(const KeyPath& key, const platform::RegValue& original,
                         const EditForm& form, std::string_view newName, std::string_view newData);

  // Create-or-open; a name with "\" makes the whole path. Gives the created key's
  // first level below `parent`, which is what the tree shows.
  std::optional<SubKeyEntry> CreateKey(const KeyPath& parent, std::string_view name);
  std::optional<platform::RegValue> CreateDword(const KeyPath& key, std::string_view name,
                                                std::string_view dataText);
  std::optional<platform::RegValue> CreateString(const KeyPath& key, std::string_view name,
                                                 std::string_view dataText);

  bool DeleteValue(const KeyPath& key, std::string_view name);
  // Refuses the roots.
  bool DeleteKey(const KeyPath& key);
  // The last change failed in the store itself (disk, permissions, damage), not for a
  // key or value that is not there.
  bool StoreRefused() const { return storeRefused_; }

 private:
  bool Open(const KeyPath& key, platform::ScopedRegKey* handle) const;
  bool Create(const KeyPath& key, platform::ScopedRegKey* handle);
  enum class KeyAccess { OpenExisting, CreateMissing };
  std::optional<platform::RegValue> SetValue(const KeyPath& key, KeyAccess access,
                                             std::string_view name, platform::RegType type,
                                             std::string data);

  // Notes whether a store call that changes something failed in the store itself.
  platform::RegStatus Track(platform::RegStatus status);

  platform::Registry& registry_;
  bool storeRefused_ = false;
};

}  // namespace kelvara::vornal
