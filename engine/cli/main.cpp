// kelvara-engine: runs the engine once on the command line's switches and prints the
// positions of objects 0..32, one line each, then the Delta T of the chart's moment; with
// --table first, a table in signs, degrees and minutes instead.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "engine/records.h"
#include "engine/switches.h"
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
    "Scans and result files (Windows-1251 text, written in the current directory):\n"
    "  -Zd         rise, set and culmination times of the chart's local day -> tmp.tmp\n"
    "              (4 x the -d divisions steps, 48 by default)\n"
    "  -Z          horizon coordinates of the kept objects (no file)\n"
    "  -d [N]      ingresses, stations and aspects of the chart's day in N steps\n"
    "              (1-2880, default 12) -> tmp.tmp\n"
    "  -dm | -dy | -dY N    the same for the chart's month, year, or N years from it\n"
    "  -dp M Y | -dpy Y | -dpY Y N   the progressed forms of -d\n"
    "  -o FILE [TEXT ...]   chart-info file ending with the TEXTs; -o0 FILE positions file\n"
    "  -os FILE    the engine's text output\n"
    "  a 13-element vector whose twelfth element is -L and thirteenth a step in degrees\n"
    "              writes the crossing table -> G_tmp.tmp\n"
    "Switches that do not parse (a switch without its arguments, an argument out of\n"
    "range) are refused: the word where they stop goes to standard error, exit status 2.\n"
    "Example: kelvara-engine -Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45\n"
    "         kelvara-engine -Zd -b0 -c 0 qa 7 12 1985 0:00 -3 037e35 55n45\n";

constexpr const char* kTableOption = "--table";
constexpr double kDegreesPerSign = 30.0;
constexpr int kSignCount = 12;
constexpr int kExitRefused = 2;

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

bool Parses(const std::vector<char*>& vector, std::size_t count, engine::EngineState& scratch) {
  engine::ResetEngineState(scratch);
  scratch.initialParse = true;  // as a run parses: -o then takes the texts after its file
  return engine::ParseSwitches(scratch, static_cast<int>(count), vector.data());
}

// A run whose switches do not parse keeps the previous positions, so the switches are
// parsed first on a state of our own. The word returned is the last one before which the
// vector still parses: the refused switch itself or one of its arguments.
std::optional<std::size_t> RefusedWord(const std::vector<char*>& vector) {
  const auto scratch = std::make_unique<engine::EngineState>();
  if (Parses(vector, vector.size(), *scratch)) return std::nullopt;
  std::size_t last = 1;
  for (std::size_t count = 2; count < vector.size(); ++count) {
    if (Parses(vector, count, *scratch)) last = count;
  }
  return last;
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
  if (const auto refused = RefusedWord(vector)) {
    std::fprintf(stderr, "kelvara-engine: the switches do not parse at word %zu, \"%s\": a switch lacks "
                 "an argument or an argument is out of range\n", *refused, vector[*refused]);
    return kExitRefused;
  }

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
