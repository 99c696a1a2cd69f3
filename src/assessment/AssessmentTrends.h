#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "aggregation/AggregatedSeries.h"

namespace pq {

struct SupplyVoltage;

// The values of one resolution that the assessment's charts draw: per interval its start and how it
// counts (a voltage event or an outage inside), and per line its value, not-a-number where it has
// none. A chart breaks its line where the starts step by more than `intervalSeconds`.
struct TrendSeries {
  int intervalSeconds = 0;
  std::vector<std::int64_t> starts;
  std::vector<bool> flagged;
  std::vector<bool> outage;
  std::vector<std::vector<double>> lines;
};

// What the charts of an assessment draw, taken from the aggregated values it judged.
struct AssessmentTrends {
  TrendSeries deviation;  // 1-minute voltage deviations of the three phases (or line voltages), %
  TrendSeries unbalance;  // 10-minute negative-sequence voltage unbalance, %
  TrendSeries frequency;  // 10-second frequency deviations from 50 Hz, Hz
};

// `series` as the aggregation gave them (AggregatedSeries per Resolution); the deviations against
// the supply's declared voltage.
AssessmentTrends assessmentTrendsOf(const std::array<AggregatedSeries, kResolutionCount>& series,
                                    const SupplyVoltage& supply);

}  // namespace pq
