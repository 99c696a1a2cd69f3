#include "statistics/StatisticsEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "statistics/InsertionBuffer.h"
#include "statistics/ReportLimits.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

using test::appendRecord;
using test::insertionBufferValue;

constexpr ReportKind kPhaseA{Phase::A, ReportQuantity::Voltage}, kPhaseB{Phase::B, ReportQuantity::Voltage},
    kPhaseC{Phase::C, ReportQuantity::Voltage}, kCurrentA{Phase::A, ReportQuantity::Current};

class StatisticsEngineTest : public ::testing::Test {
 protected:
  // Appends one record per value, a minute apart, letting `fill` put the value where the index reads it.
  void records(const std::vector<float>& values, const std::function<void(MeasurementRecord&, float)>& fill,
               int wiringMode = 1) {
    for (float v : values) {
      const int minute = store.recordCount();
      fill(appendRecord(store, 2010, 4, 19, minute / 60, minute % 60, 0, wiringMode), v);
    }
    store.rangeStart = 0;
    store.rangeEnd = store.recordCount();
  }
  // Current harmonic order 2 of phase A: the plain cell value, no threshold.
  void currentHarmonics(const std::vector<float>& values) {
    records(values, [](MeasurementRecord& r, float v) { r.setValue(cells::harmonic(Ia, 2), v); });
  }
  StatisticRecord compute(StatisticIndex index, ReportKind kind, int order = 0) {
    return engine.computeStatistic(index, kind, order);
  }

  RecordStore store;
  ReportLimits limits;
  StatisticsEngine engine{store, limits};
};

std::vector<float> repeated(const std::vector<float>& pattern, int times) {
  std::vector<float> values;
  for (int i = 0; i < times; ++i) values.insert(values.end(), pattern.begin(), pattern.end());
  return values;
}

TEST(RankOf95PercentValue, IsTheCeilingOfATwentieth) {
  EXPECT_EQ(rankOf95PercentValue(1), 0);
  EXPECT_EQ(rankOf95PercentValue(19), 0);
  EXPECT_EQ(rankOf95PercentValue(20), 1);
  EXPECT_EQ(rankOf95PercentValue(21), 2);
  EXPECT_EQ(rankOf95PercentValue(40), 2);
  EXPECT_EQ(rankOf95PercentValue(86400), 4320);
  for (int n = 20; n <= 86400; ++n) ASSERT_EQ(rankOf95PercentValue(n), (n + 19) / 20) << n;
}

TEST_F(StatisticsEngineTest, PlainStatisticsWithDuplicates) {
  limits.harmonicCurrentLimit[2] = 3.0f;
  currentHarmonics(repeated({5, 1, 4, 2, 3}, 4));
  StatisticRecord s = compute(StatisticIndex::Harmonic, kCurrentA, 2);
  EXPECT_EQ(s.max, 5.0f);
  EXPECT_EQ(s.min, 1.0f);
  EXPECT_EQ(s.avg, 3.0f);
  EXPECT_EQ(s.p95, 5.0f);
  EXPECT_EQ(s.passRate, 60.0f);  // 1, 2 and 3 are within 3 A

  store.clear();
  currentHarmonics(repeated({5, 1, 4, 2, 3}, 8));
  EXPECT_EQ(compute(StatisticIndex::Harmonic, kCurrentA, 2).p95, 5.0f);  // K = 2, and 5 twice
}

TEST_F(StatisticsEngineTest, NinetyFivePercentValueNeedsTwentySamples) {
  std::vector<float> values;
  for (int i = 1; i <= 19; ++i) values.push_back(static_cast<float>(i));
  currentHarmonics(values);
  EXPECT_TRUE(std::isnan(compute(StatisticIndex::Harmonic, kCurrentA, 2).p95));
  store.clear();
  values.push_back(20);
  currentHarmonics(values);
  EXPECT_EQ(compute(StatisticIndex::Harmonic, kCurrentA, 2).p95, 20.0f);
  store.clear();
  for (int i = 21; i <= 40; ++i) values.push_back(static_cast<float>(i));
  currentHarmonics(values);
  EXPECT_EQ(compute(StatisticIndex::Harmonic, kCurrentA, 2).p95, 39.0f);  // K = 2
}

