#include "platform/registry.h"

#include <gtest/gtest.h>

#include <map>
#include <unistd.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

#include "platform/file_io.h"
#include "platform/tests/environment_guard.h"
#include "platform/tests/scratch_dir.h"

namespace kelvara::platform {
namespace {

using test_support::ScratchDir;

class RegistryTest : public ::testing::Test {
 protected:
  std::filesystem::path StoreFile() const { return dir_ / "registry.db"; }

  RegKey Create(Registry& registry, std::string_view path) {
    RegKey key{};
    EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, path, &key), RegStatus::Success) << path;
    return key;
  }

  static std::vector<std::string> SubKeys(Registry& registry, RegKey key) {
    std::vector<std::string> names;
    std::string name;
    while (registry.EnumKey(key, std::uint32_t(names.size()), &name) == RegStatus::Success) {
      names.push_back(name);
    }
    return names;
  }

  static std::vector<std::string> ValueNames(Registry& registry, RegKey key) {
    std::vector<std::string> names;
    RegValue value;
    while (registry.EnumValue(key, std::uint32_t(names.size()), &value) == RegStatus::Success) {
      names.push_back(value.name);
    }
    return names;
  }

  static std::optional<std::string> Data(Registry& registry, RegKey key, std::string_view name) {
    std::string data;
    if (registry.QueryValue(key, name, nullptr, &data) != RegStatus::Success) return {};
    return data;
  }

  ScratchDir dir_;
};

std::string ReadFile(const std::filesystem::path& file) { return ReadFileBytes(file).value_or(""); }

TEST(RegistryData, StringsAndDwordsUseTheRegistryEncodings) {
  EXPECT_EQ(RegSzData("Aж"), std::string("A\0\x36\x04\0\0", 6));
  std::string text;
  ASSERT_TRUE(DecodeRegSz(RegSzData("Кельвара"), &text));
  EXPECT_EQ(text, "Кельвара");
  ASSERT_TRUE(DecodeRegSz(std::string("a\0b\0\0\0c\0", 8), &text));
  EXPECT_EQ(text, "ab");  // stops at the terminator
  EXPECT_FALSE(DecodeRegSz(std::string("a\0b", 3), &text));

  EXPECT_EQ(RegDwordData(0x12345678), "\x78\x56\x34\x12");
  std::uint32_t number = 0;
  ASSERT_TRUE(DecodeRegDword(RegDwordData(0xFFFFFFFF), &number));
  EXPECT_EQ(number, 0xFFFFFFFFu);
  EXPECT_FALSE(DecodeRegDword("\x01\x02", &number));
  EXPECT_FALSE(DecodeRegDword("\x01\x02\x03\x04\x05", &number));
}

TEST_F(RegistryTest, KeysAndValuesSurviveReopeningInAFolderWithAnUnusualName) {
  const auto file = dir_ / "папка \"с\" 100% 'кавычками'" / "sub dir" / "реестр.db";
  {
    Registry registry(file);
    ASSERT_TRUE(registry.IsOpen()) << registry.OpenError();
    const RegKey key = Create(registry, "Software\\Kelvara\\Settings");
    EXPECT_EQ(registry.SetValue(key, "SysHouse", REG_DWORD, RegDwordData(7)), RegStatus::Success);
    EXPECT_EQ(registry.SetValue(key, "sLastNowPlace", REG_SZ, RegSzData("Москва")),
              RegStatus::Success);
  }
  Registry registry(file);
  RegKey key{};
  ASSERT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "software\\kelvara\\settings", &key),
            RegStatus::Success);
  EXPECT_EQ(Data(registry, key, "SysHouse"), RegDwordData(7));
  EXPECT_EQ(Data(registry, key, "sLastNowPlace"), RegSzData("Москва"));
}

