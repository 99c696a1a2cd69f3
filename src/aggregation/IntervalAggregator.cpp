#include "aggregation/IntervalAggregator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "aggregation/AggregatedQuantities.h"
#include "records/RecordStore.h"

namespace pq {

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::int64_t intervalStart(std::int64_t seconds, int length) {
  const std::int64_t within = ((seconds % length) + length) % length;
  return seconds - within;
}

// The record's own extreme cell where the quantity has one with a finite value, else the value.
double extreme(const RecordStore& store, int index, int cell, double value) {
  if (cell < 0) return value;
  const double own = store.value(index, cell);
  return std::isfinite(own) ? own : value;
}

}  // namespace

IntervalAggregator::IntervalAggregator(AggregationSink& sink)
    : sink_(sink), finished_(static_cast<std::size_t>(kAggregatedQuantityCount)) {
  for (Level& level : levels_) {
    level.sum.resize(kAggregatedQuantityCount);
    level.min.resize(kAggregatedQuantityCount);
    level.max.resize(kAggregatedQuantityCount);
    level.count.resize(kAggregatedQuantityCount);
  }
}

void IntervalAggregator::open(int level, std::int64_t start) {
  Level& l = levels_[level];
  l.start = start;
  l.recordCount = 0;
  l.flagged = false;
  std::fill(l.sum.begin(), l.sum.end(), 0.0);
  std::fill(l.min.begin(), l.min.end(), kInfinity);
  std::fill(l.max.begin(), l.max.end(), -kInfinity);
  std::fill(l.count.begin(), l.count.end(), 0);
}

void IntervalAggregator::mergeInto(const Level& from, Level& to) {
  to.recordCount += from.recordCount;
  to.flagged = to.flagged || from.flagged;
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    to.sum[q] += from.sum[q];
    to.min[q] = std::min(to.min[q], from.min[q]);
    to.max[q] = std::max(to.max[q], from.max[q]);
    to.count[q] += from.count[q];
  }
}

void IntervalAggregator::close(int level) {
  Level& l = levels_[level];
  if (l.start < 0) return;
  const auto quantities = aggregatedQuantities();
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    if (l.count[q] == 0) {
      finished_[q] = {kNotANumber, kNotANumber, kNotANumber};
      continue;
    }
    const double mean = l.sum[q] / l.count[q];
    finished_[q] = {quantities[q].kind == AggregationKind::Rms ? std::sqrt(mean) : mean, l.min[q], l.max[q]};
  }
  sink_.intervalFinished({static_cast<Resolution>(level), l.start, l.recordCount, l.flagged, finished_});
  if (level + 1 < kResolutionCount) {
    Level& coarser = levels_[level + 1];
    if (coarser.start < 0) open(level + 1, intervalStart(l.start, kResolutionSeconds[level + 1]));
    mergeInto(l, coarser);
  }
  l.start = -1;
}

void IntervalAggregator::add(const RecordStore& store, int index, std::int64_t seconds, bool inEvent) {
  for (int level = 0; level < kResolutionCount; ++level) {
    if (levels_[level].start >= 0 && levels_[level].start != intervalStart(seconds, kResolutionSeconds[level])) {
      close(level);
    }
  }
  Level& l = levels_[0];
  if (l.start < 0) open(0, intervalStart(seconds, kResolutionSeconds[0]));
  ++l.recordCount;
  l.flagged = l.flagged || inEvent;
  const auto quantities = aggregatedQuantities();
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    const QuantityDescriptor& d = quantities[q];
    const double v = quantityValue(store, index, d);
    if (!std::isfinite(v)) continue;
    l.sum[q] += d.kind == AggregationKind::Rms ? v * v : v;
    l.min[q] = std::min(l.min[q], extreme(store, index, d.minCell, v));
    l.max[q] = std::max(l.max[q], extreme(store, index, d.maxCell, v));
    ++l.count[q];
  }
}

void IntervalAggregator::finish() {
  for (int level = 0; level < kResolutionCount; ++level) close(level);
}

}  // namespace pq
