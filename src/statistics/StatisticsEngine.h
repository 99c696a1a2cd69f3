#pragma once

#include <vector>

#include "statistics/StatisticIndex.h"
#include "statistics/StatisticRecord.h"

namespace pq {

class RecordStore;
struct ReportLimits;

// The rank of the 95 % value among N samples: ceil(N / 20), or 0 (no 95 % value) below 20 samples.
int rankOf95PercentValue(int sampleCount);

// Computes the statistics of report indices over the store's records rangeStart .. rangeEnd - 1,
// judging each record against `limits`. Reads the store only. `reportPhase` is 0..2 for the voltage
// reports of phases A..C and 3..5 for their current reports. The range must hold at least one record.
class StatisticsEngine {
 public:
  StatisticsEngine(const RecordStore& store, ReportLimits& limits) : store_(store), limits_(limits) {}

  // One index. Deviation also chooses the limits' deviation text.
  StatisticRecord computeStatistic(StatisticIndex index, int reportPhase, int order = 0);
  // Several indices, each with the result computeStatistic gives it, in one sweep over the records:
  // a record is read once while it is in the cache instead of once per index.
  std::vector<StatisticRecord> computeStatistics(const std::vector<StatisticRequest>& requests,
                                                 int reportPhase);

 private:
  const RecordStore& store_;
  ReportLimits& limits_;
  // The values of each index in record order, reused so that a report allocates once.
  std::vector<std::vector<float>> columns_;
};

}  // namespace pq
