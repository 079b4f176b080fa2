#include "app/now_clock.h"

#include "app/step_shift.h"

namespace kelvara::app {
namespace {

using workspace::ChartRecord;

bool IsDerivedName(std::string_view name) {
  const auto kind = workspace::KindOfName(name);
  return kind && *kind != workspace::ChartKind::kNow;
}

std::optional<ChartRecord> Computed(ChartRecord chart, const NowRoundServices& services,
                                    const ChartRecord* natal) {
  // No clock here: a "now" chart's moment is set already and must not be taken again.
  const workspace::ComputeContext context{services.engine, natal, nullptr, services.zones, services.nowPlace};
  if (workspace::ComputeChart(chart, context) == workspace::ComputeResult::kNotComputable) {
    return std::nullopt;
  }
  return chart;
}

std::optional<ChartRecord> AtPresent(ChartRecord chart, const NowRoundServices& services) {
  workspace::TakePresentMoment(chart, *services.clock, services.zones, services.nowPlace);
  if (chart.step.counter != 0) {
    const auto shifted = ShiftMoment(chart.local, chart.step, chart.step.counter);
    if (!shifted) return std::nullopt;
    chart.local = *shifted;
  }
  return Computed(std::move(chart), services, nullptr);
}

bool IsSameChart(const std::optional<ChartRecord>& computed, const ChartRecord& chart) {
  return computed && computed->name == chart.name;
}

void Replace(const ChartRecord& computed, ChartRecord& chart) {
  const workspace::StepShift step = chart.step;
  chart = computed;
  chart.step = step;
}

}  // namespace

NowRoundResult NowChartsOf(const workspace::WorkspaceState& charts) {
  NowRoundResult copies;
  if (workspace::IsRunningNowName(charts.main.name)) copies.main = charts.main;
  if (!charts.doubleChart) return copies;
  const std::string& second = charts.second.name;
  if (second == workspace::kNameNow || (copies.main && IsDerivedName(second))) copies.second = charts.second;
  return copies;
}

NowRoundResult RunNowRound(const NowRoundResult& copies, const NowRoundServices& services) {
  NowRoundResult round;
  if (services.clock == nullptr) return round;
  if (copies.main) round.main = AtPresent(*copies.main, services);
  if (!copies.second) return round;
  if (copies.second->name == workspace::kNameNow) {
    round.second = AtPresent(*copies.second, services);
  } else if (round.main) {
    round.second = Computed(*copies.second, services, &*round.main);
  }
  return round;
}

void ApplyRound(const NowRoundResult& round, workspace::WorkspaceState& charts) {
  const bool sameMain = IsSameChart(round.main, charts.main);
  if (sameMain) Replace(*round.main, charts.main);
  if (!charts.doubleChart || !IsSameChart(round.second, charts.second)) return;
  // A derived chart was computed over the round's main chart and holds only with it.
  if (round.second->name == workspace::kNameNow || sameMain) Replace(*round.second, charts.second);
}

bool NowClock::Start(const workspace::WorkspaceState& charts, NowRoundServices services) {
  Stop();
  NowRoundResult copies = NowChartsOf(charts);
  if (copies.Empty() || services.clock == nullptr) return false;
  worker_.Start([this, copies = std::move(copies), services = std::move(services),
                 generation = generation_](platform::Worker& worker) {
    Run(worker, copies, services, generation);
  });
  return true;
}

void NowClock::Stop() {
  worker_.Stop();
  // Messages of the stopped run may still be queued at the window: they no longer match.
  ++generation_;
  std::lock_guard lock(mailboxMutex_);
  mailbox_.reset();
}

std::optional<NowRoundResult> NowClock::TakeRound(std::uintptr_t generation) {
  if (generation != generation_) return std::nullopt;
  std::lock_guard lock(mailboxMutex_);
  if (!mailbox_ || mailbox_->generation != generation) return std::nullopt;
  NowRoundResult charts = std::move(mailbox_->charts);
  mailbox_.reset();
  return charts;
}

void NowClock::Run(platform::Worker& worker, const NowRoundResult& copies, const NowRoundServices& services,
                   std::uintptr_t generation) {
  do {
    NowRoundResult round = RunNowRound(copies, services);
    if (worker.StopRequested()) return;
    if (round.Empty()) continue;
    Deliver(std::move(round), generation);
    worker.Post(kWmNowRound, generation);
  } while (!worker.StopEvent().Wait(services.period));
}

void NowClock::Deliver(NowRoundResult charts, std::uintptr_t generation) {
  std::lock_guard lock(mailboxMutex_);
  mailbox_ = Delivery{generation, std::move(charts)};
}

}  // namespace kelvara::app
