#include "history/TrendQueries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class TrendQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override { store.resetDefaults(); }
  // A record a minute after the previous one, with the given cells.
  MeasurementRecord& add(std::initializer_list<std::pair<int, float>> values, int wiringMode = 1) {
    const int minute = store.recordCount();
    MeasurementRecord& record = test::appendRecord(store, 2010, 4, 19, 15, minute, 0, wiringMode);
    for (const auto& [cell, value] : values) record.setValue(cell, value);
    return record;
  }
  static void expectAxis(const TrendResult& result, double lower, double upper) {
    EXPECT_NEAR(result.axis.lower, lower, 1e-5);
    EXPECT_NEAR(result.axis.upper, upper, 1e-5);
  }

  RecordStore store;
  IndexRange all{0, 86400};  // cut to the records in use
};

TEST_F(TrendQueriesTest, HarmonicTitlesAndUnits) {
  add({});
  EXPECT_EQ(queryHarmonicTrend(store, all, Ua, 0).title, "Ua 总畸变率趋势曲线");
  EXPECT_EQ(queryHarmonicTrend(store, all, Ua, 0).valueTitle, "Ua 总畸变率%");
  EXPECT_EQ(queryHarmonicTrend(store, all, Ib, 1).title, "Ib  基波有效值趋势曲线");
  EXPECT_EQ(queryHarmonicTrend(store, all, Ib, 1).valueTitle, "Ib 基波有效值(A)");
  EXPECT_EQ(queryHarmonicTrend(store, all, Uc, 1).valueTitle, "Uc 基波有效值V");
  EXPECT_EQ(queryHarmonicTrend(store, all, Ua, 64).valueTitle, "Ua 64次谐波畸变率%");
  store.ptRatio = 10;
  EXPECT_EQ(queryHarmonicTrend(store, all, Ua, 1).valueTitle, "Ua 基波有效值KV");
}

TEST_F(TrendQueriesTest, HarmonicContentNeedsAFundamental) {
  add({{cells::harmonic(Ua, 1), 100}, {cells::harmonic(Ua, 5), 3}});
  add({{cells::harmonic(Ua, 1), 0.04f}, {cells::harmonic(Ua, 5), 3}});
  const TrendResult result = queryHarmonicTrend(store, all, Ua, 5);
  ASSERT_EQ(result.curves.size(), 1u);
  EXPECT_THAT(result.curves[0].values, ElementsAre(3.0, 0.0));
  expectAxis(result, 0, 3 * 1.05);
  EXPECT_EQ(result.firstIndex, 0);
}

TEST_F(TrendQueriesTest, HarmonicAxisRules) {
  add({{cells::harmonic(Ia, 1), 10}, {cells::harmonic(Ia, 2), 0.04f}});
  add({{cells::harmonic(Ia, 1), 10}, {cells::harmonic(Ia, 3), 0.03f}});
  expectAxis(queryHarmonicTrend(store, all, Ia, 0), -0.05, 0.5);  // THD below 0.5 everywhere
  expectAxis(queryHarmonicTrend(store, all, Ia, 1), 10 * 0.95, 10 * 1.05);
}

TEST_F(TrendQueriesTest, ComponentValuesAndUnits) {
  struct Case {
    int choice;
    float stored;
    double plotted;
    const char* title;
    const char* unit;
  };
  const Case cases[] = {
      {0, 0.00004f, 0, "零序电压分量变化曲线图", "单位:V"},
      {1, 0.00006f, 0.00006f, "正序电压分量变化曲线图", "单位:V"},
      {2, -3, 0, "负序电压分量变化曲线图", "单位:V"},
      {3, 0.000009f, 0, "零序电流分量变化曲线图", "单位：A"},
      {5, 0.00002f, 0.00002f, "负序电流分量变化曲线图", "单位：A"},
      {6, 0, 50, "频率变化曲线图", "单位：Hz"},
      {6, 60.5f, 50, "频率变化曲线图", "单位：Hz"},
      {6, 59.5f, 59.5f, "频率变化曲线图", "单位：Hz"},
  };
  const int cellOf[] = {cells::uZero,     cells::uPositive, cells::uNegative, cells::iZero,
                        cells::iPositive, cells::iNegative, cells::frequency};
  for (const auto& c : cases) {
    store.clear();
    add({{cellOf[c.choice], c.stored}});
    const TrendResult result = queryComponentTrend(store, all, c.choice);
    EXPECT_EQ(result.title, c.title);
    EXPECT_EQ(result.valueTitle, c.unit);
    EXPECT_THAT(result.curves[0].values, ElementsAre(c.plotted)) << c.choice << " " << c.stored;
  }
}

