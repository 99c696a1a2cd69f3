#include "aggregation/AggregatedSeries.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

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
  for (auto& values : values_) values.resize(most);
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
  std::vector<AggregatedValue>& rows = interval.part == 0 ? s.values : secondPart_[resolution].rows;
  if (interval.part == 0) {
    s.intervals.push_back({interval.start, interval.recordCount, interval.flagged, interval.outage});
  } else {
    secondPart_[resolution].firstQuantity = interval.firstQuantity;
    secondPart_[resolution].endQuantity = interval.quantityCount;
  }
  const std::size_t at = rows.size();
  rows.resize(at + s.quantities.size());
  rowOf(interval, rows.data() + at);
}

void SeriesCollector::rowOf(const AggregatedInterval& interval, AggregatedValue* row) {
  const int resolution = static_cast<int>(interval.resolution);
  const std::vector<int>& quantities = series[resolution].quantities;
  std::vector<double>& values = values_[static_cast<std::size_t>(interval.part != 0)];
  interval.valuesOf(stretches_[resolution], values.data());
  for (std::size_t i = 0; i < quantities.size(); ++i) {
    const int q = quantities[i];
    row[i] = interval.holds(q) ? AggregatedValue{values[i], interval.min[q], interval.max[q]} : interval.value(q);
  }
}

void SeriesCollector::partsJoined() {
  for (int r = 0; r < kResolutionCount; ++r) {
    SecondPart& part = secondPart_[r];
    AggregatedSeries& s = series[r];
    if (part.rows.empty()) continue;
    const std::size_t width = s.quantities.size();
    if (part.rows.size() > s.values.size()) throw std::logic_error("series: more intervals of one part than of the other");
    AggregatedValue* to = s.values.data() + (s.values.size() - part.rows.size());
    for (std::size_t i = 0; i < width; ++i) {
      const int q = s.quantities[i];
      if (q < part.firstQuantity || q >= part.endQuantity) continue;
      for (std::size_t row = 0; row < part.rows.size(); row += width) to[row + i] = part.rows[row + i];
    }
    part.rows.clear();
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
