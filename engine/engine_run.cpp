#include "engine/engine_run.h"

#include <cstring>

#include "engine/angles.h"
#include "engine/casting.h"
#include "engine/files.h"
#include "engine/switches.h"
#include "engine/value_syntax.h"
#include "engine/writers.h"

namespace kelvara::engine {
namespace {

// argv[0]: a mode character and two fillers before the program's folder.
constexpr std::size_t kArgv0Filler = 3;
// The house system of a run that gives no -c (the records' own default is Placidus).
constexpr int kRunHouseSystem = kEqual;
// A vector of at least this length may carry the crossing-table trigger in argv[11].
constexpr int kCrossingTriggerArgc = 13;
constexpr const char* kSouthNodeName = "S.Node";

void TakeProgramFolder(EngineState& state, int argc, char** argv) {
  if (argc < 1 || argv == nullptr || argv[0] == nullptr) return;
  char* first = argv[0];
  state.settings.argv0Mode = first[0] == '-' ? 0 : 1;
  const std::size_t length = std::strlen(first);
  if (length < kArgv0Filler) {
    // Too short to hold the fillers: the folder is empty rather than read past the end.
    first[0] = '\0';
  } else {
    std::memmove(first, first + kArgv0Filler, length - kArgv0Filler + 1);
  }
  state.programFolder = first;
}

// Cusps as objects, hypothetical bodies and stars: the three groups that no switch keeps,
// numbered one after the other from the first cusp to the last star.
void IgnoreGroups(IgnoreFlags& ignore) {
  for (int i = kFirstCusp; i <= kLastStar; ++i) ignore[i] = 1;
}

void ChartAction(EngineState& state) {
  state.initialParse = false;
  if (!state.settings.useEphemerisFiles) {
    state.objectNames[kLilith] = kSouthNodeName;
    state.ruledSign[kLilith] = kLeo;
  }
  IgnoreGroups(state.ignore);
  // Nothing is written to the text output, but the -os file is still created.
  std::FILE* output = OpenTextOutput(state.settings);
  CastChart(state);
  state.coreChart = state.chartInput;
  if (state.settings.writeChartFile) WriteChartFile(state);
  CloseTextOutput(output);
  for (int i = 1; i <= 12; ++i) {
    state.objects.longitude[kFirstCusp + i - 1] = state.objects.cusps[i];
  }
}

bool CrossingTableRequested(int argc, char** argv) {
  if (argc < kCrossingTriggerArgc || argv == nullptr) return false;
  const char* element = argv[11];
  return element != nullptr && element[0] != '\0' && element[1] == 'L';
}

void RunTablesAndScans(EngineState& state, int argc, char** argv) {
  EngineSettings& settings = state.settings;
  if (CrossingTableRequested(argc, argv)) {
    settings.crossingStep = argv[12] ? ReadInteger(argv[12]) : 0;
    settings.crossingTable = 1;
    WriteCrossingTable(state);
  }
  if (settings.horizonScan) {
    if (settings.riseSetScan) {
      ScanRiseSet(state);
    } else {
      HorizonListing(state);
    }
  }
  if (settings.eventScan) {
    settings.aspectCount = kAspectCount;  // the scan tries every aspect
    ScanEvents(state);
  }
}

void CopyResults(const ObjectTables& objects, double* lon, double* speed, double* lat) {
  for (int i = 0; i < kResultCount; ++i) {
    const double motion = objects.motion[i];
    if (lon) lon[i] = motion < 0.0 ? -objects.longitude[i] : objects.longitude[i];
    if (speed) speed[i] = motion * kRadToDeg;
    if (lat) lat[i] = objects.latitude[i];
  }
}

}  // namespace

int EngineRun(int argc, char** argv, double* outLongitude, double* outSpeed,
              double* outLatitude) {
  EngineState& state = ProcessEngineState();
  ResetEngineState(state);
  TakeProgramFolder(state, argc, argv);
  state.initialParse = true;
  state.settings.houseSystem = kRunHouseSystem;

  if (ParseSwitches(state, argc, argv)) ChartAction(state);
  state.settings.trueNode = 1;
  // The tables and scans run whether or not the vector parsed.
  RunTablesAndScans(state, argc, argv);
  CopyResults(state.objects, outLongitude, outSpeed, outLatitude);
  return 0;
}

}  // namespace kelvara::engine
