#pragma once

#include <string>
#include <vector>

#include "assessment/AssessmentLimits.h"
#include "assessment/SupplyVoltageDeviation.h"

namespace pq {

// A horizontal line of a trend chart at a limit of the index it shows, in the units of its curves,
// with the text that names it.
struct LimitLine {
  double value;
  std::string label;
  bool operator==(const LimitLine&) const = default;
};

// The voltage deviation in %: the band of the supply's level ("+7%", "-3%"); none where the standard
// names none.
std::vector<LimitLine> deviationLimitLines(const AssessmentLimits& limits, const SupplyVoltage& supply);

// The negative-sequence voltage, in the units of the voltage cells: the unbalance limits of the 95 %
// value and of the largest value as shares of the declared voltage, which the positive-sequence voltage
// of a supply the standard applies to keeps close to ("不平衡度2%", "不平衡度4%").
std::vector<LimitLine> negativeSequenceLimitLines(const AssessmentLimits& limits,
                                                  const SupplyVoltage& supply);

// The frequency in Hz: 50 Hz and the allowed deviation either side ("50.2Hz", "49.8Hz").
std::vector<LimitLine> frequencyLimitLines(const AssessmentLimits& limits);

}  // namespace pq
