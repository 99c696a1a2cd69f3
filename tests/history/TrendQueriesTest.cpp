#include "history/TrendQueries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "aggregation/AggregatedQuantities.h"
#include "history/TrendIntervals.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "timerange/EpochSeconds.h"

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
    TrendIndex index = TrendIndex::None;  // the assessment's limits that apply
  };
  const Case cases[] = {
      {0, 0.00004f, 0, "零序电压分量变化曲线图", "单位:V"},
      {1, 0.00006f, 0.00006f, "正序电压分量变化曲线图", "单位:V"},
      {2, -3, 0, "负序电压分量变化曲线图", "单位:V", TrendIndex::NegativeSequenceVoltage},
      {3, 0.000009f, 0, "零序电流分量变化曲线图", "单位：A"},
      {5, 0.00002f, 0.00002f, "负序电流分量变化曲线图", "单位：A"},
      {6, 0, 50, "频率变化曲线图", "单位：Hz", TrendIndex::Frequency},
      {6, 60.5f, 50, "频率变化曲线图", "单位：Hz", TrendIndex::Frequency},
      {6, 59.5f, 59.5f, "频率变化曲线图", "单位：Hz", TrendIndex::Frequency},
  };
  const int cellOf[] = {cells::uZero,     cells::uPositive, cells::uNegative, cells::iZero,
                        cells::iPositive, cells::iNegative, cells::frequency};
  for (const auto& c : cases) {
    store.clear();
    add({{cellOf[c.choice], c.stored}});
    const TrendResult result = queryComponentTrend(store, all, c.choice);
    EXPECT_EQ(result.title, c.title);
    EXPECT_EQ(result.valueTitle, c.unit);
    EXPECT_EQ(result.index, c.index) << c.choice;
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
  EXPECT_EQ(result.index, TrendIndex::VoltageDeviation);
  EXPECT_EQ(result.wiringMode, 1) << "of the first record";
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
  EXPECT_TRUE(queryComponentTrend(store, IndexRange{0, 2}, kFrequencyChoice).curves[0].values.empty());
  add({{cells::frequency, 52}});
  add({{cells::frequency, 53}});
  const TrendResult result = queryComponentTrend(store, IndexRange{1, 5}, kFrequencyChoice);
  EXPECT_EQ(result.firstIndex, 1);
  EXPECT_THAT(result.curves[0].values, ElementsAre(53.0));
  EXPECT_TRUE(queryComponentTrend(store, IndexRange{-3, 0}, kFrequencyChoice).curves[0].values.empty());
}

// Two records in the minute 15:00 and one in 15:01, with distinct values in every cell a page draws.
class AggregatedTrendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.resetDefaults();
    store.nominalVoltage = 57;
    struct Row {
      int minute, second;
      float ua, ub, uc, frequency, pa, pb, pc, qa, fundamental, fifth;
    };
    const Row rows[] = {{0, 10, 57.1f, 58.3f, 56.2f, 49.96f, 12.5f, 3.25f, 7.5f, 1.25f, 100, 3},
                        {0, 40, 58.3f, 57.7f, 57.9f, 50.02f, 13.75f, 3.5f, 7.25f, 2.5f, 50, 2},
                        {1, 5, 56.9f, 56.4f, 58.8f, 50.07f, 11.875f, 4.0f, 6.5f, 3.0f, 80, 4}};
    for (const Row& r : rows) {
      MeasurementRecord& record = test::appendRecord(store, 2010, 4, 19, 15, r.minute, r.second);
      const std::pair<int, float> cellsOfRow[] = {
          {cells::uaRms, r.ua}, {cells::ubRms, r.ub}, {cells::ucRms, r.uc}, {cells::frequency, r.frequency},
          {cells::pA, r.pa},    {cells::pB, r.pb},    {cells::pC, r.pc},    {cells::qA, r.qa},
          {cells::harmonic(Ua, 1), r.fundamental},  {cells::harmonic(Ua, 5), r.fifth}};
      for (const auto& [cell, value] : cellsOfRow) record.setValue(cell, value);
    }
  }
  TrendSource source(TrendResolution resolution) { return intervals.source(store, {0, 3}, resolution); }
  static double rms(std::initializer_list<double> values) {
    double sum = 0;
    for (const double v : values) sum += v * v;
    return std::sqrt(sum / static_cast<double>(values.size()));
  }

  RecordStore store;
  TrendIntervals intervals;
};

TEST_F(AggregatedTrendTest, OneMinuteValuesStandAtTheirMinutes) {
  const std::int64_t minute0 = epochSeconds({2010, 4, 19, 15, 0, 0});
  const TrendResult frequency = queryComponentTrend(store, source(TrendResolution::OneMinute), kFrequencyChoice);
  EXPECT_THAT(frequency.times, ElementsAre(minute0, minute0 + 60));
  ASSERT_EQ(frequency.curves[0].values.size(), 2u);
  EXPECT_NEAR(frequency.curves[0].values[0], (49.96 + 50.02) / 2, 1e-5);  // frequency: the mean
  EXPECT_NEAR(frequency.curves[0].values[1], 50.07, 1e-5);
  EXPECT_EQ(frequency.title, "频率变化曲线图");

  // Harmonic contents 3 % and 4 % in the first minute: their root mean square.
  const TrendResult fifth = queryHarmonicTrend(store, source(TrendResolution::OneMinute), Ua, 5);
  ASSERT_EQ(fifth.curves[0].values.size(), 2u);
  EXPECT_NEAR(fifth.curves[0].values[0], std::sqrt((9.0 + 16.0) / 2), 1e-5);
  EXPECT_NEAR(fifth.curves[0].values[1], 5.0, 1e-5);
  const TrendResult fundamental = queryHarmonicTrend(store, source(TrendResolution::OneMinute), Ua, 1);
  EXPECT_NEAR(fundamental.curves[0].values[0], rms({100, 50}), 1e-4);
}

TEST_F(AggregatedTrendTest, PowerAveragesWeighEachMinuteByItsRecords) {
  const TrendResult active = queryPowerTrend(store, source(TrendResolution::OneMinute), PowerQuantity::Active,
                                             {true, true, true, true});
  ASSERT_EQ(active.curves.size(), 4u);
  EXPECT_THAT(active.curves[0].values, ElementsAre(13.125, 11.875));
  EXPECT_THAT(active.curves[1].values, ElementsAre(3.375, 4.0));
  EXPECT_THAT(active.curves[2].values, ElementsAre(7.375, 6.5));
  EXPECT_THAT(active.curves[3].values, ElementsAre(23.875, 22.375));
  // The averages of the three records, not of the two minutes.
  ASSERT_TRUE(active.averages.has_value());
  EXPECT_EQ((*active.averages)[0], "12.7083W");
  EXPECT_EQ((*active.averages)[1], "3.5833W");
  EXPECT_EQ((*active.averages)[3], "23.3750W");
  const TrendResult reactive = queryPowerTrend(store, source(TrendResolution::TenMinutes),
                                               PowerQuantity::Reactive, {true, false, false, false});
  EXPECT_THAT(reactive.curves[0].values, ElementsAre((1.25 + 2.5 + 3.0) / 3));
}

