#include "aggregation/AggregatedSeries.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "aggregation/AggregatedQuantities.h"

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

std::int64_t recordedSeconds(std::span<const MeasurementRecord> records) {
  if (records.empty()) return 0;
  const auto first = recordSeconds(records.front());
  const auto last = recordSeconds(records.back());
  if (!first || !last) return 0;  // the series then grow as they go
  return std::max<std::int64_t>(0, *last - *first + 1);
}

RangeAggregation aggregateRecords(std::span<const MeasurementRecord> records, const KeptQuantities& kept) {
  RangeAggregation result;
  SeriesCollector collector(kept);
  IntervalAggregator aggregator(collector);
  collector.reserveFor(recordedSeconds(records), static_cast<int>(records.size()));
  forEachAdmittedRecord(records, result.gate, [&](const MeasurementRecord& record, std::int64_t seconds) {
    aggregator.add(record, seconds, RecordMark::None);
  });
  aggregator.finish();
  result.series = std::move(collector.series);
  return result;
}

}  // namespace pq
