#pragma once

#include <cstdint>
#include <limits>

namespace pq {

struct MeasurementRecord;

// The energy of a recording: the three-phase total active and reactive power integrated over the
// record times, the weighted power factor and the largest 15-minute demand.
struct EnergySummary {
  double activeKwh = 0;
  // The reactive energy of the records whose total reactive power is positive (lagging, inductive)
  // and of those where it is negative (leading, capacitive: a negative number). They are metered
  // apart, as a tariff meter does, rather than let cancel: leading and lagging minutes together would
  // otherwise read as no reactive energy and a power factor of 1.
  double laggingKvarh = 0;
  double leadingKvarh = 0;
  double reactiveKvarh = 0;  // laggingKvarh + |leadingKvarh|
  // |Wp| / sqrt(Wp² + Wq²) with Wq = reactiveKvarh, the monthly power factor of the tariff; not a number
  // when both are zero.
  double powerFactor = std::numeric_limits<double>::quiet_NaN();
  // The clock-aligned quarter hour (:00, :15, :30, :45) whose active energy is the largest, as the
  // demand that energy gives over the quarter hour (energy / 0.25 h), so that a quarter hour only partly
  // recorded shows no more than it drew; not a number without any record.
  double largestDemandKw = std::numeric_limits<double>::quiet_NaN();
  std::int64_t largestDemandStart = 0;  // epoch seconds
  int largestDemandRecords = 0;
};

// Integrates the records one by one, in time order (the aggregation's RecordTimeGate). A record
// stands for the time to the next one, but for at most its recording interval, so a gap in the
// recording is not integrated and the last record counts one interval. A record whose total powers
// are not numbers counts for nothing. Powers are in kW and kvar when `kiloUnits` (the record file's
// units behind a voltage transformer), W and var otherwise; summed in kWh and kvarh. A record's
// energy counts in the quarter hour of its own time.
class EnergyMeter {
 public:
  void add(const MeasurementRecord& record, std::int64_t seconds, int intervalSeconds, bool kiloUnits);
  EnergySummary finish();

 private:
  // The pending record's energy over `span` seconds.
  void integrate(double span);
  void closeQuarter();

  double activeKws_ = 0;
  double laggingKvars_ = 0;
  double leadingKvars_ = 0;
  bool pending_ = false;  // the last record, whose span is not known yet
  double pendingP_ = 0;
  double pendingQ_ = 0;
  std::int64_t pendingSeconds_ = 0;
  int pendingInterval_ = 0;
  std::int64_t quarter_ = -1;  // start of the open quarter hour, -1 when none is open
  double quarterKws_ = 0;
  int quarterRecords_ = 0;
  EnergySummary summary_;
};

}  // namespace pq
