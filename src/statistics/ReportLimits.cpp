#include "statistics/ReportLimits.h"

#include <array>
#include <cmath>

#include "base/ConversionError.h"

#include "base/FieldText.h"
#include "statistics/DeviationBand.h"

namespace pq {

void ReportLimits::setVoltageLimits(std::string_view voltageLevelText) {
  const auto level = voltageLevelOf(voltageLevelText);
  if (!level) return;
  const HarmonicVoltageLimits limits = harmonicVoltageLimitsOf(*level);
  oddHarmonicLimit = limits.odd;
  evenHarmonicLimit = limits.even;
  thdLimit = limits.thd;
}

void ReportLimits::computeCurrentLimits(std::string_view voltageLevelText,
                                        std::string_view minShortCircuitText,
                                        std::string_view supplyCapacityText,
                                        std::string_view agreedCapacityText) {
  SuperpositionExponents reports{};
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
    reports[order] = superpositionExponent(order);
  computeCurrentLimits(voltageLevelText, minShortCircuitText, supplyCapacityText, agreedCapacityText, reports);
}

void ReportLimits::computeCurrentLimits(std::string_view voltageLevelText,
                                        std::string_view minShortCircuitText,
                                        std::string_view supplyCapacityText,
                                        std::string_view agreedCapacityText,
                                        const SuperpositionExponents& exponents) {
  const auto level = voltageLevelOf(voltageLevelText);
  if (!level) return;
  const double minShortCircuit = fieldDecimal(minShortCircuitText);
  const double supply = fieldDecimal(supplyCapacityText);
  const double agreed = fieldDecimal(agreedCapacityText);
  // A supply capacity of 0 or capacities beyond the four-byte range would put "inf" or "nan" on the
  // page; the run stops with the error the arithmetic met instead, and the limits stay as they were.
  if (supply == 0.0) throw ConversionError("Floating point division by zero");
  std::array<float, kLastLimitedOrder + 1> limits = harmonicCurrentLimit;
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    limits[order] = static_cast<float>(userHarmonicCurrent(tabledHarmonicCurrent(*level, order),
                                                           baseShortCircuitCapacity(*level), minShortCircuit,
                                                           agreed, supply, exponents[order]));
    if (!std::isfinite(limits[order])) throw ConversionError("Floating point overflow");
  }
  harmonicCurrentLimit = limits;
}

void ReportLimits::chooseDeviationText(float nominalVoltage) {
  if (const char* text = deviationBand(nominalVoltage).text()) deviationLimitText = text;
}

}  // namespace pq
