// The registry: a hierarchical store of keys and typed values in one SQLite file,
// shaped like the Win32 registry calls so that callers read like the programs they
// stand in for. Several processes may use the same file at once; every change is one
// transaction, so a change is either stored whole or not at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

namespace kelvara::platform {

// Result codes carry the numbers of the Win32 errors they stand for.
enum class RegStatus : long {
  Success = 0,
  FileNotFound = 2,       // no such key or value
  AccessDenied = 5,       // a predefined root cannot be deleted
  InvalidHandle = 6,      // closed or never opened
  InvalidParameter = 87,  // a name longer than kMaxRegNameLength
  BadPathname = 161,      // an empty level in a key path ("a\\\\b", "\\a")
  NoMoreItems = 259,      // enumeration past the last item
  CantOpen = 1011,        // the store file could not be opened at all
  CantRead = 1012,
  CantWrite = 1013,  // disk full, or another process held the store too long
  RegistryCorrupt = 1015,
  KeyDeleted = 1018,  // the key behind an open handle was deleted meanwhile
};

// An open key. The predefined roots are always open and are never closed.
enum class RegKey : std::uint32_t {};
inline constexpr RegKey HKEY_CLASSES_ROOT{0x80000000u};
inline constexpr RegKey HKEY_CURRENT_USER{0x80000001u};
inline constexpr RegKey HKEY_LOCAL_MACHINE{0x80000002u};
inline constexpr RegKey HKEY_USERS{0x80000003u};

// Value types; any other number is stored and returned as it is.
using RegType = std::uint32_t;
inline constexpr RegType REG_NONE = 0;
inline constexpr RegType REG_SZ = 1;
inline constexpr RegType REG_EXPAND_SZ = 2;
inline constexpr RegType REG_BINARY = 3;
inline constexpr RegType REG_DWORD = 4;
inline constexpr RegType REG_DWORD_BIG_ENDIAN = 5;
inline constexpr RegType REG_LINK = 6;
inline constexpr RegType REG_MULTI_SZ = 7;
inline constexpr RegType REG_RESOURCE_LIST = 8;

// Key and value names are counted in UTF-16 units, as the real registry counts them.
inline constexpr std::size_t kMaxRegNameLength = 255;
inline constexpr char kRegPathSeparator = '\\';

struct RegValue {
  std::string name;  // UTF-8; empty for a key's default value
  RegType type = REG_NONE;
  std::string data;  // raw bytes
};

// Data encodings as the real registry keeps them: strings are UTF-16LE with a
// terminating zero unit, DWORDs four bytes little-endian.
std::string RegSzData(std::string_view utf8);
// Fails for data that is not whole UTF-16 units; stops at the first zero unit.
bool DecodeRegSz(std::string_view data, std::string* utf8);
std::string RegDwordData(std::uint32_t number);
// Fails unless the data is exactly four bytes.
bool DecodeRegDword(std::string_view data, std::uint32_t* number);

class Registry {
 public:
  // $KELVARA_REGISTRY, else $XDG_DATA_HOME/kelvara/registry.db, else
  // ~/.local/share/kelvara/registry.db.
  static std::filesystem::path DefaultPath();

  // Opens the store, creating the file and its folders when missing. A file that is
  // not a store of ours, or fails the full integrity check, is moved aside (with a note
  // on standard error), a fresh store takes its place and every key and value that can
  // still be read is copied into it. When even that fails every call first tries to
  // open the store again, then returns CantOpen. A file
  // "<file>.lock" beside the store keeps two programs from checking it at once.
  explicit Registry(std::filesystem::path file = DefaultPath());
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  bool IsOpen() const { return db_ != nullptr; }
  const std::string& OpenError() const { return openError_; }
  // Where a damaged store was moved at opening; empty when it was sound.
  const std::filesystem::path& MovedAside() const { return movedAside_; }
  // The values read back from the damaged store into the fresh one.
  std::size_t SalvagedValues() const { return salvagedValues_; }
  // A store file the user may not write: read as it is, every change refused.
  bool ReadOnly() const { return readOnly_; }
  const std::filesystem::path& File() const { return file_; }

  // Key paths are names joined with "\"; an empty path opens the key itself again.
  RegStatus OpenKey(RegKey parent, std::string_view subKey, RegKey* key);
  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey* key, bool* created = nullptr);
  RegStatus CloseKey(RegKey key);

  // Subkeys and values are listed in case-insensitive alphabetical order.
  RegStatus EnumKey(RegKey key, std::uint32_t index, std::string* name);
  RegStatus EnumValue(RegKey key, std::uint32_t index, RegValue* value);
  RegStatus QueryInfoKey(RegKey key, std::uint32_t* subKeyCount, std::uint32_t* valueCount);

  RegStatus QueryValue(RegKey key, std::string_view name, RegType* type, std::string* data);
  // An existing value keeps the spelling of its name and takes the new type and data.
  RegStatus SetValue(RegKey key, std::string_view name, RegType type, std::string_view data);
  RegStatus DeleteValue(RegKey key, std::string_view name);
  // Deletes the key with every key and value below it.
  RegStatus DeleteKey(RegKey parent, std::string_view subKey);

 private:
  class Transaction;
  using KeyId = std::int64_t;

  bool OpenStore();
  bool OpenConnection(std::string* error);
  bool OpenReadOnly(std::string* error);
  void Salvage(const std::filesystem::path& damaged);
  void CopyReadable(sqlite3* old, std::int64_t lastId);
  void CloseConnection();
  bool CreateSchema(std::string* error);
  bool IsOurStore(std::string* reason);

  RegStatus Run(bool writes, const std::function<RegStatus()>& body);
  RegStatus ResolveHandle(RegKey key, KeyId* id) const;
  RegStatus CheckKeyExists(KeyId id);
  // A handle that is open and whose key another program has not deleted meanwhile.
  RegStatus ResolveLiveKey(RegKey key, KeyId* id);
  // Resolves `parent` and follows `path` below it, creating missing levels when asked.
  RegStatus WalkPath(RegKey parent, std::string_view path, bool create, KeyId* id,
                     bool* created = nullptr);
  RegKey NewHandle(KeyId id);

  std::filesystem::path file_;
  std::string openError_;
  std::filesystem::path movedAside_;
  std::size_t salvagedValues_ = 0;
  bool readOnly_ = false;
  sqlite3* db_ = nullptr;
  std::mutex mutex_;
  std::unordered_map<std::uint32_t, KeyId> handles_;
  std::uint32_t nextHandle_ = 1;
};

// Closes its key when it goes out of scope.
class ScopedRegKey {
 public:
  explicit ScopedRegKey(Registry& registry) : registry_(registry) {}
  ~ScopedRegKey() { Reset(); }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;

  RegKey* Out() {
    Reset();
    return &key_;
  }
  RegKey Get() const { return key_; }
  void Reset();

 private:
  Registry& registry_;
  RegKey key_{0};
};

}  // namespace kelvara::platform
