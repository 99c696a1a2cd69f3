#include "aggregation/IntervalAggregator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "aggregation/AggregatedQuantities.h"
#include "aggregation/AggregatedSeries.h"
#include "support/StoreBuilder.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

using test::appendRecord;

std::int64_t at(int hour, int minute, int second) {
  return epochSeconds({2010, 4, 20, hour, minute, second});
}

MeasurementRecord& addAt(RecordStore& store, int hour, int minute, int second) {
  return appendRecord(store, 10, 4, 20, hour, minute, second);
}

const AggregatedValue& valueOf(const AggregatedSeries& series, std::size_t interval, int quantity) {
  return *series.find(interval, quantity);
}

const KeptQuantities kEverything = {allQuantities(), allQuantities(), allQuantities(), allQuantities()};

TEST(IntervalAggregator, TenMinutesWithOneZeroRecordIsTheRmsOfItsSixHundredRecordsAndFlagged) {
  // 10:00:00-10:09:59 at 230 V except one record at 0 V, inside an event; one more record at 10:10:00.
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s <= 600; ++s) {
    auto& r = addAt(*store, 10, s / 60, s % 60);
    const bool zero = s == 257;
    r.setValue(cells::uaRms, zero ? 0.0f : 230.0f);
    r.setValue(cells::uaMax, zero ? 0.0f : 231.7f);
    r.setValue(cells::uaMin, zero ? 0.0f : 228.9f);
  }
  SeriesCollector collector(kEverything);
  IntervalAggregator aggregator(collector);
  for (int i = 0; i < store->recordCount(); ++i) aggregator.add(store->record(i), *recordSeconds(*store, i), i == 257 ? RecordMark::Event : RecordMark::None);
  aggregator.finish();

  const auto& tens = collector.series[static_cast<int>(Resolution::TenMinutes)];
  ASSERT_EQ(tens.intervals.size(), 2u);
  EXPECT_EQ(tens.intervals[0].start, at(10, 0, 0));
  EXPECT_EQ(tens.intervals[0].recordCount, 600);
  EXPECT_TRUE(tens.intervals[0].flagged);
  const auto& ua = valueOf(tens, 0, cellQuantity(cells::uaRms));
  EXPECT_NEAR(ua.value, 230.0 * std::sqrt(599.0 / 600.0), 1e-9);
  EXPECT_EQ(ua.min, 0.0);
  EXPECT_EQ(ua.max, static_cast<double>(231.7f));
  EXPECT_EQ(tens.intervals[1].start, at(10, 10, 0));
  EXPECT_EQ(tens.intervals[1].recordCount, 1);
  EXPECT_FALSE(tens.intervals[1].flagged);
  EXPECT_EQ(valueOf(tens, 1, cellQuantity(cells::uaRms)).value, 230.0);

  // The event's record (10:04:17) flags its 3-second interval 10:04:15 and its minute only.
  const auto& minutes = collector.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(minutes.intervals.size(), 11u);
  for (std::size_t m = 0; m < minutes.intervals.size(); ++m) {
    EXPECT_EQ(minutes.intervals[m].flagged, m == 4) << m;
    EXPECT_EQ(minutes.intervals[m].recordCount, m < 10 ? 60 : 1) << m;
  }
  const auto& threes = collector.series[static_cast<int>(Resolution::ThreeSeconds)];
  ASSERT_EQ(threes.intervals.size(), 201u);
  for (std::size_t k = 0; k < threes.intervals.size(); ++k) {
    EXPECT_EQ(threes.intervals[k].flagged, threes.intervals[k].start == at(10, 4, 15)) << k;
  }
}