TEST_F(TrendQueriesTest, ComponentAxisRules) {
  add({{cells::frequency, 49.98f}, {cells::uPositive, 5.8f}});
  add({{cells::frequency, 50.02f}, {cells::uPositive, 6.0f}});
  add({{cells::frequency, 0}, {cells::uPositive, 0.4f}});  // plots as 50
  expectAxis(queryComponentTrend(store, all, kFrequencyChoice), 49.96, 50.04);
  expectAxis(queryComponentTrend(store, all, 1), 0.4 * 0.95, 6.0 * 1.05);
  expectAxis(queryComponentTrend(store, all, 0), -0.05, 0.5);
}

TEST_F(TrendQueriesTest, DeviationOfFourAndThreeWireRecords) {
  store.nominalVoltage = 10;
  add({{cells::uaRms, 5.7735f}, {cells::ubRms, 5.7735f}, {cells::ucRms, 5.7735f}}, 1);
  add({{cells::uaRms, 10.5f}, {cells::ubRms, 9.5f}, {cells::ucRms, 0.04f}}, 3);
  add({{cells::uaRms, 0.04f}, {cells::ubRms, 5.7735f}}, 1);  // a four-wire phase at zero plots 0
  add({{cells::uaRms, 11.0f}}, 7);                           // neither mode: the RMS value is taken as it is
  const TrendResult result = queryDeviationTrend(store, all, {true, true, true});
  ASSERT_EQ(result.curves.size(), 3u);
  const auto& a = result.curves[0].values;
  ASSERT_EQ(a.size(), 4u);
  EXPECT_NEAR(a[0], 0, 1e-3);
  EXPECT_NEAR(a[1], 5, 1e-5);
  EXPECT_EQ(a[2], 0);
  EXPECT_NEAR(a[3], 10, 1e-5);
  EXPECT_NEAR(result.curves[1].values[1], -5, 1e-5);
  EXPECT_EQ(result.curves[2].values[1], 0);  // Uc below 0.05 V: no deviation
  // Phase B of the third record: Ub with Uc at 0 gives Ub itself, the lowest deviation.
  const double lowest = (static_cast<double>(5.7735f) - 10) / 10 * 100;
  EXPECT_NEAR(result.curves[1].values[2], lowest, 1e-9);
  expectAxis(result, lowest * 1.05, 10 * 1.05);
}

TEST_F(TrendQueriesTest, DeviationAxisAndHiddenPhases) {
  store.nominalVoltage = 10;
  add({{cells::uaRms, 10.01f}, {cells::ubRms, 9.0f}, {cells::ucRms, 10.0f}}, 3);
  const TrendResult onlyA = queryDeviationTrend(store, all, {true, false, false});
  EXPECT_TRUE(onlyA.curves[0].shown);
  EXPECT_FALSE(onlyA.curves[1].shown);
  EXPECT_TRUE(onlyA.curves[1].values.empty());
  expectAxis(onlyA, -0.5, 0.5);
  expectAxis(queryDeviationTrend(store, all, {false, false, false}), 0, 0);
  store.nominalVoltage = 0;  // no nominal voltage: no deviation
  const TrendResult noNominal = queryDeviationTrend(store, all, {true, true, true});
  EXPECT_THAT(noNominal.curves[1].values, ElementsAre(0.0));
  expectAxis(noNominal, -0.5, 0.5);
}