TEST_F(AggregatedTrendTest, DeviationFromTheAggregatedVoltagesOfTheWiring) {
  // Four-wire records: phase A is drawn from Ua and Ub, B from Ub and Uc.
  const double ua = rms({57.1, 58.3, 56.9});
  const double ub = rms({58.3, 57.7, 56.4});
  const double uc = rms({56.2, 57.9, 58.8});
  const TrendResult result =
      queryDeviationTrend(store, source(TrendResolution::TenMinutes), {true, true, false});
  ASSERT_EQ(result.curves[0].values.size(), 1u);
  EXPECT_NEAR(result.curves[0].values[0], (std::sqrt(ua * ua + ub * ub + ua * ub) - 57) / 57 * 100, 1e-4);
  EXPECT_NEAR(result.curves[1].values[0], (std::sqrt(ub * ub + uc * uc + ub * uc) - 57) / 57 * 100, 1e-4);
  EXPECT_TRUE(result.curves[2].values.empty());
  EXPECT_EQ(result.times.size(), 1u);
}

TEST_F(AggregatedTrendTest, MinutesWithoutRecordsAreAGapNotALine) {
  // A fourth record at 15:04:20: minutes 2 and 3 hold none.
  test::appendRecord(store, 2010, 4, 19, 15, 4, 20).setValue(cells::frequency, 49.91f);
  const std::int64_t minute0 = epochSeconds({2010, 4, 19, 15, 0, 0});
  const TrendResult frequency =
      queryComponentTrend(store, intervals.source(store, {0, 4}, TrendResolution::OneMinute), kFrequencyChoice);
  EXPECT_THAT(frequency.times, ElementsAre(minute0, minute0 + 60, minute0 + 120, minute0 + 240));
  ASSERT_EQ(frequency.curves[0].values.size(), 4u);
  EXPECT_TRUE(std::isnan(frequency.curves[0].values[2]));
  EXPECT_NEAR(frequency.curves[0].values[3], 49.91, 1e-5);
}

TEST_F(AggregatedTrendTest, RecordsStayTheDefault) {
  const TrendResult result = queryComponentTrend(store, source(TrendResolution::Records), kFrequencyChoice);
  EXPECT_TRUE(result.times.empty());
  EXPECT_EQ(result.curves[0].values.size(), 3u);
  // An empty range has no intervals either: the page's initial state.
  const TrendResult none = queryComponentTrend(
      store, intervals.source(store, {3, 3}, TrendResolution::OneMinute), kFrequencyChoice);
  EXPECT_TRUE(none.curves[0].values.empty());
  EXPECT_TRUE(none.times.empty());
}

// A series as a survey keeps it: 1-minute intervals at 8:00, 8:01, 8:02, none from 8:03 to 8:05
// (the time between two files), then 8:06 and 8:07; the voltages, frequency and phase A's power, but
// no harmonic contents.
class IntervalSliceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.resetDefaults();
    store.nominalVoltage = 100;
    series.quantities = {cellQuantity(cells::uaRms), cellQuantity(cells::ubRms), cellQuantity(cells::ucRms),
                         cellQuantity(cells::frequency), cellQuantity(cells::pA)};
    const int minutes[] = {0, 1, 2, 6, 7};
    const int records[] = {60, 60, 31, 47, 60};
    const double ua[] = {101.5, 98.25, 102.75, kNaN, 99.5};  // a minute without a value at 8:06
    const double pa[] = {12.5, 13.25, 11.75, 14.5, 10.25};
    for (int k = 0; k < 5; ++k) {
      series.intervals.push_back({t0 + 60 * minutes[k], records[k], false, false});
      for (const double v : {ua[k], ua[k], ua[k], 50.01 + 0.01 * k, pa[k]})
        series.values.push_back({v, v, v});
    }
  }
  TrendSource slice(std::int64_t from, std::int64_t to) const {
    return TrendSource::between(series, 3, 60, from, to);
  }
  static bool gap(double value) { return std::isnan(value); }

  const std::int64_t t0 = epochSeconds({2010, 4, 19, 8, 0, 0});
  RecordStore store;
  AggregatedSeries series;
};

TEST_F(IntervalSliceTest, TheTimeBetweenTwoIntervalsIsOneGapInEveryCurve) {
  const TrendSource whole = slice(t0, t0 + 7 * 60);
  const TrendResult frequency = queryComponentTrend(store, whole, kFrequencyChoice);
  // One gap point, one minute after the last interval before the time without values.
  EXPECT_THAT(frequency.times, ElementsAre(t0, t0 + 60, t0 + 120, t0 + 180, t0 + 360, t0 + 420));
  const auto& f = frequency.curves[0].values;
  ASSERT_EQ(f.size(), 6u);
  EXPECT_NEAR(f[2], 50.03, 1e-9);
  EXPECT_TRUE(gap(f[3]));
  EXPECT_NEAR(f[4], 50.04, 1e-9);

  // Three-wire voltages are line voltages: (101.5 - 100) / 100 at 8:00. The gap and the minute
  // without a voltage are gaps, not a deviation of 0.
  const TrendResult deviation = queryDeviationTrend(store, whole, {true, false, false});
  const auto& d = deviation.curves[0].values;
  ASSERT_EQ(d.size(), 6u);
  EXPECT_NEAR(d[0], 1.5, 1e-9);
  EXPECT_NEAR(d[1], -1.75, 1e-9);
  EXPECT_TRUE(gap(d[3]));
  EXPECT_TRUE(gap(d[4]));
  EXPECT_NEAR(d[5], -0.5, 1e-9);

  // The gap weighs nothing in the averages: (12.5*60 + 13.25*60 + 11.75*31 + 14.5*47 + 10.25*60) / 258.
  const TrendResult power = queryPowerTrend(store, whole, PowerQuantity::Active, {true, false, false, false});
  EXPECT_TRUE(gap(power.curves[0].values[3]));
  EXPECT_EQ((*power.averages)[0], "12.4254W");
  EXPECT_FALSE(power.unkept);
}

TEST_F(IntervalSliceTest, ATimeRangeTakesTheIntervalsHoldingAMomentOfIt) {
  struct Case {
    std::int64_t from, to;
    std::vector<std::int64_t> times;
  };
  const Case cases[] = {
      {t0 + 60, t0 + 120, {t0 + 60, t0 + 120}},  // both ends included; 8:00 ends as 8:01 begins
      {t0 + 61, t0 + 359, {t0 + 60, t0 + 120}},  // the interval holding `from`; no gap after the last
      {t0 + 100, t0 + 400, {t0 + 60, t0 + 120, t0 + 180, t0 + 360}},  // a gap inside the range
      {t0 + 180, t0 + 300, {}},                                       // only the time without values
      {t0 - 600, t0 + 59, {t0}},
      {t0 + 420, t0 + 99999, {t0 + 420}},
      {t0 + 120, t0 + 60, {}},  // an end before its start
  };
  for (const Case& c : cases) {
    const TrendResult result = queryComponentTrend(store, slice(c.from, c.to), kFrequencyChoice);
    EXPECT_EQ(result.times, c.times) << c.from - t0 << ".." << c.to - t0;
    EXPECT_EQ(result.curves[0].values.size(), c.times.size());
  }
  // The slice's own values, not the series' first ones.
  const TrendResult last = queryComponentTrend(store, slice(t0 + 400, t0 + 400), kFrequencyChoice);
  EXPECT_THAT(last.curves[0].values, ElementsAre(::testing::DoubleNear(50.04, 1e-9)));
}

