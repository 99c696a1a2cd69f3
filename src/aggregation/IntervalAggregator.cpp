#include "aggregation/IntervalAggregator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

#include "aggregation/AggregatedQuantities.h"
#include "records/MeasurementRecord.h"
#include "records/RecordQuantities.h"

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

namespace {

// AggregatedInterval::value(q).value of `n` quantities of one kind.
template <bool kRms>
void valuesOfOneKind(const double* __restrict sum, const double* __restrict count, double* __restrict out, int n) {
  for (int i = 0; i < n; ++i) {
    const double mean = sum[i] / count[i];
    out[i] = count[i] == 0.0 ? std::numeric_limits<double>::quiet_NaN() : kRms ? std::sqrt(mean) : mean;
  }
}

}  // namespace

std::vector<QuantityStretch> stretchesOf(std::span<const int> quantities) {
  std::vector<QuantityStretch> stretches;
  for (const int q : quantities) {
    if (!stretches.empty() && stretches.back().first + stretches.back().count == q) {
      ++stretches.back().count;
    } else {
      stretches.push_back({q, 1});
    }
  }
  return stretches;
}

void AggregatedInterval::valuesOf(std::span<const QuantityStretch> stretches, double* out) const {
  for (const QuantityStretch& stretch : stretches) {
    const int first = stretch.first;
    const int held = std::clamp(quantityCount - first, 0, stretch.count);
    // Quantities of one kind at a time, so that each loop is free of branches.
    for (int i = 0; i < held;) {
      const bool kind = rms[first + i];
      int end = i + 1;
      while (end < held && rms[first + end] == kind) ++end;
      if (kind) {
        valuesOfOneKind<true>(sum + first + i, count + first + i, out + i, end - i);
      } else {
        valuesOfOneKind<false>(sum + first + i, count + first + i, out + i, end - i);
      }
      i = end;
    }
    std::fill(out + held, out + stretch.count, kNoValue);
    out += stretch.count;
  }
}

IntervalAggregator::IntervalAggregator(AggregationSink& sink)
    : sink_(sink), pending_(static_cast<std::size_t>(kPendingRecords * kReadSize)) {
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
    const bool rms = quantities[q].kind == AggregationKind::Rms;
    rms_[q] = rms;
    if (q < kOwnExtremeQuantities) continue;
    if (segments_.empty() || segments_.back().rms != rms) segments_.push_back({rms, q, q});
    segments_.back().end = q + 1;
  }
}

void IntervalAggregator::resetQuantity(Level& l, int q) {
  l.sum[q] = 0.0;
  l.min[q] = kInfinity;
  l.max[q] = -kInfinity;
  l.count[q] = 0.0;
}

void IntervalAggregator::open(int level, std::int64_t start) {
  Level& l = levels_[level];
  l.start = start;
  l.recordCount = 0;
  l.flagged = false;
  l.outage = false;
  // The 3-second sums are written whole when its records are summed (sumPending), saving a fill of
  // four rows per interval.
  if (level == static_cast<int>(Resolution::ThreeSeconds)) {
    pendingSinceOpen_ = true;
    return;
  }
  std::fill(l.sum.begin(), l.sum.end(), 0.0);
  std::fill(l.min.begin(), l.min.end(), kInfinity);
  std::fill(l.max.begin(), l.max.end(), -kInfinity);
  std::fill(l.count.begin(), l.count.end(), 0.0);
}

void IntervalAggregator::mergeInto(const Level& from, Level& to) {
  to.recordCount += from.recordCount;
  to.flagged = to.flagged || from.flagged;
  to.outage = to.outage || from.outage;
  mergeValues(from.sum.data(), from.min.data(), from.max.data(), from.count.data(), to.sum.data(),
              to.min.data(), to.max.data(), to.count.data(), static_cast<int>(to.sum.size()));
}

