#include "platform/registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <system_error>
#include <vector>

#include "platform/archive.h"
#include "platform/casefold.h"
#include "platform/codepage.h"

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;

// Marks a file as our store ("KLVR"), so a database of any other program is told apart.
constexpr int kApplicationId = 0x4B4C5652;
constexpr int kSchemaVersion = 1;
// Long enough for the other program's longest transaction; changes are tiny.
constexpr int kBusyTimeoutMs = 10000;
// A damaged count of keys is not believed beyond this many.
constexpr std::int64_t kSalvageKeyLimit = 1000000;
constexpr std::uint32_t kFirstRootHandle = 0x80000000u;
constexpr std::uint32_t kRootCount = 4;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER REFERENCES keys(id),
  name TEXT NOT NULL,
  fold TEXT NOT NULL,
  UNIQUE(parent, fold));
CREATE TABLE IF NOT EXISTS key_values(
  key INTEGER NOT NULL REFERENCES keys(id),
  name TEXT NOT NULL,
  fold TEXT NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, fold)) WITHOUT ROWID;
INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES
  (1, NULL, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'),
  (2, NULL, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
  (3, NULL, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
  (4, NULL, 'HKEY_USERS', 'HKEY_USERS');
)sql";

struct SqlError {
  int code;
};

void Check(int rc) {
  if (rc != SQLITE_OK) throw SqlError{rc};
}

void Exec(sqlite3* db, const char* sql) { Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr)); }

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    Check(sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr));
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(std::int64_t number) {
    Check(sqlite3_bind_int64(stmt_, ++bound_, number));
    return *this;
  }
  Statement& BindText(std::string_view text) {
    Check(sqlite3_bind_text(stmt_, ++bound_, text.data() ? text.data() : "", int(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
  }
  Statement& BindBlob(std::string_view bytes) {
    Check(sqlite3_bind_blob(stmt_, ++bound_, bytes.data() ? bytes.data() : "", int(bytes.size()),
                            SQLITE_TRANSIENT));
    return *this;
  }
  // True while there is a row to read.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw SqlError{rc};
  }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string Bytes(int column) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return bytes ? std::string(bytes, sqlite3_column_bytes(stmt_, column)) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int bound_ = 0;
};

// A name as stored (UTF-8, malformed sequences replaced) and its folded form.
struct Name {
  std::string text;
  std::string fold;
};

bool MakeName(std::string_view utf8, Name* name) {
  if (utf8.find('\0') != std::string_view::npos) return false;
  const std::u16string units = Utf8ToUtf16(utf8);
  if (units.size() > kMaxRegNameLength) return false;
  name->text = Utf16ToUtf8(units);
  name->fold = Utf16ToUtf8(FoldToUpper(units));
  return true;
}

RegStatus SplitPath(std::string_view path, std::vector<Name>* levels) {
  if (path.empty()) return RegStatus::Success;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find(kRegPathSeparator, start);
    const std::string_view level = path.substr(start, end - start);
    if (level.empty()) return RegStatus::BadPathname;
    Name name;
    if (!MakeName(level, &name)) return RegStatus::InvalidParameter;
    levels->push_back(std::move(name));
    if (end == std::string_view::npos) return RegStatus::Success;
    start = end + 1;
  }
}

RegStatus StatusFromSqlite(int code, bool writes) {
  switch (code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return RegStatus::RegistryCorrupt;
    case SQLITE_CANTOPEN: return RegStatus::CantOpen;
    default: return writes ? RegStatus::CantWrite : RegStatus::CantRead;
  }
}

bool IsRootId(std::int64_t id) { return id >= 1 && id <= kRootCount; }

bool IsRootHandle(std::uint32_t handle) {
  return handle >= kFirstRootHandle && handle < kFirstRootHandle + kRootCount;
}

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
  return fs::current_path();
}

