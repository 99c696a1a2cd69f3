#include "assessment/SupplyVoltageDeviation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "assessment/AssessmentMessages.h"
#include "assessment/AssessmentPass.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

// A four-wire record whose three phase cells hold the phase voltage of line voltage `line` (kV),
// with extreme cells 0.4 % either side: close enough that no record is a dip or a swell.
void addLineVoltage(RecordStore& store, int second, double line) {
  auto& r = test::appendRecord(store, 10, 4, 20, 10 + second / 3600, second / 60 % 60, second % 60);
  const double phase = line / std::sqrt(3.0);
  for (const int rms : {cells::uaRms, cells::ubRms, cells::ucRms}) {
    r.setValue(rms, static_cast<float>(phase));
    r.setValue(rms + 1, static_cast<float>(phase * 1.004));
    r.setValue(rms + 2, static_cast<float>(phase * 0.996));
  }
}

TEST(SupplyVoltageDeviation, AnHourOfATenKilovoltLineGivesItsQualificationRate) {
  // Behind a 10 kV / 100 V transformer the cells hold kV. Minutes 0-49 at 10.2 kV, 50-54 at 10.8 kV,
  // 55-59 at 9.2 kV, and in minute 10 one record at 10.9 kV: 9 % above, beyond the band but no swell.
  auto store = std::make_unique<RecordStore>();
  store->nominalVoltage = 10;
  store->ptRatio = 100;
  for (int s = 0; s < 3600; ++s) {
    const int minute = s / 60;
    addLineVoltage(*store, s, s == 10 * 60 + 23 ? 10.9 : minute < 50 ? 10.2 : minute < 55 ? 10.8 : 9.2);
  }
  const SupplyVoltage supply = supplyVoltageOf(*store, 1);
  ASSERT_NEAR(supply.declared, 5.773503, 1e-6);
  EXPECT_STREQ(supply.unit, "KV");
  const RecordingValues values = assessRecording(*store, store->records(), supply.declared);
  ASSERT_TRUE(values.events.empty());

  const auto phases = assessVoltageDeviation(values.series[static_cast<int>(Resolution::OneMinute)], supply,
                                             AssessmentLimits{});
  // Minute 10: sqrt((59 x 10.2² + 10.9²) / 60) = 10.21206 kV, +2.1206 %.
  const double minuteTen = 2.1206;
  for (const VoltageDeviationAssessment& phase : phases) {
    EXPECT_EQ(phase.monitoredMinutes, 60);
    EXPECT_EQ(phase.minutesOver, 5);
    EXPECT_EQ(phase.minutesUnder, 5);
    EXPECT_EQ(phase.flaggedMinutes, 0);
    EXPECT_EQ(phase.index.passRate, 83.33);
    EXPECT_EQ(phase.index.verdict, Verdict::Fail);
    EXPECT_STREQ(verdictText(phase.index.verdict), "不合格");
    EXPECT_NEAR(phase.index.max, 8.0, 1e-4);
    EXPECT_NEAR(phase.index.min, -8.0, 1e-4);
    EXPECT_NEAR(phase.index.mean, (49 * 2.0 + minuteTen + 5 * 8.0 - 5 * 8.0) / 60, 1e-4);
    EXPECT_NEAR(phase.index.p95, 8.0, 1e-4);  // the 3rd largest magnitude of 60
    EXPECT_EQ(phase.index.upperLimit, 7.0);
    EXPECT_EQ(phase.index.lowerLimit, -7.0);
    EXPECT_NE(phase.index.method.find("GB/T 12325"), std::string::npos);
    EXPECT_NE(phase.index.method.find("对其标称值5.774KV的偏差"), std::string::npos) << phase.index.method;
  }
}

TEST(SupplyVoltageDeviation, AMinuteWithAnEventIsLeftOutAndCountedApart) {
  // 230 V phase voltages of a 0.4 kV four-wire supply without transformer (cells in V, declared
  // 230.9 V); 10:02:07 falls to 150 V, a dip, which flags minute 2 and nothing else.
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 240; ++s) {
    auto& r = test::appendRecord(*store, 10, 4, 20, 10, s / 60, s % 60);
    const float u = s == 127 ? 150.0f : (s < 180 ? 231.7f : 250.3f);
    for (const int rms : {cells::uaRms, cells::ubRms, cells::ucRms}) {
      r.setValue(rms, u);
      r.setValue(rms + 1, u + 0.6f);
      r.setValue(rms + 2, u - 0.6f);
    }
  }
  const SupplyVoltage supply{400 / std::sqrt(3.0), 0.4};
  const RecordingValues values = assessRecording(*store, store->records(), supply.declared);
  ASSERT_EQ(values.events.size(), 1u);
  const auto phases = assessVoltageDeviation(values.series[static_cast<int>(Resolution::OneMinute)], supply,
                                             AssessmentLimits{});
  // Minutes 0 and 1 at +0.35 %, minute 3 at +8.38 %: over the +7 % limit.
  EXPECT_EQ(phases[1].flaggedMinutes, 1);
  EXPECT_EQ(phases[1].monitoredMinutes, 3);
  EXPECT_EQ(phases[1].minutesOver, 1);
  EXPECT_EQ(phases[1].minutesUnder, 0);
  EXPECT_EQ(phases[1].index.passRate, 66.67);
  EXPECT_NEAR(phases[1].index.min, (231.7 / 230.940108 - 1) * 100, 1e-4);
}