void IntervalAggregator::close(int level) {
  Level& l = levels_[level];
  if (l.start < 0) return;
  if (level == static_cast<int>(Resolution::ThreeSeconds)) sumPending();
  sink_.intervalFinished({static_cast<Resolution>(level), l.start, l.recordCount, l.flagged, l.outage,
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

// The sign bit set when the value is no finite number: its exponent bits are then all ones, and adding
// one to the lowest of them carries into the sign bit. Bitwise, so that the loops gathering it with
// a bitwise or stay vectorised.
std::uint64_t notFiniteBit(double v) {
  constexpr std::uint64_t kExponent = 0x7FF0'0000'0000'0000;
  constexpr std::uint64_t kLowestExponentBit = 0x0010'0000'0000'0000;
  return (std::bit_cast<std::uint64_t>(v) & kExponent) + kLowestExponentBit;
}

// accumulateValues of `kRecords` records (rows of `stride`) one after another into sums that start
// empty, each quantity's sums held in registers meanwhile, and without the selects: right for the
// quantities whose values are all numbers. The notFiniteBit of the sums, or-ed together.
template <bool kRms, int kRecords>
std::uint64_t sumValues(const double* __restrict values, int stride, double* __restrict sum,
                        double* __restrict min, double* __restrict max, double* __restrict count, int begin,
                        int end) {
  std::uint64_t notFinite = 0;
  for (int q = begin; q < end; ++q) {
    double s = 0.0;
    double n = 0.0;
    double low = kInfinity;
    double high = -kInfinity;
    for (int r = 0; r < kRecords; ++r) {
      const double v = values[r * stride + q];
      s += kRms ? v * v : v;
      n += 1.0;
      low = v < low ? v : low;
      high = v > high ? v : high;
    }
    sum[q] = s;
    count[q] = n;
    min[q] = low;
    max[q] = high;
    notFinite |= notFiniteBit(s);
  }
  return notFinite;
}

}  // namespace

void IntervalAggregator::read(const MeasurementRecord& r, double* values) {
  const std::array<double, kChannelCount> thds = thdOfChannels(r);
  for (const Run& run : runs_) {
    double* out = &values[run.begin];
    const int n = run.end - run.begin;
    switch (run.source) {
      case QuantitySource::Cell:
        *out = r.value(run.at);
        break;
      case QuantitySource::Frequency:
        *out = measuredFrequency(r);
        break;
      case QuantitySource::VoltageUnbalance:
        *out = sequenceUnbalance(r, cells::uNegative, cells::uPositive);
        break;
      case QuantitySource::CurrentUnbalance:
        *out = sequenceUnbalance(r, cells::iNegative, cells::iPositive);
        break;
      case QuantitySource::HarmonicAmplitude:
        for (int k = 0; k < n; ++k) out[k] = r.harmonic(run.at, run.firstOrder + k);
        break;
      case QuantitySource::HarmonicContent: {
        // harmonicPercent's rule, with one division per channel instead of one per order: the
        // divisions alone would take most of the time budget of a day.
        const double scale = hasFundamental(r, run.at) ? 100.0 / r.harmonic(run.at, 1) : 0.0;
        if (scale == 0.0) {
          std::fill(out, out + n, 0.0);
        } else {
          for (int k = 0; k < n; ++k) out[k] = r.harmonic(run.at, run.firstOrder + k) * scale;
        }
        break;
      }
      case QuantitySource::Thd:
        *out = thds[run.at];
        break;
      case QuantitySource::TotalActivePower:
        *out = totalActivePower(r);
        break;
      case QuantitySource::TotalReactivePower:
        *out = totalReactivePower(r);
        break;
    }
  }
  const auto quantities = aggregatedQuantities();
  double* low = values + kAggregatedQuantityCount;
  double* high = low + kOwnExtremeQuantities;
  for (int q = 0; q < kOwnExtremeQuantities; ++q) {
    // The record's own extreme cells where they hold numbers.
    const double min = r.value(quantities[q].minCell);
    const double max = r.value(quantities[q].maxCell);
    low[q] = std::isfinite(min) ? min : values[q];
    high[q] = std::isfinite(max) ? max : values[q];
  }
}

void IntervalAggregator::accumulate(const double* values, Level& l, int begin, int end) {
  end = std::min(end, static_cast<int>(l.sum.size()));
  const double* low = values + kAggregatedQuantityCount;
  const double* high = low + kOwnExtremeQuantities;
  for (int q = begin; q < std::min(end, kOwnExtremeQuantities); ++q) {
    const double v = values[q];
    if (!std::isfinite(v)) continue;
    l.sum[q] += rms_[q] ? v * v : v;
    l.min[q] = std::min(l.min[q], low[q]);
    l.max[q] = std::max(l.max[q], high[q]);
    l.count[q] += 1.0;
  }
  for (const Segment& segment : segments_) {
    const int from = std::max(segment.begin, begin);
    const int to = std::min(segment.end, end);
    if (from >= to) continue;
    if (segment.rms) {
      accumulateValues<true>(values, l.sum.data(), l.min.data(), l.max.data(), l.count.data(), from, to);
    } else {
      accumulateValues<false>(values, l.sum.data(), l.min.data(), l.max.data(), l.count.data(), from, to);
    }
  }
}

template <int kRecords>
bool IntervalAggregator::sumWithoutSelects(Level& l) {
  const double* values = pending_.data();
  std::uint64_t notFinite = 0;
  for (int q = 0; q < kOwnExtremeQuantities; ++q) {
    resetQuantity(l, q);
    for (int r = 0; r < kRecords; ++r) {
      const double* read = values + r * kReadSize;
      const double v = read[q];
      l.sum[q] += rms_[q] ? v * v : v;
      l.min[q] = std::min(l.min[q], read[kAggregatedQuantityCount + q]);
      l.max[q] = std::max(l.max[q], read[kAggregatedQuantityCount + kOwnExtremeQuantities + q]);
      l.count[q] += 1.0;
    }
    notFinite |= notFiniteBit(l.sum[q]);
  }
  for (const Segment& segment : segments_) {
    if (segment.rms) {
      notFinite |= sumValues<true, kRecords>(values, kReadSize, l.sum.data(), l.min.data(), l.max.data(),
                                             l.count.data(), segment.begin, segment.end);
    } else {
      notFinite |= sumValues<false, kRecords>(values, kReadSize, l.sum.data(), l.min.data(), l.max.data(),
                                              l.count.data(), segment.begin, segment.end);
    }
  }
  return (notFinite >> 63) == 0;
}

void IntervalAggregator::sumPending() {
  Level& l = levels_[static_cast<int>(Resolution::ThreeSeconds)];
  const int records = std::exchange(pendingRecords_, 0);
  const auto read = [&](int r) { return pending_.data() + r * kReadSize; };
  if (!pendingSinceOpen_) {
    for (int r = 0; r < records; ++r) accumulate(read(r), l, 0, kAggregatedQuantityCount);
    return;
  }
  pendingSinceOpen_ = false;
  static_assert(kPendingRecords == 3);
  const bool finite = records == 0   ? sumWithoutSelects<0>(l)
                      : records == 1 ? sumWithoutSelects<1>(l)
                      : records == 2 ? sumWithoutSelects<2>(l)
                                     : sumWithoutSelects<3>(l);
  if (finite) return;
  // A value that is no finite number made its quantity's sum none as well (as does a sum that
  // overflows): those quantities once more from the start, leaving such values out.
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    if (std::isfinite(l.sum[q])) continue;
    resetQuantity(l, q);
    for (int r = 0; r < records; ++r) accumulate(read(r), l, q, q + 1);
  }
}

void IntervalAggregator::add(const MeasurementRecord& record, std::int64_t seconds, RecordMark mark) {
  for (int level = 0; level < kResolutionCount; ++level) {
    const Level& l = levels_[level];
    if (l.start >= 0 && (seconds < l.start || seconds >= l.start + kResolutionSeconds[level])) close(level);
  }
  // Full only when seconds did not rise.
  if (pendingRecords_ == kPendingRecords) sumPending();
  double* values = pending_.data() + pendingRecords_ * kReadSize;
  read(record, values);
  ++pendingRecords_;
  for (int level = 0; level < kResolutionCount; ++level) {
    if (!fedByRecords(level)) continue;
    Level& l = levels_[level];
    if (l.start < 0) open(level, intervalStart(seconds, kResolutionSeconds[level]));
    ++l.recordCount;
    l.flagged = l.flagged || mark == RecordMark::Event;
    l.outage = l.outage || mark == RecordMark::Outage;
    // The 3-second interval's records wait for sumPending.
    if (level != static_cast<int>(Resolution::ThreeSeconds)) accumulate(values, l, 0, kAggregatedQuantityCount);
  }
}

void IntervalAggregator::finish() {
  for (int level = 0; level < kResolutionCount; ++level) close(level);
}

}  // namespace pq
