#include "assessment/TrendLimitLines.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(TrendLimitLines, DeviationLinesAreTheBandOfTheSuppliesLevel) {
  AssessmentLimits limits;
  limits.highVoltageBand = {6.5, -3.5};
  const struct {
    const char* what;
    SupplyVoltage supply;
    std::vector<LimitLine> lines;
  } cases[] = {
      {"10 kV", {5.7735, 10, false, false}, {{7, "+7%"}, {-7, "-7%"}}},
      {"35 kV, the set's own band", {35, 35, true, false}, {{6.5, "+6.5%"}, {-3.5, "-3.5%"}}},
      {"220 V single-phase", {220, 0.22, false, true}, {{7, "+7%"}, {-10, "-10%"}}},
      {"between 20 and 35 kV: no band", {27, 27, true, false}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(deviationLimitLines(limits, c.supply), c.lines) << c.what;
}

TEST(TrendLimitLines, UnbalanceLinesAreSharesOfTheDeclaredVoltageAndFrequencyLinesAroundFiftyHertz) {
  AssessmentLimits limits;
  EXPECT_EQ(negativeSequenceLimitLines(limits, {230.9, 0.4, false, false}),
            (std::vector<LimitLine>{{230.9 * 2 / 100, "不平衡度2%"}, {230.9 * 4 / 100, "不平衡度4%"}}));
  limits.unbalance = kUserUnbalance;
  EXPECT_EQ(negativeSequenceLimitLines(limits, {100, 0.1, true, false}),
            (std::vector<LimitLine>{{100 * 1.3 / 100, "不平衡度1.3%"}, {100 * 2.6 / 100, "不平衡度2.6%"}}));
  EXPECT_TRUE(negativeSequenceLimitLines(limits, {0, 0, false, false}).empty())
      << "no voltage, no share of it";

  EXPECT_EQ(frequencyLimitLines(AssessmentLimits{}),
            (std::vector<LimitLine>{{50.2, "50.2Hz"}, {49.8, "49.8Hz"}}));
  limits.frequencyDeviation = kWideFrequencyDeviation;
  EXPECT_EQ(frequencyLimitLines(limits), (std::vector<LimitLine>{{50.5, "50.5Hz"}, {49.5, "49.5Hz"}}));
}

}  // namespace
}  // namespace pq
