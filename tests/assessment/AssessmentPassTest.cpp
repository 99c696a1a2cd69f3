#include "assessment/AssessmentPass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "aggregation/AggregatedQuantities.h"
#include "assessment/NinetyFivePercentSink.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

std::int64_t at(int hour, int minute, int second) {
  return epochSeconds({2010, 4, 20, hour, minute, second});
}

// A record at hh:mm:ss whose three phase voltages are `u`, with minima and maxima a little apart.
void addVoltages(RecordStore& store, int hour, int minute, int second, float u) {
  auto& r = test::appendRecord(store, 10, 4, 20, hour, minute, second);
  for (const int rms : {cells::uaRms, cells::ubRms, cells::ucRms}) {
    r.setValue(rms, u);
    r.setValue(rms + 1, u == 0 ? 0.0f : u + 1.7f);  // max
    r.setValue(rms + 2, u == 0 ? 0.0f : u - 1.1f);  // min
  }
}

TEST(AssessmentPass, AnInterruptionFlagsItsTenMinutesWhoseValueIsTheRmsOfAllSixHundredRecords) {
  // 10:00:00-10:09:59 at 230 V but 10:04:17 at 0 V on every phase; 10:10:00 at 230 V again.
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s <= 600; ++s) addVoltages(*store, 10, s / 60, s % 60, s == 257 ? 0.0f : 230.0f);
  const RecordingValues values = assessRecording(*store, store->records(), 230.0);

  ASSERT_EQ(values.events.size(), 1u);
  EXPECT_EQ(values.events[0].kind, VoltageEventKind::Interruption);
  EXPECT_EQ(values.events[0].start, at(10, 4, 17));
  EXPECT_EQ(values.events[0].records, 1);
  EXPECT_EQ(values.sarfi, (SarfiCounts{1, 1, 1, 1}));

  const auto& tens = values.series[static_cast<int>(Resolution::TenMinutes)];
  ASSERT_EQ(tens.intervals.size(), 2u);
  EXPECT_EQ(tens.intervals[0].recordCount, 600);
  EXPECT_TRUE(tens.intervals[0].flagged);
  EXPECT_FALSE(tens.intervals[1].flagged);
  for (const int rms : {cells::uaRms, cells::ubRms, cells::ucRms}) {
    const AggregatedValue& u = *tens.find(0, cellQuantity(rms));
    EXPECT_NEAR(u.value, 230.0 * std::sqrt(599.0 / 600.0), 1e-9);
    EXPECT_EQ(u.min, 0.0);
    EXPECT_EQ(u.max, static_cast<double>(231.7f));
  }
  const auto& minutes = values.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(minutes.intervals.size(), 11u);
  for (std::size_t m = 0; m < minutes.intervals.size(); ++m)
    EXPECT_EQ(minutes.intervals[m].flagged, m == 4) << m;
}

TEST(AssessmentPass, FilesFedOneAfterAnotherContinueTheirIntervalsAndLeaveOutTheirOverlap) {
  // The first file ends at 10:00:40, the second repeats 10:00:39-40 and goes on to 10:01:19.
  auto first = std::make_unique<RecordStore>();
  for (int s = 0; s <= 40; ++s) addVoltages(*first, 10, 0, s, 229.3f);
  auto second = std::make_unique<RecordStore>();
  for (int s = 39; s < 80; ++s) addVoltages(*second, 10, s / 60, s % 60, s < 41 ? 999.0f : 231.9f);

  SeriesCollector collector(recordingQuantities());
  AssessmentPass pass(collector, 230.0);
  pass.feed(first->records(0, first->recordCount()), {});
  pass.feed(second->records(0, second->recordCount()), {});
  pass.finish();

  EXPECT_EQ(pass.gate().outOfOrder(), 1);
  EXPECT_EQ(pass.gate().duplicates(), 1);
  EXPECT_TRUE(pass.events().empty());
  const auto& minutes = collector.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(minutes.intervals.size(), 2u);
  EXPECT_EQ(minutes.intervals[0].recordCount, 60);
  EXPECT_NEAR(minutes.find(0, cellQuantity(cells::ubRms))->value,
              std::sqrt((41 * 229.3 * 229.3 + 19 * 231.9 * 231.9) / 60), 1e-4);
  EXPECT_EQ(minutes.intervals[1].recordCount, 20);
}

TEST(AssessmentPass, ASecondSinkSeesTheIntervalsWithTheirEventFlags) {
  // 10:00:00-10:01:02 at 230.4 V, but 10:00:31 at 0 V: its 3-second interval 10:00:30 is flagged and
  // left out of the 95 % values, whose sink sees the 20 others.
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 63; ++s) addVoltages(*store, 10, s / 60, s % 60, s == 31 ? 0.0f : 230.4f);
  NinetyFivePercentSink threeSeconds({{cellQuantity(cells::ubRms), 240.0}}, 21);
  const RecordingValues values = assessRecording(*store, store->records(), 230.0, &threeSeconds);

  ASSERT_EQ(values.events.size(), 1u);
  EXPECT_EQ(threeSeconds.flaggedIntervals(), 1);
  const auto s = threeSeconds.summary(0);
  EXPECT_EQ(s.values, 20);
  EXPECT_NEAR(s.min, 230.4, 1e-4);
  EXPECT_NEAR(s.p95, 230.4, 1e-4);
  EXPECT_EQ(values.series[static_cast<int>(Resolution::OneMinute)].intervals.size(), 2u);
}

TEST(AssessmentPass, AZeroDeclaredVoltageIsRefusedBeforeAnyValue) {
  SeriesCollector collector(recordingQuantities());
  EXPECT_THROW(AssessmentPass(collector, 0.0), std::invalid_argument);
}

}  // namespace
}  // namespace pq
