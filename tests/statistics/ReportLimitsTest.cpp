#include "statistics/ReportLimits.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/ConversionError.h"
#include "statistics/DeviationBand.h"

namespace pq {
namespace {

TEST(ReportLimitsTest, VoltageLevelsAreExactTexts) {
  EXPECT_EQ(voltageLevelOf("0.38KV"), 0);
  EXPECT_EQ(voltageLevelOf("110KV"), 5);
  for (const char* text : {"", "10kV", "20KV", "10KV ", " 10KV", "220KV"}) {
    EXPECT_FALSE(voltageLevelOf(text)) << text;
  }
}

TEST(ReportLimitsTest, VoltageLimitsByLevel) {
  struct Case {
    const char* level;
    float odd, even, thd;
  };
  const Case cases[] = {{"0.38KV", 4.0f, 2.0f, 5.0f}, {"6KV", 3.2f, 1.6f, 4.0f},
                        {"10KV", 3.2f, 1.6f, 4.0f},   {"35KV", 2.4f, 1.2f, 3.0f},
                        {"66KV", 2.4f, 1.2f, 3.0f},   {"110KV", 1.6f, 0.8f, 2.0f}};
  for (const auto& c : cases) {
    ReportLimits limits;
    limits.setVoltageLimits(c.level);
    EXPECT_EQ(limits.oddHarmonicLimit, c.odd) << c.level;
    EXPECT_EQ(limits.evenHarmonicLimit, c.even) << c.level;
    EXPECT_EQ(limits.thdLimit, c.thd) << c.level;
    EXPECT_EQ(limits.harmonicVoltageLimit(2), c.even);
    EXPECT_EQ(limits.harmonicVoltageLimit(25), c.odd);
  }
}

TEST(ReportLimitsTest, UnknownLevelKeepsEveryLimit) {
  ReportLimits limits;
  limits.setVoltageLimits("35KV");
  limits.computeCurrentLimits("10KV", "100", "120", "120");
  limits.setVoltageLimits("10kV");
  limits.computeCurrentLimits("10kV", "999", "1", "1");
  EXPECT_EQ(limits.oddHarmonicLimit, 2.4f);
  EXPECT_FLOAT_EQ(limits.harmonicCurrentLimit[2], 26.0f);
}

TEST(ReportLimitsTest, CurrentLimitsConvertCapacities) {
  ReportLimits limits;
  limits.computeCurrentLimits("10KV", "182.000  ", "120.000  ", "150.000  ");
  // 1.82 x 26 x 1.25^(1/2) and 1.82 x 20 x 1.25^(1/1.1).
  EXPECT_NEAR(limits.harmonicCurrentLimit[2], 52.9054, 1e-4);
  EXPECT_NEAR(limits.harmonicCurrentLimit[3], 44.5862, 1e-4);
  // Orders 21 and 23 take the exponents 1.8 and 1.9: 1.82 x 2.9 x 1.25^(1/1.8), 1.82 x 4.5 x 1.25^(1/1.9).
  EXPECT_NEAR(limits.harmonicCurrentLimit[21], 1.82 * 2.9 * std::pow(1.25, 1 / 1.8), 1e-5);
  EXPECT_NEAR(limits.harmonicCurrentLimit[23], 1.82 * 4.5 * std::pow(1.25, 1 / 1.9), 1e-5);
  EXPECT_NEAR(limits.harmonicCurrentLimit[25], 1.82 * 4.1 * std::pow(1.25, 0.5), 1e-5);
}

TEST(ReportLimitsTest, TabledCurrentsAtBaseCapacity) {
  // Agreed = supply leaves only the short-circuit conversion; at the base capacity the table itself.
  const float table[6][24] = {
      {78, 62, 39,   62, 26,   44, 19,   21,   16,   28, 13,   24,
       11, 12, 9.7f, 18, 8.6f, 16, 7.8f, 8.9f, 7.1f, 14, 6.5f, 12},
      {43,   34,   21,   34, 14,   24,   11,   11,   8.5f, 16,   7.1f, 13,
       6.1f, 6.8f, 5.3f, 10, 4.7f, 9.0f, 4.3f, 4.9f, 3.9f, 7.4f, 3.6f, 6.8f},
      {26,   20,   13,   20,   8.5f, 15,   6.4f, 6.8f, 5.1f, 9.3f, 4.3f, 7.9f,
       3.7f, 4.1f, 3.2f, 6.0f, 2.8f, 5.4f, 2.6f, 2.9f, 2.3f, 4.5f, 2.1f, 4.1f},
      {15,   12,   7.7f, 12,   5.1f, 8.8f, 3.8f, 4.1f, 3.1f, 5.6f, 2.6f, 4.7f,
       2.2f, 2.5f, 1.9f, 3.6f, 1.7f, 3.2f, 1.5f, 1.8f, 1.4f, 2.7f, 1.3f, 2.5f},
      {16,   13,   8.1f, 13,   5.4f, 9.3f, 4.1f, 4.3f, 3.3f, 5.9f, 2.7f, 5.0f,
       2.3f, 2.6f, 2.0f, 3.8f, 1.8f, 3.4f, 1.6f, 1.9f, 1.5f, 2.8f, 1.4f, 2.6f},
      {12,   9.6f, 6.0f, 9.6f, 4.0f, 6.8f, 3.0f, 3.2f, 2.4f, 4.3f, 2.0f, 3.7f,
       1.7f, 1.9f, 1.5f, 2.8f, 1.3f, 2.5f, 1.2f, 1.4f, 1.1f, 2.1f, 1.0f, 1.9f},
  };
  const char* base[6] = {"10", "100", "100", "250", "500", "750"};
  const char* doubled[6] = {"20", "200", "200", "500", "1000", "1500"};
  for (int level = 0; level < 6; ++level) {
    ReportLimits atBase, atDouble;
    const std::string text(kVoltageLevelTexts[level]);
    atBase.computeCurrentLimits(text, base[level], "120", "120");
    atDouble.computeCurrentLimits(text, doubled[level], "120", "120");
    for (int order = 2; order <= 25; ++order) {
      EXPECT_EQ(atBase.harmonicCurrentLimit[order], table[level][order - 2]) << text << " order " << order;
      EXPECT_EQ(atDouble.harmonicCurrentLimit[order], 2 * table[level][order - 2])
          << text << " order " << order;
    }
  }
}

TEST(ReportLimitsTest, CapacityThatIsNoNumberChangesNothing) {
  ReportLimits limits;
  for (const char* text : {"", "12a", "1.2.3", "nan"}) {
    EXPECT_THROW(limits.computeCurrentLimits("10KV", "182", text, "150"), ConversionError) << text;
  }
  EXPECT_EQ(limits.harmonicCurrentLimit[2], 0.0f);
}

// A supply capacity of 0, or capacities whose limits leave the four-byte range, stop the run
// instead of printing "inf" or "nan"; the limits of the last good run stay.
TEST(ReportLimitsTest, CapacitiesWithoutAFiniteLimitChangeNothing) {
  ReportLimits limits;
  limits.computeCurrentLimits("10KV", "182", "120", "150");
  const auto good = limits.harmonicCurrentLimit;
  const struct {
    const char *minShortCircuit, *supply, *agreed;
  } cases[] = {
      {"182", "0", "150"}, {"182", "0.000  ", "0"}, {"1e300", "120", "150"}, {"182", "1e-300", "1e300"}};
  for (const auto& c : cases) {
    EXPECT_THROW(limits.computeCurrentLimits("10KV", c.minShortCircuit, c.supply, c.agreed), ConversionError)
        << c.minShortCircuit << " " << c.supply << " " << c.agreed;
    EXPECT_EQ(limits.harmonicCurrentLimit, good);
  }
  limits.computeCurrentLimits("10KV", "0", "120", "0");  // zero limits are numbers
  EXPECT_EQ(limits.harmonicCurrentLimit[2], 0.0f);
}

TEST(ReportLimitsTest, DeviationTextByNominalVoltage) {
  struct Case {
    float un;
    const char* text;  // "" : unchanged
  };
  const Case cases[] = {{35, "±5.00%"},    {6000, "±5.00%"},   {110, "±5.00%"}, {10, "±7.00%"}, {6, "±7.00%"},
                        {0.23f, "±7.00%"}, {0.22f, "7%~-10%"}, {0, "7%~-10%"},  {20, ""},       {34.9f, ""}};
  for (const auto& c : cases) {
    ReportLimits limits;
    limits.deviationLimitText = "before";
    limits.chooseDeviationText(c.un);
    EXPECT_EQ(limits.deviationLimitText, *c.text ? c.text : "before") << c.un;
  }
}

TEST(ReportLimitsTest, DeviationBandPassTests) {
  struct Case {
    float un;
    double difference;
    float percent;
    bool passes;
  };
  const Case cases[] = {
      {35, 1, 5.0f, true},    {35, -1, -5.0f, true}, {35, 1, 5.01f, false}, {10, -1, -7.0f, true},
      {10, 1, 7.01f, false},  {0, 1, 7.0f, true},    {0, 1, 7.01f, false},  {0, -1, -10.0f, true},
      {0, -1, -10.5f, false}, {0, 0, 0.0f, false},   {0, 380, 0.0f, true},  {20, 0, 0.0f, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(deviationBand(c.un).passes(c.difference, c.percent), c.passes)
        << c.un << " " << c.difference << " " << c.percent;
  }
}

}  // namespace
}  // namespace pq
