#pragma once

#include <string>
#include <vector>

#include "assessment/IndexAssessment.h"
#include "assessment/NinetyFivePercentSink.h"
#include "statistics/HarmonicLimitTables.h"

namespace pq {

struct ReportLimits;

// The harmonic quantities judged on 3-second values (GB/T 14549) with their limits: per voltage
// channel Ua..Uc the contents of orders 2..25 in % and the distortion, per current channel Ia..Ic the
// currents of orders 2..25 in A against the allowed currents of the capacities. `limits` holds the
// report's limits of the level (ReportLimits::setVoltageLimits, computeCurrentLimits).
std::vector<JudgedQuantity> harmonicQuantities(const ReportLimits& limits);

struct HarmonicIndex {
  int channel;
  int order;  // 2..25, 0 for the distortion
  IndexAssessment index;
};

// The indices of a sink built on harmonicQuantities(), in that order: each passes when the 95 % value
// of its 3-second values is within its limit; the pass rate is the share of values within it. The
// method names `exponents`, the α the current limits were converted with.
std::vector<HarmonicIndex> assessHarmonics(const NinetyFivePercentSink& sink,
                                           const SuperpositionExponents& exponents);

// "3次1.1、5次1.2、…、其余2.0": the orders whose α differs from the most common one, then that one.
std::string superpositionExponentsText(const SuperpositionExponents& exponents);

}  // namespace pq
