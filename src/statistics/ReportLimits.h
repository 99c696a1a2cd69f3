#pragma once

#include <array>
#include <string>
#include <string_view>

#include "statistics/HarmonicLimitTables.h"

namespace pq {

// The permitted values of one report. They start at 0 (and an empty deviation text) and keep their
// values from one report to the next until a run overwrites them; a text that names no voltage level
// changes nothing.
struct ReportLimits {
  float oddHarmonicLimit = 0;                                       // % of the fundamental, orders 3..25
  float evenHarmonicLimit = 0;                                      // % of the fundamental, orders 2..24
  float thdLimit = 0;                                               // %
  std::array<float, kLastLimitedOrder + 1> harmonicCurrentLimit{};  // A, by order 2..25
  std::string deviationLimitText;

  void setVoltageLimits(std::string_view voltageLevelText);
  // The tabled currents converted to the minimum short-circuit capacity and to the user's share of the
  // supply equipment capacity. The capacity texts are read only for a recognised level; one that is no
  // number throws ConversionError and changes nothing.
  void computeCurrentLimits(std::string_view voltageLevelText, std::string_view minShortCircuitText,
                            std::string_view supplyCapacityText, std::string_view agreedCapacityText);
  // The same with other superposition exponents than the report's (superpositionExponent()).
  void computeCurrentLimits(std::string_view voltageLevelText, std::string_view minShortCircuitText,
                            std::string_view supplyCapacityText, std::string_view agreedCapacityText,
                            const SuperpositionExponents& exponents);
  float harmonicVoltageLimit(int order) const {
    return order % 2 == 0 ? evenHarmonicLimit : oddHarmonicLimit;
  }
  // Leaves the text as it is when the nominal voltage has no band.
  void chooseDeviationText(float nominalVoltage);
};

}  // namespace pq
