#pragma once

#include <span>
#include <string>
#include <vector>

#include "assessment/VoltageEvents.h"

namespace pq {

// The dips, swells and short interruptions counted by residual voltage (peak, for swells) and
// duration in the classes of GB/T 30137's table, as far as the recording interval resolves them: an
// event lasts a whole number of records (± one interval), so the duration classes that end below
// the interval cannot be told apart and are merged into the first one that ends at or above it.
struct EventClassTable {
  struct Band {
    std::string title;  // "90>u≥80"
    double low;         // % of the declared voltage, the lower bound included
    double high;        // the upper bound excluded (dips) or included (swells)
  };
  struct Column {
    std::string title;  // "1 s<t≤5 s", or "10 ms≤t≤1 s" for merged classes
    double upperSeconds;
  };
  std::vector<Band> swellBands;  // highest first
  std::vector<Band> dipBands;    // highest first; the last is the interruptions'
  std::vector<Column> columns;
  // counts[band][column], swell bands first, then the dip bands.
  std::vector<std::vector<int>> counts;
  // Which classes the recording interval merged, or empty when none.
  std::string mergeNote;
};

EventClassTable eventClassTable(std::span<const VoltageEvent> events, int recordSeconds);

// The upper bounds of GB/T 30137's duration classes, in seconds; the first class starts at 10 ms.
inline constexpr double kEventDurationBounds[] = {0.2, 0.5, 1, 5, 60};

}  // namespace pq
