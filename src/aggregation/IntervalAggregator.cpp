#include "aggregation/IntervalAggregator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "aggregation/AggregatedQuantities.h"
#include "records/RecordStore.h"

namespace pq {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::int64_t intervalStart(std::int64_t seconds, int length) {
  const std::int64_t within = ((seconds % length) + length) % length;
  return seconds - within;
}

constexpr bool fedByRecords(int level) {
  for (const int into : kMergesInto) {
    if (into == level) return false;
  }
  return true;
}

void mergeValues(const double* __restrict sum, const double* __restrict min, const double* __restrict max,
                 const double* __restrict count, double* __restrict toSum, double* __restrict toMin,
                 double* __restrict toMax, double* __restrict toCount, int quantities) {
  for (int q = 0; q < quantities; ++q) {
    toSum[q] += sum[q];
    toMin[q] = min[q] < toMin[q] ? min[q] : toMin[q];
    toMax[q] = max[q] > toMax[q] ? max[q] : toMax[q];
    toCount[q] += count[q];
  }
}

}  // namespace

IntervalAggregator::IntervalAggregator(AggregationSink& sink)
    : sink_(sink), values_(static_cast<std::size_t>(kAggregatedQuantityCount)) {
  for (int level = 0; level < kResolutionCount; ++level) {
    const auto quantities = static_cast<std::size_t>(kResolutionQuantities[level]);
    levels_[level].sum.resize(quantities);
    levels_[level].min.resize(quantities);
    levels_[level].max.resize(quantities);
    levels_[level].count.resize(quantities);
  }
  const auto quantities = aggregatedQuantities();
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    const QuantityDescriptor& d = quantities[q];
    const bool harmonic =
        d.source == QuantitySource::HarmonicAmplitude || d.source == QuantitySource::HarmonicContent;
    if (harmonic && !runs_.empty()) {
      Run& last = runs_.back();
      const QuantityDescriptor& before = quantities[q - 1];
      if (before.source == d.source && before.at == d.at && before.order + 1 == d.order) {
        last.end = q + 1;
        continue;
      }
    }
    runs_.push_back({d.source, d.at, d.order, q, q + 1});
  }
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    const QuantityDescriptor& d = quantities[q];
    const bool rms = d.kind == AggregationKind::Rms;
    rms_[q] = rms;
    const bool own = d.minCell >= 0;
    if (segments_.empty() || segments_.back().rms != rms || segments_.back().ownExtremes != own) {
      segments_.push_back({rms, own, q, q});
    }
    segments_.back().end = q + 1;
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
  std::fill(l.count.begin(), l.count.end(), 0.0);
}

void IntervalAggregator::mergeInto(const Level& from, Level& to) {
  to.recordCount += from.recordCount;
  to.flagged = to.flagged || from.flagged;
  mergeValues(from.sum.data(), from.min.data(), from.max.data(), from.count.data(), to.sum.data(),
              to.min.data(), to.max.data(), to.count.data(), static_cast<int>(to.sum.size()));
}

void IntervalAggregator::close(int level) {
  Level& l = levels_[level];
  if (l.start < 0) return;
  sink_.intervalFinished({static_cast<Resolution>(level), l.start, l.recordCount, l.flagged,
                          kResolutionQuantities[level], l.sum.data(), l.count.data(), l.min.data(),
                          l.max.data(), rms_.data()});
  if (const int into = kMergesInto[level]; into >= 0) {
    Level& coarser = levels_[into];
    if (coarser.start < 0) open(into, intervalStart(l.start, kResolutionSeconds[into]));
    mergeInto(l, coarser);
  }
  l.start = -1;
}

