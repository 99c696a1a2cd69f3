#pragma once

#include <array>
#include <string>

#include "statistics/HarmonicLimitTables.h"
#include "statistics/ReportKind.h"
#include "statistics/ReportLimits.h"
#include "statistics/StatisticRecord.h"

namespace pq {

// The results of the report runs that the report page reads. Each run overwrites what it fills and
// leaves the rest, so a current report keeps an earlier voltage report's voltage-only results.
struct PhaseReportDataSet {
  std::string startTimeText;
  std::string endTimeText;
  ReportLimits limits;
  StatisticRecord fundamental;
  std::array<StatisticRecord, kLastLimitedOrder + 1> harmonic;  // by order 2..25
  StatisticRecord thd;
  StatisticRecord deviation;
  StatisticRecord unbalance;
  StatisticRecord fluctuation;
  StatisticRecord frequencyDeviation;
  StatisticRecord lineFundamental;
  ReportKind kind;
  bool reportWindowOpen = false;
  float sampleCount = 0;
};

}  // namespace pq
