#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("kelvara-file-io-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::size_t EntryCount() const {
    return std::distance(fs::directory_iterator(folder_), fs::directory_iterator());
  }

  fs::path folder_;
};

TEST_F(FileIoTest, WritesAndReadsBackExactBytes) {
  const std::string bytes("a\0b\r\n\xC0\xFF", 7);
  // Quotes, percent signs and Cyrillic in the name, and the longest name the file system takes.
  for (const std::string& name : {std::string("Карта \"Иван\" 100%.kvd"), std::string(255, 'n')}) {
    std::error_code error;
    ASSERT_TRUE(WriteFileAtomically(folder_ / name, bytes, error)) << error.message();
    const auto read = ReadFileBytes(folder_ / name, error);
    ASSERT_TRUE(read.has_value()) << error.message();
    EXPECT_EQ(*read, bytes);
  }
  EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(FileIoTest, OpensOnlyRegularFiles) {
  std::error_code error;
  ASSERT_TRUE(WriteFileAtomically(folder_ / "plain", "x", error));
  const FileHandle plain = OpenRegularFile(folder_ / "plain", error);
  ASSERT_TRUE(plain) << error.message();
  EXPECT_EQ(std::fgetc(plain.get()), 'x');
  EXPECT_FALSE(OpenRegularFile(folder_, error));
  EXPECT_EQ(error, std::errc::is_a_directory);
  EXPECT_FALSE(ReadFileBytes(folder_, error));
  EXPECT_FALSE(OpenRegularFile(folder_ / "missing", error));
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

TEST_F(FileIoTest, ReplacesAnOldFileWhole) {
  const fs::path file = folder_ / "chart.kvd";
  std::error_code error;
  ASSERT_TRUE(WriteFileAtomically(file, std::string(1000, 'o'), error));
  ASSERT_TRUE(WriteFileAtomically(file, "new", error));
  EXPECT_EQ(ReadFileBytes(file, error).value_or(""), "new");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileIoTest, FailedWriteLeavesNoScratchBehind) {
  // A folder in the way of the rename, and a folder that does not exist.
  fs::create_directories(folder_ / "taken" / "inner");
  std::error_code error;
  EXPECT_FALSE(WriteFileAtomically(folder_ / "taken", "new", error));
  EXPECT_TRUE(error);
  EXPECT_TRUE(fs::is_directory(folder_ / "taken" / "inner"));
  EXPECT_FALSE(WriteFileAtomically(folder_ / "missing" / "chart.kvd", "new", error));
  EXPECT_TRUE(error);
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileIoTest, SavingThroughASymbolicLinkUpdatesItsTarget) {
  fs::create_directories(folder_ / "charts");
  const fs::path target = folder_ / "charts" / "Иван.kvd";
  ASSERT_TRUE(WriteFileAtomically(target, "old"));
  fs::create_symlink("charts/Иван.kvd", folder_ / "link.kvd");
  fs::create_symlink("link.kvd", folder_ / "link2.kvd");
  std::error_code error;
  ASSERT_TRUE(WriteFileAtomically(folder_ / "link2.kvd", "new", error)) << error.message();
  EXPECT_TRUE(fs::is_symlink(folder_ / "link2.kvd"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.kvd"));
  EXPECT_EQ(ReadFileBytes(target, error).value_or(""), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "charts"), fs::directory_iterator()), 1)
      << "the scratch file lies beside the target and is gone";
}

TEST_F(FileIoTest, AKilledSavesScratchFileIsRemovedByTheNextSave) {
  const fs::path stale = folder_ / ".kelvara-save-Ab12Cd";
  const fs::path running = folder_ / ".kelvara-save-Zz99Yy";
  ASSERT_TRUE(WriteFileAtomically(stale, "left by a kill"));
  ASSERT_TRUE(WriteFileAtomically(running, "a save in progress"));
  fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(1));
  ASSERT_TRUE(WriteFileAtomically(folder_ / "chart.kvd", "new"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running)) << "a young scratch file may belong to a save still running";
}

// 0 when a write beyond the file-size limit (a full disk fails the same write) failed with
// EFBIG, left the old document whole and no scratch file beside it.
int WriteBeyondTheSizeLimit(const fs::path& file) {
  std::error_code error;
  if (!WriteFileAtomically(file, "old", error)) return 2;
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = 100;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const bool written = WriteFileAtomically(file, std::string(1000, 'x'), error);
  const bool failedWithReason = !written && error.value() == EFBIG;
  const bool oldKept = ReadFileBytes(file, error).value_or("") == "old";
  const auto entries = std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator());
  return failedWithReason && oldKept && entries == 1 ? 0 : 1;
}

// Run in a child process, which the size limit would otherwise end by its signal.
TEST_F(FileIoTest, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProgram) {
  const fs::path file = folder_ / "big.kvd";
  EXPECT_EXIT(std::exit(WriteBeyondTheSizeLimit(file)), ::testing::ExitedWithCode(0), "");
}

// A save killed at any moment leaves either the old document or the new one, never a part.
TEST_F(FileIoTest, AKilledSaveLeavesADocumentWhole) {
  const fs::path file = folder_ / "chart.kvd";
  const std::string newBytes(8 << 20, 'n');
  ASSERT_TRUE(WriteFileAtomically(file, "old"));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (;;) WriteFileAtomically(file, newBytes);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  std::error_code error;
  const std::string kept = ReadFileBytes(file, error, newBytes.size()).value_or("unreadable");
  EXPECT_TRUE(kept == "old" || kept == newBytes) << kept.size() << " bytes";
}

TEST_F(FileIoTest, ReadRefusesMissingAndOversizedFiles) {
  std::error_code error;
  EXPECT_FALSE(ReadFileBytes(folder_ / "missing", error).has_value());
  EXPECT_TRUE(error);
  ASSERT_TRUE(WriteFileAtomically(folder_ / "big", std::string(100, 'b'), error));
  EXPECT_FALSE(ReadFileBytes(folder_ / "big", error, 99).has_value());
  EXPECT_EQ(error, std::errc::file_too_large);
  EXPECT_TRUE(ReadFileBytes(folder_ / "big", error, 100).has_value());
}

}  // namespace
}  // namespace kelvara::platform