TEST_F(RegistryTest, EveryValueTypeRoundTripsByteForByte) {
  Registry registry(StoreFile());
  const RegKey key = Create(registry, "Types");
  const std::string binary("\0\xFF\x01\0garbage\0", 12);
  const std::vector<std::pair<RegType, std::string>> values = {
      {REG_NONE, ""},
      {REG_SZ, RegSzData("строка")},
      {REG_EXPAND_SZ, RegSzData("%HOME%\\x")},
      {REG_BINARY, binary},
      {REG_DWORD, RegDwordData(0xDEADBEEF)},
      {REG_DWORD_BIG_ENDIAN, "\x01\x02\x03\x04"},
      {REG_LINK, RegSzData("\\Registry\\Machine")},
      {REG_MULTI_SZ, RegSzData("a") + RegSzData("b") + std::string(2, '\0')},
      {REG_RESOURCE_LIST, binary},
      {11, std::string(8, '\x7F')},
      {0xFFFFFFFF, "x"},
  };
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string name = "v" + std::to_string(i);
    EXPECT_EQ(registry.SetValue(key, name, values[i].first, values[i].second), RegStatus::Success);
    RegType type = 0;
    std::string data;
    ASSERT_EQ(registry.QueryValue(key, name, &type, &data), RegStatus::Success);
    EXPECT_EQ(type, values[i].first) << name;
    EXPECT_EQ(data, values[i].second) << name;
  }
  RegValue enumerated;
  ASSERT_EQ(registry.EnumValue(key, 4, &enumerated), RegStatus::Success);  // v0 v1 v10 v2 v3
  EXPECT_EQ(enumerated.name, "v3");
  EXPECT_EQ(enumerated.type, REG_BINARY);
  EXPECT_EQ(enumerated.data, binary);
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndKeepTheirSpelling) {
  Registry registry(StoreFile());
  const RegKey latin = Create(registry, "Software\\Kelvara");
  bool created = true;
  RegKey again{};
  EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "SOFTWARE\\kelvara", &again, &created),
            RegStatus::Success);
  EXPECT_FALSE(created);

  const RegKey cyrillic = Create(registry, "Программы\\Ёлка");
  EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "пРОГРАММЫ\\ёЛКА", &again, &created),
            RegStatus::Success);
  EXPECT_FALSE(created);
  RegKey root{};
  ASSERT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "", &root), RegStatus::Success);
  EXPECT_EQ(SubKeys(registry, root), (std::vector<std::string>{"Software", "Программы"}));

  EXPECT_EQ(registry.SetValue(cyrillic, "Имя", REG_SZ, RegSzData("1")), RegStatus::Success);
  EXPECT_EQ(registry.SetValue(cyrillic, "иМЯ", REG_SZ, RegSzData("2")), RegStatus::Success);
  EXPECT_EQ(ValueNames(registry, cyrillic), std::vector<std::string>{"Имя"});
  EXPECT_EQ(Data(registry, cyrillic, "ИМЯ"), RegSzData("2"));

  EXPECT_EQ(registry.SetValue(latin, "Value", REG_DWORD, RegDwordData(1)), RegStatus::Success);
  EXPECT_EQ(registry.DeleteValue(latin, "VALUE"), RegStatus::Success);
  EXPECT_EQ(registry.DeleteValue(latin, "value"), RegStatus::FileNotFound);
}

TEST_F(RegistryTest, EnumerationIsCaseInsensitiveAlphabeticalAndEndsCleanly) {
  Registry registry(StoreFile());
  const RegKey key = Create(registry, "Order");
  for (const char* name : {"beta", "Alpha", "_under", "gamma", "Дом", "аист", "ALPHA2", "9"}) {
    RegKey child{};
    ASSERT_EQ(registry.CreateKey(key, name, &child), RegStatus::Success);
    ASSERT_EQ(registry.SetValue(key, name, REG_NONE, ""), RegStatus::Success);
  }
  const std::vector<std::string> expected = {"9",     "Alpha",  "ALPHA2", "beta",
                                             "gamma", "_under", "аист",   "Дом"};
  EXPECT_EQ(SubKeys(registry, key), expected);
  EXPECT_EQ(ValueNames(registry, key), expected);
  std::string name;
  EXPECT_EQ(registry.EnumKey(key, 8, &name), RegStatus::NoMoreItems);
  RegValue value;
  EXPECT_EQ(registry.EnumValue(key, 1000, &value), RegStatus::NoMoreItems);
  std::uint32_t subKeys = 0;
  std::uint32_t values = 0;
  EXPECT_EQ(registry.QueryInfoKey(key, &subKeys, &values), RegStatus::Success);
  EXPECT_EQ(subKeys, 8u);
  EXPECT_EQ(values, 8u);
}

