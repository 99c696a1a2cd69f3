#include "assessment/NinetyFivePercentSink.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>

#include "statistics/StatisticsEngine.h"

namespace pq {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr int kMostValues = std::numeric_limits<int>::max();

}  // namespace

NinetyFivePercentSink::NinetyFivePercentSink(std::vector<JudgedQuantity> judged, std::int64_t maxIntervals)
    : judged_(std::move(judged)),
      values_(judged_.size()),
      // The rank of fewer values is never beyond that of the most.
      capacity_(static_cast<std::size_t>(
          rankOf95PercentValue(static_cast<int>(std::clamp<std::int64_t>(maxIntervals, 0, kMostValues))))),
      buffer_(capacity_ + std::max<std::size_t>(capacity_ / 4, 1)) {
  for (Values& v : values_) v.largest.reserve(buffer_);
  std::vector<int> quantities;
  for (const JudgedQuantity& j : judged_) quantities.push_back(j.quantity);
  stretches_ = stretchesOf(quantities);
  interval_.resize(judged_.size());
}

void NinetyFivePercentSink::intervalFinished(const AggregatedInterval& interval) {
  if (interval.resolution != Resolution::ThreeSeconds) return;
  if (interval.outage) {
    ++outage_;
    return;
  }
  if (interval.flagged) {
    ++flagged_;
    return;
  }
  interval.valuesOf(stretches_, interval_.data());
  for (std::size_t k = 0; k < judged_.size(); ++k) {
    const double x = interval_[k];
    if (!std::isfinite(x)) continue;
    Values& v = values_[k];
    if (v.count == 0) v.min = v.max = x;
    ++v.count;
    v.sum += x;
    v.min = std::min(v.min, x);
    v.max = std::max(v.max, x);
    if (x <= judged_[k].limit) ++v.within;
    if (capacity_ == 0 || x <= v.floor) continue;
    v.largest.push_back(x);
    if (v.largest.size() == buffer_) {
      // Keep the largest capacity_; what is not above the smallest of them can never be among the
      // largest capacity_ of all values, so it is turned away at once from now on.
      const auto last = v.largest.begin() + static_cast<std::ptrdiff_t>(capacity_ - 1);
      std::nth_element(v.largest.begin(), last, v.largest.end(), std::greater<double>());
      v.largest.resize(capacity_);
      v.floor = v.largest.back();
      v.turnedAway = true;
    }
  }
}

NinetyFivePercentSink::Summary NinetyFivePercentSink::summary(std::size_t k) const {
  const Values& v = values_[k];
  Summary s{v.count, v.within, kNone, kNone, kNone, kNone};
  if (v.count == 0) return s;
  s.min = v.min;
  s.max = v.max;
  s.mean = v.sum / v.count;
  const auto rank = static_cast<std::size_t>(rankOf95PercentValue(v.count));
  // The buffer holds the largest capacity_ values or more, or all values while none was turned away.
  if (rank >= 1 && rank <= v.largest.size() && (rank <= capacity_ || !v.turnedAway)) {
    std::vector<double> largest = v.largest;
    const auto nth = largest.begin() + static_cast<std::ptrdiff_t>(rank - 1);
    std::nth_element(largest.begin(), nth, largest.end(), std::greater<double>());
    s.p95 = *nth;
  }
  return s;
}

}  // namespace pq