TEST(IntervalAggregator, TenSecondValuesComeFromTheRecordsAndHoldTheCellsOnly) {
  // 10:00:07..10:00:22 without 10:00:13..15: 10-second intervals 10:00:00 (3 records: 7..9),
  // 10:00:10 (7: 10..12 and 16..19) and 10:00:20 (3); the frequency rises 0.013 Hz a second from 49.91.
  auto store = std::make_unique<RecordStore>();
  for (int s = 7; s <= 22; ++s) {
    if (s >= 13 && s <= 15) continue;
    auto& r = addAt(*store, 10, 0, s);
    r.setValue(cells::frequency, static_cast<float>(49.91 + 0.013 * (s - 7)));
    r.setValue(cells::harmonic(Ua, 1), 230.6f);
    r.setValue(cells::harmonic(Ua, 5), 4.7f);
  }
  const auto result = aggregateRecords(store->records(), kEverything);
  const auto& tens = result.series[static_cast<int>(Resolution::TenSeconds)];
  ASSERT_EQ(tens.intervals.size(), 3u);
  const int frequency = cellQuantity(cells::frequency);
  struct Expected {
    std::int64_t start;
    int records;
    double mean, min, max;
  };
  // Means of 49.91 + 0.013 k over k = 0..2; 3..5 and 9..12; 13..15.
  const Expected expected[3] = {
      {at(10, 0, 0), 3, 49.923, 49.91, 49.936},
      {at(10, 0, 10), 7, 49.91 + 0.013 * (3 + 4 + 5 + 9 + 10 + 11 + 12) / 7.0, 49.949, 50.066},
      {at(10, 0, 20), 3, 50.092, 50.079, 50.105}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(tens.intervals[i].start, expected[i].start) << i;
    EXPECT_EQ(tens.intervals[i].recordCount, expected[i].records) << i;
    const AggregatedValue& f = valueOf(tens, i, frequency);
    EXPECT_NEAR(f.value, expected[i].mean, 1e-5) << i;
    EXPECT_NEAR(f.min, expected[i].min, 1e-5) << i;
    EXPECT_NEAR(f.max, expected[i].max, 1e-5) << i;
    // The harmonics are summed at 3 seconds and up, not at 10 seconds.
    EXPECT_TRUE(std::isnan(valueOf(tens, i, harmonicContentQuantity(Ua, 5)).value)) << i;
  }
  // The 3-second values still make up the minute: all 13 records.
  const auto& minutes = result.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(minutes.intervals.size(), 1u);
  EXPECT_EQ(minutes.intervals[0].recordCount, 13);
  EXPECT_NEAR(valueOf(minutes, 0, harmonicContentQuantity(Ua, 5)).value, 4.7 / 230.6 * 100, 1e-4);
}

TEST(IntervalAggregator, MagnitudesCombineAsRmsAndFrequencyPowersAndPowerFactorsAsMean) {
  // 10:00:00..02 fill one 3-second interval, 10:00:03 starts the next; the minute holds all four.
  struct Second {
    float fundamental, third, frequency, pA, pfA;
  };
  const Second seconds[4] = {{231.4f, 2.314f, 49.97f, 12.5f, 0.91f},
                             {231.4f, 4.628f, 50.02f, -3.5f, 0.87f},
                             {231.4f, 4.628f, 50.04f, 7.25f, 0.95f},
                             {231.4f, 16.198f, 50.11f, 20.0f, 0.80f}};
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 4; ++s) {
    auto& r = addAt(*store, 10, 0, s);
    r.setValue(cells::harmonic(Ua, 1), seconds[s].fundamental);
    r.setValue(cells::harmonic(Ua, 3), seconds[s].third);
    r.setValue(cells::frequency, seconds[s].frequency);
    r.setValue(cells::pA, seconds[s].pA);
    r.setValue(cells::pfA, seconds[s].pfA);
  }
  const auto result = aggregateRecords(store->records(0, 4), kEverything);
  const auto& threes = result.series[static_cast<int>(Resolution::ThreeSeconds)];
  ASSERT_EQ(threes.intervals.size(), 2u);
  EXPECT_EQ(threes.intervals[0].recordCount, 3);
  EXPECT_EQ(threes.intervals[1].start, at(10, 0, 3));

  const int third = harmonicContentQuantity(Ua, 3);
  EXPECT_NEAR(valueOf(threes, 0, third).value, std::sqrt(3.0), 1e-5);  // 1 %, 2 %, 2 %
  EXPECT_NEAR(valueOf(threes, 0, third).min, 1.0, 1e-5);
  EXPECT_NEAR(valueOf(threes, 0, third).max, 2.0, 1e-5);
  EXPECT_NEAR(valueOf(threes, 0, cellQuantity(cells::frequency)).value, 50.01, 1e-5);
  EXPECT_NEAR(valueOf(threes, 0, cellQuantity(cells::pA)).value, 16.25 / 3, 1e-6);
  EXPECT_NEAR(valueOf(threes, 0, cellQuantity(cells::pfA)).value, 0.91, 1e-6);

  // The minute merges the two 3-second intervals: the RMS of all four contents (1, 2, 2, 7 %).
  const auto& minute = result.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(minute.intervals.size(), 1u);
  EXPECT_EQ(minute.intervals[0].recordCount, 4);
  EXPECT_NEAR(valueOf(minute, 0, third).value, std::sqrt(58.0 / 4), 1e-5);
  EXPECT_NEAR(valueOf(minute, 0, cellQuantity(cells::frequency)).value, 200.14 / 4, 1e-5);
  EXPECT_NEAR(valueOf(minute, 0, cellQuantity(cells::pA)).value, 36.25 / 4, 1e-6);
  EXPECT_NEAR(valueOf(minute, 0, cellQuantity(cells::pA)).min, -3.5, 1e-6);
}