TEST_F(StatisticsEngineTest, SelectionGivesTheInsertionBufferValue) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coarse(0, 30);  // many duplicates
  for (int n : {20, 21, 39, 41, 400, 1999, 5000}) {
    std::vector<float> values;
    for (int i = 0; i < n; ++i) values.push_back(static_cast<float>(coarse(random)) * 0.25f - 2.0f);
    store.clear();
    currentHarmonics(values);
    EXPECT_EQ(compute(StatisticIndex::Harmonic, kCurrentA, 2).p95,
              insertionBufferValue(values, rankOf95PercentValue(n)))
        << n;
  }
}

TEST_F(StatisticsEngineTest, SeveralIndicesInOneSweep) {
  // Order n carries n A (times 1 and 3), or n % of the voltage fundamental; current limits of 99 A for
  // the even orders and 1 A for the odd ones, and voltage limits of 10 %.
  for (int order = 2; order <= 25; ++order)
    limits.harmonicCurrentLimit[order] = order % 2 == 0 ? 99.0f : 1.0f;
  limits.oddHarmonicLimit = 10;
  limits.evenHarmonicLimit = 10;
  records({1.0f, 3.0f}, [](MeasurementRecord& r, float scale) {
    r.setValue(cells::harmonic(Ub, 1), 100.0f);
    for (int order = 2; order <= 25; ++order) {
      r.setValue(cells::harmonic(Ic, order), scale * static_cast<float>(order));
      r.setValue(cells::harmonic(Ub, order), static_cast<float>(order));
    }
  });
  std::vector<StatisticRequest> requests;
  for (int order = 2; order <= 25; ++order) requests.push_back({StatisticIndex::Harmonic, order});
  const auto currents = engine.computeStatistics(requests, {Phase::C, ReportQuantity::Current});
  const auto voltages = engine.computeStatistics(requests, kPhaseB);
  for (int order = 2; order <= 25; ++order) {
    const std::size_t k = static_cast<std::size_t>(order - 2);
    EXPECT_EQ(currents[k].max, 3.0f * static_cast<float>(order)) << order;
    EXPECT_EQ(currents[k].avg, 2.0f * static_cast<float>(order)) << order;
    EXPECT_EQ(currents[k].passRate, order % 2 == 0 ? 100.0f : 0.0f) << order;
    EXPECT_FLOAT_EQ(voltages[k].min, static_cast<float>(order)) << order;
    EXPECT_EQ(voltages[k].passRate, order <= 10 ? 100.0f : 0.0f) << order;
  }
}

TEST_F(StatisticsEngineTest, RangeLimitsThePass) {
  currentHarmonics({9, 1, 2, 9});
  store.rangeStart = 1;
  store.rangeEnd = 3;
  const StatisticRecord s = compute(StatisticIndex::Harmonic, kCurrentA, 2);
  EXPECT_EQ(s.max, 2.0f);
  EXPECT_EQ(s.avg, 1.5f);
}

TEST_F(StatisticsEngineTest, SumIsAccumulatedInFourByteFloats) {
  // 2^24 + 1 + 1 ... : in four-byte floats each added 1 is lost.
  currentHarmonics({16777216.0f, 1, 1, 1});
  EXPECT_EQ(compute(StatisticIndex::Harmonic, kCurrentA, 2).avg, 4194304.0f);
}

void setWyeVoltages(MeasurementRecord& r, float ua, float ub, float uc) {
  r.setValue(cells::uaRms, ua);
  r.setValue(cells::ubRms, ub);
  r.setValue(cells::ucRms, uc);
}

