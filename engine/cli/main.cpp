// kelvara-engine: runs the engine once on the command line's switches and prints the
// positions of objects 0..32, one line each.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"
#include "platform/codepage.h"

namespace {

constexpr const char* kUsage =
    "Usage: kelvara-engine [switch ...]\n"
    "Runs the Kelvara engine once and prints objects 0-32:\n"
    "  index, name, longitude (negative when retrograde), speed (deg/day), latitude.\n"
    "Main switches (prefix - / = _ : or none; '=' sets, '_' clears, '-' toggles a flag):\n"
    "  qa M D Y TIME ZONE LON LAT  chart date, clock time H:MM, zone (positive west,\n"
    "                              e.g. -3 for Moscow, or EST, LMT), place as 037e35 55n45\n"
    "  qb M D Y TIME DST ZONE LON LAT | q M D Y TIME | qd M D Y | qm M Y | qy Y | qj JD\n"
    "  -c N|NAME   house system 0-14 (0 Placidus, 1 Koch, 2 Equal ... 14 Null)\n"
    "  -b0         use the ephemeris files;  -Yn  true node;  -s [DEG] sidereal;\n"
    "  -sr         right ascension and declination;  ;  ends the switches\n"
    "Example: kelvara-engine -Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45\n";

// "---" + the folder of this executable + "/", as the front-end builds it.
std::string ProgramArgument(const char* invoked_as) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(invoked_as, error);
  return "---" + self.parent_path().string() + "/";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::vector<std::string> texts;
  texts.push_back(ProgramArgument(argv[0]));
  for (int i = 1; i < argc; ++i) texts.emplace_back(argv[i]);
  std::vector<char*> vector;
  for (std::string& text : texts) vector.push_back(text.data());

  double longitude[kelvara::engine::kResultCount] = {};
  double speed[kelvara::engine::kResultCount] = {};
  double latitude[kelvara::engine::kResultCount] = {};
  kelvara::engine::EngineRun(static_cast<int>(vector.size()), vector.data(), longitude, speed,
                             latitude);

  const auto& names = kelvara::engine::ProcessEngineState().objectNames;
  for (int i = 0; i < kelvara::engine::kResultCount; ++i) {
    const std::string name = kelvara::platform::Cp1251ToUtf8(names[i]);
    std::printf("%2d %-12s %14.8f %14.8f %14.8f\n", i, name.c_str(), longitude[i], speed[i],
                latitude[i]);
  }
  return 0;
}