TEST(IntervalAggregator, AnIntervalWithoutRecordsIsAGapNotAZero) {
  auto store = std::make_unique<RecordStore>();
  const int times[][2] = {{0, 0}, {0, 1}, {0, 10}, {3, 59}};  // minute, second
  for (const auto& t : times) addAt(*store, 10, t[0], t[1]).setValue(cells::ibRms, 41.3f);
  const auto result = aggregateRecords(store->records(0, 4), kEverything);
  const auto& threes = result.series[static_cast<int>(Resolution::ThreeSeconds)];
  ASSERT_EQ(threes.intervals.size(), 3u);
  EXPECT_EQ(threes.intervals[0].start, at(10, 0, 0));
  EXPECT_EQ(threes.intervals[0].recordCount, 2);
  EXPECT_EQ(threes.intervals[1].start, at(10, 0, 9));
  EXPECT_EQ(threes.intervals[2].start, at(10, 3, 57));
  const auto& minutes = result.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(minutes.intervals.size(), 2u);
  EXPECT_EQ(minutes.intervals[1].start, at(10, 3, 0));
  EXPECT_NEAR(valueOf(minutes, 1, cellQuantity(cells::ibRms)).value, 41.3, 1e-5);
}

TEST(IntervalAggregator, OutOfOrderDuplicatedAndUndatableRecordsAreCountedAndLeftOut) {
  auto store = std::make_unique<RecordStore>();
  auto uc = [](MeasurementRecord& r, float rms) {
    r.setValue(cells::ucRms, rms);
    r.setValue(cells::ucMax, rms + 1.5f);
    r.setValue(cells::ucMin, rms - 2.25f);
  };
  uc(addAt(*store, 10, 0, 0), 100.0f);
  uc(addAt(*store, 10, 0, 1), 200.0f);
  uc(addAt(*store, 10, 0, 1), 999.0f);   // duplicate
  uc(addAt(*store, 9, 59, 59), 999.0f);  // earlier
  auto& undatable = addAt(*store, 10, 0, 2);
  test::setTimeBytes(undatable, {0x10, 0x13, 0x20, 0x10, 0x00, 0x02});
  uc(undatable, 999.0f);
  uc(addAt(*store, 10, 0, 2), 300.0f);
  const auto result = aggregateRecords(store->records(), kEverything);
  EXPECT_EQ(result.gate.duplicates(), 1);
  EXPECT_EQ(result.gate.outOfOrder(), 1);
  EXPECT_EQ(result.gate.undatable(), 1);
  const auto& threes = result.series[static_cast<int>(Resolution::ThreeSeconds)];
  ASSERT_EQ(threes.intervals.size(), 1u);
  EXPECT_EQ(threes.intervals[0].recordCount, 3);
  const auto& value = valueOf(threes, 0, cellQuantity(cells::ucRms));
  EXPECT_NEAR(value.value, std::sqrt((1e4 + 4e4 + 9e4) / 3), 1e-9);
  // The extremes are the records' own minimum and maximum cells.
  EXPECT_EQ(value.min, 97.75);
  EXPECT_EQ(value.max, 301.5);
}

TEST(IntervalAggregator, ValuesThatAreNoNumbersTakeNoPart) {
  auto store = std::make_unique<RecordStore>();
  addAt(*store, 10, 0, 0).setValue(cells::iaRms, 12.0f);
  addAt(*store, 10, 0, 1).setValue(cells::iaRms, std::nanf(""));
  addAt(*store, 10, 0, 2).setValue(cells::iaRms, 16.0f);
  for (int i = 0; i < 3; ++i) store->record(i).setValue(cells::iZero, std::nanf(""));
  const auto result = aggregateRecords(store->records(0, 3), kEverything);
  const auto& threes = result.series[static_cast<int>(Resolution::ThreeSeconds)];
  ASSERT_EQ(threes.intervals.size(), 1u);
  EXPECT_EQ(threes.intervals[0].recordCount, 3);
  EXPECT_NEAR(valueOf(threes, 0, cellQuantity(cells::iaRms)).value, std::sqrt((144.0 + 256.0) / 2), 1e-9);
  EXPECT_TRUE(std::isnan(valueOf(threes, 0, cellQuantity(cells::iZero)).value));
}


