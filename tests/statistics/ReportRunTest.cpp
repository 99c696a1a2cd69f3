#include "statistics/ReportRun.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/ConversionError.h"
#include "records/RecordStore.h"
#include "statistics/ReportParameters.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

using test::appendRecord;

class RecordingRunListener : public ReportRunListener {
 public:
  void showMessage(const char* text) override { events.push_back(std::string("message: ") + text); }
  void busyStarted() override { events.push_back("busy"); }
  void busyFinished() override { events.push_back("done"); }
  std::vector<std::string> events;
};

class ReportRunTest : public ::testing::Test {
 protected:
  // `count` records a minute apart from 2010-04-19 15:00, phase A at 10 kV line voltage (UN 10)
  // deviating +2 %, 2 % third harmonic, current 100 A with 30 A third harmonic.
  void records(int count) {
    store.fileName = "/r.bin";
    store.nominalVoltage = 10;
    for (int i = 0; i < count; ++i) {
      MeasurementRecord& r = appendRecord(store, 2010, 4, 19, 15 + i / 60, i % 60);
      const float phase = 10.2f / std::sqrt(3.0f);
      for (int cell : {cells::uaRms, cells::ubRms, cells::ucRms}) r.setValue(cell, phase);
      r.setValue(cells::harmonic(Ua, 1), phase);
      r.setValue(cells::harmonic(Ua, 3), phase * 0.02f);
      r.setValue(cells::frequency, 50.0f);
      r.setValue(cells::harmonic(Ib, 1), 100.0f);
      r.setValue(cells::harmonic(Ib, 3), 30.0f);
    }
    parameters.fillFromStore(store);
    parameters.voltageLevelText = "10KV";
    parameters.minShortCircuitText = "100";
    parameters.supplyCapacityText = "120";
    parameters.agreedCapacityText = "120";
  }

  RecordStore store;
  ReportParameters parameters;
  RecordingRunListener listener;
  ReportRun run{store, parameters, listener};
};

TEST_F(ReportRunTest, VoltageReport) {
  records(20);
  ASSERT_TRUE(run.requestReport({Phase::A, ReportQuantity::Voltage}));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"busy", "done"}));
  const PhaseReportDataSet& data = parameters.data;
  EXPECT_EQ(data.sampleCount, 20.0f);
  EXPECT_EQ(data.startTimeText, "2010-4-19 15:0:00");
  EXPECT_EQ(data.endTimeText, "2010-4-19 15:19:59");
  EXPECT_EQ(store.rangeStart, 0);
  EXPECT_EQ(store.rangeEnd, 20);
  EXPECT_EQ(data.limits.oddHarmonicLimit, 3.2f);
  EXPECT_EQ(data.limits.deviationLimitText, "±7.00%");
  EXPECT_FLOAT_EQ(data.harmonic[3].p95, 2.0f);
  EXPECT_EQ(data.harmonic[3].passRate, 100.0f);
  EXPECT_FLOAT_EQ(data.lineFundamental.avg, 10.2f);
  EXPECT_NEAR(data.deviation.max, 2.0, 1e-5);
  EXPECT_EQ(data.frequencyDeviation.passRate, 100.0f);
  EXPECT_EQ(data.limits.harmonicCurrentLimit[3], 0.0f);  // untouched by a voltage run
}

TEST_F(ReportRunTest, NineteenRecordsHaveNoNinetyFivePercentValue) {
  records(19);
  ASSERT_TRUE(run.requestReport({Phase::A, ReportQuantity::Voltage}));
  EXPECT_TRUE(std::isnan(parameters.data.harmonic[3].p95));
  EXPECT_TRUE(std::isnan(parameters.data.deviation.p95));
  EXPECT_FALSE(std::isnan(parameters.data.harmonic[3].max));
}

TEST_F(ReportRunTest, CurrentReportKeepsTheVoltageResults) {
  records(30);
  ASSERT_TRUE(run.requestReport({Phase::A, ReportQuantity::Voltage}));
  const StatisticRecord deviation = parameters.data.deviation;
  ASSERT_TRUE(run.requestReport({Phase::B, ReportQuantity::Current}));
  const PhaseReportDataSet& data = parameters.data;
  EXPECT_EQ(data.sampleCount, 30.0f);
  EXPECT_EQ(data.fundamental.max, 100.0f);  // the phase-B current, not a voltage
  EXPECT_EQ(data.harmonic[3].max, 30.0f);
  EXPECT_FLOAT_EQ(data.limits.harmonicCurrentLimit[3], 20.0f);  // 10 kV table at 100 MVA
  EXPECT_EQ(data.harmonic[3].passRate, 0.0f);
  EXPECT_FLOAT_EQ(data.deviation.max, deviation.max);
  EXPECT_EQ(data.limits.oddHarmonicLimit, 3.2f);
  EXPECT_TRUE(std::isnan(data.thd.passRate));
}

TEST_F(ReportRunTest, RefusalsStopBeforeTheBusyIndicator) {
  records(5);
  parameters.voltageLevelText = "";
  EXPECT_FALSE(run.requestReport({Phase::B, ReportQuantity::Voltage}));
  parameters.voltageLevelText = "10KV";
  parameters.start.texts = {"2010", "4", "19", "14", "0"};
  parameters.end.texts = {"2010", "4", "19", "14", "30"};  // ends before the first record
  EXPECT_FALSE(run.requestReport({Phase::B, ReportQuantity::Voltage}));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"message: 请选择电压等级!",
                                                       "message: 该时间段记录个数为零，请重新输入时间。"}));
  EXPECT_EQ(parameters.data.sampleCount, 0.0f);
}

TEST_F(ReportRunTest, PhaseButtonRunSkipsTheCapacityCheck) {
  records(5);
  parameters.data.kind = {Phase::B, ReportQuantity::Current};
  parameters.agreedCapacityText = "";
  EXPECT_THROW(run.runReport(), ConversionError);
  EXPECT_EQ(listener.events, (std::vector<std::string>{"busy", "done"}));
}

TEST_F(ReportRunTest, EmptyStoreSelectsNothing) {
  store.rangeStart = 2;
  EXPECT_EQ(selectReportRange(store, parameters), 0);
  EXPECT_EQ(store.rangeStart, 0);
  EXPECT_EQ(store.rangeEnd, 0);
}

}  // namespace
}  // namespace pq
