// Collecting a section of the shipped library and building the chart's keys: what the
// user waits for between the section dialog and the text.
#include <benchmark/benchmark.h>

#include <cmath>

#include "interpretation/collect.h"
#include "interpretation/text_library.h"

namespace {

namespace ws = kelvara::workspace;
namespace in = kelvara::interpretation;

const std::filesystem::path kNatalSection = std::filesystem::path(KELVARA_SOURCE_DIR) / "data/TXT_ST/NT/Basics";

// Objects 1-16 spread 97° apart, cusps 30° apart from 345°.
ws::WorkspaceState SpreadChart() {
  ws::WorkspaceState state;
  state.main.name = "Бенч";
  for (int slot = ws::kFirstSlot; slot <= ws::kLastSlot; ++slot)
    state.main.objects[slot].SetLongitude(ws::kNotAvailable);
  for (int slot = ws::kFirstSlot; slot <= ws::kSlotLilith; ++slot)
    state.main.objects[slot].SetLongitude(std::fmod(slot * 97.0, 360.0));
  for (int house = 0; house < ws::kCuspCount; ++house)
    state.main.objects[ws::kSlotFirstCusp + house].SetLongitude(std::fmod(345.0 + 30.0 * house, 360.0));
  return state;
}

const std::vector<std::string> kAspects = {"Солнце + 120 + Луна", "Марс + 90 + X_Дом", "Венера + 0 + I_Дом",
                                           "Луна + 60 + Сатурн", "Юпитер + 180 + IV_Дом"};

void BM_BuildKeySets(benchmark::State& bench) {
  const ws::WorkspaceState state = SpreadChart();
  const auto rulers = ws::DefaultDignityTables(ws::Tradition::kWestern).rulership;
  for (auto _ : bench) benchmark::DoNotOptimize(in::BuildKeySets({&state, &rulers, kAspects, {}}));
}
BENCHMARK(BM_BuildKeySets);

void BM_CollectNatalSection(benchmark::State& bench) {
  if (!std::filesystem::exists(kNatalSection)) {
    bench.SkipWithError("no sample library");
    return;
  }
  const ws::WorkspaceState state = SpreadChart();
  const auto rulers = ws::DefaultDignityTables(ws::Tradition::kWestern).rulership;
  const in::KeySets keys = in::BuildKeySets({&state, &rulers, kAspects, {}});
  std::size_t pieces = 0;
  for (auto _ : bench) pieces = in::Collect({"Основы", kNatalSection}, keys).pieces.size();
  bench.counters["pieces"] = double(pieces);
}
BENCHMARK(BM_CollectNatalSection)->Unit(benchmark::kMicrosecond);

const std::filesystem::path kLibrary = std::filesystem::path(KELVARA_SOURCE_DIR) / "data/TXT_ST";

// What the menu asks before it offers "Текст интерпретации": whether the chart's kind
// folder has a section, in the shipped and in a missing user library.
void BM_OffersASection(benchmark::State& bench) {
  const ws::WorkspaceState state = SpreadChart();
  const std::vector<std::filesystem::path> roots = {kLibrary, kLibrary / "no-user-library"};
  for (auto _ : bench) {
    const in::SectionList list = in::ListSections(roots, in::KindFolderOf(state).folder);
    benchmark::DoNotOptimize(list.sections.empty());
  }
}
BENCHMARK(BM_OffersASection)->Unit(benchmark::kMicrosecond);

// A tap on a degree: the request's keys and the degree section's 360 entries.
void BM_DegreeLookup(benchmark::State& bench) {
  const ws::WorkspaceState state = SpreadChart();
  const auto rulers = ws::DefaultDignityTables(ws::Tradition::kWestern).rulership;
  std::size_t pieces = 0;
  for (auto _ : bench) {
    const in::KeySets keys = in::BuildKeySets({&state, &rulers, kAspects, "11-й градус Овна"});
    pieces = in::Collect({"Символы", kLibrary / "Degrees/Symbols"}, keys).pieces.size();
  }
  bench.counters["pieces"] = double(pieces);
}
BENCHMARK(BM_DegreeLookup)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
