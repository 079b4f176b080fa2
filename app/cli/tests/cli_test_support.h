// What the command-line tests share: argument lists, refusals and a fixture that runs
// kelvara-cli in a scratch data folder and keeps what it printed.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli.h"
#include "places/tests/test_support.h"
#include "workspace/hour_scale.h"

namespace kelvara::cli::testing {

using Args = std::vector<std::string>;

inline Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// The arguments with the value of one option replaced.
inline Args Spoiled(Args args, const std::string& option, const std::string& value) {
  *(std::find(args.begin(), args.end(), option) + 1) = value;
  return args;
}

// A command that fails, with its exit code and a piece of the message on standard error.
struct Refusal {
  Args args;
  int exitCode;
  std::string message;
};

class CliRun : public ::testing::Test {
 protected:
  CliRun() {
    context_.dataDir = dir_ / "";
    context_.nowGreenwichHours = [] { return workspace::HoursSince1860({1985, 7, 1, 12, 0, 0}); };
  }

  int Run(const Args& args) {
    out_.str("");
    err_.str("");
    return RunCli(args, context_, out_, err_);
  }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  void ExpectRefused(const Refusal& refusal) {
    const std::string command = ::testing::PrintToString(refusal.args);
    EXPECT_EQ(Run(refusal.args), refusal.exitCode) << command;
    EXPECT_NE(err_.str().find(refusal.message), std::string::npos) << command << ": " << err_.str();
    EXPECT_TRUE(out_.str().empty()) << command;
  }

  places::testing::ScratchDir dir_;
  CliContext context_;
  std::ostringstream out_, err_;
};

}  // namespace kelvara::cli::testing
