#pragma once

#include <array>
#include <string>
#include <vector>

#include "assessment/AssessmentLimits.h"
#include "assessment/IndexAssessment.h"
#include "assessment/NinetyFivePercentSink.h"
#include "statistics/HarmonicLimitTables.h"

namespace pq {

struct RecordHead;

// The harmonic limits of one recording: its voltage level's tables of the limit set, the currents
// converted to its capacities, and what they were converted with, which the method names. Limits of 0
// give no verdict: all of them when the head names no level, the currents when its capacities give none
// (a supply capacity of 0).
struct HarmonicLimits {
  std::string level;  // "10KV"; empty when the head's level code names none
  std::array<float, kLastLimitedOrder + 1> voltage{};  // %, by order 2..25
  float thd = 0;                                       // %
  std::array<float, kLastLimitedOrder + 1> current{};  // A, by order 2..25
  float baseShortCircuitCapacity = 0;                  // MVA, of the level's current table
  double minShortCircuitCapacity = 0;                  // MVA, the head's
  double supplyCapacity = 0;
  double agreedCapacity = 0;
  SuperpositionExponents exponents{};
};

// The limits of `limits`' tables for the level and the capacities of `head`.
HarmonicLimits harmonicLimitsOf(const AssessmentLimits& limits, const RecordHead& head);

// The harmonic quantities judged on 3-second values (GB/T 14549) with their limits: per voltage
// channel Ua..Uc the contents of orders 2..25 in % and the distortion, per current channel Ia..Ic the
// currents of orders 2..25 in A against the allowed currents.
std::vector<JudgedQuantity> harmonicQuantities(const HarmonicLimits& limits);

struct HarmonicIndex {
  int channel;
  int order;  // 2..25, 0 for the distortion
  IndexAssessment index;
};

// The indices of a sink built on harmonicQuantities(limits), in that order: each passes when the 95 %
// value of its 3-second values is within its limit; the pass rate is the share of values within it.
// The method names the limits: the level's voltage limits, the capacities and the α the currents were
// converted with.
std::vector<HarmonicIndex> assessHarmonics(const NinetyFivePercentSink& sink, const HarmonicLimits& limits);

// "3次1.1、5次1.2、…、其余2.0": the orders whose α differs from the most common one, then that one.
std::string superpositionExponentsText(const SuperpositionExponents& exponents);

}  // namespace pq
