#pragma once

#include <cstdint>
#include <limits>

namespace pq {

class RecordStore;

// The energy of a recording: the three-phase total active and reactive power integrated over the
// record times, the weighted power factor and the largest 15-minute demand.
struct EnergySummary {
  double activeKwh = 0;
  double reactiveKvarh = 0;
  // |Wp| / sqrt(Wp² + Wq²) of the two energies, as the monthly power-factor assessment takes it from
  // the meters; not a number when both are zero.
  double powerFactor = std::numeric_limits<double>::quiet_NaN();
  // The clock-aligned quarter hour (:00, :15, :30, :45) with the highest mean total active power of
  // its records; not a number without any record.
  double largestDemandKw = std::numeric_limits<double>::quiet_NaN();
  std::int64_t largestDemandStart = 0;  // epoch seconds
  int largestDemandRecords = 0;
};

// Integrates the records one by one, in time order (the aggregation's RecordTimeGate). A record
// stands for the time to the next one, but for at most one recording interval, so a gap in the
// recording is not integrated and the last record counts one interval. A record whose total powers
// are not numbers counts for nothing. Powers are read in the store's units (kW and kvar when the
// store has kilo units, W and var otherwise) and summed in kWh and kvarh.
class EnergyMeter {
 public:
  explicit EnergyMeter(int recordSeconds = 1) : recordSeconds_(recordSeconds) {}

  void add(const RecordStore& store, int index, std::int64_t seconds);
  EnergySummary finish();

 private:
  void closeQuarter();

  int recordSeconds_;
  double activeKws_ = 0;
  double reactiveKvars_ = 0;
  bool pending_ = false;  // the last record, whose span is not known yet
  double pendingP_ = 0;
  double pendingQ_ = 0;
  std::int64_t pendingSeconds_ = 0;
  std::int64_t quarter_ = -1;  // start of the open quarter hour, -1 when none is open
  double quarterSum_ = 0;
  int quarterRecords_ = 0;
  EnergySummary summary_;
};

}  // namespace pq
