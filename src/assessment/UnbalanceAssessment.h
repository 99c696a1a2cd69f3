#pragma once

#include "aggregation/AggregatedSeries.h"
#include "assessment/AssessmentLimits.h"
#include "assessment/IndexAssessment.h"

namespace pq {

// Three-phase unbalance (GB/T 15543) from the 10-minute values (root mean square of the records'
// unbalance, as the standard combines them). The negative-sequence voltage unbalance passes when its
// 95 % value is within limits.at95 and its largest value within limits.largest; its pass rate is the
// share of values within limits.at95. The current unbalance carries the same statistics without a
// verdict. A 10-minute value with a voltage event inside is left out and counted apart.
struct UnbalanceAssessment {
  IndexAssessment voltage;
  IndexAssessment current;
  int flaggedIntervals = 0;
  int outageIntervals = 0;
};

UnbalanceAssessment assessUnbalance(const AggregatedSeries& tenMinutes, const UnbalanceLimits& limits);

}  // namespace pq