TEST_F(TrendQueriesTest, PowerCaptionsTitlesAndUnits) {
  add({});
  store.ptRatio = 10;
  const std::array<bool, 4> ticks{true, false, false, false};
  const TrendResult active = queryPowerTrend(store, all, PowerQuantity::Active, ticks);
  EXPECT_THAT(active.captions, ElementsAre("A相有功功率", "B相有功功率", "C相有功功率", "三相总有功"));
  EXPECT_EQ(active.title, "有功功率趋势曲线");
  EXPECT_EQ(active.valueTitle, "单位:KW");
  const TrendResult reactive = queryPowerTrend(store, all, PowerQuantity::Reactive, ticks);
  EXPECT_THAT(reactive.captions, ElementsAre("A相无功功率", "B相无功功率", "C相无功功率", "三相总无功"));
  EXPECT_EQ(reactive.title, "无功功率趋势曲线");
  EXPECT_EQ(reactive.valueTitle, "单位:KVar");
  const TrendResult factor = queryPowerTrend(store, all, PowerQuantity::Factor, ticks);
  EXPECT_THAT(factor.captions, ElementsAre("A相功率因数", "B相功率因数", "C相功率因数", "三相总功率因数"));
  EXPECT_EQ(factor.title, "功率因数趋势曲线");
  EXPECT_EQ(factor.valueTitle, "");
}

TEST_F(TrendQueriesTest, ActivePowerAveragesAndAxis) {
  add({{cells::pA, 1}, {cells::pB, 2}, {cells::pC, 0.04f}});
  add({{cells::pA, 3}, {cells::pB, -0.03f}, {cells::pC, 0.02f}});
  const TrendResult total = queryPowerTrend(store, all, PowerQuantity::Active, {false, false, false, true});
  EXPECT_TRUE(total.curves[0].values.empty());
  ASSERT_EQ(total.curves[3].values.size(), 2u);
  EXPECT_NEAR(total.curves[3].values[0], 3.04, 1e-5);
  EXPECT_NEAR(total.curves[3].values[1], 2.99, 1e-5);
  EXPECT_THAT(total.averages, Optional(ElementsAre("0.0000W", "0.0000W", "0.0000W", "3.0150W")));
  expectAxis(total, -0.5, 3.04 * 1.05);

  const TrendResult phases = queryPowerTrend(store, all, PowerQuantity::Active, {true, true, true, false});
  EXPECT_THAT(phases.curves[1].values, ElementsAre(2.0, 0.0));  // -0.03 is below 0.05 in magnitude
  EXPECT_THAT(phases.averages, Optional(ElementsAre("2.0000W", "1.0000W", "0.0000W", "0.0000W")));

  store.record(0).setValue(cells::pA, -2);
  expectAxis(queryPowerTrend(store, all, PowerQuantity::Active, {true, false, false, false}), -2 * 1.05,
             3 * 1.05);
}

TEST_F(TrendQueriesTest, ReactiveAndFactorAxes) {
  add({{cells::qA, 4.2f}, {cells::pfA, 0.9f}, {cells::pfTotal, -0.7f}});
  add({{cells::qA, -3.5f}, {cells::pfA, 0.8f}});
  const TrendResult small = queryPowerTrend(store, all, PowerQuantity::Reactive, {true, false, false, false});
  expectAxis(small, std::ceil(-3.5 - 10), std::ceil(4.2 + 2));
  EXPECT_FALSE(small.averages.has_value());
  store.record(0).setValue(cells::qA, 25);
  expectAxis(queryPowerTrend(store, all, PowerQuantity::Reactive, {true, false, false, false}), -13, 35);
  const TrendResult factor = queryPowerTrend(store, all, PowerQuantity::Factor, {false, false, false, true});
  EXPECT_NEAR(factor.curves[3].values[0], -0.7, 1e-6);  // the stored total, not a sum
  expectAxis(factor, -1.2, 1.2);
}

