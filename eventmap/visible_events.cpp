#include "eventmap/visible_events.h"

#include <algorithm>
#include <cmath>

namespace kelvara::eventmap {
namespace {

constexpr double kMinutesPerHour = 60.0;

// Maps moments onto the rectangle's columns.
class Columns {
 public:
  Columns(double windowStartHours, double windowEndHours, const platform::Rect& rect)
      : endMinutes_(windowEndHours * kMinutesPerHour),
        right_(rect.right),
        perMinute_(double(rect.Width()) / ((windowEndHours - windowStartHours) * kMinutesPerHour)) {}

  double X(double hours) const { return right_ - std::round((endMinutes_ - hours * kMinutesPerHour) * perMinute_); }

 private:
  double endMinutes_;
  double right_;
  double perMinute_;
};

bool Shows(const EventRecord& r, double windowStart, double windowEnd, const Columns& columns, double coveredLeft,
           double coveredRight) {
  if (!(r.orbDeg > 0.0)) return false;
  if (!(r.startHours < windowEnd && r.endHours > windowStart)) return false;
  const double left = std::max(columns.X(r.startHours), coveredLeft);
  const double right = std::min(columns.X(r.endHours), coveredRight);
  return right >= left;
}

}  // namespace

VisibleEvents SelectVisibleEvents(std::shared_ptr<const ScanSnapshot> snapshot, double windowStartHours,
                                  double windowEndHours, const platform::Rect& rect) {
  VisibleEvents result;
  // An empty window maps nothing (and would divide by zero).
  if (!snapshot || !(windowEndHours != windowStartHours)) return result;
  const Columns columns(windowStartHours, windowEndHours, rect);
  const double coveredLeft = columns.X(snapshot->coveredStartHours);
  const double coveredRight = columns.X(snapshot->coveredEndHours);
  for (const EventTable& table : snapshot->tables) {
    for (int m = 0; m < kTablePoints; ++m)
      for (int a = 0; a < kTableAspects; ++a)
        for (int b = 0; b < kTablePoints; ++b)
          for (const EventRecord& r : table.Cell(m, a, b)) {
            if (Shows(r, windowStartHours, windowEndHours, columns, coveredLeft, coveredRight)) {
              result.events.push_back(&r);
            }
          }
  }
  std::stable_sort(result.events.begin(), result.events.end(), [](const EventRecord* x, const EventRecord* y) {
    return x->culminationHours < y->culminationHours;
  });
  result.snapshot = std::move(snapshot);
  return result;
}

VisibleEvents SelectVisibleEvents(const EventScanner& scanner, double windowStartHours, double windowEndHours,
                                  const platform::Rect& rect) {
  return SelectVisibleEvents(scanner.Snapshot(), windowStartHours, windowEndHours, rect);
}

}  // namespace kelvara::eventmap