TEST_F(StatisticsEngineTest, FundamentalsOfBothWirings) {
  records({57.7f, 0.04f, 0.05f},
          [](MeasurementRecord& r, float v) { r.setValue(cells::harmonic(Ua, 1), v); });
  StatisticRecord s = compute(StatisticIndex::Fundamental, kPhaseA);
  EXPECT_EQ(s.max, 57.7f);
  EXPECT_EQ(s.min, 0.0f);                    // 0.04 is below the threshold
  EXPECT_EQ(s.avg, (57.7f + 0.05f) / 3.0f);  // the float nearest to 0.05 is above it
  EXPECT_TRUE(std::isnan(s.passRate));

  store.clear();
  records(
      {100.0f}, [](MeasurementRecord& r, float v) { r.setValue(cells::harmonic(Ub, 1), v); }, 3);
  EXPECT_FLOAT_EQ(compute(StatisticIndex::Fundamental, kPhaseB).max, 57.73672055f);  // 100 / 1.732
  EXPECT_EQ(compute(StatisticIndex::LineFundamental, kPhaseB).max, 100.0f);

  store.clear();
  records({0.0011f, 0.0009f}, [](MeasurementRecord& r, float v) { r.setValue(cells::harmonic(Ia, 1), v); });
  s = compute(StatisticIndex::Fundamental, kCurrentA);
  EXPECT_EQ(s.max, 0.0011f);
  EXPECT_EQ(s.min, 0.0f);
}

TEST_F(StatisticsEngineTest, LineVoltageOfEachPhase) {
  records({220.0f, 0.04f}, [](MeasurementRecord& r, float v) { setWyeVoltages(r, v, v, v); });
  const StatisticRecord a = compute(StatisticIndex::LineFundamental, kPhaseA);
  EXPECT_NEAR(a.max, 381.0512, 1e-4);  // sqrt(3 x 220^2)
  EXPECT_EQ(a.min, 0.0f);
  store.clear();
  // Phase B pairs Ub with Uc, phase C pairs Uc with Ua: sqrt(a^2 + b^2 + ab).
  records({1.0f}, [](MeasurementRecord& r, float) { setWyeVoltages(r, 1.0f, 2.0f, 3.0f); });
  EXPECT_FLOAT_EQ(compute(StatisticIndex::LineFundamental, kPhaseB).max, std::sqrt(19.0f));
  EXPECT_FLOAT_EQ(compute(StatisticIndex::LineFundamental, kPhaseC).max, std::sqrt(13.0f));
}

TEST_F(StatisticsEngineTest, VoltageHarmonicContentAgainstItsOrderLimit) {
  limits.setVoltageLimits("10KV");  // odd 3.2 %, even 1.6 %
  records({3.2f, 3.3f, 1.6f, 1.0f}, [](MeasurementRecord& r, float v) {
    r.setValue(cells::harmonic(Uc, 1), 100.0f);
    r.setValue(cells::harmonic(Uc, 3), v);
    r.setValue(cells::harmonic(Uc, 4), v);
  });
  const StatisticRecord odd = compute(StatisticIndex::Harmonic, kPhaseC, 3);
  EXPECT_FLOAT_EQ(odd.max, 3.3f);
  EXPECT_EQ(odd.passRate, 75.0f);
  EXPECT_EQ(compute(StatisticIndex::Harmonic, kPhaseC, 4).passRate, 50.0f);

  store.clear();
  records({0.05f, 0.04f}, [](MeasurementRecord& r, float f) {
    r.setValue(cells::harmonic(Ua, 1), f);
    r.setValue(cells::harmonic(Ua, 2), 0.001f);
  });
  const StatisticRecord s = compute(StatisticIndex::Harmonic, kPhaseA, 2);
  EXPECT_FLOAT_EQ(s.max, 2.0f);  // 0.001 / 0.05 x 100: the float nearest 0.05 passes the threshold
  EXPECT_EQ(s.min, 0.0f);
}

