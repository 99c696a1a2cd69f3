#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "aggregation/IntervalAggregator.h"
#include "aggregation/RecordTimeGate.h"
#include "timerange/RecordSpan.h"

namespace pq {

// The finished intervals of one resolution, in time order, with their values kept in one block.
struct AggregatedSeries {
  struct Interval {
    std::int64_t start;
    int recordCount;
    bool flagged;
  };
  std::vector<Interval> intervals;
  std::vector<AggregatedValue> values;  // intervals.size() rows of kAggregatedQuantityCount

  std::span<const AggregatedValue> row(std::size_t interval) const;
};

// Keeps every interval it is handed: the sink for a single recording; a survey keeps less.
class SeriesCollector : public AggregationSink {
 public:
  void intervalFinished(const AggregatedInterval& interval) override;

  std::array<AggregatedSeries, kResolutionCount> series;
};

// The aggregated values of the records `range` of the store (cut to the records in use), without
// event flags, and the gate that counted the records left out.
struct RangeAggregation {
  std::array<AggregatedSeries, kResolutionCount> series;
  RecordTimeGate gate;
};
RangeAggregation aggregateRange(const RecordStore& store, IndexRange range);

}  // namespace pq