TEST_F(IntervalSliceTest, AQuantityTheSeriesDoesNotKeepIsSaid) {
  const TrendSource whole = slice(t0, t0 + 7 * 60);
  const TrendResult content = queryHarmonicTrend(store, whole, Ua, 5);
  EXPECT_TRUE(content.unkept);
  for (const double v : content.curves[0].values) EXPECT_TRUE(gap(v));
  EXPECT_FALSE(queryComponentTrend(store, whole, kFrequencyChoice).unkept);
  // Records are no series: nothing is unkept.
  EXPECT_FALSE(queryHarmonicTrend(store, IndexRange{0, 1}, Ua, 5).unkept);
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

// The curves of every trend page over three records whose cells all differ from each other and from the
// other records' (the store's fixture; record 1 three-wire, records 0 and 2 four-wire, nominal 10 kV), so
// that a curve reading a neighbouring cell, a phase paired with the wrong partner or a total summing the
// wrong cells fails. The expected values were worked out from the fixture's values by the pages' rules.
struct HarmonicCurve {
  int channel;
  int item;
  double values[3];
};
constexpr HarmonicCurve kHarmonicCurves[] = {
    {0, 0, {24.76730725264232, 24.796219539527335, 24.824889771543404}},
    {0, 1, {5.730076313018799, 5.743049144744873, 5.756021976470947}},
    {0, 2, {0.19839526669280222, 0.2096638910336783, 0.2208817212782302}},
    {0, 3, {0.2802772596912117, 0.2913609066059772, 0.30239459322284107}},
    {0, 4, {0.36215922018315794, 0.37305793839479373, 0.38564480552474545}},
    {0, 5, {0.4440412131815674, 0.454754937750575, 0.46715770982929444}},
    {0, 6, {0.5259231736735137, 0.5364519695393916, 0.5486705817739054}},
    {0, 7, {0.6078051991783864, 0.618149001328208, 0.6301835184383925}},
    {0, 8, {0.6896871596703327, 0.7015872654764632, 0.7116963903830034}},
    {0, 9, {0.771569120162279, 0.7832842648322446, 0.7932092623276142}},
    {0, 10, {0.8534510806542251, 0.8649812641880258, 0.8747221342722251}},
    {0, 11, {0.9370782481435845, 0.9466783284098775, 0.9562350709367122}},
    {0, 12, {1.018960273648457, 1.0283753277656589, 1.037747942881323}},
    {0, 13, {1.100842169127477, 1.1100723919875106, 1.11926087954581}},
    {0, 14, {1.182724259645276, 1.1917693913432919, 1.200773751490421}},
    {0, 15, {1.2646062201372223, 1.273466390699073, 1.282286623435032}},
    {0, 16, {1.3464881806291686, 1.3551633900548545, 1.3637994953796428}},
    {0, 17, {1.428370141121115, 1.4368603894106358, 1.4470497076815472}},
    {0, 18, {1.5102521016130612, 1.5185573887664172, 1.5285625796261582}},
    {0, 19, {1.5921340621050075, 1.6002545178543393, 1.610075451570769}},
    {0, 20, {1.6740161526228066, 1.6836926522704536, 1.6915884529551324}},
    {0, 21, {1.7558981131147529, 1.7653897813583757, 1.7731013248997431}},
    {0, 22, {1.8377800736066991, 1.8470867807141569, 1.8546141968443541}},
    {0, 23, {1.9214072410960585, 1.9287837800699383, 1.936127068788965}},
    {0, 24, {2.0032892015880046, 2.01048077942572, 2.017639940733576}},
    {0, 25, {2.085171162079951, 2.092177778781501, 2.0991528126781867}},
    {0, 26, {2.167053122571897, 2.1738747781372822, 2.18066581406255}},
    {0, 27, {2.2489352130896965, 2.2555717774930635, 2.262178686007161}},
    {0, 28, {2.3308171735816425, 2.3372687768488447, 2.343691557951772}},
    {0, 29, {2.412699134073589, 2.4189657762046264, 2.426941770253676}},
    {0, 30, {2.494581094565535, 2.500663035024689, 2.508454642198287}},
    {0, 31, {2.5764630550574816, 2.5823600343804705, 2.589967514142898}},
    {0, 32, {2.6583450155494277, 2.6657982985287254, 2.671480386087509}},
    {0, 33, {2.7402269760413738, 2.7474952978845066, 2.7529932580321197}},
    {0, 34, {2.8221089365333203, 2.829192297240288, 2.8345061299767305}},
    {0, 35, {2.9039908970252664, 2.9108892965960695, 2.9160190019213417}},
    {0, 36, {2.987618064514626, 2.9925862959518508, 2.9975318738659524}},
    {0, 37, {3.069500025006572, 3.074283295307632, 3.079045004690068}},
    {0, 38, {3.151381985498518, 3.1559802946634132, 3.160557876634679}},
    {0, 39, {3.23326420604217, 3.237677294019195, 3.24207074857929}},
    {0, 40, {3.3151461665341166, 3.319374293374976, 3.323583620523901}},
    {0, 41, {3.3970281270260627, 3.4010712927307574, 3.4068338328258054}},
    {0, 42, {3.4789100875180092, 3.4827682920865386, 3.488346704770416}},
    {0, 43, {3.5607920480099553, 3.56446529144232, 3.569859576715027}},
    {0, 44, {3.642674008501902, 3.6461625502623827, 3.6513724486596377}},
    {0, 45, {3.724555968993848, 3.7296005549463564, 3.732885320604249}},
    {0, 46, {3.806437929485794, 3.8112978137664193, 3.8143981925488597}},
    {0, 47, {3.8883198899777405, 3.8929948131222005, 3.8959110644934705}},
    {0, 48, {3.9719470574670996, 3.9746918124779818, 3.9774239364380812}},
    {0, 49, {4.053829017959046, 4.056388811833763, 4.058936808382692}},
    {0, 50, {4.135710978450993, 4.138085811189544, 4.140449680327303}},
    {0, 51, {4.217592938942938, 4.2197828105453254, 4.221962811151419}},
    {0, 52, {4.299474899434885, 4.301479809901108, 4.30347568309603}},
    {0, 53, {4.381356859926831, 4.383176809256889, 4.384988555040641}},
    {0, 54, {4.463238820418777, 4.46487380861267, 4.46823850846304}},
    {0, 55, {4.5451207809107235, 4.546570807968451, 4.549751380407651}},
    {0, 56, {4.62700274140267, 4.6282678073242325, 4.631264252352262}},
    {0, 57, {4.7088847018946165, 4.711706330936769, 4.712777124296873}},
    {0, 58, {4.790766662386562, 4.79340333029255, 4.794289996241484}},
    {0, 59, {4.8726491429819205, 4.8751003296483315, 4.875803385945105}},
    {0, 60, {4.956276050419573, 4.956797329004113, 4.957316257889715}},
    {0, 61, {5.03815801091152, 5.038494328359894, 5.038829129834326}},
    {0, 62, {5.120039971403466, 5.120191327715675, 5.120342001778937}},
    {0, 63, {5.201921931895413, 5.201888327071457, 5.201854873723548}},
    {0, 64, {5.2838038923873585, 5.2835853264272385, 5.2833677456681585}},
    {1, 0, {24.697084501502204, 24.725744384241388, 24.754810004426258}},
    {1, 1, {5.800041675567627, 5.813014507293701, 5.826087474822998}},
    {1, 2, {0.228163880960843, 0.2392304420504439, 0.25195983262784155}},
    {1, 3, {0.30905813910374497, 0.3216644283792458, 0.33249241719784867}},
    {1, 4, {0.38995236513230613, 0.40237815581864156, 0.4130250337386279}},
    {1, 5, {0.4708466232752081, 0.48309185121536574, 0.4935576502794072}},
    {1, 6, {0.5517408814181101, 0.5638055466120899, 0.5740902668201864}},
    {1, 7, {0.6343592621746134, 0.6445193060941573, 0.6546228513901935}},
    {1, 8, {0.7152534882031746, 0.7252330014908814, 0.7351554359602006}},
    {1, 9, {0.7961477142317358, 0.8059466968876056, 0.815688084471752}},
    {1, 10, {0.8770420044889785, 0.886660456369673, 0.8962206690417591}},
    {1, 11, {0.9579362305175397, 0.9673741517663972, 0.9767532536117662}},
    {1, 12, {1.0388304565461008, 1.0480878471631212, 1.0590022849945626}},
    {1, 13, {1.119724682574662, 1.1288015425598454, 1.1395348695645697}},
    {1, 14, {1.2006189086032233, 1.209515366127256, 1.2200674541345768}},
    {1, 15, {1.2815132630891477, 1.2902290615239802, 1.3006001665876725}},
    {1, 16, {1.3624074891177087, 1.372663063874118, 1.3811327511576796}},
    {1, 17, {1.44330171514627, 1.4533767592708422, 1.4616653357276868}},
    {1, 18, {1.5241959411748311, 1.5340904546675662, 1.5421979202976939}},
    {1, 19, {1.6068143219313344, 1.6148041500642905, 1.622730504867701}},
    {1, 20, {1.6877085479598957, 1.6955178454610145, 1.703263089437708}},
    {1, 21, {1.7686027739884569, 1.7762315408577387, 1.7837956740077152}},
    {1, 22, {1.8494970000170181, 1.8569453644251492, 1.8643283864608107}},
    {1, 23, {1.9303913545029423, 1.9376590598218735, 1.944860971030818}},
    {1, 24, {2.0112855805315037, 2.0183727552185977, 2.025393555600825}},
    {1, 25, {2.0921798065600647, 2.0990864506153217, 2.1076425869836215}},
    {1, 26, {2.173074161045989, 2.179800146012046, 2.188175299436717}},
    {1, 27, {2.25396838707455, 2.26051384140877, 2.268707884006724}},
    {1, 28, {2.3348626131031116, 2.3429478437589077, 2.349240468576731}},
    {1, 29, {2.4157568391316726, 2.423661539155632, 2.4297730531467385}},
    {1, 30, {2.4966510651602336, 2.504375234552356, 2.5103056377167454}},
    {1, 31, {2.579269445916737, 2.5850889299490802, 2.5908382222867528}},
    {1, 32, {2.6601636719452983, 2.6658026253458047, 2.6713708068567596}},
    {1, 33, {2.7410578979738593, 2.7465165770839017, 2.751903391426767}},
    {1, 34, {2.821952124002421, 2.8272302724806258, 2.832435975996774}},
    {1, 35, {2.902846350030982, 2.9079439678773498, 2.912968560566781}},
    {1, 36, {2.9837405760595432, 2.9886576632740742, 2.993501145136788}},
    {1, 37, {3.0646348020881042, 3.0693713586707982, 3.0757501765195845}},
    {1, 38, {3.1455290281166652, 3.1500850540675223, 3.156282761089592}},
    {1, 39, {3.2264232541452267, 3.2307987494642467, 3.2368153456595987}},
    {1, 40, {3.307317737088514, 3.3132327518143843, 3.3173481859957827}},
    {1, 41, {3.388211963117075, 3.3939464472111083, 3.39788077056579}},
    {1, 42, {3.4691061891456365, 3.4746601426078327, 3.478413355135797}},
    {1, 43, {3.5500004151741975, 3.5553738380045568, 3.5589459397058043}},
    {1, 44, {3.632618795930701, 3.6360875334012808, 3.639478524275811}},
    {1, 45, {3.7135130219592623, 3.7168012287980052, 3.7200111088458185}},
    {1, 46, {3.7944072479878233, 3.7975149241947292, 3.8005436934158254}},
    {1, 47, {3.8753014740163847, 3.8782288759328263, 3.8810762779858328}},
    {1, 48, {3.9561957000449457, 3.9589425713295503, 3.96160886255584}},
    {1, 49, {4.037089926073507, 4.039656266726275, 4.043857893938636}},
    {1, 50, {4.117984152102068, 4.120369962122998, 4.124390478508643}},
    {1, 51, {4.19887837813063, 4.201083657519723, 4.204923063078651}},
    {1, 52, {4.279772604159191, 4.281797352916447, 4.285455647648658}},
    {1, 53, {4.3606670871024775, 4.364231355266584, 4.365988487984842}},
    {1, 54, {4.441561313131039, 4.444945050663309, 4.446521072554849}},
    {1, 55, {4.5224555391596, 4.525658746060033, 4.527053657124856}},
    {1, 56, {4.605073663001377, 4.606372441456757, 4.607586241694863}},
    {1, 57, {4.685967889029938, 4.687086136853481, 4.68811882626487}},
    {1, 58, {4.766862115058499, 4.767799832250206, 4.768651410834877}},
    {1, 59, {4.847756341087061, 4.848513527646929, 4.849183995404885}},
    {1, 60, {4.928650567115622, 4.929227223043654, 4.929716579974891}},
    {1, 61, {5.009544793144183, 5.009940918440378, 5.0102491645448985}},
    {1, 62, {5.090439533002197, 5.090654613837102, 5.092498451693872}},
    {1, 63, {5.171333759030758, 5.171368309233826, 5.173031036263879}},
    {1, 64, {5.252227985059319, 5.252082004630551, 5.253563620833886}},
    {2, 0, {24.629099663532703, 24.65812206079323, 24.687331514232998}},
    {2, 1, {5.870007038116455, 5.883080005645752, 5.896052837371826}},
    {2, 2, {0.2589264359848507, 0.26978894026996736, 0.28060807302902674}},
    {2, 3, {0.33885650514768245, 0.34954139444238974, 0.3601850197118153}},
    {2, 4, {0.4187865425789483, 0.4292938486148122, 0.4397619979859957}},
    {2, 5, {0.49871661174178006, 0.5090462711261804, 0.5193389762601761}},
    {2, 6, {0.5786466809046118, 0.5887987252986028, 0.5989159229429647}},
    {2, 7, {0.6585767183358777, 0.6685511478099709, 0.6784929328085368}},
    {2, 8, {0.7385067557671435, 0.7483036336434475, 0.7597658949484425}},
    {2, 9, {0.8184368566615412, 0.8280560561548157, 0.8393429048140145}},
    {2, 10, {0.898366894092807, 0.907808478666184, 0.9189198514968032}},
    {2, 11, {0.9782969315240729, 0.9892607198554546, 0.9984967981795918}},
    {2, 12, {1.0582270324184704, 1.0690132056889312, 1.078073808045164}},
    {2, 13, {1.1381570698497363, 1.1487656282002994, 1.1576507547279524}},
    {2, 14, {1.2180871072810022, 1.2285180507116675, 1.2372277014107411}},
    {2, 15, {1.299720749020109, 1.3082704732230357, 1.3168046480935298}},
    {2, 16, {1.3796507864513747, 1.3880228957344038, 1.3963815947763183}},
    {2, 17, {1.4595808238826407, 1.4677753182457722, 1.4759586678246739}},
    {2, 18, {1.53951098824017, 1.547527867401357, 1.5555356145074626}},
    {2, 19, {1.6194410256714358, 1.6272802899127252, 1.6351125611902513}},
    {2, 20, {1.6993710631027017, 1.7070327124240936, 1.7163855865129403}},
    {2, 21, {1.7793011005339676, 1.7867851349354618, 1.795962533195729}},
    {2, 22, {1.8592311379652335, 1.86653755744683, 1.8755394798785177}},
    {2, 23, {1.9391611753964995, 1.946289979958198, 1.9551164265613061}},
    {2, 24, {2.019091212827765, 2.0277422211474687, 2.034693373244095}},
    {2, 25, {2.0990213771852946, 2.1074947703030538, 2.1142704462924504}},
    {2, 26, {2.178951287690297, 2.187247192814422, 2.193847266609672}},
    {2, 27, {2.260584929429404, 2.26699961532579, 2.273424213292461}},
    {2, 28, {2.3405149668606695, 2.3467520378371582, 2.353001412706383}},
    {2, 29, {2.420445258144462, 2.4265044603485264, 2.432578359389172}},
    {2, 30, {2.5003752955757284, 2.5062568828598946, 2.5121553060719606}},
    {2, 31, {2.580305333006994, 2.5860093053712627, 2.591732252754749}},
    {2, 32, {2.6602353704382597, 2.665761727882631, 2.671309199437538}},
    {2, 33, {2.740165407869526, 2.7455141503939995, 2.7525822247602267}},
    {2, 34, {2.8200954453007916, 2.8252665729053676, 2.8321591714430157}},
    {2, 35, {2.9000254827320577, 2.905019248705169, 2.911736118125804}},
    {2, 36, {2.9799555201633234, 2.98647148989444, 2.9913130648085926}},
    {2, 37, {3.059885557594589, 3.066223912405808, 3.0708900114913815}},
    {2, 38, {3.1398155950258553, 3.1459763349171763, 3.15046695817417}},
    {2, 39, {3.221449236764962, 3.2257287574285445, 3.2300439048569585}},
    {2, 40, {3.301379274196228, 3.3054811799399126, 3.3096208515397474}},
    {2, 41, {3.3813093116274935, 3.385233602451281, 3.389197798222536}},
    {2, 42, {3.4612393490587596, 3.464986024962649, 3.4687749976364586}},
    {2, 43, {3.5411696403425523, 3.544738447474017, 3.548351944319247}},
    {2, 44, {3.621099677773818, 3.6244908699853853, 3.6279288910020355}},
    {2, 45, {3.701029715205084, 3.7042432924967534, 3.7092019163247247}},
    {2, 46, {3.78095975263635, 3.783995715008122, 3.7887788630075137}},
    {2, 47, {3.8608897900676156, 3.86374813751949, 3.868355809690302}},
    {2, 48, {3.9408198274988817, 3.9452003787087606, 3.9479327563730906}},
    {2, 49, {4.020749864930147, 4.024952801220129, 4.0275097030558795}},
    {2, 50, {4.1006799023614136, 4.10470547701993, 4.107086649738668}},
    {2, 51, {4.180609939792679, 4.184457899531298, 4.1866635964214565}},
    {2, 52, {4.262243835384313, 4.264210068754234, 4.266240543104245}},
    {2, 53, {4.342173872815579, 4.343962491265602, 4.345817489787033}},
    {2, 54, {4.422103910246845, 4.42371491377697, 4.425394436469823}},
    {2, 55, {4.50203394767811, 4.503467336288338, 4.504971383152611}},
    {2, 56, {4.581963985109376, 4.583219758799706, 4.5845483298354}},
    {2, 57, {4.6618940225406424, 4.662972687887942, 4.665821607889223}},
    {2, 58, {4.741824059971908, 4.74272511039931, 4.745398554572011}},
    {2, 59, {4.821754097403174, 4.822477532910678, 4.8249755012548}},
    {2, 60, {4.90168413483444, 4.9022299554220465, 4.904552447937588}},
    {2, 61, {4.981614172265706, 4.983681943322884, 4.9841293946203775}},
    {2, 62, {5.061544209696971, 5.063434365834252, 5.063706341303166}},
    {2, 63, {5.1414742471282375, 5.14318678834562, 5.1432832879859545}},
    {2, 64, {5.223107635014817, 5.222939210856988, 5.222860234668743}},
    {3, 0, {133.91062387722138, 132.76111023136525, 131.6368049977468}},
    {3, 1, {1.4100724458694458, 1.4270453453063965, 1.4440182447433472}},
    {3, 2, {1.515127837996981, 1.558275702026009, 1.6004091225159645}},
    {3, 3, {1.9471552978409432, 1.9851646111444696, 2.0222805352924795}},
    {3, 4, {2.3791826255891997, 2.4120537813121192, 2.4510771855537667}},
    {3, 5, {2.811210085433162, 2.8389428209551744, 2.8729483403494487}},
    {3, 6, {3.243237545277124, 3.2658318605982295, 3.294819753125964}},
    {3, 7, {3.6752650051210862, 3.699728243617619, 3.7166911659024793}},
    {3, 8, {4.107292464965049, 4.126617283260674, 4.138562578678995}},
    {3, 9, {4.539319924809011, 4.553506061854541, 4.560433991455509}},
    {3, 10, {4.97843933890432, 4.980395101497595, 4.982305404232025}},
    {3, 11, {5.410466798748282, 5.40728414114065, 5.4041768170085405}},
    {3, 12, {5.842494258592245, 5.834173180783705, 5.826048229785055}},
    {3, 13, {6.2745217184362065, 6.26106222042676, 6.247919642561571}},
    {3, 14, {6.706549178280169, 6.687951260069815, 6.669791055338086}},
    {3, 15, {7.138576638124131, 7.114840299712871, 7.091662468114601}},
    {3, 16, {7.5706040979680935, 7.541729339355926, 7.520459118375888}},
    {3, 17, {8.002631557812055, 7.968618378998981, 7.942330531152403}},
    {3, 18, {8.434659017656017, 8.395507418642037, 8.364201943928919}},
    {3, 19, {8.86668647749998, 8.829404062710614, 8.786072840743767}},
    {3, 20, {9.298713408961119, 9.256293624452047, 9.20794476948195}},
    {3, 21, {9.730741397187904, 9.683182141996724, 9.629815666296798}},
    {3, 22, {10.162768328649044, 10.110070659541401, 10.051687595034979}},
    {3, 23, {10.601888271127176, 10.536960221282834, 10.473558491849829}},
    {3, 24, {11.033915202588314, 10.963848738827512, 10.89543042058801}},
    {3, 25, {11.4659431908151, 11.390738300568945, 11.317301317402858}},
    {3, 26, {11.89797012227624, 11.817626818113622, 11.739173246141041}},
    {3, 27, {12.329998110503025, 12.244516379855055, 12.16104414295589}},
    {3, 28, {12.762025041964163, 12.671404897399732, 12.589841309178842}},
    {3, 29, {13.194053030190949, 13.098294459141165, 13.01171220599369}},
    {3, 30, {13.626079961652088, 13.525182976685842, 13.433584134731873}},
    {3, 31, {14.058107949878874, 13.952072538427275, 13.855455031546722}},
    {3, 32, {14.490134881340012, 14.385968660397477, 14.277326960284903}},
    {3, 33, {14.922162869566797, 14.812858222138908, 14.699197857099753}},
    {3, 34, {15.354189801027937, 15.239746739683588, 15.121069785837934}},
    {3, 35, {15.793308686740422, 15.666636301425019, 15.542940682652782}},
    {3, 36, {16.22533667496721, 16.093524818969698, 15.964812611390965}},
    {3, 37, {16.657363606428348, 16.52041438071113, 16.386683508205813}},
    {3, 38, {17.089391594655133, 16.947302898255806, 16.808555436943994}},
    {3, 39, {17.52141852611627, 17.37419245999724, 17.230426333758842}},
    {3, 40, {17.953446514343057, 17.801082021738672, 17.65229723057369}},
    {3, 41, {18.385473445804198, 18.22797053928335, 18.081094396796647}},
    {3, 42, {18.817500377265336, 18.654859056828027, 18.502965293611496}},
    {3, 43, {19.249529422257766, 19.081747574372706, 18.924836190426344}},
    {3, 44, {19.681556353718907, 19.51564474053966, 19.346709151087857}},
    {3, 45, {20.113583285180045, 19.94253325808434, 19.768580047902706}},
    {3, 46, {20.545610216641183, 20.369421775629014, 20.190450944717554}},
    {3, 47, {20.984730159119316, 20.796312381567205, 20.612321841532406}},
    {3, 48, {21.416757090580457, 21.22320089911188, 21.03419480219392}},
    {3, 49, {21.848786135572887, 21.65008941665656, 21.456065699008768}},
    {3, 50, {22.28081306703403, 22.076977934201235, 21.877936595823616}},
    {3, 51, {22.712839998495166, 22.503868540139425, 22.299807492638465}},
    {3, 52, {23.144866929956304, 22.9307570576841, 22.721680453299978}},
    {3, 53, {23.576895974948737, 23.35764557522878, 23.150475555676266}},
    {3, 54, {24.008922906409875, 23.784534092773455, 23.572348516337783}},
    {3, 55, {24.440949837871013, 24.211424698711646, 23.99421941315263}},
    {3, 56, {24.872976769332155, 24.64531977648509, 24.41609030996748}},
    {3, 57, {25.305005814324584, 25.07221038242328, 24.837961206782328}},
    {3, 58, {25.737032745785726, 25.499098899967954, 25.25983416744384}},
    {3, 59, {26.169059677246864, 25.925987417512633, 25.68170506425869}},
    {3, 60, {26.608179619724996, 26.35287593505731, 26.103575961073542}},
    {3, 61, {27.040206551186134, 26.7797665409955, 26.52544685788839}},
    {3, 62, {27.472233482647272, 27.206655058540175, 26.947319818549904}},
    {3, 63, {27.904260414108414, 27.633543576084854, 27.369190715364752}},
    {3, 64, {28.336289459100843, 28.06043209362953, 27.7910616121796}},
    {4, 0, {116.11818382282726, 115.31003174372006, 114.51475956547101}},
    {4, 1, {1.6400378942489624, 1.657010793685913, 1.6740837097167969}},
    {4, 2, {1.4408081403526114, 1.4787290636901518, 1.521763851263014}},
    {4, 3, {1.8122568849951317, 1.8524079813876446, 1.8856583370551736}},
    {4, 4, {2.183705629637652, 2.220051945631134, 2.249552934110894}},
    {4, 5, {2.5551543742801726, 2.5876959098746233, 2.6134475311666145}},
    {4, 6, {2.932700642225208, 2.9553398741181125, 2.977342128222335}},
    {4, 7, {3.3041491597211294, 3.3229838383616017, 3.3412367252780557}},
    {4, 8, {3.6755979043636495, 3.690627802605091, 3.7051313223337763}},
    {4, 9, {4.047046876152769, 4.058271542028662, 4.069025919389497}},
    {4, 10, {4.418495620795289, 4.425915506272152, 4.4329205164452175}},
    {4, 11, {4.78994436543781, 4.793559470515641, 4.796815113500938}},
    {4, 12, {5.16139311008033, 5.1612034347591305, 5.166683228618597}},
    {4, 13, {5.53284185472285, 5.52884739900262, 5.530577825674317}},
    {4, 14, {5.90429059936537, 5.896491363246109, 5.894472422730038}},
    {4, 15, {6.275739344007891, 6.270170393353561, 6.258367019785759}},
    {4, 16, {6.647188088650411, 6.63781435759705, 6.622261616841479}},
    {4, 17, {7.018636378999734, 7.005458321840539, 6.9861562138972}},
    {4, 18, {7.390085123642254, 7.373102286084029, 7.35005081095292}},
    {4, 19, {7.767631391587289, 7.740745800687683, 7.713945408008641}},
    {4, 20, {8.139080590523008, 8.108390214571006, 8.077839560010117}},
    {4, 21, {8.51052888087233, 8.476033729174661, 8.441734602120082}},
    {4, 22, {8.881978079808048, 8.843678143057986, 8.805628754121559}},
    {4, 23, {9.25342637015737, 9.21132165766164, 9.169523796231523}},
    {4, 24, {9.624875569093089, 9.578966071544963, 9.539391466294939}},
    {4, 25, {9.99632385944241, 9.946609586148618, 9.903286508404904}},
    {4, 26, {10.36777305837813, 10.314254000031942, 10.26718066040638}},
    {4, 27, {10.739221348727453, 10.681897514635597, 10.631075702516343}},
    {4, 28, {11.11067054766317, 11.055576994382884, 10.994969854517821}},
    {4, 29, {11.482118838012493, 11.423220508986537, 11.358864896627784}},
    {4, 30, {11.853567128361815, 11.790864922869861, 11.72275904862926}},
    {4, 31, {12.231113850600048, 12.158508437473516, 12.086654090739225}},
    {4, 32, {12.60256214094937, 12.52615285135684, 12.450548242740702}},
    {4, 33, {12.97401133988509, 12.893796365960494, 12.814442394742178}},
    {4, 34, {13.345459630234412, 13.261440779843818, 13.178337436852143}},
    {4, 35, {13.71690882917013, 13.629084294447473, 13.54223158885362}},
    {4, 36, {14.088357119519452, 13.996728708330798, 13.906126630963584}},
    {4, 37, {14.45980631845517, 14.364372222934453, 14.275994301027}},
    {4, 38, {14.831254608804493, 14.732016636817775, 14.639889343136964}},
    {4, 39, {15.20270380774021, 15.0996610507011, 15.003784385246929}},
    {4, 40, {15.574152098089533, 15.473338731889047, 15.367678537248405}},
    {4, 41, {15.945600388438855, 15.840982246492702, 15.731572689249882}},
    {4, 42, {16.31705049596097, 16.208627559655696, 16.09546684125136}},
    {4, 43, {16.69459540102641, 16.57627107425935, 16.45936277346981}},
    {4, 44, {17.066045508548527, 16.943914588863002, 16.823256925471288}},
    {4, 45, {17.437493798897847, 17.31155810346666, 17.187151077472762}},
    {4, 46, {17.80894208924717, 17.67920341662965, 17.55104522947424}},
    {4, 47, {18.180390379596492, 18.046846931233308, 17.914941161692692}},
    {4, 48, {18.551840487118607, 18.41449044583696, 18.27883531369417}},
    {4, 49, {18.92328877746793, 18.782133960440614, 18.648703873866072}},
    {4, 50, {19.294737067817252, 19.14977927360361, 19.01259802586755}},
    {4, 51, {19.666185358166576, 19.517422788207263, 19.376492177869025}},
    {4, 52, {20.037635465688687, 19.89110226795455, 19.740386329870503}},
    {4, 53, {20.40908375603801, 20.258745782558204, 20.104282262088955}},
    {4, 54, {20.780532046387332, 20.626389297161857, 20.468176414090433}},
    {4, 55, {21.151980336736656, 20.994032811765514, 20.832070566091907}},
    {4, 56, {21.52952705897489, 21.361678124928506, 21.195964718093386}},
    {4, 57, {21.900975349324213, 21.729321639532163, 21.55985887009486}},
    {4, 58, {22.272423639673534, 22.096965154135816, 21.923754802313315}},
    {4, 59, {22.64387374719565, 22.46460866873947, 22.28764895431479}},
    {4, 60, {23.01532203754497, 22.832253981902465, 22.651543106316268}},
    {4, 61, {23.386770327894293, 23.199897496506118, 23.02141166648817}},
    {4, 62, {23.758218618243614, 23.567541011109775, 23.38530581848965}},
    {4, 63, {24.12966872576573, 23.935184525713428, 23.749199970491123}},
    {4, 64, {24.501117016115053, 24.30282983887642, 24.113095902709574}},
    {5, 0, {102.70477381440215, 102.11340489192871, 101.5365233185007}},
    {5, 1, {1.870003342628479, 1.8870762586593628, 1.9040491580963135}},
    {5, 2, {1.390115188957542, 1.4237951022628446, 1.4569476811198772}},
    {5, 3, {1.715884569596267, 1.746617352001836, 1.7768921607014936}},
    {5, 4, {2.0416540498415063, 2.0694395030354817, 2.09683664028311}},
    {5, 5, {2.367423530086745, 2.3922616540691273, 2.416781119864726}},
    {5, 6, {2.6931930103319845, 2.7150836076920806, 2.736725599446342}},
    {5, 7, {3.018962490577224, 3.037905758725726, 3.0566700790279584}},
    {5, 8, {3.344732170035492, 3.3607279097593716, 3.3818666127567427}},
    {5, 9, {3.670501650280731, 3.683550060793017, 3.701811092338359}},
    {5, 10, {3.99627113052597, 4.006372211826663, 4.021755571919975}},
    {5, 11, {4.322040212345152, 4.334493655473048, 4.341700051501591}},
    {5, 12, {4.647809692590391, 4.657315806506694, 4.6616445310832075}},
    {5, 13, {4.97357917283563, 4.9801379575403395, 4.981589010664824}},
    {5, 14, {5.304696327627341, 5.302960108573985, 5.301533098944537}},
    {5, 15, {5.63046580787258, 5.625782259607631, 5.621477578526153}},
    {5, 16, {5.95623528811782, 5.948604410641276, 5.9414220581077695}},
    {5, 17, {6.282004768363058, 6.271426561674922, 6.261366537689385}},
    {5, 18, {6.6077742486082975, 6.594248712708567, 6.581311408572905}},
    {5, 19, {6.933544127279594, 6.917070863742213, 6.901255496852618}},
    {5, 20, {7.259313209098776, 7.239892619954475, 7.226452421883305}},
    {5, 21, {7.585083087770073, 7.562715165809504, 7.546396510163018}},
    {5, 22, {7.910852169589255, 7.885536922021766, 7.866341381046538}},
    {5, 23, {8.236621251408437, 8.213658760489535, 8.18628546932625}},
    {5, 24, {8.562391130079734, 8.536480516701797, 8.50623034020977}},
    {5, 25, {8.888160211898915, 8.859303062556826, 8.826174428489484}},
    {5, 26, {9.213930090570212, 9.182124818769088, 9.146118516769196}},
    {5, 27, {9.545046846935865, 9.504947364624117, 9.466063387652715}},
    {5, 28, {9.870816725607162, 9.827769120836379, 9.78600747593243}},
    {5, 29, {10.196585807426343, 10.150591666691408, 10.105952346815949}},
    {5, 30, {10.52235568609764, 10.47341342290367, 10.42589643509566}},
    {5, 31, {10.848124767916822, 10.7962359687587, 10.74584130597918}},
    {5, 32, {11.173894646588119, 11.119057724970961, 11.071037448406061}},
    {5, 33, {11.4996637284073, 11.44188027082599, 11.39098231928958}},
    {5, 34, {11.825433607078597, 11.764702027038252, 11.710926407569294}},
    {5, 35, {12.151202688897778, 12.087524572893281, 12.030871278452814}},
    {5, 36, {12.476972567569074, 12.415645621718284, 12.350815366732526}},
    {5, 37, {12.802741649388256, 12.738467377930546, 12.670760237616046}},
    {5, 38, {13.128511528059553, 13.061289923785575, 12.99070432589576}},
    {5, 39, {13.459629081277322, 13.384111679997837, 13.310649196779279}},
    {5, 40, {13.785398163096504, 13.706933436210099, 13.63059328505899}},
    {5, 41, {14.111167244915684, 14.029756771707895, 13.950537373338705}},
    {5, 42, {14.436936326734866, 14.352578527920157, 14.27048302682603}},
    {5, 43, {14.76270700225828, 14.675400284132419, 14.590427115105744}},
    {5, 44, {15.08847608407746, 14.99822204034468, 14.910371203385456}},
    {5, 45, {15.414245165896642, 15.321045375842477, 15.235568128416144}},
    {5, 46, {15.740014247715823, 15.643867132054739, 15.555512216695856}},
    {5, 47, {16.065783329535005, 15.966688888267, 15.87545630497557}},
    {5, 48, {16.391554005058417, 16.29481072673477, 16.195401958462895}},
    {5, 49, {16.7173230868776, 16.617632482947034, 16.515346046742607}},
    {5, 50, {17.04309216869678, 16.940454239159294, 16.835290135022323}},
    {5, 51, {17.37420972191455, 17.263277574657092, 17.155234223302035}},
    {5, 52, {17.699978803733732, 17.586099330869352, 17.475178311581747}},
    {5, 53, {18.02574788555291, 17.908921087081616, 17.795123965069074}},
    {5, 54, {18.351518561076325, 18.231742843293876, 18.115068053348786}},
    {5, 55, {18.677287642895507, 18.554566178791674, 18.4350121416285}},
    {5, 56, {19.003056724714686, 18.877387935003934, 18.754956229908213}},
    {5, 57, {19.328825806533867, 19.200209691216198, 19.0801531549389}},
    {5, 58, {19.65459648205728, 19.52303144742846, 19.400097243218614}},
    {5, 59, {19.98036556387646, 19.845854782926256, 19.72004289670594}},
    {5, 60, {20.306134645695643, 20.17397504210849, 20.039986984985653}},
    {5, 61, {20.631903727514825, 20.49679679832075, 20.359931073265365}},
    {5, 62, {20.957674403038236, 20.81962013381855, 20.679875161545077}},
    {5, 63, {21.28344348485742, 21.14244189003081, 20.999820815032404}},
    {5, 64, {21.614561038075188, 21.465263646243073, 21.319764903312116}},
};
// Choices 0..6: zero, positive, negative sequence voltage and current, frequency.
constexpr double kComponentCurves[7][3] = {
    {0.037192199379205704, 0.040265098214149475, 0.043338000774383545},
    {5.810083866119385, 5.813157081604004, 5.816229820251465},
    {0.12377600371837616, 0.12684890627861023, 0.1299217939376831},
    {0.021359799429774284, 0.02423270046710968, 0.027105599641799927},
    {1.570051670074463, 1.5729246139526367, 1.575897455215454},
    {0.08624359965324402, 0.08911649882793427, 0.09208939969539642},
    {49.9713020324707, 49.993072509765625, 50.014747619628906},
};
// Phases A, B, C; record 1 is three-wire.
constexpr double kDeviationCurves[3][3] = {
    {2.3216909203399005, -42.12848663330078, 2.913061418418046},
    {7.064951416933134, -39.389729499816895, 7.657195807219157},
    {4.720180134269789, -36.65097236633301, 5.312277873315434},
};
// Active power, reactive power, power factor; curves A, B, C and the total.
constexpr double kPowerCurves[3][4][3] = {
    {
        {312.7000732421875, 318.00006103515625, 323.3000183105469},
        {354.00006103515625, 359.300048828125, 364.6000061035156},
        {395.3000793457031, 400.60003662109375, 405.9000244140625},
        {1062.000244140625, 1077.900146484375, 1093.800048828125},
    },
    {
        {97.3000259399414, 100.19999694824219, 103.1000747680664},
        {111.0000228881836, 113.90009307861328, 116.80006408691406},
        {124.70001220703125, 127.60008239746094, 130.50006103515625},
        {333.00006103515625, 341.7001953125, 350.40020751953125},
    },
    {
        {0.9137030839920044, 0.9160760045051575, 0.9183489084243774},
        {0.9328950047492981, 0.9351679086685181, 0.937440812587738},
        {0.9519869089126587, 0.9542598128318787, 0.9565327167510986},
        {0.9710788130760193, 0.9733517169952393, 0.9756246209144592},
    },
};
constexpr const char* kActiveAverages[4] = {"318.0001KW", "359.3000KW", "400.6000KW", "1077.9001KW"};

class TrendQueriesEveryCurveTest : public TrendQueriesTest {
 protected:
  void SetUp() override {
    TrendQueriesTest::SetUp();
    store.ptRatio = 35.17f;
    store.ctRatio = 14.283f;
    store.nominalVoltage = 10;
    for (int seed = 0; seed < 3; ++seed) test::fillDistinctValues(add({}, seed == 1 ? 3 : 1), seed);
  }
  // Distinct cells lie at least 0.002 apart in every curve; the margin admits only rounding.
  static void expectCurve(const TrendCurve& curve, const double (&expected)[3]) {
    ASSERT_EQ(curve.values.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(curve.values[i], expected[i], 1e-4) << "record " << i;
  }
};

TEST_F(TrendQueriesEveryCurveTest, HarmonicCurvesOfEveryChannelAndItem) {
  for (const HarmonicCurve& expected : kHarmonicCurves) {
    SCOPED_TRACE(testing::Message() << "channel " << expected.channel << ", item " << expected.item);
    const TrendResult result = queryHarmonicTrend(store, all, expected.channel, expected.item);
    ASSERT_EQ(result.curves.size(), 1u);
    expectCurve(result.curves[0], expected.values);
  }
}

TEST_F(TrendQueriesEveryCurveTest, ComponentCurvesOfEveryChoice) {
  for (int choice = 0; choice < kComponentChoices; ++choice) {
    SCOPED_TRACE(componentChoiceText(choice));
    const TrendResult result = queryComponentTrend(store, all, choice);
    ASSERT_EQ(result.curves.size(), 1u);
    expectCurve(result.curves[0], kComponentCurves[choice]);
  }
}

TEST_F(TrendQueriesEveryCurveTest, DeviationCurvesOfEveryPhaseInBothWirings) {
  const TrendResult result = queryDeviationTrend(store, all, {true, true, true});
  ASSERT_EQ(result.curves.size(), 3u);
  for (int phase = 0; phase < 3; ++phase) {
    SCOPED_TRACE(phase);
    expectCurve(result.curves[phase], kDeviationCurves[phase]);
  }
}

TEST_F(TrendQueriesEveryCurveTest, PowerCurvesOfEveryQuantityAndTheActiveAverages) {
  for (int q = 0; q < 3; ++q) {
    const TrendResult result =
        queryPowerTrend(store, all, static_cast<PowerQuantity>(q), {true, true, true, true});
    ASSERT_EQ(result.curves.size(), 4u);
    for (int curve = 0; curve < 4; ++curve) {
      SCOPED_TRACE(testing::Message() << "quantity " << q << ", curve " << curve);
      expectCurve(result.curves[curve], kPowerCurves[q][curve]);
    }
    if (q == 0) {
      ASSERT_TRUE(result.averages.has_value());
      for (int curve = 0; curve < 4; ++curve) EXPECT_EQ((*result.averages)[curve], kActiveAverages[curve]);
    }
  }
}

}  // namespace
}  // namespace pq
