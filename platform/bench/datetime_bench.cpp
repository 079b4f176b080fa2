#include <benchmark/benchmark.h>

#include "platform/datetime.h"

namespace kelvara::platform {
namespace {

// The calendars split and step moments tens of thousands of times per range.
void BM_DateTimeStepAndSplit(benchmark::State& state) {
  DateTime moment = DateTime::FromFields(1860, 1, 1);
  const TimeSpan step = TimeSpan::FromHours(1);
  for (auto _ : state) {
    moment += step;
    benchmark::DoNotOptimize(moment.Fields());
    if (moment.Year() > 2130) moment = DateTime::FromFields(1860, 1, 1);
  }
}
BENCHMARK(BM_DateTimeStepAndSplit);

}  // namespace
}  // namespace kelvara::platform