TEST_F(StatisticsEngineTest, DistortionHasATestOnlyInTheVoltageReport) {
  limits.setVoltageLimits("0.38KV");  // 5 %
  records({3.0f, 6.0f}, [](MeasurementRecord& r, float v) {
    r.setValue(cells::harmonic(Ua, 1), 100.0f);
    r.setValue(cells::harmonic(Ua, 5), v);
    r.setValue(cells::harmonic(Ua, 65), 50.0f);  // order 65 is left out
    r.setValue(cells::harmonic(Ia, 1), 10.0f);
    r.setValue(cells::harmonic(Ia, 3), 3.0f);
    r.setValue(cells::harmonic(Ia, 4), 4.0f);
  });
  const StatisticRecord voltage = compute(StatisticIndex::Thd, kPhaseA);
  EXPECT_FLOAT_EQ(voltage.max, 6.0f);
  EXPECT_FLOAT_EQ(voltage.min, 3.0f);
  EXPECT_EQ(voltage.passRate, 50.0f);
  const StatisticRecord current = compute(StatisticIndex::Thd, kCurrentA);
  EXPECT_FLOAT_EQ(current.max, 50.0f);  // sqrt(3^2 + 4^2) / 10
  EXPECT_TRUE(std::isnan(current.passRate));
}

struct SignedCase {
  std::vector<float> voltages;  // three-wire phase voltages against UN = 100
  float max, min;
};

TEST_F(StatisticsEngineTest, SignedExtremesOfDeviation) {
  store.nominalVoltage = 100;
  const SignedCase cases[] = {
      {{97, 102, 99}, -3, -1},
      {{99, 102, 97}, -3, 1},  // no later record is strictly closer to zero than the first
      {{103, 97}, 3, 3},       // a tie goes to the positive side
      {{100, 100}, 0, 0},
  };
  for (const auto& c : cases) {
    store.clear();
    records(
        c.voltages, [](MeasurementRecord& r, float v) { r.setValue(cells::uaRms, v); }, 3);
    const StatisticRecord s = compute(StatisticIndex::Deviation, kPhaseA);
    EXPECT_FLOAT_EQ(s.max, c.max) << c.voltages[0];
    EXPECT_FLOAT_EQ(s.min, c.min) << c.voltages[0];
  }
  EXPECT_EQ(limits.deviationLimitText, "±5.00%");
}

TEST_F(StatisticsEngineTest, DeviationRanksMagnitudesAndCountsTheBand) {
  store.nominalVoltage = 100;
  std::vector<float> voltages(19, 102.0f);
  voltages.push_back(94.0f);  // -6 %: the largest magnitude and the only record outside +-5 %
  records(
      voltages, [](MeasurementRecord& r, float v) { r.setValue(cells::uaRms, v); }, 3);
  const StatisticRecord s = compute(StatisticIndex::Deviation, kPhaseA);
  EXPECT_FLOAT_EQ(s.p95, 6.0f);
  EXPECT_FLOAT_EQ(s.max, -6.0f);
  EXPECT_FLOAT_EQ(s.avg, (19 * 2.0f - 6.0f) / 20);
  EXPECT_EQ(s.passRate, 95.0f);
}