fs::path FreeAsidePath(const fs::path& file) {
  for (int n = 1;; ++n) {
    fs::path candidate = file;
    candidate += ".corrupt-" + std::to_string(n);
    std::error_code ec;
    if (!fs::exists(candidate, ec) && !ec) return candidate;
  }
}

fs::path WithSuffix(fs::path file, const char* suffix) {
  file += suffix;
  return file;
}

// Moves an unusable store, with whatever journal files it has, to a free name beside it.
fs::path MoveAside(const fs::path& file, std::error_code& error) {
  const fs::path aside = FreeAsidePath(file);
  fs::rename(file, aside, error);
  if (error) return aside;
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code absent;
    fs::rename(WithSuffix(file, suffix), WithSuffix(aside, suffix), absent);
  }
  return aside;
}

bool IsEmptyDatabase(sqlite3* db) {
  Statement tables(db, "SELECT count(*) FROM sqlite_master");
  tables.Step();
  return tables.Int(0) == 0;
}

// Serialises the check-and-repair at start between processes, so two programs that
// meet a damaged file at once do not move each other's fresh store aside.
class StartLock {
 public:
  explicit StartLock(const fs::path& file)
      : fd_(open(WithSuffix(file, ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  ~StartLock() {
    if (fd_ >= 0) close(fd_);
  }
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;

 private:
  int fd_;
};

}  // namespace

std::string RegSzData(std::string_view utf8) {
  return Utf16ToLeBytes(Utf8ToUtf16(utf8)) + std::string(2, '\0');
}

bool DecodeRegSz(std::string_view data, std::string* utf8) {
  if (data.size() % 2 != 0) return false;
  std::u16string units = LeBytesToUtf16(data);
  if (const std::size_t end = units.find(u'\0'); end != std::u16string::npos) {
    units.resize(end);
  }
  *utf8 = Utf16ToUtf8(units);
  return true;
}

// A DWORD is coded as the archive codes an int32.
std::string RegDwordData(std::uint32_t number) {
  ArchiveWriter writer;
  writer.WriteInt32(static_cast<std::int32_t>(number));
  return writer.Bytes();
}

bool DecodeRegDword(std::string_view data, std::uint32_t* number) {
  if (data.size() != 4) return false;
  *number = static_cast<std::uint32_t>(ArchiveReader(data).ReadInt32());
  return true;
}

class Registry::Transaction {
 public:
  Transaction(sqlite3* db, bool writes) : db_(db) {
    // IMMEDIATE takes the write lock up front: a read lock upgraded later could fail
    // at once instead of waiting for the other process.
    Exec(db_, writes ? "BEGIN IMMEDIATE" : "BEGIN");
  }
  ~Transaction() {
    if (open_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit() {
    Exec(db_, "COMMIT");
    open_ = false;
  }

 private:
  sqlite3* db_;
  bool open_ = true;
};

fs::path Registry::DefaultPath() {
  if (const char* file = std::getenv("KELVARA_REGISTRY"); file && *file) return file;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const fs::path base = dataHome && fs::path(dataHome).is_absolute()
                            ? fs::path(dataHome)
                            : HomeFolder() / ".local" / "share";
  return base / "kelvara" / "registry.db";
}

Registry::Registry(fs::path file) : file_(std::move(file)) {
  if (!OpenStore()) CloseConnection();
}

Registry::~Registry() { CloseConnection(); }

bool Registry::OpenStore() {
  std::error_code ec;
  if (file_.has_parent_path()) fs::create_directories(file_.parent_path(), ec);
  if (ec) {
    openError_ = "cannot create the folder of " + file_.string() + ": " + ec.message();
    return false;
  }
  StartLock lock(file_);
  if (fs::exists(file_, ec) && access(file_.c_str(), W_OK) != 0) return OpenReadOnly(&openError_);
  if (!OpenConnection(&openError_)) return false;
  std::string reason;
  if (!IsOurStore(&reason)) {
    CloseConnection();
    const fs::path aside = MoveAside(file_, ec);
    if (ec) {
      openError_ = "the registry store " + file_.string() + " is unreadable (" + reason +
                   ") and could not be moved aside: " + ec.message();
      return false;
    }
    std::cerr << "kelvara: the registry store " << file_.string() << " is unreadable (" << reason
              << "); it was moved to " << aside.string() << " and a fresh store was created.\n";
    movedAside_ = aside;
    if (!OpenConnection(&openError_) || !CreateSchema(&openError_)) return false;
    Salvage(aside);
    return true;
  }
  return CreateSchema(&openError_);
}

// Without writing: no journal mode, no schema, and no "-shm" file left behind that would
// carry the store's own read-only permissions and block it later.
bool Registry::OpenReadOnly(std::string* error) {
  const std::string uri = "file:" + file_.string() + "?mode=ro&immutable=1";
  const int rc = sqlite3_open_v2(uri.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  std::string reason;
  if (rc != SQLITE_OK || !IsOurStore(&reason)) {
    *error = "cannot read " + file_.string() + ": " + (rc != SQLITE_OK ? sqlite3_errstr(rc) : reason);
    CloseConnection();
    return false;
  }
  readOnly_ = true;
  return true;
}

// Copies, key by key, what the damaged store still gives: a key whose row or parent is
// lost is left out, and so are its values; each read that fails skips just its part.
void Registry::Salvage(const fs::path& damaged) {
  sqlite3* old = nullptr;
  const std::string uri = "file:" + damaged.string() + "?mode=ro&immutable=1";
  if (sqlite3_open_v2(uri.c_str(), &old, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(old);
    return;
  }
  // The range of key ids to try: from the table, else from its counter; a store that
  // gives neither has nothing to copy.
  std::int64_t lastId = 0;
  for (const char* sql : {"SELECT max(id) FROM keys", "SELECT seq FROM sqlite_sequence WHERE name = 'keys'"}) {
    try {
      Statement last(old, sql);
      if (last.Step()) lastId = std::max(lastId, last.Int(0));
    } catch (const SqlError&) {
    }
  }
  try {
    CopyReadable(old, std::min<std::int64_t>(lastId, kSalvageKeyLimit));
  } catch (const SqlError&) {
    salvagedValues_ = 0;  // the fresh store refused the copy: it stays empty, as it was
  }
  sqlite3_close_v2(old);
}

void Registry::CopyReadable(sqlite3* old, std::int64_t lastId) {
  Transaction transaction(db_, true);
  for (std::int64_t id = kRootCount + 1; id <= lastId; ++id) {
    try {
      Statement key(old, "SELECT parent, name, fold FROM keys WHERE id = ?");
      key.Bind(id);
      if (!key.Step()) continue;
      Statement copy(db_, "INSERT OR IGNORE INTO keys(id, parent, name, fold) "
                          "SELECT ?, ?, ?, ? WHERE EXISTS (SELECT 1 FROM keys WHERE id = ?)");
      copy.Bind(id).Bind(key.Int(0)).BindText(key.Bytes(1)).BindText(key.Bytes(2)).Bind(key.Int(0));
      copy.Step();
    } catch (const SqlError&) {
      continue;
    }
  }
  for (std::int64_t id = 1; id <= lastId; ++id) {
    try {
      Statement values(old, "SELECT name, fold, type, data FROM key_values WHERE key = ?");
      values.Bind(id);
      while (values.Step()) {
        Statement copy(db_, "INSERT OR IGNORE INTO key_values(key, name, fold, type, data) "
                            "SELECT ?, ?, ?, ?, ? WHERE EXISTS (SELECT 1 FROM keys WHERE id = ?)");
        copy.Bind(id).BindText(values.Bytes(0)).BindText(values.Bytes(1)).Bind(values.Int(2)).BindBlob(values.Bytes(3)).Bind(id);
        copy.Step();
        salvagedValues_ += static_cast<std::size_t>(sqlite3_changes(db_));
      }
    } catch (const SqlError&) {
      continue;
    }
  }
  transaction.Commit();
}

bool Registry::OpenConnection(std::string* error) {
  const int rc =
      sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    *error = "cannot open " + file_.string() + ": " + sqlite3_errstr(rc);
    return false;
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  return true;
}

void Registry::CloseConnection() {
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool Registry::IsOurStore(std::string* reason) {
  try {
    Statement id(db_, "PRAGMA application_id");
    id.Step();
    if (id.Int(0) == 0 && IsEmptyDatabase(db_)) return true;  // a new, empty file
    if (id.Int(0) != kApplicationId) {
      *reason = "it is a database of another program";
      return false;
    }
    // The full check: the quick one passes stores whose indexes lost rows.
    Statement check(db_, "PRAGMA integrity_check(1)");
    check.Step();
    const std::string verdict = check.Bytes(0);
    if (verdict != "ok") {
      *reason = "damaged: " + verdict;
      return false;
    }
    return true;
  } catch (const SqlError& e) {
    if ((e.code & 0xFF) == SQLITE_BUSY) return true;  // in use, hence readable by someone
    *reason = sqlite3_errstr(e.code);
    return false;
  }
}

bool Registry::CreateSchema(std::string* error) {
  try {
    // WAL lets one process read while another writes; FULL keeps the last change
    // through a power cut.
    Exec(db_, "PRAGMA journal_mode=WAL");
    Exec(db_, "PRAGMA synchronous=FULL");
    Exec(db_, "PRAGMA foreign_keys=ON");
    Transaction transaction(db_, true);
    Statement version(db_, "PRAGMA user_version");
    version.Step();
    if (version.Int(0) < kSchemaVersion) {
      Exec(db_, kSchema);
      Exec(db_, ("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
      Exec(db_, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    }
    transaction.Commit();
    return true;
  } catch (const SqlError& e) {
    *error = "cannot prepare the registry store " + file_.string() + ": " + sqlite3_errstr(e.code);
    return false;
  }
}

RegStatus Registry::Run(bool writes, const std::function<RegStatus()>& body) {
  std::lock_guard lock(mutex_);
  // A store another program held past the busy wait at opening is tried again.
  if (!db_ && !OpenStore()) CloseConnection();
  if (!db_) return RegStatus::CantOpen;
  if (writes && readOnly_) return RegStatus::AccessDenied;
  try {
    Transaction transaction(db_, writes);
    const RegStatus status = body();
    if (status == RegStatus::Success) transaction.Commit();
    return status;
  } catch (const SqlError& e) {
    return StatusFromSqlite(e.code, writes);
  }
}

RegStatus Registry::ResolveHandle(RegKey key, KeyId* id) const {
  const auto handle = static_cast<std::uint32_t>(key);
  if (IsRootHandle(handle)) {
    *id = handle - kFirstRootHandle + 1;
    return RegStatus::Success;
  }
  const auto found = handles_.find(handle);
  if (found == handles_.end()) return RegStatus::InvalidHandle;
  *id = found->second;
  return RegStatus::Success;
}

RegStatus Registry::CheckKeyExists(KeyId id) {
  Statement exists(db_, "SELECT 1 FROM keys WHERE id = ?");
  exists.Bind(id);
  return exists.Step() ? RegStatus::Success : RegStatus::KeyDeleted;
}

RegStatus Registry::ResolveLiveKey(RegKey key, KeyId* id) {
  const RegStatus status = ResolveHandle(key, id);
  return status == RegStatus::Success ? CheckKeyExists(*id) : status;
}

RegStatus Registry::WalkPath(RegKey parent, std::string_view path, bool create, KeyId* id,
                             bool* created) {
  KeyId from = 0;
  if (const RegStatus open = ResolveHandle(parent, &from); open != RegStatus::Success) {
    return open;
  }
  std::vector<Name> levels;
  if (const RegStatus split = SplitPath(path, &levels); split != RegStatus::Success) {
    return split;
  }
  if (const RegStatus exists = CheckKeyExists(from); exists != RegStatus::Success) {
    return exists;
  }
  *id = from;
  if (created) *created = false;
  for (const Name& level : levels) {
    Statement find(db_, "SELECT id FROM keys WHERE parent = ? AND fold = ?");
    find.Bind(*id).BindText(level.fold);
    if (find.Step()) {
      *id = find.Int(0);
      continue;
    }
    if (!create) return RegStatus::FileNotFound;
    Statement insert(db_, "INSERT INTO keys(parent, name, fold) VALUES(?, ?, ?)");
    insert.Bind(*id).BindText(level.text).BindText(level.fold).Step();
    *id = sqlite3_last_insert_rowid(db_);
    if (created) *created = true;
  }
  return RegStatus::Success;
}

RegKey Registry::NewHandle(KeyId id) {
  // Handles are reused only after wrapping round, and never while still open.
  while (handles_.count(nextHandle_) != 0 || nextHandle_ == 0 || nextHandle_ >= kFirstRootHandle) {
    nextHandle_ = nextHandle_ >= kFirstRootHandle ? 1 : nextHandle_ + 1;
  }
  const std::uint32_t handle = nextHandle_++;
  handles_[handle] = id;
  return RegKey{handle};
}

RegStatus Registry::OpenKey(RegKey parent, std::string_view subKey, RegKey* key) {
  return Run(false, [&] {
    KeyId id = 0;
    const RegStatus status = WalkPath(parent, subKey, false, &id);
    if (status == RegStatus::Success) *key = NewHandle(id);
    return status;
  });
}

RegStatus Registry::CreateKey(RegKey parent, std::string_view subKey, RegKey* key, bool* created) {
  return Run(true, [&] {
    KeyId id = 0;
    bool made = false;
    const RegStatus status = WalkPath(parent, subKey, true, &id, &made);
    if (status != RegStatus::Success) return status;
    *key = NewHandle(id);
    if (created) *created = made;
    return status;
  });
}

RegStatus Registry::CloseKey(RegKey key) {
  std::lock_guard lock(mutex_);
  const auto handle = static_cast<std::uint32_t>(key);
  if (IsRootHandle(handle)) return RegStatus::Success;
  return handles_.erase(handle) == 1 ? RegStatus::Success : RegStatus::InvalidHandle;
}

RegStatus Registry::EnumKey(RegKey key, std::uint32_t index, std::string* name) {
  return Run(false, [&] {
    KeyId id = 0;
    if (const RegStatus status = ResolveLiveKey(key, &id); status != RegStatus::Success) return status;
    Statement list(db_, "SELECT name FROM keys WHERE parent = ? ORDER BY fold LIMIT 1 OFFSET ?");
    list.Bind(id).Bind(index);
    if (!list.Step()) return RegStatus::NoMoreItems;
    *name = list.Bytes(0);
    return RegStatus::Success;
  });
}

RegStatus Registry::EnumValue(RegKey key, std::uint32_t index, RegValue* value) {
  return Run(false, [&] {
    KeyId id = 0;
    if (const RegStatus status = ResolveLiveKey(key, &id); status != RegStatus::Success) return status;
    Statement list(db_,
                   "SELECT name, type, data FROM key_values WHERE key = ? "
                   "ORDER BY fold LIMIT 1 OFFSET ?");
    list.Bind(id).Bind(index);
    if (!list.Step()) return RegStatus::NoMoreItems;
    value->name = list.Bytes(0);
    value->type = RegType(list.Int(1));
    value->data = list.Bytes(2);
    return RegStatus::Success;
  });
}

RegStatus Registry::QueryInfoKey(RegKey key, std::uint32_t* subKeyCount,
                                 std::uint32_t* valueCount) {
  return Run(false, [&] {
    KeyId id = 0;
    if (const RegStatus status = ResolveLiveKey(key, &id); status != RegStatus::Success) return status;
    Statement keys(db_, "SELECT count(*) FROM keys WHERE parent = ?");
    keys.Bind(id).Step();
    Statement values(db_, "SELECT count(*) FROM key_values WHERE key = ?");
    values.Bind(id).Step();
    if (subKeyCount) *subKeyCount = std::uint32_t(keys.Int(0));
    if (valueCount) *valueCount = std::uint32_t(values.Int(0));
    return RegStatus::Success;
  });
}

RegStatus Registry::QueryValue(RegKey key, std::string_view name, RegType* type,
                               std::string* data) {
  return Run(false, [&] {
    KeyId id = 0;
    Name valueName;
    if (!MakeName(name, &valueName)) return RegStatus::InvalidParameter;
    if (const RegStatus status = ResolveLiveKey(key, &id); status != RegStatus::Success) return status;
    Statement find(db_, "SELECT type, data FROM key_values WHERE key = ? AND fold = ?");
    find.Bind(id).BindText(valueName.fold);
    if (!find.Step()) return RegStatus::FileNotFound;
    if (type) *type = RegType(find.Int(0));
    if (data) *data = find.Bytes(1);
    return RegStatus::Success;
  });
}

RegStatus Registry::SetValue(RegKey key, std::string_view name, RegType type,
                             std::string_view data) {
  return Run(true, [&] {
    KeyId id = 0;
    Name valueName;
    if (!MakeName(name, &valueName)) return RegStatus::InvalidParameter;
    if (const RegStatus status = ResolveLiveKey(key, &id); status != RegStatus::Success) return status;
    Statement upsert(db_,
                     "INSERT INTO key_values(key, name, fold, type, data) VALUES(?, ?, ?, ?, ?) "
                     "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, "
                     "data = excluded.data");
    upsert.Bind(id).BindText(valueName.text).BindText(valueName.fold).Bind(type).BindBlob(data);
    upsert.Step();
    return RegStatus::Success;
  });
}

RegStatus Registry::DeleteValue(RegKey key, std::string_view name) {
  return Run(true, [&] {
    KeyId id = 0;
    Name valueName;
    if (!MakeName(name, &valueName)) return RegStatus::InvalidParameter;
    if (const RegStatus status = ResolveLiveKey(key, &id); status != RegStatus::Success) return status;
    Statement erase(db_, "DELETE FROM key_values WHERE key = ? AND fold = ?");
    erase.Bind(id).BindText(valueName.fold).Step();
    return sqlite3_changes(db_) > 0 ? RegStatus::Success : RegStatus::FileNotFound;
  });
}

RegStatus Registry::DeleteKey(RegKey parent, std::string_view subKey) {
  return Run(true, [&] {
    KeyId id = 0;
    const RegStatus status = WalkPath(parent, subKey, false, &id);
    if (status != RegStatus::Success) return status;
    if (IsRootId(id)) return RegStatus::AccessDenied;
    constexpr const char* kTree =
        "WITH RECURSIVE tree(id) AS (SELECT ? UNION ALL "
        "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";
    Statement values(
        db_,
        (std::string(kTree) + "DELETE FROM key_values WHERE key IN (SELECT id FROM tree)").c_str());
    values.Bind(id).Step();
    Statement keys(
        db_, (std::string(kTree) + "DELETE FROM keys WHERE id IN (SELECT id FROM tree)").c_str());
    keys.Bind(id).Step();
    return RegStatus::Success;
  });
}

void ScopedRegKey::Reset() {
  if (static_cast<std::uint32_t>(key_) != 0) registry_.CloseKey(key_);
  key_ = RegKey{0};
}

}  // namespace kelvara::platform
