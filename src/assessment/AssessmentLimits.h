#pragma once

#include <array>

#include "statistics/HarmonicLimitTables.h"

namespace pq {

// The limits of the assessment with the defaults of the national standards; a limit-set file may
// override each of them. Deviations and unbalance in %.
struct DeviationBandLimits {
  double upper;  // the largest deviation allowed above the declared voltage
  double lower;  // the largest allowed below it, a negative number
};

// Negative-sequence voltage unbalance (GB/T 15543): limits of the 95 % value and of the largest value
// of the 10-minute values, for the point of common coupling or for a single user's share of them.
struct UnbalanceLimits {
  double at95;
  double largest;
};
inline constexpr UnbalanceLimits kNetworkUnbalance{2, 4};
inline constexpr UnbalanceLimits kUserUnbalance{1.3, 2.6};

// Frequency deviation (GB/T 15945), Hz either side of 50 Hz: the normal limit, and the wider one of
// small systems.
inline constexpr double kNominalFrequency = 50;  // Hz
inline constexpr double kNormalFrequencyDeviation = 0.2;
inline constexpr double kWideFrequencyDeviation = 0.5;

// Harmonics (GB/T 14549) of one voltage level: the permitted harmonic voltage content of each order and
// the permitted distortion, % of the fundamental, and the permitted harmonic current of each order (A)
// at the base short-circuit capacity (MVA). Four-byte values like the instrument's tables, so that a file
// holding 9.7 judges as the built-in 9.7f does.
struct HarmonicLevelLimits {
  std::array<float, kLastLimitedOrder + 1> voltage{};  // by order 2..25 (the index)
  float thd = 0;
  float baseShortCircuitCapacity = 0;
  std::array<float, kLastLimitedOrder + 1> current{};  // by order 2..25
};
using HarmonicLevelTables = std::array<HarmonicLevelLimits, kVoltageLevelCount>;  // by level 0.38 kV..110 kV

// GB/T 14549-1993 Tables 1 and 2: the odd orders' voltage limit for 3..25, the even orders' for 2..24.
HarmonicLevelTables standardHarmonicLevels();

struct AssessmentLimits {
  // Supply voltage deviation (GB/T 12325) per supply: three-phase of 20 kV and below, three-phase
  // of 35 kV and above (a split agreed with the user whose magnitudes sum to at most 10) and 220 V
  // single-phase.
  DeviationBandLimits lowVoltageBand{7, -7};
  DeviationBandLimits highVoltageBand{7, -3};
  DeviationBandLimits singlePhaseBand{7, -10};
  // The voltage qualification rate (%) a phase needs to pass.
  double requiredQualificationRate = 100;

  UnbalanceLimits unbalance = kNetworkUnbalance;
  double frequencyDeviation = kNormalFrequencyDeviation;

  // Harmonic currents (GB/T 14549): the exponents α that convert the tabled currents to the user's
  // share of the supply capacity, I × (agreed / supply)^(1/α).
  SuperpositionExponents superpositionExponents = kAppendixCExponents;
  HarmonicLevelTables harmonicLevels = standardHarmonicLevels();
};

}  // namespace pq
