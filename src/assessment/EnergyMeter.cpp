#include "assessment/EnergyMeter.h"

#include <algorithm>
#include <cmath>

#include "records/RecordQuantities.h"

namespace pq {

namespace {
constexpr int kQuarterHour = 900;
constexpr double kSecondsPerHour = 3600;
}  // namespace

void EnergyMeter::closeQuarter() {
  if (quarter_ < 0) return;
  const double demand = quarterKws_ / kQuarterHour;
  if (!(demand <= summary_.largestDemandKw)) {  // also replaces the first, not-a-number value
    summary_.largestDemandKw = demand;
    summary_.largestDemandStart = quarter_;
    summary_.largestDemandRecords = quarterRecords_;
  }
  quarter_ = -1;
}

void EnergyMeter::integrate(double span) {
  const double active = pendingP_ * span;
  activeKws_ += active;
  (pendingQ_ < 0 ? leadingKvars_ : laggingKvars_) += pendingQ_ * span;
  const std::int64_t quarter = pendingSeconds_ - ((pendingSeconds_ % kQuarterHour) + kQuarterHour) % kQuarterHour;
  if (quarter != quarter_) {
    closeQuarter();
    quarter_ = quarter;
    quarterKws_ = 0;
    quarterRecords_ = 0;
  }
  quarterKws_ += active;
  ++quarterRecords_;
  pending_ = false;
}

void EnergyMeter::add(const MeasurementRecord& record, std::int64_t seconds, int intervalSeconds, bool kiloUnits) {
  if (pending_) integrate(static_cast<double>(std::min<std::int64_t>(seconds - pendingSeconds_, pendingInterval_)));
  const double toKilo = kiloUnits ? 1.0 : 0.001;
  const double p = totalActivePower(record) * toKilo;
  const double q = totalReactivePower(record) * toKilo;
  if (!std::isfinite(p) || !std::isfinite(q)) return;
  pending_ = true;
  pendingP_ = p;
  pendingQ_ = q;
  pendingSeconds_ = seconds;
  pendingInterval_ = intervalSeconds;
}

EnergySummary EnergyMeter::finish() {
  if (pending_) integrate(pendingInterval_);
  closeQuarter();
  summary_.activeKwh = activeKws_ / kSecondsPerHour;
  summary_.laggingKvarh = laggingKvars_ / kSecondsPerHour;
  summary_.leadingKvarh = leadingKvars_ / kSecondsPerHour;
  summary_.reactiveKvarh = summary_.laggingKvarh + std::fabs(summary_.leadingKvarh);
  const double apparent = std::hypot(summary_.activeKwh, summary_.reactiveKvarh);
  if (apparent > 0) summary_.powerFactor = std::fabs(summary_.activeKwh) / apparent;
  return summary_;
}

}  // namespace pq
