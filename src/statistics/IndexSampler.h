#pragma once

#include "statistics/DeviationBand.h"
#include "statistics/ReportKind.h"
#include "statistics/StatisticIndex.h"

namespace pq {

class RecordStore;
struct ReportLimits;

// The value of one report index in each record, and whether the record passes the index's test.
// Records must be sampled in order: `deviation` carries the voltages of the record before over
// records of an unknown wiring mode.
class IndexSampler {
 public:
  struct Sample {
    float value;
    bool passes;
  };

  IndexSampler(const RecordStore& store, const ReportLimits& limits, StatisticRequest request,
               ReportKind kind);

  Sample operator()(int recordIndex);

  // max is the value farthest from zero and min the one closest to it.
  bool isSigned() const;
  bool hasTest() const;
  // The 95 % value is that of the magnitudes.
  bool ranksMagnitudes() const { return request_.index == StatisticIndex::Deviation; }

 private:
  Sample harmonic(int recordIndex) const;
  Sample deviation(int recordIndex);

  const RecordStore& store_;
  StatisticRequest request_;
  bool voltageReport_;
  int phase_;    // 0..2
  int channel_;  // the phase's voltage channel in a voltage report, its current channel otherwise
  float nominal_;
  double limit_ = 0;  // the order's harmonic limit, or the distortion limit
  DeviationBand band_;
  float carriedVoltage_ = 0;
  float carriedNominal_ = 0;
};

}  // namespace pq
