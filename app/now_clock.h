// The "now" clock: a worker that recomputes copies of the running "now" charts round
// after round and tells the window by a posted message. The window thread owns the
// charts; the worker only ever sees the copies taken at its start, and the finished
// copies pass back through a one-slot mailbox, the only data the two threads share.
//
// Anything that changes the charts stops the clock first and starts it again after:
// freezing ("Останов") and releasing through ToggleNowFreeze, a step, a new document,
// double-chart mode. Stop waits for a round in progress, so once it returns no round is
// under way and nothing from the old run can reach the charts.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/message_sink.h"
#include "platform/worker.h"
#include "workspace/chart_compute.h"
#include "workspace/workspace_state.h"

namespace kelvara::app {

// Posted after each round; wParam carries the round's generation for TakeRound.
inline constexpr unsigned kWmNowRound = platform::kWmUser + 1;
inline constexpr std::chrono::milliseconds kNowRoundPeriod{1000};

// What a round computes with; the engine, clock and places outlive the clock's run.
struct NowRoundServices {
  const workspace::ChartEngine& engine;
  const platform::Clock* clock = nullptr;
  const workspace::TimeZoneSource* zones = nullptr;
  std::string nowPlace;
  std::chrono::milliseconds period = kNowRoundPeriod;
};

// The charts of one round; also the copies a round starts from.
struct NowRoundResult {
  std::optional<workspace::ChartRecord> main;
  std::optional<workspace::ChartRecord> second;
  bool Empty() const { return !main && !second; }
};

// The charts the clock recomputes: a running "now" main chart; in double-chart mode a
// second chart named "Сейчас", or one derived from that running main chart.
NowRoundResult NowChartsOf(const workspace::WorkspaceState& charts);

// One round on the copies: each "now" chart takes the present moment, moved by its step
// counter's worth of steps, and a derived chart is recomputed over the new main chart.
// A chart that cannot be computed (a shift off the scale included) is left out.
NowRoundResult RunNowRound(const NowRoundResult& copies, const NowRoundServices& services);

// Puts a round's charts into the state where the state still holds the same chart by
// name (a derived chart only together with its main chart); a chart renamed or replaced
// since the round began is left alone. The step stays
// the state's: it is the user's setting, not something a round computes.
void ApplyRound(const NowRoundResult& round, workspace::WorkspaceState& charts);

class NowClock {
 public:
  // `sink` serves this clock alone (a stop drops what it still holds) and must outlive it.
  explicit NowClock(platform::MessageSink* sink) : worker_(sink) {}
  ~NowClock() { Stop(); }
  NowClock(const NowClock&) = delete;
  NowClock& operator=(const NowClock&) = delete;

  // Everything below belongs to the window's thread.
  // Stops a running clock, copies the charts and starts rounds, the first at once; false
  // (and nothing running) when no chart needs the clock or there is no clock to read.
  bool Start(const workspace::WorkspaceState& charts, NowRoundServices services);
  // Sets the stop event and waits without limit for a round in progress; a message
  // posted before the stop then finds nothing.
  void Stop();
  bool IsRunning() const { return worker_.IsRunning(); }

  // On kWmNowRound: the round's charts while its generation is current and its charts
  // are not yet taken.
  std::optional<NowRoundResult> TakeRound(std::uintptr_t generation);

 private:
  struct Delivery {
    std::uintptr_t generation = 0;
    NowRoundResult charts;
  };

  void Run(platform::Worker& worker, const NowRoundResult& copies, const NowRoundServices& services,
           std::uintptr_t generation);
  void Deliver(NowRoundResult charts, std::uintptr_t generation);

  std::mutex mailboxMutex_;
  std::optional<Delivery> mailbox_;
  std::uintptr_t generation_ = 0;  // the window thread's alone; a round gets its own copy
  platform::Worker worker_;
};

}  // namespace kelvara::app