namespace {

// Branch-free, so that the compiler vectorises it: a value that is no finite number adds nothing.
template <bool kRms>
void accumulateValues(const double* __restrict values, double* __restrict sum, double* __restrict min,
                      double* __restrict max, double* __restrict count, int begin, int end) {
  for (int q = begin; q < end; ++q) {
    const double v = values[q];
    const bool finite = std::fabs(v) <= std::numeric_limits<double>::max();
    const double x = finite ? v : 0.0;
    sum[q] += kRms ? x * x : x;
    count[q] += finite ? 1.0 : 0.0;
    const double low = finite ? v : kInfinity;
    const double high = finite ? v : -kInfinity;
    min[q] = low < min[q] ? low : min[q];
    max[q] = high > max[q] ? high : max[q];
  }
}

}  // namespace

void IntervalAggregator::read(const RecordStore& store, int index) {
  const MeasurementRecord& r = store.record(index);
  for (const Run& run : runs_) {
    double* out = &values_[run.begin];
    const int n = run.end - run.begin;
    switch (run.source) {
      case QuantitySource::Cell:
        *out = r.value(run.at);
        break;
      case QuantitySource::HarmonicAmplitude:
        for (int k = 0; k < n; ++k) out[k] = r.harmonic(run.at, run.firstOrder + k);
        break;
      case QuantitySource::HarmonicContent: {
        // harmonicPercent's rule, with one division per channel instead of one per order: the
        // divisions alone would take most of the time budget of a day.
        const double scale = store.hasFundamental(index, run.at) ? 100.0 / r.harmonic(run.at, 1) : 0.0;
        if (scale == 0.0) {
          std::fill(out, out + n, 0.0);
        } else {
          for (int k = 0; k < n; ++k) out[k] = r.harmonic(run.at, run.firstOrder + k) * scale;
        }
        break;
      }
      case QuantitySource::Thd:
        *out = store.thd(index, run.at);
        break;
      case QuantitySource::TotalActivePower:
        *out = store.totalActivePower(index);
        break;
      case QuantitySource::TotalReactivePower:
        *out = store.totalReactivePower(index);
        break;
    }
  }
}

void IntervalAggregator::accumulate(const RecordStore& store, int index, Level& l) {
  const auto quantities = aggregatedQuantities();
  const int held = static_cast<int>(l.sum.size());
  for (const Segment& segment : segments_) {
    if (segment.begin >= held) break;
    const int end = std::min(segment.end, held);
    if (segment.ownExtremes) {
      for (int q = segment.begin; q < end; ++q) {
        const double v = values_[q];
        if (!std::isfinite(v)) continue;
        // The record's own extreme cells where they hold numbers.
        const double low = store.value(index, quantities[q].minCell);
        const double high = store.value(index, quantities[q].maxCell);
        l.sum[q] += segment.rms ? v * v : v;
        l.min[q] = std::min(l.min[q], std::isfinite(low) ? low : v);
        l.max[q] = std::max(l.max[q], std::isfinite(high) ? high : v);
        l.count[q] += 1.0;
      }
      continue;
    }
    if (segment.rms) {
      accumulateValues<true>(values_.data(), l.sum.data(), l.min.data(), l.max.data(), l.count.data(),
                             segment.begin, end);
    } else {
      accumulateValues<false>(values_.data(), l.sum.data(), l.min.data(), l.max.data(), l.count.data(),
                              segment.begin, end);
    }
  }
}

void IntervalAggregator::add(const RecordStore& store, int index, std::int64_t seconds, bool inEvent) {
  for (int level = 0; level < kResolutionCount; ++level) {
    if (levels_[level].start >= 0 &&
        levels_[level].start != intervalStart(seconds, kResolutionSeconds[level])) {
      close(level);
    }
  }
  read(store, index);
  for (int level = 0; level < kResolutionCount; ++level) {
    if (!fedByRecords(level)) continue;
    Level& l = levels_[level];
    if (l.start < 0) open(level, intervalStart(seconds, kResolutionSeconds[level]));
    ++l.recordCount;
    l.flagged = l.flagged || inEvent;
    accumulate(store, index, l);
  }
}

void IntervalAggregator::finish() {
  for (int level = 0; level < kResolutionCount; ++level) close(level);
}

}  // namespace pq
