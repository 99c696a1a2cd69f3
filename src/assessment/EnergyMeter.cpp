#include "assessment/EnergyMeter.h"

#include <algorithm>
#include <cmath>

#include "records/RecordStore.h"

namespace pq {

namespace {
constexpr int kQuarterHour = 900;
constexpr double kSecondsPerHour = 3600;
}  // namespace

void EnergyMeter::closeQuarter() {
  if (quarter_ < 0) return;
  const double demand = quarterSum_ / quarterRecords_;
  if (!(demand <= summary_.largestDemandKw)) {  // also replaces the first, not-a-number value
    summary_.largestDemandKw = demand;
    summary_.largestDemandStart = quarter_;
    summary_.largestDemandRecords = quarterRecords_;
  }
  quarter_ = -1;
}

void EnergyMeter::add(const RecordStore& store, int index, std::int64_t seconds) {
  if (pending_) {
    const auto span = static_cast<double>(std::min<std::int64_t>(seconds - pendingSeconds_, recordSeconds_));
    activeKws_ += pendingP_ * span;
    reactiveKvars_ += pendingQ_ * span;
    pending_ = false;
  }
  const double toKilo = store.kiloUnits() ? 1.0 : 0.001;
  const double p = store.totalActivePower(index) * toKilo;
  const double q = store.totalReactivePower(index) * toKilo;
  if (!std::isfinite(p) || !std::isfinite(q)) return;
  pending_ = true;
  pendingP_ = p;
  pendingQ_ = q;
  pendingSeconds_ = seconds;

  const std::int64_t quarter = seconds - ((seconds % kQuarterHour) + kQuarterHour) % kQuarterHour;
  if (quarter != quarter_) {
    closeQuarter();
    quarter_ = quarter;
    quarterSum_ = 0;
    quarterRecords_ = 0;
  }
  quarterSum_ += p;
  ++quarterRecords_;
}

EnergySummary EnergyMeter::finish() {
  if (pending_) {
    activeKws_ += pendingP_ * recordSeconds_;
    reactiveKvars_ += pendingQ_ * recordSeconds_;
    pending_ = false;
  }
  closeQuarter();
  summary_.activeKwh = activeKws_ / kSecondsPerHour;
  summary_.reactiveKvarh = reactiveKvars_ / kSecondsPerHour;
  const double apparent = std::hypot(summary_.activeKwh, summary_.reactiveKvarh);
  if (apparent > 0) summary_.powerFactor = std::fabs(summary_.activeKwh) / apparent;
  return summary_;
}

}  // namespace pq