TEST_F(RegistryTest, DeletingAKeyRemovesTheWholeTreeBelowIt) {
  Registry registry(StoreFile());
  std::string path = "Deep";
  for (int level = 1; level < 50; ++level) path += "\\L" + std::to_string(level);
  const RegKey deepest = Create(registry, path);
  EXPECT_EQ(registry.SetValue(deepest, "leaf", REG_DWORD, RegDwordData(50)), RegStatus::Success);
  const RegKey middle = Create(registry, "Deep\\L1\\L2\\Side");
  EXPECT_EQ(registry.SetValue(middle, "side", REG_SZ, RegSzData("x")), RegStatus::Success);
  const RegKey sibling = Create(registry, "Sibling");
  EXPECT_EQ(registry.SetValue(sibling, "kept", REG_SZ, RegSzData("y")), RegStatus::Success);

  EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, "deep\\l1"), RegStatus::Success);

  RegKey key{};
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Deep\\L1", &key), RegStatus::FileNotFound);
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Deep", &key), RegStatus::Success);
  EXPECT_TRUE(SubKeys(registry, key).empty());
  EXPECT_EQ(registry.QueryValue(deepest, "leaf", nullptr, nullptr), RegStatus::KeyDeleted);
  EXPECT_EQ(registry.SetValue(middle, "side", REG_NONE, ""), RegStatus::KeyDeleted);
  EXPECT_EQ(Data(registry, sibling, "kept"), RegSzData("y"));

  // A key made again at the old place starts empty: nothing was left behind.
  const RegKey remade = Create(registry, path);
  EXPECT_TRUE(ValueNames(registry, remade).empty());
  EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, "Deep\\L1"), RegStatus::Success);
  EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, "Deep\\L1"), RegStatus::FileNotFound);
}

TEST_F(RegistryTest, PredefinedRootsCannotBeDeleted) {
  Registry registry(StoreFile());
  for (RegKey root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
    EXPECT_EQ(registry.DeleteKey(root, ""), RegStatus::AccessDenied);
    EXPECT_EQ(registry.CloseKey(root), RegStatus::Success);
    std::uint32_t subKeys = 1;
    EXPECT_EQ(registry.QueryInfoKey(root, &subKeys, nullptr), RegStatus::Success);
    EXPECT_EQ(subKeys, 0u);
  }
}

TEST_F(RegistryTest, HandlesAreCheckedAndSeeDeletionsByOtherConnections) {
  Registry registry(StoreFile());
  const RegKey key = Create(registry, "Shared\\Child");
  Registry other(StoreFile());
  EXPECT_EQ(other.DeleteKey(HKEY_CURRENT_USER, "Shared"), RegStatus::Success);
  EXPECT_EQ(registry.SetValue(key, "x", REG_DWORD, RegDwordData(1)), RegStatus::KeyDeleted);
  RegKey child{};
  EXPECT_EQ(registry.CreateKey(key, "Below", &child), RegStatus::KeyDeleted);

  EXPECT_EQ(registry.CloseKey(key), RegStatus::Success);
  EXPECT_EQ(registry.CloseKey(key), RegStatus::InvalidHandle);
  std::string name;
  EXPECT_EQ(registry.EnumKey(key, 0, &name), RegStatus::InvalidHandle);
  EXPECT_EQ(registry.EnumKey(RegKey{12345}, 0, &name), RegStatus::InvalidHandle);
}

