#include "aggregation/AggregatedSeries.h"

#include <algorithm>

#include "aggregation/AggregatedQuantities.h"
#include "records/RecordStore.h"

namespace pq {

std::span<const AggregatedValue> AggregatedSeries::row(std::size_t interval) const {
  return std::span(values).subspan(interval * kAggregatedQuantityCount, kAggregatedQuantityCount);
}

void SeriesCollector::intervalFinished(const AggregatedInterval& interval) {
  AggregatedSeries& s = series[static_cast<int>(interval.resolution)];
  s.intervals.push_back({interval.start, interval.recordCount, interval.flagged});
  s.values.insert(s.values.end(), interval.values.begin(), interval.values.end());
}

RangeAggregation aggregateRange(const RecordStore& store, IndexRange range) {
  RangeAggregation result;
  SeriesCollector collector;
  IntervalAggregator aggregator(collector);
  const int end = std::min(range.end, store.recordCount());
  for (int i = std::max(0, range.start); i < end; ++i) {
    if (const auto seconds = result.gate.admit(store, i)) aggregator.add(store, i, *seconds, false);
  }
  aggregator.finish();
  result.series = std::move(collector.series);
  return result;
}

}  // namespace pq
