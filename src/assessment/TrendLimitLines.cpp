#include "assessment/TrendLimitLines.h"

#include "export/ValueText.h"

namespace pq {

namespace {

std::string limitText(double value) { return floatText(static_cast<float>(value)); }

}  // namespace

std::vector<LimitLine> deviationLimitLines(const AssessmentLimits& limits, const SupplyVoltage& supply) {
  const auto band = deviationBandOf(supply, limits);
  if (!band) return {};
  return {{band->upper, "+" + limitText(band->upper) + "%"}, {band->lower, limitText(band->lower) + "%"}};
}

std::vector<LimitLine> negativeSequenceLimitLines(const AssessmentLimits& limits,
                                                  const SupplyVoltage& supply) {
  if (!(supply.declared > 0)) return {};
  std::vector<LimitLine> lines;
  for (const double percent : {limits.unbalance.at95, limits.unbalance.largest})
    lines.push_back({supply.declared * percent / 100, "不平衡度" + limitText(percent) + "%"});
  return lines;
}

std::vector<LimitLine> frequencyLimitLines(const AssessmentLimits& limits) {
  const double upper = kNominalFrequency + limits.frequencyDeviation;
  const double lower = kNominalFrequency - limits.frequencyDeviation;
  return {{upper, limitText(upper) + "Hz"}, {lower, limitText(lower) + "Hz"}};
}

}  // namespace pq
