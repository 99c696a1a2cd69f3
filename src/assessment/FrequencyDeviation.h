#pragma once

#include "aggregation/AggregatedSeries.h"
#include "assessment/AssessmentLimits.h"
#include "assessment/IndexAssessment.h"

namespace pq {

// The frequency deviation (GB/T 15945) from the 10-second mean frequencies: each value's deviation
// from 50 Hz in Hz (the 95 % value ranking their magnitudes), judged against ±`limit`. The supply passes when
// every 10-second value lies within it; the pass rate is their share within. A value with a voltage event
// inside is left out and counted apart, as the measurement of the frequency is not to be trusted across it.
struct FrequencyDeviationAssessment {
  IndexAssessment index;
  int flaggedIntervals = 0;
  int outageIntervals = 0;
  int invalidRecords = 0;  // records whose frequency was no measurement (0 Hz or below), left out
};

// `invalidRecords`: the records the aggregation left out of the frequency, for the page to say so.
FrequencyDeviationAssessment assessFrequencyDeviation(const AggregatedSeries& tenSeconds, double limit,
                                                      int invalidRecords);

}  // namespace pq
