#include <chrono>
#include <filesystem>
#include <iostream>

#include "app/cli/cli.h"
#include "workspace/hour_scale.h"

namespace {

// The program's folder holds data/; /proc/self/exe names the program even when
// it is started through a link or from another directory.
std::filesystem::path DataDir(const char* argv0) {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) program = std::filesystem::absolute(argv0, error);
  return program.parent_path() / "data";
}

double NowGreenwichHours() {
  const auto unixSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  static const double kUnixEpochHours = kelvara::workspace::DaysSince1860(1970, 1, 1) * 24.0;
  return kUnixEpochHours + static_cast<double>(unixSeconds) / 3600.0;
}

}  // namespace

int main(int argc, char** argv) {
  const kelvara::platform::SystemClock clock;
  const kelvara::cli::CliContext context{DataDir(argv[0]), NowGreenwichHours, &clock};
  return kelvara::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), context, std::cout,
                              std::cerr);
}
