#include "aggregation/AggregatedSeries.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "aggregation/AggregatedQuantities.h"
#include "records/RecordStore.h"

namespace pq {

std::span<const AggregatedValue> AggregatedSeries::row(std::size_t interval) const {
  return std::span(values).subspan(interval * quantities.size(), quantities.size());
}

const AggregatedValue* AggregatedSeries::find(std::size_t interval, int quantity) const {
  const auto at = std::find(quantities.begin(), quantities.end(), quantity);
  if (at == quantities.end()) return nullptr;
  return &row(interval)[static_cast<std::size_t>(at - quantities.begin())];
}

AggregatedSeries::UnflaggedValues AggregatedSeries::unflaggedValues(int quantity) const {
  UnflaggedValues result;
  const auto at = std::find(quantities.begin(), quantities.end(), quantity);
  const auto column = static_cast<std::size_t>(at - quantities.begin());
  result.values.reserve(intervals.size());
  for (std::size_t i = 0; i < intervals.size(); ++i) {
    if (intervals[i].outage) {
      ++result.outage;
      continue;
    }
    if (intervals[i].flagged) {
      ++result.flagged;
      continue;
    }
    if (at == quantities.end()) {
      result.kept = false;
      result.values.clear();
      return result;
    }
    const double v = row(i)[column].value;
    if (std::isfinite(v)) {
      result.values.push_back(v);
    } else {
      ++result.withoutValue;
    }
  }
  return result;
}

std::vector<int> allQuantities() {
  std::vector<int> all(kAggregatedQuantityCount);
  std::iota(all.begin(), all.end(), 0);
  return all;
}

KeptQuantities recordingQuantities() {
  return {std::vector<int>{}, std::vector<int>{cellQuantity(cells::frequency)}, allQuantities(),
          allQuantities()};
}

SeriesCollector::SeriesCollector(const KeptQuantities& kept) {
  std::size_t most = 0;
  for (int r = 0; r < kResolutionCount; ++r) {
    series[r].quantities = kept[r];
    stretches_[r] = stretchesOf(kept[r]);
    most = std::max(most, kept[r].size());
  }
  values_.resize(most);
}

void SeriesCollector::reserveFor(std::int64_t seconds, int records) {
  for (int r = 0; r < kResolutionCount; ++r) {
    // One more for a span that starts inside an interval; never more intervals than records.
    const auto intervals = static_cast<std::size_t>(
        std::clamp<std::int64_t>(seconds / kResolutionSeconds[r] + 2, 0, std::max(records, 0)));
    series[r].intervals.reserve(intervals);
    series[r].values.reserve(intervals * series[r].quantities.size());
  }
}

void SeriesCollector::intervalFinished(const AggregatedInterval& interval) {
  const int resolution = static_cast<int>(interval.resolution);
  AggregatedSeries& s = series[resolution];
  if (s.quantities.empty()) return;
  s.intervals.push_back({interval.start, interval.recordCount, interval.flagged, interval.outage});
  interval.valuesOf(stretches_[resolution], values_.data());
  const std::size_t at = s.values.size();
  s.values.resize(at + s.quantities.size());
  AggregatedValue* row = s.values.data() + at;
  for (std::size_t i = 0; i < s.quantities.size(); ++i) {
    const int q = s.quantities[i];
    row[i] = interval.holds(q) ? AggregatedValue{values_[i], interval.min[q], interval.max[q]} : interval.value(q);
  }
}

IndexRange recordsInUse(const RecordStore& store, IndexRange range) {
  return {std::max(0, range.start), std::min(range.end, store.recordCount())};
}

std::int64_t recordedSeconds(const RecordStore& store, IndexRange range) {
  if (range.end <= range.start) return 0;
  const auto first = recordSeconds(store, range.start);
  const auto last = recordSeconds(store, range.end - 1);
  if (!first || !last) return 0;  // the series then grow as they go
  return std::max<std::int64_t>(0, *last - *first + 1);
}

RangeAggregation aggregateRange(const RecordStore& store, IndexRange range, const KeptQuantities& kept) {
  RangeAggregation result;
  SeriesCollector collector(kept);
  IntervalAggregator aggregator(collector);
  range = recordsInUse(store, range);
  collector.reserveFor(recordedSeconds(store, range), range.end - range.start);
  forEachAdmittedRecord(store, range, result.gate,
                        [&](int i, std::int64_t seconds) { aggregator.add(store.record(i), seconds, RecordMark::None); });
  aggregator.finish();
  result.series = std::move(collector.series);
  return result;
}

}  // namespace pq
