// The events of a time window that a drawing rectangle shows, from a published scan,
// in culmination order.
#pragma once

#include <memory>
#include <vector>

#include "eventmap/event_scanner.h"
#include "platform/geometry.h"

namespace kelvara::eventmap {

// The records point into the snapshot held here, so they stay valid as long as this does,
// whatever the scanner publishes meanwhile.
struct VisibleEvents {
  std::shared_ptr<const ScanSnapshot> snapshot;
  std::vector<const EventRecord*> events;
};

// Shown records overlapping the window and the covered part as the rectangle maps them;
// equal culminations keep the table order. Nothing for an empty window or no scan.
VisibleEvents SelectVisibleEvents(std::shared_ptr<const ScanSnapshot> snapshot, double windowStartHours,
                                  double windowEndHours, const platform::Rect& rect);
VisibleEvents SelectVisibleEvents(const EventScanner& scanner, double windowStartHours, double windowEndHours,
                                  const platform::Rect& rect);

}  // namespace kelvara::eventmap
