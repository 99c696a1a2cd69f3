#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "statistics/HarmonicLimitTables.h"
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
  std::uint8_t reportPhase = 0;  // 0 Ua, 1 Ub, 2 Uc, 3 Ia, 4 Ib, 5 Ic
  bool reportWindowOpen = false;
  float sampleCount = 0;
};

inline constexpr int kReportPhaseCount = 6;
inline constexpr bool isVoltageReport(int reportPhase) { return reportPhase < 3; }

// The page title of a report phase, such as "电能质量统计报表（A相电压）".
const char* reportTitle(int reportPhase);

}  // namespace pq