TEST_F(RegistryTest, UnusualNamesWorkAndOverlongOnesAreRefused) {
  Registry registry(StoreFile());
  const std::string quotes = "Kelvara \"Pro\" 100% 'beta' %s%n";
  const RegKey key = Create(registry, quotes + "\\Ключ");
  const std::string latin255(255, 'k');
  std::string cyrillic255;
  for (int i = 0; i < 255; ++i) cyrillic255 += "ж";
  RegKey child{};
  EXPECT_EQ(registry.CreateKey(key, latin255, &child), RegStatus::Success);
  EXPECT_EQ(registry.CreateKey(key, cyrillic255, &child), RegStatus::Success);
  EXPECT_EQ(registry.SetValue(key, cyrillic255, REG_SZ, RegSzData(quotes)), RegStatus::Success);
  EXPECT_EQ(registry.SetValue(key, "a\\b", REG_SZ, RegSzData("value names may hold \\")),
            RegStatus::Success);
  EXPECT_EQ(Data(registry, key, cyrillic255), RegSzData(quotes));
  EXPECT_EQ(SubKeys(registry, key), (std::vector<std::string>{latin255, cyrillic255}));
  EXPECT_EQ(ValueNames(registry, key), (std::vector<std::string>{"a\\b", cyrillic255}));

  const std::string latin256(256, 'k');
  const std::string cyrillic256 = cyrillic255 + "ж";
  EXPECT_EQ(registry.CreateKey(key, latin256, &child), RegStatus::InvalidParameter);
  EXPECT_EQ(registry.CreateKey(key, "ok\\" + cyrillic256, &child), RegStatus::InvalidParameter);
  EXPECT_EQ(registry.SetValue(key, cyrillic256, REG_NONE, ""), RegStatus::InvalidParameter);
  EXPECT_EQ(registry.QueryValue(key, latin256, nullptr, nullptr), RegStatus::InvalidParameter);
  EXPECT_EQ(registry.CreateKey(key, "a\\\\b", &child), RegStatus::BadPathname);
  EXPECT_EQ(registry.CreateKey(key, "\\a", &child), RegStatus::BadPathname);
  EXPECT_EQ(registry.SetValue(key, std::string("nul\0inside", 10), REG_NONE, ""),
            RegStatus::InvalidParameter);
  RegKey probe{};
  EXPECT_EQ(registry.OpenKey(key, "ok", &probe), RegStatus::FileNotFound);  // nothing half-made
}

void MakeForeignDatabase(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('keep me')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
}

void MakeTruncatedStore(const std::filesystem::path& file) {
  {
    Registry registry(file);
    ScopedRegKey key(registry);
    ASSERT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "Filler", key.Out()), RegStatus::Success);
    for (int i = 0; i < 40; ++i) {
      registry.SetValue(key.Get(), "v" + std::to_string(i), REG_BINARY, std::string(2000, char(i)));
    }
  }
  std::string bytes = ReadFile(file);
  ASSERT_GT(bytes.size(), 40000u);
  bytes.resize(bytes.size() / 3);
  WriteFileAtomically(file, bytes);
}

// A file in the way of the store may hold someone's data: it is moved aside whole, never wiped,
// and never over an earlier casualty.
TEST_F(RegistryTest, AnUnreadableStoreIsMovedAsideNotWiped) {
  struct Damage {
    std::string name;
    std::function<void(const std::filesystem::path&)> make;
    const char* reason;  // in the note on standard error
    bool earlierCasualty;
  };
  const Damage damages[] = {
      {"garbage",
       [](const auto& file) {
         WriteFileAtomically(file, "this is not a database \x01\x02\x03" + std::string(5000, 'x'));
       },
       "unreadable", false},
      {"foreign", MakeForeignDatabase, "another program", true},
      {"truncated", MakeTruncatedStore, "unreadable", false},
  };
  for (const Damage& damage : damages) {
    const auto file = dir_ / (damage.name + ".db");
    damage.make(file);
    const std::string original = ReadFile(file);
    const std::string earlier = file.string() + ".corrupt-1";
    if (damage.earlierCasualty) WriteFileAtomically(earlier, "an earlier casualty");

    ::testing::internal::CaptureStderr();
    Registry registry(file);
    const std::string message = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(registry.IsOpen()) << damage.name << ": " << registry.OpenError();
    const std::string aside = file.string() + (damage.earlierCasualty ? ".corrupt-2" : ".corrupt-1");
    EXPECT_EQ(ReadFile(aside), original) << damage.name;
    if (damage.earlierCasualty) {
      EXPECT_EQ(ReadFile(earlier), "an earlier casualty");
    }
    for (const std::string& part : {file.string(), aside, std::string(damage.reason)}) {
      EXPECT_NE(message.find(part), std::string::npos) << damage.name << ": " << message;
    }
    Create(registry, "Fresh");
    std::uint32_t subKeys = 0;
    EXPECT_EQ(registry.QueryInfoKey(HKEY_CURRENT_USER, &subKeys, nullptr), RegStatus::Success);
    EXPECT_EQ(subKeys, 1u) << damage.name;
  }
}

