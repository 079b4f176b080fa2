// The event scanner: over a time window, when each point of a moving chart enters the
// orb of an aspect to a point of a base chart, is exact and leaves it. It runs on a
// worker in slices, can be stopped, and publishes its result as one immutable snapshot.
#pragma once

#include <array>
#include <atomic>
#include <bitset>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "eventmap/event_record.h"
#include "platform/message_sink.h"
#include "workspace/aspect_tables.h"
#include "workspace/chart_record.h"
#include "workspace/engine_driver.h"

namespace kelvara::platform {
class Worker;
}

namespace kelvara::eventmap {

inline constexpr std::string_view kMethodBackground = "Транзитный фон";
inline constexpr std::string_view kMethodTransits = "Транзиты планет по гороскопу";
inline constexpr std::string_view kMethodProgressions = "Прогрессии планет по гороскопу";
inline constexpr std::string_view kMethodDirections = "Дирекции планет по гороскопу";

// Progress in exact-only mode (the void-of-course Moon) and with calendar progress (the
// aspect calendar); the percentage 0-99 travels as wParam.
inline constexpr unsigned kWmExactOnlyProgress = platform::kWmUser + 9;
inline constexpr unsigned kWmCalendarProgress = platform::kWmUser + 7;
// Our own number, clear of the calendars' +1..+10: the record cap was reached and
// crossings are being dropped; the owner shows kOutOfMemoryText. Posted once per scan.
inline constexpr unsigned kWmScanOutOfMemory = platform::kWmUser + 16;
inline constexpr std::string_view kOutOfMemoryText = "Не хватает памяти!";

inline constexpr int kTablePoints = kLastTablePoint + 1;
inline constexpr int kTableAspects = kLastTableAspect + 1;
inline constexpr std::size_t kDefaultRecordCap = 1'000'000;

// One table of record lists indexed [moving point][aspect][base point].
class EventTable {
 public:
  EventTable();
  std::vector<EventRecord>& Cell(int moving, int aspect, int base);
  const std::vector<EventRecord>& Cell(int moving, int aspect, int base) const;
  std::size_t RecordCount() const;

 private:
  std::vector<std::vector<EventRecord>> cells_;
};

// The four tables, in the order the visible list reads them.
enum class EventKind { kExact = 0, kEntry = 1, kExit = 2, kRunning = 3 };
inline constexpr int kEventKindCount = 4;

struct EventCell {
  int moving = 0;
  int aspect = 0;
  int base = 0;
  friend bool operator==(const EventCell&, const EventCell&) = default;
};

// The result of one scan, never changed once published.
struct ScanSnapshot {
  std::array<EventTable, kEventKindCount> tables;
  std::vector<EventCell> rows;  // cells holding a shown record, in table order
  double coveredStartHours = 0.0;  // the part of the time scale the scan went through
  double coveredEndHours = 0.0;
  bool stopped = false;

  const EventTable& Table(EventKind kind) const { return tables[static_cast<int>(kind)]; }
};

struct ScanCharts {
  const workspace::ChartRecord* moving = nullptr;
  const workspace::ChartRecord* base = nullptr;
  std::string method;
  // What derived moving charts (progressions, directions) start from; the base chart
  // when not given.
  const workspace::ChartRecord* natal = nullptr;
  // Base points that keep the given position at every step (sign boundaries on cusps).
  std::bitset<workspace::kSlotCount> fixedBasePoints;
};

enum class PrepareResult { kReady, kMissingChart, kHousesNotAccepted, kBusy };
enum class ScanOutcome { kFinished, kStopped, kBusy, kIdle };

class EventScanner {
 public:
  // Table 1 serves the transit background, table 2 every other method.
  EventScanner(const workspace::ChartEngine& engine, const workspace::AspectTables& aspects);
  ~EventScanner();
  EventScanner(const EventScanner&) = delete;
  EventScanner& operator=(const EventScanner&) = delete;

  // The owner's thread, while no run is under way. The charts are copied.
  void SetCharts(const ScanCharts& charts);
  void SetWindow(double startHours, double endHours);
  void SetExactOnly(bool on);
  void SetCalendarProgress(bool on);
  void SetRecordCap(std::size_t cap);

  // The question to ask before a scan that steps through the houses hour by hour; none
  // when no question is needed or the user already agreed.
  std::optional<std::string> HouseQuestion() const;
  void AcceptHouses();

  // Clears the tables and computes the step, the scan limits and the number of steps.
  PrepareResult Prepare();
  // Scans, post-processes and publishes; on a worker it reports progress and stops
  // between slices when asked. A busy scanner returns kBusy, an unprepared one kIdle.
  ScanOutcome Run(platform::Worker* worker = nullptr);

  // Any thread: the last published result, null before the first.
  std::shared_ptr<const ScanSnapshot> Snapshot() const;
  bool IsBusy() const { return busy_.load(); }

  double StepHours() const;
  int StepCount() const;  // (sub-)steps of the whole scan
  int SubStepsPerStep() const;
  double ScanStartHours() const;
  double ScanEndHours() const;

 private:
  struct Scan;
  void Publish(std::shared_ptr<const ScanSnapshot> snapshot);

  std::unique_ptr<Scan> scan_;
  std::atomic<bool> busy_ = false;
  mutable std::mutex snapshotMutex_;
  std::shared_ptr<const ScanSnapshot> snapshot_;
};

}  // namespace kelvara::eventmap