TEST(IntervalAggregator, ValuesThatAreNoNumbersLeaveTheirQuantityAloneWhateverItsKindOrSource) {
  // One 3-second interval 10:00:00..02 where each of four quantities misses one value, of another
  // kind or source each, and one whose values are all numbers; then 10:00:03 with numbers only.
  constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  struct Second {
    float ua, uaMax, uaMin, frequency, pA, fifth, ib;
  };
  const Second seconds[4] = {{230.5f, 231.25f, 228.75f, 49.97f, -kInf, 4.7f, 41.3f},
                             {kNan, 999.0f, 0.5f, kInf, 12.5f, kNan, 40.9f},
                             {229.5f, 230.75f, 227.25f, 50.05f, 7.25f, 2.3f, 41.7f},
                             {231.0f, 232.5f, 226.0f, 50.03f, 9.5f, 3.1f, 41.1f}};
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 4; ++s) {
    auto& r = addAt(*store, 10, 0, s);
    r.setValue(cells::uaRms, seconds[s].ua);
    r.setValue(cells::uaMax, seconds[s].uaMax);
    r.setValue(cells::uaMin, seconds[s].uaMin);
    r.setValue(cells::frequency, seconds[s].frequency);
    r.setValue(cells::pA, seconds[s].pA);
    r.setValue(cells::harmonic(Ua, 1), 230.6f);
    r.setValue(cells::harmonic(Ua, 5), seconds[s].fifth);
    r.setValue(cells::ibRms, seconds[s].ib);
  }
  const auto result = aggregateRecords(store->records(0, 4), kEverything);
  const auto& threes = result.series[static_cast<int>(Resolution::ThreeSeconds)];
  const auto& minutes = result.series[static_cast<int>(Resolution::OneMinute)];
  ASSERT_EQ(threes.intervals.size(), 2u);
  ASSERT_EQ(minutes.intervals.size(), 1u);
  // The cells' floats as doubles, as the aggregation adds them.
  const auto d = [](float x) { return static_cast<double>(x); };
  const double fifth1 = d(4.7f) / d(230.6f) * 100.0;
  const double fifth3 = d(2.3f) / d(230.6f) * 100.0;
  const double fifth4 = d(3.1f) / d(230.6f) * 100.0;
  const double ib[4] = {d(41.3f), d(40.9f), d(41.7f), d(41.1f)};
  struct Case {
    const char* name;
    int quantity;
    AggregatedValue three, minute;
  };
  const Case cases[] = {
      // The record without a voltage leaves out its extreme cells too.
      {"Ua", cellQuantity(cells::uaRms), {std::sqrt((53130.25 + 52670.25) / 2), 227.25, 231.25},
       {std::sqrt((53130.25 + 52670.25 + 53361.0) / 3), 226.0, 232.5}},
      {"frequency", cellQuantity(cells::frequency), {(d(49.97f) + d(50.05f)) / 2, d(49.97f), d(50.05f)},
       {(d(49.97f) + d(50.05f) + d(50.03f)) / 3, d(49.97f), d(50.05f)}},
      {"pA", cellQuantity(cells::pA), {9.875, 7.25, 12.5}, {29.25 / 3, 7.25, 12.5}},
      {"5th", harmonicContentQuantity(Ua, 5), {std::sqrt((fifth1 * fifth1 + fifth3 * fifth3) / 2), fifth3, fifth1},
       {std::sqrt((fifth1 * fifth1 + fifth3 * fifth3 + fifth4 * fifth4) / 3), fifth3, fifth1}},
      {"Ib", cellQuantity(cells::ibRms), {std::sqrt((ib[0] * ib[0] + ib[1] * ib[1] + ib[2] * ib[2]) / 3), ib[1], ib[2]},
       {std::sqrt((ib[0] * ib[0] + ib[1] * ib[1] + ib[2] * ib[2] + ib[3] * ib[3]) / 4), ib[1], ib[2]}},
  };
  for (const Case& c : cases) {
    const AggregatedValue& three = valueOf(threes, 0, c.quantity);
    EXPECT_NEAR(three.value, c.three.value, 1e-9) << c.name;
    EXPECT_NEAR(three.min, c.three.min, 1e-9) << c.name;
    EXPECT_NEAR(three.max, c.three.max, 1e-9) << c.name;
    const AggregatedValue& minute = valueOf(minutes, 0, c.quantity);
    EXPECT_NEAR(minute.value, c.minute.value, 1e-9) << c.name;
    EXPECT_NEAR(minute.min, c.minute.min, 1e-9) << c.name;
    EXPECT_NEAR(minute.max, c.minute.max, 1e-9) << c.name;
  }
}

}  // namespace
}  // namespace pq