// One page of a store overwritten with garbage: the store is set aside, and what can still
// be read comes over whole, never altered.
TEST_F(RegistryTest, ADamagedStoreKeepsWhatCanStillBeRead) {
  const auto file = dir_ / "paged.db";
  std::map<std::string, std::string> written;
  {
    Registry registry(file);
    for (int k = 0; k < 6; ++k) {
      ScopedRegKey key(registry);
      ASSERT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "Kelvara\\Part" + std::to_string(k), key.Out()),
                RegStatus::Success);
      for (int v = 0; v < 40; ++v) {
        const std::string name = "k" + std::to_string(k) + "v" + std::to_string(v);
        written[name] = std::string(100, static_cast<char>('a' + v % 26));
        ASSERT_EQ(registry.SetValue(key.Get(), name, REG_BINARY, written[name]), RegStatus::Success);
      }
    }
  }
  constexpr std::size_t kPage = 4096;
  std::string bytes = ReadFile(file);
  ASSERT_GT(bytes.size(), 6 * kPage);
  // A leaf of the values, not the root of a table: the rest stays reachable.
  const std::size_t page = bytes.size() / kPage - 3;
  for (std::size_t i = page * kPage; i < (page + 1) * kPage; ++i) bytes[i] = static_cast<char>(i * 7);
  WriteFileAtomically(file, bytes);

  ::testing::internal::CaptureStderr();
  Registry registry(file);
  ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(registry.IsOpen());
  EXPECT_FALSE(registry.MovedAside().empty());
  EXPECT_GT(registry.SalvagedValues(), 0u);
  EXPECT_LT(registry.SalvagedValues(), written.size());
  std::size_t found = 0;
  for (int k = 0; k < 6; ++k) {
    ScopedRegKey key(registry);
    if (registry.OpenKey(HKEY_CURRENT_USER, "Kelvara\\Part" + std::to_string(k), key.Out()) != RegStatus::Success) continue;
    RegValue value;
    for (std::uint32_t i = 0; registry.EnumValue(key.Get(), i, &value) == RegStatus::Success; ++i, ++found) {
      EXPECT_EQ(value.data, written[value.name]) << value.name;
    }
  }
  EXPECT_EQ(found, registry.SalvagedValues());
}

// A store that could not be opened is tried again at the next call.
TEST_F(RegistryTest, AStoreThatCouldNotBeOpenedIsTriedAgain) {
  std::ofstream(dir_ / "later") << "x";
  Registry registry(dir_ / "later" / "registry.db");
  EXPECT_FALSE(registry.IsOpen());
  std::filesystem::remove(dir_ / "later");
  RegKey key{};
  EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "x", &key), RegStatus::Success);
  EXPECT_TRUE(registry.IsOpen());
}

// Root writes any file, so as root the check runs in a child that has dropped to "nobody".
void AsUnprivilegedUser(const std::function<void()>& check) {
  if (::geteuid() != 0) {
    check();
    return;
  }
  constexpr uid_t kNobody = 65534;
  EXPECT_EXIT(
      {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) std::_Exit(2);
        check();
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

// A store the user may not write is read as it is, refuses changes and leaves no journal.
TEST_F(RegistryTest, AReadOnlyStoreIsReadAndRefusesChanges) {
  const auto file = dir_ / "locked.db";
  {
    Registry registry(file);
    Create(registry, "Kept");
  }
  namespace fs = std::filesystem;
  constexpr fs::perms kReadable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(file, kReadable);
  fs::permissions(dir_.Path(), kReadable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
  AsUnprivilegedUser([&] {
    Registry registry(file);
    ASSERT_TRUE(registry.IsOpen()) << registry.OpenError();
    EXPECT_TRUE(registry.ReadOnly());
    EXPECT_EQ(SubKeys(registry, HKEY_CURRENT_USER), std::vector<std::string>{"Kept"});
    RegKey key{};
    EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "New", &key), RegStatus::AccessDenied);
  });
  EXPECT_FALSE(fs::exists(file.string() + "-shm"));
  fs::permissions(dir_.Path(), fs::perms::owner_all);
  fs::permissions(file, fs::perms::owner_all);
}

TEST_F(RegistryTest, AnUnopenableStoreFailsEveryCallWithoutCrashing) {
  std::ofstream(dir_ / "plain-file") << "x";
  Registry registry(dir_ / "plain-file" / "registry.db");
  EXPECT_FALSE(registry.IsOpen());
  EXPECT_FALSE(registry.OpenError().empty());
  RegKey key{};
  EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, "x", &key), RegStatus::CantOpen);
  EXPECT_EQ(registry.QueryValue(HKEY_CURRENT_USER, "x", nullptr, nullptr), RegStatus::CantOpen);
}

