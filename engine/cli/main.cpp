// kelvara-engine: runs the engine once on the command line's switches and prints the
// positions of objects 0..32, one line each, then the Delta T of the chart's moment; with
// --table first, a table in signs, degrees and minutes instead.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"
#include "platform/codepage.h"

namespace {

namespace engine = kelvara::engine;

constexpr const char* kUsage =
    "Usage: kelvara-engine [--table] [switch ...]\n"
    "Runs the Kelvara engine once and prints objects 0-32:\n"
    "  index, name, longitude (negative when retrograde), speed (deg/day), latitude,\n"
    "  then '# deltaT=<seconds>', the TT - UT used for the chart's moment.\n"
    "  --table prints sign, degrees and minutes, speed and latitude instead.\n"
    "Main switches (prefix - / = _ : or none; '=' sets, '_' clears, '-' toggles a flag):\n"
    "  qa M D Y TIME ZONE LON LAT  chart date, clock time H:MM, zone (positive west,\n"
    "                              e.g. -3 for Moscow, or EST, LMT), place as 037e35 55n45\n"
    "  qb M D Y TIME DST ZONE LON LAT | q M D Y TIME | qd M D Y | qm M Y | qy Y | qj JD\n"
    "  -c N|NAME   house system 0-14 (0 Placidus, 1 Koch, 2 Equal ... 14 Null)\n"
    "  -b0         use the ephemeris files;  -Yn  true node;  -s [DEG] sidereal;\n"
    "  -sr         right ascension and declination;  ;  ends the switches\n"
    "Example: kelvara-engine -Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45\n";

constexpr const char* kTableOption = "--table";
constexpr double kDegreesPerSign = 30.0;
constexpr int kSignCount = 12;

struct Positions {
  double longitude[engine::kResultCount] = {};
  double speed[engine::kResultCount] = {};
  double latitude[engine::kResultCount] = {};
};

// "---" + the folder of this executable + "/", as the front-end builds it.
std::string ProgramArgument(const char* invoked_as) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(invoked_as, error);
  return "---" + self.parent_path().string() + "/";
}

std::string ObjectName(int index) {
  return kelvara::platform::Cp1251ToUtf8(engine::ProcessEngineState().objectNames[index]);
}

void PrintLines(const Positions& p) {
  for (int i = 0; i < engine::kResultCount; ++i) {
    std::printf("%2d %-12s %14.8f %14.8f %14.8f\n", i, ObjectName(i).c_str(), p.longitude[i],
                p.speed[i], p.latitude[i]);
  }
}

// "Лв 15°42'" style: sign, whole degrees and minutes within it (minutes truncated, as
// astrologers read a position), R for retrograde.
void PrintTable(const Positions& p) {
  const auto& signs = engine::ProcessEngineState().signShortNames;
  std::printf("%2s %-12s %-4s %3s %3s %2s %11s %10s\n", "#", "object", "sign", "deg", "min", "",
              "deg/day", "latitude");
  for (int i = 0; i < engine::kResultCount; ++i) {
    const double lon = std::fabs(p.longitude[i]);
    const int sign = std::min(static_cast<int>(lon / kDegreesPerSign), kSignCount - 1);
    const double within = lon - sign * kDegreesPerSign;
    const int degrees = static_cast<int>(within);
    const int minutes = std::min(static_cast<int>((within - degrees) * 60.0), 59);
    const std::string sign_name = kelvara::platform::Cp1251ToUtf8(signs[sign + 1]);
    std::printf("%2d %-12s %s   %3d %3d %2s %11.6f %10.6f\n", i, ObjectName(i).c_str(),
                sign_name.c_str(), degrees, minutes, p.speed[i] < 0.0 ? "R" : "", p.speed[i],
                p.latitude[i]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const bool table = argc > 1 && std::strcmp(argv[1], kTableOption) == 0;
  std::vector<std::string> texts;
  texts.push_back(ProgramArgument(argv[0]));
  for (int i = table ? 2 : 1; i < argc; ++i) texts.emplace_back(argv[i]);
  std::vector<char*> vector;
  for (std::string& text : texts) vector.push_back(text.data());

  Positions positions;
  engine::EngineRun(static_cast<int>(vector.size()), vector.data(), positions.longitude,
                    positions.speed, positions.latitude);
  if (table) {
    PrintTable(positions);
  } else {
    PrintLines(positions);
  }
  std::printf("# deltaT=%.3f\n", engine::ProcessEngineState().objects.deltaTSeconds);
  return 0;
}
