#pragma once

#include <limits>

namespace pq {

// The five statistics of one report index over N records. For signed indices `max` is the value
// farthest from zero and `min` the one closest to it. `p95` exists only when N >= 20 and `passRate`
// only for an index with a test; otherwise they hold not-a-number, and readers test the sample count.
struct StatisticRecord {
  float max = 0;
  float min = 0;
  float avg = 0;
  float p95 = std::numeric_limits<float>::quiet_NaN();
  float passRate = std::numeric_limits<float>::quiet_NaN();
};

}  // namespace pq