TEST_F(StatisticsEngineTest, DeviationCarriesVoltagesOverUnknownWiringModes) {
  store.nominalVoltage = 100;
  appendRecord(store, 2010, 4, 19, 0, 0, 0, 2).setValue(cells::uaRms, 120.0f);  // nothing before it: 0
  appendRecord(store, 2010, 4, 19, 0, 1, 0, 3).setValue(cells::uaRms, 104.0f);  // +4 %
  appendRecord(store, 2010, 4, 19, 0, 2, 0, 0).setValue(cells::uaRms, 50.0f);   // carries +4 %
  store.rangeStart = 0;
  store.rangeEnd = 3;
  const StatisticRecord s = compute(StatisticIndex::Deviation, kPhaseA);
  EXPECT_FLOAT_EQ(s.max, 4.0f);
  EXPECT_FLOAT_EQ(s.min, 0.0f);
  EXPECT_FLOAT_EQ(s.avg, 8.0f / 3);
  EXPECT_EQ(s.passRate, 100.0f);
  // Sampled beside other indices, the carried voltages are still those of the deviation alone.
  const auto mixed =
      engine.computeStatistics({{StatisticIndex::LineFundamental}, {StatisticIndex::Deviation}}, kPhaseA);
  EXPECT_EQ(mixed[1].avg, s.avg);
  EXPECT_EQ(mixed[1].max, s.max);
}

TEST_F(StatisticsEngineTest, DeviationAtTheLowVoltageLevel) {
  // UN = 0: every value is 0, and a record passes exactly when its voltage is above 0.
  store.nominalVoltage = 0;
  records({230.0f, 0.0f, 0.04f, 1.0f}, [](MeasurementRecord& r, float v) { setWyeVoltages(r, v, v, v); });
  const StatisticRecord s = compute(StatisticIndex::Deviation, kPhaseA);
  EXPECT_EQ(s.max, 0.0f);
  EXPECT_EQ(s.avg, 0.0f);
  EXPECT_EQ(s.passRate, 50.0f);  // 0.04 is below the line-voltage threshold: U = 0
  EXPECT_EQ(limits.deviationLimitText, "7%~-10%");
  EXPECT_EQ(compute(StatisticIndex::Fluctuation, kPhaseA).max, 0.0f);
}

TEST_F(StatisticsEngineTest, FluctuationAndUnbalance) {
  store.nominalVoltage = 10;
  records({10.5f, 0.04f}, [](MeasurementRecord& r, float high) {
    r.setValue(cells::ubMax, high);
    r.setValue(cells::ubMin, 10.0f);
    r.setValue(cells::uPositive, 50.0f);
    r.setValue(cells::uNegative, high == 10.5f ? 1.0f : 1.5f);
  });
  const StatisticRecord fluctuation = compute(StatisticIndex::Fluctuation, kPhaseB);
  EXPECT_FLOAT_EQ(fluctuation.max, 5.0f);  // (10.5 - 10) / 10 x 100
  EXPECT_EQ(fluctuation.min, 0.0f);
  EXPECT_TRUE(std::isnan(fluctuation.passRate));
  const StatisticRecord unbalance = compute(StatisticIndex::Unbalance, kPhaseB);
  EXPECT_FLOAT_EQ(unbalance.max, 3.0f);
  EXPECT_FLOAT_EQ(unbalance.min, 2.0f);
  EXPECT_EQ(unbalance.passRate, 50.0f);  // exactly 2 % passes
}

TEST_F(StatisticsEngineTest, FrequencyDeviation) {
  records({50.3f, 49.9f, 50.0f}, [](MeasurementRecord& r, float v) { r.setValue(cells::frequency, v); });
  StatisticRecord s = compute(StatisticIndex::FrequencyDeviation, kPhaseA);
  EXPECT_EQ(s.max, 50.3f - 50.0f);
  EXPECT_EQ(s.min, 0.0f);
  EXPECT_EQ(s.passRate, static_cast<float>(2.0 / 3 * 100));

  store.clear();
  records({50.2f, 49.8f, 50.1f}, [](MeasurementRecord& r, float v) { r.setValue(cells::frequency, v); });
  s = compute(StatisticIndex::FrequencyDeviation, kPhaseA);
  EXPECT_EQ(s.max, 50.2f - 50.0f);  // 0.2000008: ties go to the positive side
  EXPECT_EQ(s.passRate, static_cast<float>(1.0 / 3 * 100));
}

}  // namespace
}  // namespace pq