TEST(SupplyVoltageDeviation, TheStoreSaysWhatItsCellsHold) {
  auto store = std::make_unique<RecordStore>();
  store->nominalVoltage = 35000;  // a 35 kV level read without transformer: volts
  store->ptRatio = 1;
  const SupplyVoltage threeWire = supplyVoltageOf(*store, 3);
  EXPECT_EQ(threeWire.declared, 35000.0);
  EXPECT_EQ(threeWire.nominalKilovolts, 35.0);
  EXPECT_TRUE(threeWire.lineVoltages);
  EXPECT_STREQ(threeWire.unit, "V");
  const SupplyVoltage fourWire = supplyVoltageOf(*store, 1);
  EXPECT_NEAR(fourWire.declared, 20207.259, 1e-3);
  EXPECT_FALSE(fourWire.lineVoltages);

  // The 0.38 kV level, whose nominal voltage the store keeps as 0.
  store->voltageLevelCode = 1;
  store->nominalVoltage = 0;
  const SupplyVoltage lowVoltage = supplyVoltageOf(*store, 1);
  EXPECT_NEAR(lowVoltage.declared, 219.393, 1e-3);
  EXPECT_NEAR(lowVoltage.nominalKilovolts, 0.38, 1e-12);
}

// One-minute values of all three phases, unflagged, one a minute.
AggregatedSeries minutesOf(const std::vector<double>& values) {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::uaRms), cellQuantity(cells::ubRms), cellQuantity(cells::ucRms)};
  for (std::size_t m = 0; m < values.size(); ++m) {
    series.intervals.push_back({static_cast<std::int64_t>(m) * 60, 60, false, false});
    for (int phase = 0; phase < 3; ++phase) series.values.push_back({values[m], values[m], values[m]});
  }
  return series;
}

TEST(SupplyVoltageDeviation, EachLevelHasItsBand) {
  struct Case {
    const char* what;
    SupplyVoltage supply;
    DeviationBandLimits high;
    std::vector<double> values;
    int over, under;
    double upper, lower;
  };
  const DeviationBandLimits defaultHigh{7, -3};
  const Case cases[] = {
      // -2.857 % and +6.857 % within, -3.143 % under.
      {"35 kV three-wire", {35, 35, true}, defaultHigh, {34.0, 37.4, 33.9}, 0, 1, 7, -3},
      // -9.545 % within, -10.455 % under, +7.091 % over.
      {"220 V single-phase", {220, 0.22, false, true}, defaultHigh, {199, 197, 235.6}, 1, 1, 7, -10},
      // a split of the user's: +5 % / -5 %; 104.5 kV is -5.0 % exactly and within.
      {"110 kV, user's split", {110, 110, true}, {5, -5}, {104.5, 115.6, 104.4}, 1, 1, 5, -5},
      // 20 kV takes the band of the lower levels: +6.9 % within, -7.1 % under.
      {"20 kV", {20, 20, true}, defaultHigh, {21.38, 18.58}, 0, 1, 7, -7},
  };
  for (const Case& c : cases) {
    AssessmentLimits limits;
    limits.highVoltageBand = c.high;
    const auto phases = assessVoltageDeviation(minutesOf(c.values), c.supply, limits);
    for (const auto& phase : phases) {
      EXPECT_EQ(phase.minutesOver, c.over) << c.what;
      EXPECT_EQ(phase.minutesUnder, c.under) << c.what;
      EXPECT_EQ(phase.index.upperLimit, c.upper) << c.what;
      EXPECT_EQ(phase.index.lowerLimit, c.lower) << c.what;
      EXPECT_TRUE(phase.index.judged()) << c.what;
    }
  }
}

TEST(SupplyVoltageDeviation, WhatCannotBeJudgedGetsNoVerdictAndSaysWhy) {
  struct Case {
    const char* what;
    SupplyVoltage supply;
    DeviationBandLimits high;
    std::vector<double> values;
    const char* reason;
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {"no minutes", {5.7735, 10}, {7, -3}, {}, messages::kNoMonitoredMinutes},
      {"minutes without value", {5.7735, 10}, {7, -3}, {nan, nan}, messages::kNoMonitoredMinutes},
      {"zero declared voltage", {0, 10}, {7, -3}, {5.8}, messages::kNoNominalVoltage},
      {"declared voltage not a number", {nan, 10}, {7, -3}, {5.8}, messages::kNoNominalVoltage},
      {"a level between 20 and 35 kV", {25, 25, true}, {7, -3}, {25.3}, messages::kNoDeviationBand},
      {"a split over 10 %", {110, 110, true}, {7, -4}, {110.2}, messages::kInvalidDeviationBand},
      {"an upper limit below zero", {110, 110, true}, {-1, -3}, {110.2}, messages::kInvalidDeviationBand},
  };
  for (const Case& c : cases) {
    AssessmentLimits limits;
    limits.highVoltageBand = c.high;
    const auto phases = assessVoltageDeviation(minutesOf(c.values), c.supply, limits);
    for (const auto& phase : phases) {
      EXPECT_FALSE(phase.index.judged()) << c.what;
      EXPECT_EQ(phase.index.reason, c.reason) << c.what;
      EXPECT_TRUE(std::isnan(phase.index.passRate)) << c.what;
      EXPECT_STREQ(verdictText(phase.index.verdict), "无结论") << c.what;
    }
  }
}

TEST(SupplyVoltageDeviation, EveryMinuteWithinTheBandPasses) {
  const auto phases =
      assessVoltageDeviation(minutesOf({10.31, 9.42, 10.69}), {10, 10, true}, AssessmentLimits{});
  for (const auto& phase : phases) {
    EXPECT_EQ(phase.index.passRate, 100.0);
    EXPECT_EQ(phase.index.verdict, Verdict::Pass);
    EXPECT_STREQ(verdictText(phase.index.verdict), "合格");
  }
}

}  // namespace
}  // namespace pq
