#pragma once

#include <vector>

#include "statistics/StatisticRecord.h"

namespace pq {

class RecordStore;
struct ReportLimits;

// The indices of the two phase reports.
enum class StatisticIndex {
  Fundamental,         // phase voltage (voltage report) or phase current (current report)
  LineFundamental,     // voltage report only
  Harmonic,            // content in % (voltage report) or current in A (current report), order 2..25
  Thd,                 // test only in the voltage report
  Deviation,           // voltage report only; chooses the deviation text
  Unbalance,           // voltage report only
  Fluctuation,         // voltage report only
  FrequencyDeviation,  // voltage report only
};

// The rank of the 95 % value among N samples: ceil(N / 20), or 0 (no 95 % value) below 20 samples.
int rankOf95PercentValue(int sampleCount);

// Computes the statistics of one index over the store's records rangeStart .. rangeEnd - 1, judging
// each record against `limits`. Reads the store only. `reportPhase` is 0..2 for the voltage reports of
// phases A..C and 3..5 for their current reports.
class StatisticsEngine {
 public:
  StatisticsEngine(const RecordStore& store, ReportLimits& limits) : store_(store), limits_(limits) {}

  // One pass over the range, which must hold at least one record. `order` is used by Harmonic only.
  // Deviation also chooses the limits' deviation text.
  StatisticRecord computeStatistic(StatisticIndex index, int reportPhase, int order = 0);

 private:
  template <class ValueOf>
  StatisticRecord summarise(ValueOf valueOf, bool isSigned, bool hasTest, bool rankMagnitudes);

  const RecordStore& store_;
  ReportLimits& limits_;
  std::vector<float> ranked_;  // the values of one pass, reused so that a report allocates once
};

}  // namespace pq
