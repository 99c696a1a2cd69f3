#include "assessment/AssessmentPass.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
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

// The same bits, not the same value within a tolerance: a quantity summed in another order, or a
// column taken from the other part's row, would differ in the last bits.
void expectSameBits(double a, double b, const char* what, int resolution, std::size_t row, std::size_t column) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b))
      << what << " of resolution " << resolution << ", interval " << row << ", quantity " << column << ": " << a
      << " against " << b;
}

TEST(AssessmentPass, ItsTwoThreadsSumEveryQuantityToTheSameBitsAsOneAggregator) {
  // 12 800 one-second records, three batches and more, with a 45-second gap; a dip of 20 s every 97 s,
  // whose records the pass holds until the dip ends, more of them in a batch than it keeps copies
  // of at once; values that are no numbers in a harmonic current and in the frequency; every value of
  // a record its own and changing from record to record.
  auto store = std::make_unique<RecordStore>();
  for (int i = 0; i < 12800; ++i) {
    const int s = i < 7000 ? i : i + 45;
    auto& r = test::appendRecord(*store, 10, 4, 20, 10 + s / 3600, s / 60 % 60, s % 60);
    test::fillDistinctValues(r, i % 3);
    for (int cell = cells::uaRms; cell < cells::harmonic(kChannelCount, 0); ++cell) {
      r.setValue(cell, r.value(cell) * (1.0f + static_cast<float>(i % 101) * 1e-3f));
    }
    if (i % 97 < 20) {
      r.setValue(cells::ubRms, 3.1f);
      r.setValue(cells::ubMin, 3.0f);
    }
    if (i % 13 == 0) r.setValue(cells::harmonic(Ic, 7), std::numeric_limits<float>::quiet_NaN());
    if (i % 17 == 0) r.setValue(cells::frequency, std::numeric_limits<float>::quiet_NaN());
  }
  const auto records = store->records();
  const KeptQuantities every{allQuantities(), allQuantities(), allQuantities(), allQuantities()};

  SeriesCollector collector(every);
  AssessmentPass pass(collector, 5.774);
  pass.feed(records.subspan(0, 1000), {});
  pass.feed(records.subspan(1000, 5003), {});
  pass.feed(records.subspan(6003), {});
  pass.finish();
  const RangeAggregation whole = aggregateRecords(records, every);

  EXPECT_GT(pass.events().size(), 100u);
  for (int r = 0; r < kResolutionCount; ++r) {
    const AggregatedSeries& split = collector.series[r];
    const AggregatedSeries& one = whole.series[r];
    ASSERT_EQ(split.intervals.size(), one.intervals.size()) << r;
    ASSERT_EQ(split.values.size(), one.values.size()) << r;
    for (std::size_t k = 0; k < one.intervals.size(); ++k) {
      ASSERT_EQ(split.intervals[k].start, one.intervals[k].start) << r << " " << k;
      ASSERT_EQ(split.intervals[k].recordCount, one.intervals[k].recordCount) << r << " " << k;
    }
    const std::size_t width = one.quantities.size();
    for (std::size_t i = 0; i < one.values.size(); ++i) {
      expectSameBits(split.values[i].value, one.values[i].value, "value", r, i / width, i % width);
      expectSameBits(split.values[i].min, one.values[i].min, "minimum", r, i / width, i % width);
      expectSameBits(split.values[i].max, one.values[i].max, "maximum", r, i / width, i % width);
      if (HasFailure()) return;
    }
  }
}

TEST(AssessmentPass, AZeroDeclaredVoltageIsRefusedBeforeAnyValue) {
  SeriesCollector collector(recordingQuantities());
  EXPECT_THROW(AssessmentPass(collector, 0.0), std::invalid_argument);
}

}  // namespace
}  // namespace pq
