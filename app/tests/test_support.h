// Helpers shared by the app tests: a scratch data folder, and the byte helpers of the
// workspace's file-form tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/file_io.h"
#include "platform/tests/scratch_dir.h"
#include "workspace/tests/stored_bytes.h"

namespace kelvara::app::testing {

using workspace::testing::kMutationRounds;
using workspace::testing::Mutate;
using workspace::testing::ReadAt;
using workspace::testing::WithFieldAt;
using workspace::testing::WriteAt;

// A scratch folder as the program's data folder: Prefix() ends in a separator.
class DataFolderTest : public ::testing::Test {
 protected:
  std::string Prefix() const { return (dir_.Path() / "").string(); }
  void WriteFile(std::string_view name, const std::string& bytes) {
    ASSERT_TRUE(platform::WriteFileAtomically(dir_ / std::string(name), bytes));
  }
  platform::test_support::ScratchDir dir_;
};

}  // namespace kelvara::app::testing