TEST(RegistryPath, FollowsTheEnvironment) {
  testing::EnvironmentGuard home("HOME"), store("KELVARA_REGISTRY"), data("XDG_DATA_HOME");
  setenv("HOME", "/home/astro", 1);
  setenv("KELVARA_REGISTRY", "/somewhere/store.db", 1);
  EXPECT_EQ(Registry::DefaultPath(), "/somewhere/store.db");
  unsetenv("KELVARA_REGISTRY");
  setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(Registry::DefaultPath(), "/data/kelvara/registry.db");
  setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored, as XDG says
  EXPECT_EQ(Registry::DefaultPath(), "/home/astro/.local/share/kelvara/registry.db");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(Registry::DefaultPath(), "/home/astro/.local/share/kelvara/registry.db");
}

// Writes one key with one value per round under `prefix` until the time is up;
// returns the number of rounds, or -1 at the first failure.
int WriteKeysFor(const std::filesystem::path& file, const std::string& prefix,
                 std::chrono::milliseconds span) {
  Registry registry(file);
  if (!registry.IsOpen()) return -1;
  const auto end = std::chrono::steady_clock::now() + span;
  int rounds = 0;
  while (std::chrono::steady_clock::now() < end) {
    ScopedRegKey key(registry);
    if (registry.CreateKey(HKEY_CURRENT_USER, prefix + "\\K" + std::to_string(rounds), key.Out()) !=
            RegStatus::Success ||
        registry.SetValue(key.Get(), "n", REG_DWORD, RegDwordData(rounds)) != RegStatus::Success) {
      return -1;
    }
    ++rounds;
  }
  return rounds;
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr std::chrono::milliseconds kSpan{2500};
  { Registry create(StoreFile()); }
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int rounds = WriteKeysFor(StoreFile(), "Child", kSpan);
    const bool sent = write(pipeEnds[1], &rounds, sizeof rounds) == sizeof rounds;
    _exit(sent && rounds > 0 ? 0 : 1);
  }
  const int parentRounds = WriteKeysFor(StoreFile(), "Parent", kSpan);
  int childRounds = -1;
  ASSERT_EQ(read(pipeEnds[0], &childRounds, sizeof childRounds), ssize_t(sizeof childRounds));
  int status = 0;
  waitpid(child, &status, 0);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_GT(parentRounds, 0);
  RecordProperty("parentRounds", parentRounds);
  RecordProperty("childRounds", childRounds);

  Registry registry(StoreFile());
  for (const auto& [prefix, rounds] : {std::pair{"Parent", parentRounds}, std::pair{"Child", childRounds}}) {
    std::uint32_t subKeys = 0;
    EXPECT_EQ(registry.QueryInfoKey(Create(registry, prefix), &subKeys, nullptr), RegStatus::Success);
    EXPECT_EQ(subKeys, std::uint32_t(rounds)) << prefix;
    for (int n = 0; n < rounds; ++n) {
      ScopedRegKey round(registry);
      ASSERT_EQ(registry.OpenKey(HKEY_CURRENT_USER, prefix + std::string("\\K") + std::to_string(n), round.Out()),
                RegStatus::Success);
      EXPECT_EQ(Data(registry, round.Get(), "n"), RegDwordData(n));
    }
  }
}

}  // namespace
}  // namespace kelvara::platform
