#pragma once

#include <memory>
#include <vector>

#include "statistics/ReportKind.h"
#include "statistics/StatisticIndex.h"
#include "statistics/StatisticRecord.h"

namespace pq {

class RecordStore;
struct ReportLimits;
class ZeroedBlock;

// The rank of the 95 % value among N samples: ceil(N / 20), or 0 (no 95 % value) below 20 samples.
int rankOf95PercentValue(int sampleCount);

// Computes the statistics of report indices over the store's records rangeStart .. rangeEnd - 1,
// judging each record against `limits` for a report of `kind`. Reads the store only. The range must
// hold at least one record.
class StatisticsEngine {
 public:
  StatisticsEngine(const RecordStore& store, ReportLimits& limits);
  ~StatisticsEngine();
  StatisticsEngine(const StatisticsEngine&) = delete;
  StatisticsEngine& operator=(const StatisticsEngine&) = delete;

  // One index. Deviation also chooses the limits' deviation text.
  StatisticRecord computeStatistic(StatisticIndex index, ReportKind kind, int order = 0);
  // Several indices, each with the result computeStatistic gives it, in one sweep over the records:
  // a record is read once while it is in the cache instead of once per index.
  std::vector<StatisticRecord> computeStatistics(const std::vector<StatisticRequest>& requests,
                                                 ReportKind kind);

 private:
  const RecordStore& store_;
  ReportLimits& limits_;
  // The values of each index in record order, one column after another, reused so that a report
  // allocates once. A day's voltage report fills 31 columns of 86 400 values (10.7 MB); in huge
  // pages that costs a handful of page faults instead of some 2 600.
  std::unique_ptr<ZeroedBlock> columns_;
};

}  // namespace pq