TEST_F(TrendQueriesTest, NonFiniteValuesAreGapsAndKeepTheAxisFinite) {
  store.nominalVoltage = 10;
  add({{cells::frequency, kNaN}, {cells::harmonic(Ua, 1), kNaN}, {cells::uaRms, kInf}, {cells::pA, kNaN}});
  add({{cells::frequency, 50}, {cells::harmonic(Ua, 1), 2}, {cells::uaRms, 10}, {cells::pA, kInf}});
  const TrendResult results[] = {
      queryHarmonicTrend(store, all, Ua, 1), queryHarmonicTrend(store, all, Ua, 0),
      queryComponentTrend(store, all, kFrequencyChoice), queryDeviationTrend(store, all, {true, true, true}),
      queryPowerTrend(store, all, PowerQuantity::Active, {true, false, false, true})};
  for (const TrendResult& result : results) {
    EXPECT_TRUE(std::isfinite(result.axis.lower) && std::isfinite(result.axis.upper)) << result.title;
    EXPECT_LT(result.axis.lower, result.axis.upper) << result.title;
  }
  EXPECT_TRUE(std::isnan(results[0].curves[0].values[0]));
  EXPECT_EQ(results[0].curves[0].values[1], 2);
  EXPECT_EQ(results[2].curves[0].values[1], 50);
  EXPECT_THAT(results[4].averages, Optional(ElementsAre("0.0000W", "0.0000W", "0.0000W", "0.0000W")));
}

TEST_F(TrendQueriesTest, AnEmptyRangeGivesTheInitialAxisAndNoPoints) {
  add({{cells::frequency, 50}, {cells::qA, 20}});
  const IndexRange none{0, 0};
  const TrendResult results[] = {
      queryHarmonicTrend(store, none, Ua, 0),
      queryComponentTrend(store, none, kFrequencyChoice),
      queryDeviationTrend(store, none, {true, true, true}),
      queryPowerTrend(store, none, PowerQuantity::Active, {true, true, true, true}),
      queryPowerTrend(store, none, PowerQuantity::Reactive, {true, true, true, true}),
      queryPowerTrend(store, none, PowerQuantity::Factor, {true, true, true, true})};
  const AxisRange initial[] = {{0, 10}, {0, 0}, {0, 0}, {0, 0}, {0, 100}, {-1.2, 1.2}};
  for (int page = 0; page < 6; ++page) {
    EXPECT_EQ(results[page].axis, initial[page]) << page;
    for (const auto& curve : results[page].curves) EXPECT_TRUE(curve.values.empty());
    EXPECT_FALSE(results[page].averages.has_value());
  }
}

TEST_F(TrendQueriesTest, ARangeIsCutToTheRecordsInUse) {
  add({{cells::frequency, 50}});
  add({{cells::frequency, 51}});
  store.deleteRange(0, 2);
  // A range kept from before the deletion reaches no deleted record.
  EXPECT_TRUE(queryComponentTrend(store, {0, 2}, kFrequencyChoice).curves[0].values.empty());
  add({{cells::frequency, 52}});
  add({{cells::frequency, 53}});
  const TrendResult result = queryComponentTrend(store, {1, 5}, kFrequencyChoice);
  EXPECT_EQ(result.firstIndex, 1);
  EXPECT_THAT(result.curves[0].values, ElementsAre(53.0));
  EXPECT_TRUE(queryComponentTrend(store, {-3, 0}, kFrequencyChoice).curves[0].values.empty());
}

TEST(DeviationAxisLabel, GroupedWithUpToThreeDecimals) {
  EXPECT_EQ(deviationAxisLabel(0), "0%");
  EXPECT_EQ(deviationAxisLabel(0.5), "0.5%");
  EXPECT_EQ(deviationAxisLabel(-2.25), "-2.25%");
  EXPECT_EQ(deviationAxisLabel(1.23456), "1.235%");
  EXPECT_EQ(deviationAxisLabel(1234.5), "1,234.5%");
  EXPECT_EQ(deviationAxisLabel(-1234567), "-1,234,567%");
  EXPECT_EQ(deviationAxisLabel(100), "100%");
}

}  // namespace
}  // namespace pq
